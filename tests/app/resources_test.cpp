// The program's resources as the frame library and the user meet them: the
// language of each, the menu commands, the toolbar layout, the strings, the
// About box and the driver selection dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033
constexpr WORD kDanish = MAKELANGID(LANG_DANISH, SUBLANG_DEFAULT);       // 1030
const LPCWSTR kToolbarType = MAKEINTRESOURCEW(241);

bool HasResource(LPCWSTR type, int id, WORD language) {
  return ::FindResourceExW(::GetModuleHandleW(nullptr), type, MAKEINTRESOURCEW(id), language) !=
         nullptr;
}

std::string String(UINT id) {
  char text[512] = {};
  ::LoadStringA(::GetModuleHandleW(nullptr), id, text, sizeof text);
  return text;
}

std::string MenuText(HMENU menu, UINT id) {
  char text[128] = {};
  ::GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string ItemText(HWND dialog, int id) {
  char text[256] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

}  // namespace

TEST(ProgramResources, LanguagesFollowTheirKind) {
  EXPECT_TRUE(HasResource(RT_MENU, 128, kEnglish));
  EXPECT_TRUE(HasResource(RT_DIALOG, 100, kEnglish));  // About box
  EXPECT_TRUE(HasResource(RT_STRING, 128 / 16 + 1, kEnglish));
  EXPECT_TRUE(HasResource(RT_STRING, 61296 / 16 + 1, kEnglish));
  EXPECT_TRUE(HasResource(RT_DIALOG, 130, kDanish));   // driver selection
  EXPECT_FALSE(HasResource(RT_DIALOG, 130, kEnglish));
  EXPECT_TRUE(HasResource(RT_VERSION, 1, kEnglish));
}

TEST(ProgramResources, StringsOfTheTemplateTitleAndMessages) {
  EXPECT_EQ(String(128), "Orbisect\n\nOrbsc\n\n\nOrbisect3.Document\nOrbsc Document");
  EXPECT_EQ(String(57344), "Orbisect3");
  EXPECT_EQ(String(61295), "NOT LOCKED");
  EXPECT_EQ(String(61296), "You must restart application for any changed to be effected.");
}

TEST(ProgramResources, MenuCommands) {
  HMENU menu = ::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
  ASSERT_TRUE(menu);
  EXPECT_EQ(MenuText(menu, 59392), "&Toolbar");
  EXPECT_EQ(MenuText(menu, 59393), "&Status Bar");
  EXPECT_EQ(MenuText(menu, 32771), "&Output window");
  EXPECT_EQ(MenuText(menu, 32784), "&Driver selection...");
  EXPECT_EQ(MenuText(menu, 57664), "&About Orbisect3...");
  // The three View entries stand in one popup.
  HMENU view = nullptr;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
    if (HMENU sub = ::GetSubMenu(menu, i); sub && ::GetMenuState(sub, 32771, MF_BYCOMMAND) != UINT(-1))
      view = sub;
  ASSERT_TRUE(view);
  EXPECT_NE(::GetMenuState(view, 59392, MF_BYCOMMAND), UINT(-1));
  EXPECT_NE(::GetMenuState(view, 59393, MF_BYCOMMAND), UINT(-1));
  ::DestroyMenu(menu);
}

TEST(ProgramResources, ToolbarOfSixteenByFifteenButtons) {
  HMODULE self = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(128), kToolbarType);
  ASSERT_TRUE(found);
  const WORD* data = static_cast<const WORD*>(::LockResource(::LoadResource(self, found)));
  ASSERT_TRUE(data);
  EXPECT_EQ(data[0], 1);   // version
  EXPECT_EQ(data[1], 16);  // width
  EXPECT_EQ(data[2], 15);  // height
  ASSERT_EQ(data[3], 11);
  const std::vector<WORD> items(data + 4, data + 4 + 11);
  EXPECT_EQ(items, (std::vector<WORD>{57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57607, 0,
                                      57664}));
  EXPECT_TRUE(::FindResourceW(self, MAKEINTRESOURCEW(128), RT_BITMAP));
}

TEST(ProgramResources, AboutBoxAndDriverSelectionDialog) {
  HINSTANCE self = ::GetModuleHandleW(nullptr);
  HWND about = ::CreateDialogParamW(self, MAKEINTRESOURCEW(100), nullptr, QuietDialog, 0);
  ASSERT_TRUE(about);
  char caption[128] = {};
  ::GetWindowTextA(about, caption, sizeof caption);
  EXPECT_STREQ(caption, "About Orbisect3");
  EXPECT_EQ(ItemText(about, 1001), "Orbisect Version 3.0 build 5");
  EXPECT_FALSE(ItemText(about, 1002).empty());
  EXPECT_EQ(ItemText(about, IDOK), "OK");
  ::DestroyWindow(about);

  HWND select = ::CreateDialogParamW(self, MAKEINTRESOURCEW(130), nullptr, QuietDialog, 0);
  ASSERT_TRUE(select);
  ::GetWindowTextA(select, caption, sizeof caption);
  EXPECT_STREQ(caption, "Driver selction");
  HWND combo = ::GetDlgItem(select, 1000);
  ASSERT_TRUE(combo);
  const LONG_PTR style = ::GetWindowLongPtrW(combo, GWL_STYLE);
  EXPECT_EQ(style & 3, CBS_DROPDOWN);
  EXPECT_FALSE(style & CBS_SORT);
  EXPECT_EQ(ItemText(select, IDOK), "OK");
  EXPECT_EQ(ItemText(select, IDCANCEL), "Cancel");
  std::vector<std::string> statics;
  ::EnumChildWindows(
      select,
      [](HWND h, LPARAM p) -> BOOL {
        if (::GetDlgCtrlID(h) == 0xFFFF || ::GetDlgCtrlID(h) == -1) {
          char text[64] = {};
          ::GetWindowTextA(h, text, sizeof text);
          reinterpret_cast<std::vector<std::string>*>(p)->push_back(text);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&statics));
  EXPECT_EQ(statics, (std::vector<std::string>{"Select driver. ", "Driver:"}));
  ::DestroyWindow(select);
}
