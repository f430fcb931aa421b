// Dialog templates come from the resource module in effect: a template that
// only a second module holds loads while that module's state (or resource
// handle) is current, and fails cleanly otherwise.  Property pages take the
// module in effect when they are built.
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>

#include "dlg_test_ids.h"
#include "dlg_test_support.h"

namespace {

using dlgtest::Scripted;

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = L"";
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L"\\/") + 1);
  return dir + L"mfc_dlg_resmodule.dll";
}

class ResourceModule : public ::testing::Test {
 protected:
  void SetUp() override {
    module = ::LoadLibraryW(ModulePath().c_str());
    ASSERT_NE(module, nullptr) << "the resource module is built beside the test";
    // The module's own state, as a library built into it would keep it.
    moduleState.m_hCurrentInstanceHandle = module;
    moduleState.m_hCurrentResourceHandle = module;
    moduleState.m_bDLL = TRUE;
  }
  void TearDown() override {
    if (module) ::FreeLibrary(module);
  }
  HMODULE module = nullptr;
  AFX_MODULE_STATE moduleState;
};

class CModuleDlg : public Scripted<CDialog> {
 public:
  CModuleDlg() : Scripted<CDialog>(IDD_DLG_PLUGIN) {}
  CString m_text = "from member";
  std::wstring seen;

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_DLG_TEXT, m_text); }
  BOOL OnInitDialog() override {
    const BOOL result = CDialog::OnInitDialog();
    StartScript();
    return result;
  }
};

TEST_F(ResourceModule, TemplateOfTheCurrentModuleStateLoads) {
  CModuleDlg dlg;
  dlg.steps.push_back([&](auto& d) {
    dlg.seen = d.Text(IDC_DLG_TEXT);
    d.SetText(IDC_DLG_TEXT, L"typed");
    d.Click(IDOK);
  });
  INT_PTR result = 0;
  {
    AFX_MANAGE_STATE(&moduleState);
    EXPECT_EQ(AfxGetResourceHandle(), module);
    result = dlg.DoModal();
  }
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.seen, L"from member");
  EXPECT_EQ(dlg.m_text, CString("typed"));
  // Back in the program's own state the template is not found.
  EXPECT_NE(AfxGetResourceHandle(), module);
  CModuleDlg again;
  EXPECT_EQ(again.DoModal(), -1);
  EXPECT_EQ(again.m_hWnd, nullptr);
  EXPECT_EQ(again.seen, L"");
}

TEST_F(ResourceModule, ResourceHandleSetDirectly) {
  const HINSTANCE previous = AfxGetResourceHandle();
  AfxSetResourceHandle(module);
  CModuleDlg dlg;
  dlg.steps.push_back([](auto& d) { d.Click(IDCANCEL); });
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  CDialog modeless(IDD_DLG_PLUGIN);
  EXPECT_TRUE(modeless.Create(IDD_DLG_PLUGIN));
  modeless.DestroyWindow();
  AfxSetResourceHandle(previous);
  CDialog missing(IDD_DLG_PLUGIN);
  EXPECT_FALSE(missing.Create(IDD_DLG_PLUGIN));
}

TEST_F(ResourceModule, ModuleLoadedAsDataOnly) {
  HMODULE data = ::LoadLibraryExW(ModulePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(data, nullptr);
  AFX_MODULE_STATE dataState;
  dataState.m_hCurrentInstanceHandle = data;
  dataState.m_hCurrentResourceHandle = data;
  CModuleDlg dlg;
  dlg.steps.push_back([](auto& d) { d.Click(IDOK); });
  {
    AFX_MANAGE_STATE(&dataState);
    EXPECT_EQ(dlg.DoModal(), IDOK);
  }
  ::FreeLibrary(data);
}

// A page built inside the module's state shows the module's template and
// caption string even when the sheet runs after the state is left.
class CModulePage : public CPropertyPage {
 public:
  CModulePage() : CPropertyPage(IDD_DLG_PLUGIN, IDS_DLG_PLUGIN_PAGE) {}
  CString m_text = "page text";
  int inits = 0;
  BOOL OnInitDialog() override {
    ++inits;
    const BOOL result = CPropertyPage::OnInitDialog();
    ::PostMessageW(::GetParent(m_hWnd), dlgtest::kStepMessage, 0, 0);
    return result;
  }

 protected:
  void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_DLG_TEXT, m_text); }
};

class CModuleSheet : public Scripted<CPropertySheet> {
 public:
  using Scripted<CPropertySheet>::Scripted;
};

TEST_F(ResourceModule, PagesUseTheModuleInEffectWhenBuilt) {
  CModulePage* page = nullptr;
  {
    AFX_MANAGE_STATE(&moduleState);
    page = new CModulePage;
  }
  CModuleSheet sheet("Module sheet");
  sheet.AddPage(page);
  std::wstring tab;
  sheet.steps.push_back([&](auto&) {
    ::SetDlgItemTextW(page->m_hWnd, IDC_DLG_TEXT, L"edited");
    wchar_t text[64] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    if (CTabCtrl* tabs = sheet.GetTabControl()) tabs->GetItem(0, &item);
    tab = text;
    sheet.PressButton(PSBTN_OK);
  });
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(page->inits, 1);
  EXPECT_EQ(tab, L"Module page");
  EXPECT_EQ(page->m_text, CString("edited"));
  delete page;
}

}  // namespace
