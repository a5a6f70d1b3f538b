// Which ports an install needs and when a listener stops it.
#include <gtest/gtest.h>

#include "setup/portable/PortCheck.h"

using pub::DatabasePortOf;
using pub::PlannedPort;
using pub::PortListener;
using pub::PortsOfPackage;
using pub::PortsProblem;

TEST(PortCheck, TheDatabasePortIsTheServersPortLine) {
  struct Case {
    const char* myIni;
    uint16_t port;
  } cases[] = {
      {"[client]\r\nport=3306\r\n[mysqld]\r\nport=3307\r\n", 3307},
      {"[client]\nport=3309\n", 3306},  // the client's port is not the server's
      {"[mysqld]\r\nbasedir=C:/quarn/MySQL5/\r\n", 3306},
      {"", 3306},
      {"port=3310\r\n[mysqld]\r\n", 3306},  // before any group: no option of the server
      {"[ MySQLD ]\r\n  PORT = 3311  # moved\r\n", 3311},
      {"[server]\r\nport=\"3312\"\r\n", 3312},
      {"[mysqld]\r\nport=3313\r\nport=3314\r\n", 3314},  // the last one wins, as the server reads it
      {"[mysqld]\r\nport=3315\r\n[mysql]\r\nport=3316\r\n", 3315},
      {"[mysqld]\r\n#port=3317\r\n;port=3318\r\nreport-port=3319\r\n", 3306},
      {"[mysqld]\r\nport=3320\r\nport=0\r\nport=65536\r\nport=33a\r\nport=\r\nport=-1\r\n", 3320},
      {"[mysqld]\rport=65535\r", 65535},
  };
  for (const Case& c : cases) EXPECT_EQ(DatabasePortOf(c.myIni), c.port) << c.myIni;
}

TEST(PortCheck, ThePackageDecidesWhichPortsItsServicesUse) {
  std::vector<PlannedPort> both = PortsOfPackage({"java/a", "Tomcat5/bin/x", "MYSQL5/", "MySQL5/my.ini"},
                                                 std::string("[mysqld]\r\nport=3400\r\n"));
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].port, 8080);
  EXPECT_EQ(both[0].service, "tomcatquarn");
  EXPECT_EQ(both[1].port, 3400);
  EXPECT_EQ(both[1].service, "mysqlquarn");

  std::vector<PlannedPort> noIni = PortsOfPackage({"MySQL5/bin/mysqld-nt.exe"}, std::nullopt);
  ASSERT_EQ(noIni.size(), 1u);
  EXPECT_EQ(noIni[0].port, 3306);
  EXPECT_TRUE(PortsOfPackage({"eblog/index.html", "java/tomcat5/x", "mysql5.txt"}, std::nullopt).empty())
      << "only top-level product folders install services";
}

TEST(PortCheck, FreePortsAndOurOwnServicesPass) {
  const std::vector<PlannedPort> fresh = {{8080, "网站", "tomcatquarn", 0}, {3306, "数据库", "mysqlquarn", 0}};
  EXPECT_EQ(PortsProblem(fresh, {}), "");
  EXPECT_EQ(PortsProblem(fresh, {{80, 7, "web.exe"}, {3307, 8, "db.exe"}, {18080, 9, "x.exe"}}), "");

  // A repair: our services run and hold their ports; they are stopped before they start again.
  const std::vector<PlannedPort> repair = {{8080, "网站", "tomcatquarn", 40}, {3306, "数据库", "mysqlquarn", 41}};
  EXPECT_EQ(PortsProblem(repair, {{8080, 40, "tomcat5-service.exe"}, {3306, 41, "mysqld-nt.exe"}}), "");
  EXPECT_EQ(PortsProblem(repair, {{8080, 41, "mysqld-nt.exe"}}), "") << "either of our services";
  // Where the system does not say who holds a port, our running service for it is the holder.
  EXPECT_EQ(PortsProblem(repair, {{8080, 0, ""}, {3306, 0, ""}}), "");
}

TEST(PortCheck, AnotherProgramIsNamedWithItsPortAndWhatToDo) {
  const std::vector<PlannedPort> fresh = {{8080, "网站", "tomcatquarn", 0}, {3306, "数据库", "mysqlquarn", 0}};
  const char* advice = "\r\n请关闭占用端口的程序，或更改它的端口，然后重新运行安装程序。";
  EXPECT_EQ(PortsProblem(fresh, {{8080, 1234, "java.exe"}}),
            std::string("端口被占用，安装没有开始：网站端口 8080 正被程序 java.exe（进程号 1234）使用。") + advice);
  // Listening on IPv4 and IPv6 is one holder; two programs on one port are both named.
  EXPECT_EQ(PortsProblem(fresh, {{3306, 5, "mysqld.exe"}, {3306, 5, "mysqld.exe"}, {3306, 6, "other.exe"}}),
            std::string("端口被占用，安装没有开始：数据库端口 3306 正被程序 mysqld.exe（进程号 5）、程序 other.exe（进程号 "
                        "6）使用。") +
                advice);
  EXPECT_EQ(PortsProblem(fresh, {{3306, 0, ""}, {8080, 77, ""}}),
            std::string("端口被占用，安装没有开始：网站端口 8080 正被未知程序（进程号 77）使用。\r\n"
                        "数据库端口 3306 正被未知程序使用。") +
                advice);

  // Our service runs, but not on this port, or another program shares the port with it.
  const std::vector<PlannedPort> repair = {{8080, "网站", "tomcatquarn", 40}, {3306, "数据库", "mysqlquarn", 0}};
  EXPECT_NE(PortsProblem(repair, {{3306, 0, ""}}), "") << "no service of ours runs for the database port";
  EXPECT_NE(PortsProblem(repair, {{8080, 40, "tomcat5-service.exe"}, {8080, 99, "httpd.exe"}}).find("httpd.exe"),
            std::string::npos);
  // The same port planned twice is reported once.
  EXPECT_EQ(PortsProblem({{8080, "网站", "", 0}, {8080, "数据库", "", 0}}, {{8080, 3, "a.exe"}}),
            std::string("端口被占用，安装没有开始：网站端口 8080 正被程序 a.exe（进程号 3）使用。") + advice);
}
