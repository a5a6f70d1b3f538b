// A record whose values are not what an install run writes (a registry cleaner, a hand edit,
// another program's key of the same name): every face of the program reads it, says what is
// wrong, and ends the documented way. Nothing crashes, whatever type installpath has.
#include <windows.h>

#include <algorithm>

#include "setup/portable/RecordState.h"
#include "tests/e2e/EndToEnd.h"
#include "tests/e2e/driver/Http.h"
#include "tests/e2e/driver/Services.h"
#include "tests/e2e/driver/WindowQuery.h"
#include "toolkit/core/CodePage.h"

namespace e2e {
namespace {

std::string Utf8(const std::string& gbk) { return tk::WideToUtf8(tk::ToWide(gbk)); }

// The data of a REG_SZ as the registry stores it: UTF-16 with its terminator.
std::string TextData(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}
std::string DwordData(DWORD number) { return std::string(reinterpret_cast<const char*>(&number), sizeof number); }

struct InstallpathShape {
  const char* name;
  DWORD type;
  std::string data;
  const char* reason;  // what the messages say is wrong with it (GBK)
};

class DamagedRecord : public EndToEnd {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(EndToEnd::SetUp());
    log = setupFolder->Path() + L"run.log";
  }

  // A record that lists products but whose installpath has the given shape.
  void WriteDamagedRecord(const InstallpathShape& shape) {
    RemoveInstallRecord();
    ASSERT_TRUE(WriteRecordValue(L"installproduct", L"eforum", REG_DWORD, DwordData(1)));
    ASSERT_TRUE(WriteRecordValue(L"version", L"installpath", shape.type, shape.data));
    ASSERT_TRUE(WriteRecordValue(L"version", L"ver", REG_SZ, TextData(L"1.9.0")));
  }

  // Runs setup.exe with arguments to its end; the exit code.
  DWORD RunToEnd(const std::wstring& arguments) {
    SetupProcess& process = StartWith(setupFolder->Path(), L"setup.exe", arguments);
    EXPECT_TRUE(process.Started());
    EXPECT_TRUE(process.WaitForExit(kRunWait)) << "did not end";
    return process.ExitCode();
  }
  std::wstring LogOption() const { return L"/LOG=\"" + log + L"\""; }
  // The log's text since the last call.
  std::string NewLogLines() {
    const std::string text = FileBytes(log);
    const std::string fresh = text.substr(std::min(seen, text.size()));
    seen = text.size();
    return fresh;
  }

  std::wstring log;
  size_t seen = 0;
};

}  // namespace

// Each shape under /S install and removal, the wizard and the uninstaller's window, in turn.
TEST_F(DamagedRecord, EveryFaceSaysWhatIsWrongWithInstallpathAndEndsTheDocumentedWay) {
  const InstallpathShape shapes[] = {
      {"REG_DWORD", REG_DWORD, DwordData(1), "是 REG_DWORD 类型的值，不是文本"},
      {"REG_BINARY", REG_BINARY, std::string("c:\\q", 4), "是 REG_BINARY 类型的值，不是文本"},
      {"empty", REG_SZ, TextData(L""), "是空的"},
      {"300 characters", REG_SZ, TextData(L"c:\\" + std::wstring(297, L'q')), "太长：300 个字符"},
  };
  for (const InstallpathShape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    const std::string reason = std::string("installpath（安装目录）") + shape.reason;

    // /S install: refused before anything is done, naming the value, and the record stays.
    ASSERT_NO_FATAL_FAILURE(WriteDamagedRecord(shape));
    EXPECT_EQ(RunToEnd(L"/S " + LogOption()), 2u);
    std::string lines = NewLogLines();
    EXPECT_NE(lines.find(Utf8(reason)), std::string::npos) << lines;
    EXPECT_NE(lines.find(Utf8("退出码 2")), std::string::npos) << lines;
    EXPECT_TRUE(InstallRecordExists());

    // The wizard: its window answers the first click with the damaged record's choice page.
    {
      SetupProcess& setup = Start();
      Wizard wizard(setup.Id());
      ASSERT_TRUE(wizard.Found()) << "no window";
      ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kWelcomeTitle));
      wizard.Next();
      ASSERT_NO_FATAL_FAILURE(ExpectPage(wizard, kChoiceTitle));
      EXPECT_TRUE(wizard.ShowsLabel(pub::kDamagedRecordChoiceText)) << Readable(wizard.Labels());
      bool reasonShown = false;
      for (const std::string& label : wizard.Labels()) reasonShown |= label.find(reason) != std::string::npos;
      EXPECT_TRUE(reasonShown) << Readable(wizard.Labels());
      EXPECT_FALSE(IsEnabled(wizard.Choice(kRepairOption))) << "a repair into a folder nobody knows";
      Shot(wizard, "damaged-record-choice");
      EXPECT_TRUE(setup.Running());
      setup.End();
    }

    // The uninstaller's window: after the question, a box says what was wrong and what was done.
    {
      SetupProcess& uninstaller = StartWith(setupFolder->Path(), L"setup.exe", L"/uninstall " + LogOption());
      MessageBoxView confirm;
      ASSERT_TRUE(WaitForMessageBox(uninstaller.Id(), &confirm, kWindowWait)) << "no question";
      EXPECT_EQ(Readable(confirm.text), Readable("您确认您要卸载Quarn吗?"));
      ASSERT_TRUE(Answer(confirm, "是"));
      MessageBoxView result;
      ASSERT_TRUE(WaitForMessageBox(uninstaller.Id(), &result, kRunWait));
      EXPECT_NE(result.text.find(reason), std::string::npos) << Readable(result.text);
      EXPECT_NE(result.text.find("没有删除任何文件。安装记录已删除。"), std::string::npos) << Readable(result.text);
      ASSERT_TRUE(Answer(result, "确定"));
      Wizard wizard(uninstaller.Id());
      ASSERT_TRUE(wizard.Found());
      ASSERT_TRUE(wizard.WaitForNext("退出"));
      wizard.Next();
      ASSERT_TRUE(uninstaller.WaitForExit());
      EXPECT_EQ(uninstaller.ExitCode(), 1u) << "nothing was removed: no success";
      EXPECT_FALSE(InstallRecordExists()) << "the record that leads nowhere goes";
    }

    // /S removal: the record that leads nowhere is deleted, nothing else; the log names why.
    ASSERT_NO_FATAL_FAILURE(WriteDamagedRecord(shape));
    NewLogLines();
    EXPECT_EQ(RunToEnd(L"/uninstall /S " + LogOption()), 1u);
    lines = NewLogLines();
    EXPECT_NE(lines.find(Utf8(reason)), std::string::npos) << lines;
    EXPECT_NE(lines.find(Utf8("没有删除任何文件")), std::string::npos) << lines;
    EXPECT_FALSE(InstallRecordExists());
  }
}

// The installation is where installpath says: a version of another type is only unknown, and a
// repair puts the package's version back.
TEST_F(DamagedRecord, AVersionOfAnotherTypeIsRepairedOver) {
  ASSERT_EQ(RunToEnd(L"/S /D=" + tk::ToWide(kOwnFolder)), 0u);
  ASSERT_TRUE(WriteRecordValue(L"version", L"ver", REG_DWORD, DwordData(2)));
  NewLogLines();
  EXPECT_EQ(RunToEnd(L"/S " + LogOption()), 0u);
  const std::string lines = NewLogLines();
  EXPECT_NE(lines.find(Utf8("ver（版本号）是 REG_DWORD 类型的值")), std::string::npos) << lines;
  EXPECT_EQ(RecordedString(L"installpath"), kOwnFolder);
  EXPECT_FALSE(RecordedString(L"ver").empty()) << "the repair writes the package's version";
  EXPECT_TRUE(WaitForRunning(L"tomcatquarn", kWindowWait));
  EXPECT_EQ(HttpGet("/", 8080).status, 200);
  EXPECT_EQ(RunToEnd(L"/uninstall /S"), 0u);
  EXPECT_FALSE(InstallRecordExists());
}

}  // namespace e2e
