// Device contexts, GDI objects and menus.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "test_ids.h"

namespace {

// A memory DC with a 32 x 16 bitmap selected.
class MemoryDC : public testing::Test {
 protected:
  void SetUp() override {
    CClientDC screen(nullptr);
    ASSERT_NE(screen.m_hDC, nullptr);
    ASSERT_TRUE(dc.CreateCompatibleDC(&screen));
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 32, 16));
    oldBitmap = dc.SelectObject(&bitmap);
    ASSERT_NE(oldBitmap, nullptr);
  }
  void TearDown() override { dc.SelectObject(oldBitmap); }

  CDC dc;
  CBitmap bitmap;
  CBitmap* oldBitmap = nullptr;
};

TEST_F(MemoryDC, FillsAndFramesRectangles) {
  const COLORREF white = RGB(255, 255, 255);
  const COLORREF red = RGB(255, 0, 0);
  const COLORREF blue = RGB(0, 0, 255);
  dc.FillSolidRect(CRect(0, 0, 32, 16), white);
  dc.SetBkColor(RGB(1, 2, 3));
  dc.FillSolidRect(4, 4, 8, 8, red);
  EXPECT_EQ(dc.GetBkColor(), RGB(1, 2, 3));  // left as it was
  EXPECT_EQ(dc.GetPixel(4, 4), red);
  EXPECT_EQ(dc.GetPixel(11, 11), red);
  EXPECT_EQ(dc.GetPixel(12, 12), white);

  dc.FillSolidRect(CRect(0, 0, 32, 16), white);
  dc.Draw3dRect(CRect(2, 2, 12, 10), red, blue);
  EXPECT_EQ(dc.GetPixel(2, 2), red);    // top left corner
  EXPECT_EQ(dc.GetPixel(10, 2), red);   // top edge
  EXPECT_EQ(dc.GetPixel(2, 8), red);    // left edge
  EXPECT_EQ(dc.GetPixel(11, 2), blue);  // right edge
  EXPECT_EQ(dc.GetPixel(5, 9), blue);   // bottom edge
  EXPECT_EQ(dc.GetPixel(5, 5), white);  // inside untouched
  dc.Draw3dRect(CRect(5, 5, 5, 9), red, red);  // empty: nothing drawn
  EXPECT_EQ(dc.GetPixel(5, 5), white);

  CBrush brush(blue);
  dc.FillRect(CRect(20, 0, 24, 4), &brush);
  EXPECT_EQ(dc.GetPixel(21, 1), blue);
  CDC copy;
  ASSERT_TRUE(copy.CreateCompatibleDC(&dc));
  CBitmap other;
  ASSERT_TRUE(other.CreateCompatibleBitmap(&dc, 32, 16));
  CBitmap* previous = copy.SelectObject(&other);
  EXPECT_TRUE(copy.BitBlt(0, 0, 32, 16, &dc, 0, 0, SRCCOPY));
  EXPECT_EQ(copy.GetPixel(21, 1), blue);
  copy.SelectObject(previous);
}

TEST_F(MemoryDC, SelectionsReturnThePreviousObjects) {
  CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
  CPen* oldPen = dc.SelectObject(&pen);
  ASSERT_NE(oldPen, nullptr);
  EXPECT_EQ(dc.GetCurrentPen()->m_hObject, pen.m_hObject);
  CPen* back = dc.SelectObject(oldPen);
  EXPECT_EQ(back->m_hObject, pen.m_hObject);
  EXPECT_TRUE(back->IsKindOf(RUNTIME_CLASS(CPen)));

  CFont font;
  ASSERT_TRUE(font.CreatePointFont(90, "Tahoma"));
  LOGFONT lf{};
  ASSERT_GT(font.GetLogFont(&lf), 0);
  EXPECT_LT(lf.lfHeight, 0);  // a character height
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
  CFont* oldFont = dc.SelectObject(&font);
  ASSERT_NE(oldFont, nullptr);
  const CSize extent = dc.GetTextExtent("Hello");
  EXPECT_GT(extent.cx, 0);
  EXPECT_GT(extent.cy, 0);
  EXPECT_EQ(dc.GetTextExtent(L"Hello world", 5), extent);
  TEXTMETRIC tm{};
  EXPECT_TRUE(dc.GetTextMetrics(&tm));
  EXPECT_TRUE(dc.TextOut(0, 0, CString("r")));
  dc.SelectObject(oldFont);

  CGdiObject* stock = dc.SelectStockObject(BLACK_PEN);
  ASSERT_NE(stock, nullptr);
  dc.SelectObject(stock);
  const int saved = dc.SaveDC();
  dc.SetTextColor(RGB(9, 9, 9));
  EXPECT_TRUE(dc.RestoreDC(saved));
  EXPECT_NE(dc.GetTextColor(), RGB(9, 9, 9));
  AfxDeleteTempMaps();
}

TEST(GdiObject, AttachDetachAndDelete) {
  CBrush brush;
  EXPECT_FALSE(brush.Attach(nullptr));
  ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
  HGDIOBJ handle = brush.m_hObject;
  EXPECT_EQ(brush.Detach(), handle);
  EXPECT_EQ(brush.m_hObject, nullptr);
  EXPECT_FALSE(brush.DeleteObject());
  ASSERT_TRUE(brush.Attach(handle));
  EXPECT_TRUE(brush.DeleteObject());
  // Temporary wrappers are one per handle and kind.
  HFONT stockFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(CFont::FromHandle(stockFont), CFont::FromHandle(stockFont));
  EXPECT_EQ(CFont::FromHandle(nullptr), nullptr);
  AfxDeleteTempMaps();
  EXPECT_NE(::GetObjectType(stockFont), 0u);  // the stock font lives on
}

TEST(Menu, LoadsAndEditsMenus) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  EXPECT_EQ(menu.GetMenuItemCount(), 1);
  CMenu* file = menu.GetSubMenu(0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->GetMenuItemCount(), 2);
  EXPECT_EQ(file->GetMenuItemID(1), static_cast<UINT>(ID_TEST_CLOSE));
  CString text;
  file->GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Open");
  file->CheckMenuItem(ID_TEST_OPEN, MF_BYCOMMAND | MF_CHECKED);
  EXPECT_TRUE(file->GetMenuState(ID_TEST_OPEN, MF_BYCOMMAND) & MF_CHECKED);
  file->EnableMenuItem(ID_TEST_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_TRUE(file->GetMenuState(ID_TEST_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(file->AppendMenu(MF_SEPARATOR));
  EXPECT_TRUE(file->AppendMenu(MF_STRING, 3000, "E&xit"));
  EXPECT_EQ(file->GetMenuItemCount(), 4);
  EXPECT_EQ(CMenu::FromHandle(menu.m_hMenu), CMenu::FromHandle(menu.m_hMenu));
  AfxDeleteTempMaps();
  EXPECT_TRUE(::IsMenu(menu.m_hMenu));  // wrappers do not destroy menus
  HMENU kept = menu.Detach();
  EXPECT_TRUE(::DestroyMenu(kept));
  CMenu missing;
  EXPECT_FALSE(missing.LoadMenu(9999));
}

TEST(Menu, WindowMenus) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"menu", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDR_TEST_MENU));
  EXPECT_TRUE(wnd.SetMenu(&menu));
  ASSERT_NE(wnd.GetMenu(), nullptr);
  EXPECT_EQ(wnd.GetMenu()->m_hMenu, menu.m_hMenu);
  wnd.DrawMenuBar();
  wnd.SetMenu(nullptr);
  EXPECT_EQ(wnd.GetMenu(), nullptr);
  wnd.DestroyWindow();
}

}  // namespace
