// What the service manager says of a service, and what is known when it cannot be asked.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/win/Services.h"

// A name the service manager refuses (it may hold no '\') stands for any failure to ask: the
// service is neither stopped nor running, the reason is kept, and the waits ask again until
// their bound, ending with it.
TEST(QueryService, AServiceThatCannotBeAskedAboutIsNeitherStoppedNorRunningUntilTheWaitsEnd) {
  const pub::ServiceState refused = pub::QueryService("quarn\\refused");
  EXPECT_TRUE(refused.QueryFailed());
  EXPECT_FALSE(refused.Stopped());
  EXPECT_FALSE(refused.Running());
  EXPECT_EQ(refused.Describe().rfind("无法查询服务状态：OpenService：", 0), 0u) << refused.Describe();

  for (auto wait : {pub::WaitUntilStopped, pub::WaitWhileStarting}) {
    const ULONGLONG start = GetTickCount64();
    const pub::ServiceState last = wait("quarn\\refused", 1500);
    EXPECT_GE(GetTickCount64() - start, 1500u) << "asked again until the bound";
    EXPECT_TRUE(last.QueryFailed());
  }

  const pub::ServiceState unregistered = pub::QueryService("quarn_never_registered");
  EXPECT_FALSE(unregistered.QueryFailed());
  EXPECT_TRUE(unregistered.Stopped());
  EXPECT_EQ(unregistered.Describe(), "没有注册");
}
