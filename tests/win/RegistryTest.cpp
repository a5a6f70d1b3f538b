// TRegistry: opening and creating keys, typed values in GBK, value names, recursive delete,
// and the errors of reading what is not there.
#include <gtest/gtest.h>

#include <algorithm>

#include "toolkit/core/Errors.h"
#include "toolkit/win/Registry.h"

using tk::TRegistry;

namespace {

class Registry : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\quarn-tests"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\quarn-tests"); }
};

}  // namespace

TEST_F(Registry, OpensOnlyWhatExistsUnlessAskedToCreate) {
  TRegistry registry;
  EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(registry.OpenKey("\\Software\\quarn-tests\\a", false));
  EXPECT_FALSE(registry.KeyExists("\\Software\\quarn-tests\\a"));
  EXPECT_TRUE(registry.OpenKey("\\Software\\quarn-tests\\a", true));
  EXPECT_TRUE(registry.KeyExists("\\Software\\quarn-tests\\a"));
  // A relative path starts at the open key.
  EXPECT_TRUE(registry.OpenKey("b", true));
  EXPECT_TRUE(registry.KeyExists("\\Software\\quarn-tests\\a\\b"));
}

TEST_F(Registry, TypedValuesGoInAndComeBackOut) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\Software\\quarn-tests\\安装", true));
  registry.WriteString("路径", "c:\\quarn\\程序");
  registry.WriteString("empty", "");
  registry.WriteInteger("count", -7);
  const unsigned char stamp[8] = {1, 2, 3, 4, 5, 6, 7, 0xFF};
  registry.WriteBinaryData("date", stamp, sizeof stamp);

  TRegistry reader;
  ASSERT_TRUE(reader.OpenKey("\\Software\\quarn-tests\\安装", false));
  EXPECT_EQ(reader.ReadString("路径"), "c:\\quarn\\程序");
  EXPECT_EQ(reader.ReadString("empty"), "");
  EXPECT_EQ(reader.ReadInteger("count"), -7);
  EXPECT_EQ(reader.ReadBinaryData("date"), std::vector<uint8_t>(stamp, stamp + 8));
  std::vector<std::string> names = reader.GetValueNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, std::vector<std::string>({"count", "date", "empty", "路径"}));
  EXPECT_TRUE(reader.ValueExists("count"));
  EXPECT_TRUE(reader.DeleteValue("count"));
  EXPECT_FALSE(reader.ValueExists("count"));
  EXPECT_FALSE(reader.DeleteValue("count"));
}

TEST_F(Registry, MissingValuesAndWrongTypesRaise) {
  TRegistry registry;
  EXPECT_THROW(registry.ReadString("anything"), tk::ERegistryException);  // no key open
  ASSERT_TRUE(registry.OpenKey("\\Software\\quarn-tests", true));
  EXPECT_THROW(registry.ReadString("missing"), tk::ERegistryException);
  registry.WriteString("text", "1");
  EXPECT_THROW(registry.ReadInteger("text"), tk::ERegistryException);
  EXPECT_THROW(registry.ReadBinaryData("text"), tk::ERegistryException);
}

TEST_F(Registry, DeleteKeyTakesEverythingBelowIt) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\Software\\quarn-tests\\top\\middle\\leaf", true));
  registry.WriteString("v", "x");
  registry.CloseKey();
  EXPECT_TRUE(registry.DeleteKey("\\Software\\quarn-tests\\top"));
  EXPECT_FALSE(registry.KeyExists("\\Software\\quarn-tests\\top"));
  EXPECT_TRUE(registry.KeyExists("\\Software\\quarn-tests"));
  EXPECT_FALSE(registry.DeleteKey("\\Software\\quarn-tests\\top"));
  EXPECT_FALSE(registry.DeleteKey(""));
}
