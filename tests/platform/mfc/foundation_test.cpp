// Run-time classes and dynamic creation, CString, CRect/CPoint/CSize, CFile.
#include <afxwin.h>
#include <gtest/gtest.h>

#include "test_ids.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)

 public:
  int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape {
  DECLARE_DYNCREATE(CSquare)
};
IMPLEMENT_DYNCREATE(CSquare, CShape)

TEST(RuntimeClass, KindsFollowTheClassChain) {
  CCircle circle;
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CSquare)));
  EXPECT_STREQ(circle.GetRuntimeClass()->m_lpszClassName, "CCircle");
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_pBaseClass, RUNTIME_CLASS(CShape));
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
  // Framework classes carry theirs too.
  CWnd wnd;
  EXPECT_TRUE(wnd.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
  EXPECT_FALSE(wnd.IsKindOf(RUNTIME_CLASS(CWinThread)));
}

TEST(RuntimeClass, CreatesOnlyDynCreateClasses) {
  CObject* object = RUNTIME_CLASS(CCircle)->CreateObject();
  ASSERT_NE(object, nullptr);
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_EQ(static_cast<CCircle*>(object)->radius, 7);
  delete object;
  EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName("CSquare"), RUNTIME_CLASS(CSquare));
  EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
}

TEST(RuntimeClass, DowncastsCheckTheKind) {
  CCircle circle;
  CObject* object = &circle;
  EXPECT_EQ(DYNAMIC_DOWNCAST(CShape, object), &circle);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CSquare, object), nullptr);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CSquare, static_cast<CObject*>(nullptr)), nullptr);
}

TEST(String, BuildsFromNarrowAndWideText) {
  CString narrow("abc");
  CString wide(L"abc");
  EXPECT_EQ(narrow, wide);
  EXPECT_EQ(narrow.GetLength(), 3);
  EXPECT_TRUE(narrow == "abc");
  EXPECT_TRUE(narrow == L"abc");
  EXPECT_FALSE(narrow.IsEmpty());
  narrow.Empty();
  EXPECT_TRUE(narrow.IsEmpty());
  EXPECT_STREQ(static_cast<LPCWSTR>(narrow), L"");

  CString s = "x";
  s += "y";
  s += L'z';
  s += CString(L"!");
  EXPECT_STREQ(s, L"xyz!");
  EXPECT_STREQ("<" + s + ">", L"<xyz!>");
  EXPECT_EQ(s.ToNarrow(), "xyz!");
  EXPECT_LT(CString("abc"), CString("abd"));
  EXPECT_EQ(CString("ABC").CompareNoCase(L"abc"), 0);
}

TEST(String, FormatsNarrowAndWideFormats) {
  CString s;
  s.Format("%s-SCBar-%d", "Bar", 123);
  EXPECT_STREQ(s, L"Bar-SCBar-123");
  s.Format("Failed: %08X", 0x8000FFFFu);
  EXPECT_STREQ(s, L"Failed: 8000FFFF");
  s.Format(L"%ls=%d", L"wide", -5);
  EXPECT_STREQ(s, L"wide=-5");
  // Wide formats take wide %s and %c, narrow %S and %hs.
  s.Format(L"%s|%c|%S|%hs|%5.2f|%%", L"w", L'c', "n", "h", 1.5);
  EXPECT_STREQ(s, L"w|c|n|h| 1.50|%");
  // Longer than any first guess of a buffer.
  const std::string longText(5000, 'q');
  s.Format("[%s]", longText.c_str());
  EXPECT_EQ(s.GetLength(), 5002);
  std::wstring longWide(3000, L'w');
  s.Format(L"%ls", longWide.c_str());
  EXPECT_EQ(s.GetLength(), 3000);
  s.AppendFormat("%c", 'Z');
  EXPECT_EQ(s.Right(1), CString("Z"));
}

TEST(String, CutsSearchesAndTrims) {
  const CString s(L"Hello, World");
  EXPECT_STREQ(s.Left(5), L"Hello");
  EXPECT_STREQ(s.Right(5), L"World");
  EXPECT_STREQ(s.Mid(7), L"World");
  EXPECT_STREQ(s.Mid(7, 2), L"Wo");
  // Out-of-range counts are clipped, not trusted.
  EXPECT_STREQ(s.Left(100), L"Hello, World");
  EXPECT_STREQ(s.Left(-1), L"");
  EXPECT_STREQ(s.Mid(100), L"");
  EXPECT_STREQ(s.Mid(-3, 2), L"He");
  EXPECT_EQ(s.Find(L'o'), 4);
  EXPECT_EQ(s.Find(L'o', 5), 8);
  EXPECT_EQ(s.Find(L"World"), 7);
  EXPECT_EQ(s.Find("xyz"), -1);
  EXPECT_EQ(s.Find(L'o', 50), -1);
  EXPECT_EQ(s.ReverseFind(L'o'), 8);

  CString t(L"  MiXed \t");
  t.TrimLeft();
  EXPECT_STREQ(t, L"MiXed \t");
  t.TrimRight();
  EXPECT_STREQ(t, L"MiXed");
  t.MakeUpper();
  EXPECT_STREQ(t, L"MIXED");
  t.MakeLower();
  EXPECT_STREQ(t, L"mixed");
  CString u(L"xxabcxx");
  u.TrimLeft(L'x');
  u.TrimRight(L"x");
  EXPECT_STREQ(u, L"abc");
  EXPECT_EQ(u.Replace(L"b", L"BB"), 1);
  EXPECT_STREQ(u, L"aBBc");
}

TEST(String, BufferAccess) {
  CString s;
  LPWSTR buffer = s.GetBuffer(10);
  wcscpy(buffer, L"abc");
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 3);
  buffer = s.GetBuffer(10);
  buffer[0] = L'X';
  s.ReleaseBuffer(2);
  EXPECT_STREQ(s, L"Xb");
}

TEST(String, LoadsStringResources) {
  CString s;
  ASSERT_TRUE(s.LoadString(IDS_TEST_PLAIN));
  EXPECT_STREQ(s, L"Plain text");
  EXPECT_FALSE(s.LoadString(IDS_TEST_MISSING));
  EXPECT_TRUE(s.IsEmpty());
  CString greeting;
  greeting.Format(IDS_TEST_GREETING, L"you");
  EXPECT_STREQ(greeting, L"Hello, you");
}

TEST(StrArg, KeepsNarrowTextAliveAcrossCopies) {
  CStrArg a("narrow");
  CStrArg b(a);
  EXPECT_STREQ(b.get(), L"narrow");
  EXPECT_NE(a.get(), b.get());
  CStrArg id(MAKEINTRESOURCEA(42));
  EXPECT_TRUE(id.IsResourceId());
  EXPECT_TRUE(CStrArg(nullptr).IsNull());
}

TEST(Geometry, RectArithmetic) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
  EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(110, 70)));  // right and bottom are outside

  CRect d = r;
  d.DeflateRect(5, 10);
  EXPECT_EQ(d, CRect(15, 30, 105, 60));
  d.InflateRect(1, 2, 3, 4);
  EXPECT_EQ(d, CRect(14, 28, 108, 64));
  d.OffsetRect(-d.TopLeft());
  EXPECT_EQ(d, CRect(0, 0, 94, 36));
  d.OffsetRect(CSize(1, 1));
  EXPECT_EQ(d.TopLeft(), CPoint(1, 1));

  CRect flipped(50, 60, 10, 20);
  EXPECT_TRUE(flipped.IsRectEmpty());
  flipped.NormalizeRect();
  EXPECT_EQ(flipped, CRect(10, 20, 50, 60));

  CRect a(0, 0, 10, 10), b(5, 5, 20, 20);
  EXPECT_EQ(a & b, CRect(5, 5, 10, 10));
  EXPECT_EQ(a | b, CRect(0, 0, 20, 20));
  CRect none;
  EXPECT_FALSE(none.IntersectRect(&a, CRect(30, 30, 40, 40)));
  EXPECT_TRUE(none.IsRectEmpty());
  EXPECT_EQ(CRect(CPoint(1, 2), CSize(3, 4)), CRect(1, 2, 4, 6));
  EXPECT_EQ(a + CPoint(1, 1), CRect(1, 1, 11, 11));

  // A CRect is a RECT for the API.
  RECT raw = a;
  CRect back(raw);
  EXPECT_EQ(back, a);
  EXPECT_TRUE(::IsRectEmpty(CRect(3, 3, 3, 9)));
}

TEST(Geometry, PointsAndSizes) {
  CPoint p(3, 4);
  p += CSize(1, 1);
  EXPECT_EQ(p, CPoint(4, 5));
  EXPECT_EQ(p - CPoint(1, 2), CSize(3, 3));
  EXPECT_EQ(-p, CPoint(-4, -5));
  EXPECT_EQ(CPoint(MAKELPARAM(-2, 7)), CPoint(-2, 7));
  CSize s(2, 3);
  s += CSize(1, 1);
  EXPECT_EQ(s, CSize(3, 4));
}

TEST(File, WritesSeeksAndReadsBack) {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  const CString path = CString(dir) + L"orb_mfc_file_test.bin";
  {
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(file.Write("0123456789", 10));
    EXPECT_EQ(file.GetLength(), 10u);
  }
  CFile file;
  ASSERT_TRUE(file.Open(path, CFile::modeRead | CFile::shareDenyNone));
  char buffer[8] = {};
  EXPECT_EQ(file.Seek(4, CFile::begin), 4);
  EXPECT_EQ(file.Read(buffer, 3), 3u);
  EXPECT_EQ(std::string(buffer, 3), "456");
  EXPECT_EQ(file.Read(buffer, 8), 3u);  // only what is left
  EXPECT_EQ(file.Read(buffer, 8), 0u);
  EXPECT_FALSE(file.Write("x", 1));  // opened for reading
  file.Close();
  EXPECT_EQ(file.Read(buffer, 1), 0u);
  EXPECT_TRUE(CFile::Remove(path));
  CFile missing;
  EXPECT_FALSE(missing.Open(path, CFile::modeRead));
}

}  // namespace
