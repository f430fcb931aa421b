// CRegistryKey: round trips of DWORD and string values under a test key of
// HKEY_LOCAL_MACHINE, deleted afterwards.
#include "orb_common/RegistryKey.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class RegistryKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "SOFTWARE\\Orbisect3 tests\\registry-" + std::to_string(::GetCurrentProcessId());
  }
  void TearDown() override {
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, path_.c_str());
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path_.c_str());
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orbisect3 tests");  // when empty
  }
  std::string path_;
};

}  // namespace

TEST_F(RegistryKeyTest, OpenCreateAndClose) {
  CRegistryKey key;
  EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, path_.c_str()));
  EXPECT_EQ(key.GetHandle(), nullptr);
  EXPECT_NE(key.Close(), ERROR_SUCCESS);
  ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, path_.c_str()));
  EXPECT_NE(key.GetHandle(), nullptr);
  EXPECT_EQ(key.Close(), ERROR_SUCCESS);
  EXPECT_EQ(key.GetHandle(), nullptr);
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, path_.c_str()));
  // Opening again replaces the handle (the earlier one is closed).
  ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, path_.c_str()));
  EXPECT_EQ(key.Close(), ERROR_SUCCESS);
}

TEST_F(RegistryKeyTest, DwordRoundTrip) {
  CRegistryKey key;
  ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, path_.c_str()));
  DWORD value = 77;
  EXPECT_FALSE(key.QueryDWORD("sitables", value));
  EXPECT_EQ(value, 0u);
  EXPECT_TRUE(key.SetDWORD("sitables", 0xFFFF));
  key.Close();

  CRegistryKey again;
  ASSERT_TRUE(again.Open(HKEY_LOCAL_MACHINE, path_.c_str()));
  EXPECT_TRUE(again.QueryDWORD("sitables", value));
  EXPECT_EQ(value, 0xFFFFu);
  EXPECT_TRUE(again.SetDWORD("sitables", 0));
  EXPECT_TRUE(again.QueryDWORD("sitables", value));
  EXPECT_EQ(value, 0u);
  EXPECT_TRUE(again.DeleteValue("sitables"));
  EXPECT_FALSE(again.DeleteValue("sitables"));
  value = 5;
  EXPECT_FALSE(again.QueryDWORD("sitables", value));
  EXPECT_EQ(value, 0u);
}

TEST_F(RegistryKeyTest, StringRoundTrip) {
  CRegistryKey key;
  ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, path_.c_str()));
  const std::string clsid = "{5CAA6FEB-9E8F-4EE1-8E0A-72CBA45D46F3}";
  EXPECT_TRUE(key.SetString("driverclsid", clsid.c_str()));
  std::string text = "old";
  EXPECT_TRUE(key.QueryString("driverclsid", text));
  EXPECT_EQ(text, clsid);

  // Stored with its terminating zero, as the system expects of REG_SZ.
  DWORD type = 0, size = 0;
  ASSERT_EQ(::RegQueryValueExA(key.GetHandle(), "driverclsid", nullptr, &type, nullptr, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, clsid.size() + 1);

  EXPECT_TRUE(key.SetString("empty", ""));
  EXPECT_TRUE(key.QueryString("empty", text));
  EXPECT_EQ(text, "");

  const std::string longest(255, 'n');
  EXPECT_TRUE(key.SetString("satellite1", longest.c_str()));
  EXPECT_TRUE(key.QueryString("satellite1", text));
  EXPECT_EQ(text, longest);

  const std::string tooLong(256, 'n');
  EXPECT_TRUE(key.SetString("satellite2", tooLong.c_str()));
  EXPECT_FALSE(key.QueryString("satellite2", text));
  EXPECT_EQ(text, "");

  // 256 characters stored without a terminator still read as a terminated text.
  ASSERT_EQ(::RegSetValueExA(key.GetHandle(), "bare", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(tooLong.data()), 255),
            ERROR_SUCCESS);
  EXPECT_TRUE(key.QueryString("bare", text));
  EXPECT_EQ(text, std::string(255, 'n'));

  text = "old";
  EXPECT_FALSE(key.QueryString("missing", text));
  EXPECT_EQ(text, "");

  // Any string type that takes a const char*.
  struct Text {
    std::string s;
    Text& operator=(const char* p) {
      s = p;
      return *this;
    }
  } other;
  EXPECT_TRUE(key.QueryString("driverclsid", other));
  EXPECT_EQ(other.s, clsid);
}

TEST_F(RegistryKeyTest, ClosedKeyRefusesEverything) {
  CRegistryKey key;
  DWORD value = 9;
  std::string text = "x";
  EXPECT_FALSE(key.SetDWORD("a", 1));
  EXPECT_FALSE(key.SetString("a", "b"));
  EXPECT_FALSE(key.QueryDWORD("a", value));
  EXPECT_EQ(value, 0u);
  EXPECT_FALSE(key.QueryString("a", text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(key.DeleteValue("a"));
}
