// Narrow text of list box and combo box items.  A caller sizes its buffer
// from GetTextLen / GetLBTextLen (plus the terminator); in a double-byte code
// page an item's narrow text takes more bytes than it has characters, and the
// length must cover them.  Run twice by CTest: in the usual code page and
// with a Japanese locale (code page 932).
#include <afxwin.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kGuard = '\x5A';
constexpr size_t kGuardBytes = 16;

// Six Japanese characters (twelve bytes in code page 932).
const wchar_t kWide[] = L"\u65E5\u672C\u8A9E\u30C6\u30B9\u30C8";

class NarrowText : public ::testing::Test {
 protected:
  void SetUp() override {
    AfxWinInit(::GetModuleHandleW(nullptr), nullptr, const_cast<LPWSTR>(L""), SW_HIDE);
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP, 0, 0, 200, 200,
                                nullptr, nullptr));
  }
  void TearDown() override { parent.DestroyWindow(); }

  static std::string Expected() {
    const int n = ::WideCharToMultiByte(CP_ACP, 0, kWide, -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, kWide, -1, s.data(), n, nullptr, nullptr);
    s.resize(std::strlen(s.c_str()));
    return s;
  }

  // A buffer of `len` + 1 bytes followed by guard bytes.
  static std::vector<char> Buffer(int len) {
    std::vector<char> b(static_cast<size_t>(len) + 1 + kGuardBytes, kGuard);
    return b;
  }
  static bool GuardIntact(const std::vector<char>& b, int len) {
    for (size_t i = static_cast<size_t>(len) + 1; i < b.size(); ++i)
      if (b[i] != kGuard) return false;
    return true;
  }

  CWnd parent;
};

TEST_F(NarrowText, ListBoxItemFitsTheLengthItReports) {
  CListBox list;
  ASSERT_TRUE(list.Create(WS_CHILD | LBS_HASSTRINGS, CRect(0, 0, 100, 100), &parent, 1));
  ASSERT_EQ(list.AddString(kWide), 0);
  const std::string expected = Expected();
  const int len = list.GetTextLen(0);
  ASSERT_GE(len, static_cast<int>(expected.size()));
  std::vector<char> buffer = Buffer(len);
  EXPECT_EQ(list.GetText(0, buffer.data()), static_cast<int>(expected.size()));
  EXPECT_TRUE(GuardIntact(buffer, len));
  EXPECT_EQ(std::string(buffer.data()), expected);
  // The wide text is whole as before.
  CString wide;
  list.GetText(0, wide);
  EXPECT_EQ(wide, CString(kWide));
  EXPECT_EQ(list.GetTextLen(5), LB_ERR);
}

TEST_F(NarrowText, ComboBoxItemFitsTheLengthItReports) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, CRect(0, 0, 100, 100),
                           &parent, 2));
  ASSERT_EQ(combo.AddString(kWide), 0);
  ASSERT_EQ(combo.AddString(L""), 1);
  const std::string expected = Expected();
  const int len = combo.GetLBTextLen(0);
  ASSERT_GE(len, static_cast<int>(expected.size()));
  std::vector<char> buffer = Buffer(len);
  EXPECT_EQ(combo.GetLBText(0, buffer.data()), static_cast<int>(expected.size()));
  EXPECT_TRUE(GuardIntact(buffer, len));
  EXPECT_EQ(std::string(buffer.data()), expected);
  CString wide;
  combo.GetLBText(0, wide);
  EXPECT_EQ(wide, CString(kWide));
  EXPECT_EQ(combo.GetLBTextLen(1), 0);
  EXPECT_EQ(combo.GetLBTextLen(7), CB_ERR);
}

}  // namespace
