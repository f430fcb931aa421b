// CFileDialog: the filter text, flags, default extension and initial name as
// the system dialog receives them, and the parts of the chosen path.  The
// dialog itself is not opened here.
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The NUL-separated filter list as separate strings, up to the empty one
// that ends it.
std::vector<std::wstring> FilterParts(const wchar_t* filter) {
  std::vector<std::wstring> parts;
  if (!filter) return parts;
  while (*filter) {
    parts.emplace_back(filter);
    filter += parts.back().size() + 1;
  }
  return parts;
}

TEST(FileDialog, FilterTurnsBarsIntoSeparators) {
  CFileDialog dlg(FALSE, "ts", "capture.ts", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                  "Transport streams (*.ts)|*.ts|binary files (*.bin)|*.bin||");
  const std::vector<std::wstring> parts = FilterParts(dlg.m_ofn.lpstrFilter);
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[0], L"Transport streams (*.ts)");
  EXPECT_EQ(parts[1], L"*.ts");
  EXPECT_EQ(parts[2], L"binary files (*.bin)");
  EXPECT_EQ(parts[3], L"*.bin");
  EXPECT_EQ(std::wstring(dlg.m_ofn.lpstrDefExt), L"ts");
  EXPECT_EQ(std::wstring(dlg.m_ofn.lpstrFile), L"capture.ts");
  EXPECT_GE(dlg.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(dlg.m_ofn.lStructSize, sizeof(OPENFILENAMEW));
  EXPECT_TRUE(dlg.m_ofn.Flags & OFN_HIDEREADONLY);
  EXPECT_TRUE(dlg.m_ofn.Flags & OFN_OVERWRITEPROMPT);
  EXPECT_TRUE(dlg.m_ofn.Flags & OFN_EXPLORER);
}

TEST(FileDialog, FilterWithoutClosingBarsIsTerminatedAllTheSame) {
  CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY,
                  "All Files (*.mp2;*.psv)|*.mp2;*.psv|MP2 Audio Files (*.mp2)|*.mp2");
  const std::vector<std::wstring> parts = FilterParts(dlg.m_ofn.lpstrFilter);
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[1], L"*.mp2;*.psv");
  EXPECT_EQ(parts[3], L"*.mp2");
  EXPECT_EQ(dlg.m_ofn.lpstrDefExt, nullptr);
  EXPECT_EQ(dlg.m_ofn.lpstrFile[0], L'\0');
  EXPECT_FALSE(dlg.m_ofn.Flags & OFN_OVERWRITEPROMPT);
}

TEST(FileDialog, NoFilter) {
  CFileDialog dlg(TRUE);
  EXPECT_EQ(dlg.m_ofn.lpstrFilter, nullptr);
  EXPECT_EQ(dlg.GetPathName(), CString(""));
  EXPECT_EQ(dlg.GetFileName(), CString(""));
}

TEST(FileDialog, PartsOfTheChosenPath) {
  CFileDialog dlg(FALSE, "mpg");
  // What the system dialog writes into the buffer on OK.
  wcscpy(dlg.m_ofn.lpstrFile, L"C:\\rec\\show.part1.MPG");
  EXPECT_EQ(dlg.GetPathName(), CString("C:\\rec\\show.part1.MPG"));
  EXPECT_EQ(dlg.GetFileName(), CString("show.part1.MPG"));
  EXPECT_EQ(dlg.GetFileExt(), CString("MPG"));
  EXPECT_EQ(dlg.GetFileTitle(), CString("show.part1"));
  wcscpy(dlg.m_ofn.lpstrFile, L"C:\\rec.d\\noext");
  EXPECT_EQ(dlg.GetFileExt(), CString(""));
  EXPECT_EQ(dlg.GetFileTitle(), CString("noext"));
}

TEST(FileDialog, LongInitialNameIsCut) {
  const std::string name(MAX_PATH + 50, 'a');
  CFileDialog dlg(FALSE, nullptr, name.c_str());
  EXPECT_EQ(wcslen(dlg.m_ofn.lpstrFile), static_cast<size_t>(MAX_PATH - 1));
}

}  // namespace
