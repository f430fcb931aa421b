#include "dialog_driver.h"

#include <cstdio>
#include <set>

#include <prsht.h>

#include "plugin_support.h"
#include "win_process.h"
#include "win_ui.h"

namespace plugtest {

namespace {

// The dialogs a script found (to close them when it ends).
thread_local std::vector<HWND> t_found;

struct Search {
  std::string caption;
  HWND found = nullptr;
};

BOOL CALLBACK FindByCaption(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(w)) return TRUE;
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls) != "#32770") return TRUE;
  char text[256] = {};
  GetWindowTextA(w, text, sizeof text);
  if (s->caption == text) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// One reference-counted object per interface, as small as the dialogs need.
class CFakeTransponder final : public orb::com::ComClass<CFakeTransponder, ITransponder> {
 public:
  FakeTransponder t{};
  STDMETHODIMP SetPrimary(long) override { return E_NOTIMPL; }
  STDMETHODIMP GetPrimary(long* v) override { return Out(v, t.primary); }
  STDMETHODIMP SetFrequency(ULONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetFrequency(ULONG* v) override { return Out(v, t.frequency); }
  STDMETHODIMP Reserved7() override { return E_NOTIMPL; }
  STDMETHODIMP GetTransportStreamId(long* v) override { return Out(v, t.transportStreamId); }
  STDMETHODIMP SetPolarization(long) override { return E_NOTIMPL; }
  STDMETHODIMP GetPolarization(long* v) override { return Out(v, t.polarization); }
  STDMETHODIMP SetSymbolRate(ULONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetSymbolRate(ULONG* v) override { return Out(v, t.symbolRate); }
  STDMETHODIMP SetFEC(long) override { return E_NOTIMPL; }
  STDMETHODIMP GetFEC(long* v) override { return Out(v, 3L); }
  STDMETHODIMP Reserved15() override { return E_NOTIMPL; }
  STDMETHODIMP GetNetworkId(long* v) override { return Out(v, t.networkId); }

 private:
  template <class T, class U>
  static HRESULT Out(T* p, U v) {
    if (!p) return E_POINTER;
    *p = static_cast<T>(v);
    return S_OK;
  }
};

template <class Item, class Enum, class Source>
class CFakeEnum final : public orb::com::ComClass<CFakeEnum<Item, Enum, Source>, Enum> {
 public:
  std::vector<Source> items;
  size_t next = 0;
  std::function<Item*(const Source&)> make;
  STDMETHODIMP Next(ULONG count, Item** out, ULONG* fetched) override {
    if (!out) return E_POINTER;
    ULONG n = 0;
    while (n < count && next < items.size()) out[n++] = make(items[next++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) {
    next += count;
    return next <= items.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() {
    next = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(Enum**) { return E_NOTIMPL; }
};

ITransponder* MakeTransponder(const FakeTransponder& t) {
  CFakeTransponder* o = nullptr;
  CFakeTransponder::Create(&o);
  o->t = t;
  return o;
}

class CFakeSatellite final : public orb::com::ComClass<CFakeSatellite, ISatellite> {
 public:
  FakeSatellite s;
  STDMETHODIMP GetName(BSTR* name) override {
    if (!name) return E_POINTER;
    *name = SysAllocString(s.name.c_str());
    return S_OK;
  }
  STDMETHODIMP Reserved4() override { return E_NOTIMPL; }
  STDMETHODIMP EnumTransponders(long, IEnumTransponders** out) override {
    if (!out) return E_POINTER;
    using E = CFakeEnum<ITransponder, IEnumTransponders, FakeTransponder>;
    E* e = nullptr;
    E::Create(&e);
    e->items = s.transponders;
    e->make = MakeTransponder;
    *out = e;
    return S_OK;
  }
  STDMETHODIMP SetSelected(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP GetSelected(BOOL* v) override {
    if (!v) return E_POINTER;
    *v = TRUE;
    return S_OK;
  }
  STDMETHODIMP SetUserAdded(long) override { return E_NOTIMPL; }
  STDMETHODIMP Reserved9() override { return E_NOTIMPL; }
  STDMETHODIMP AddTransponder(ITransponder*) override { return E_NOTIMPL; }
  STDMETHODIMP DeleteTransponder(long, long) override { return E_NOTIMPL; }
  STDMETHODIMP CreateTransponder(long, long, ITransponder**) override { return E_NOTIMPL; }
  STDMETHODIMP FindTransponder(long nid, long tsid, ITransponder** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const FakeTransponder& t : s.transponders)
      if (t.networkId == nid && t.transportStreamId == tsid) {
        *out = MakeTransponder(t);
        return S_OK;
      }
    return E_FAIL;
  }
  STDMETHODIMP Reserved14() override { return E_NOTIMPL; }
  STDMETHODIMP GetTransponderCount(long* n) override {
    if (!n) return E_POINTER;
    *n = static_cast<long>(s.transponders.size());
    return S_OK;
  }
};

ISatellite* MakeSatellite(const FakeSatellite& s) {
  CFakeSatellite* o = nullptr;
  CFakeSatellite::Create(&o);
  o->s = s;
  return o;
}

class CFakeList final : public orb::com::ComClass<CFakeList, ISatListManager> {
 public:
  std::vector<FakeSatellite> satellites;
  STDMETHODIMP EnumSatellites(long, long, IEnumSatellites** out) override {
    if (!out) return E_POINTER;
    using E = CFakeEnum<ISatellite, IEnumSatellites, FakeSatellite>;
    E* e = nullptr;
    E::Create(&e);
    e->items = satellites;
    e->make = MakeSatellite;
    *out = e;
    return S_OK;
  }
  STDMETHODIMP FindSatellite(BSTR name, ISatellite** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const FakeSatellite& s : satellites)
      if (name && s.name == name) {
        *out = MakeSatellite(s);
        return S_OK;
      }
    return E_FAIL;
  }
  STDMETHODIMP Save(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP Load(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP StoreSatellite(ISatellite*) override { return E_NOTIMPL; }
  STDMETHODIMP DeleteSatellite(BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP CreateSatellite(BSTR, ISatellite**) override { return E_NOTIMPL; }
  STDMETHODIMP Reserved10() override { return E_NOTIMPL; }
  STDMETHODIMP GetSatelliteCount(long* n) override {
    if (!n) return E_POINTER;
    *n = static_cast<long>(satellites.size());
    return S_OK;
  }
};

}  // namespace

HWND WaitDialog(const std::string& caption, DWORD ms) {
  Search s{caption};
  WaitFor(
      [&] {
        EnumWindows(FindByCaption, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
      },
      ms);
  if (s.found) t_found.push_back(s.found);
  return s.found;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) { return orb_test::WaitFor(done, ms, 10); }

std::string ItemText(HWND dlg, int id) {
  char text[1024] = {};
  GetDlgItemTextA(dlg, id, text, sizeof text);
  return text;
}

void SetItemText(HWND dlg, int id, const std::string& text) { SetDlgItemTextA(dlg, id, text.c_str()); }

void Notify(HWND dlg, int id, WORD code) {
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

void Click(HWND dlg, int id, const std::vector<int>& group) {
  for (int other : group) SendDlgItemMessageA(dlg, other, BM_SETCHECK, BST_UNCHECKED, 0);
  SendDlgItemMessageA(dlg, id, BM_SETCHECK, BST_CHECKED, 0);
  Notify(dlg, id, BN_CLICKED);
}

void PostClick(HWND dlg, int id) {
  PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

void Choose(HWND dlg, int id, int index) {
  SendDlgItemMessageA(dlg, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Notify(dlg, id, CBN_SELCHANGE);
}

std::vector<std::string> ListEntries(HWND dlg, int id) {
  std::vector<std::string> out;
  const int n = static_cast<int>(SendDlgItemMessageA(dlg, id, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[512] = {};
    if (SendDlgItemMessageA(dlg, id, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
      SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    out.push_back(text);
  }
  return out;
}

int ListSelection(HWND dlg, int id) { return static_cast<int>(SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0)); }
bool Enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }
bool Visible(HWND dlg, int id) { return (GetWindowLongA(GetDlgItem(dlg, id), GWL_STYLE) & WS_VISIBLE) != 0; }
bool Checked(HWND dlg, int id) { return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
int ProgressPos(HWND dlg, int id) { return static_cast<int>(SendDlgItemMessageA(dlg, id, PBM_GETPOS, 0, 0)); }

bool AnswerBox(const std::string& caption, Box& box, DWORD ms) {
  HWND w = WaitDialog(caption, ms);
  if (!w) return false;
  box.caption = caption;
  box.text = ItemText(w, 0xFFFF);
  PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitFor([w] { return !IsWindow(w) || !IsWindowVisible(w); }, ms);
}

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

std::vector<std::string> TabTexts(HWND sheet) {
  std::vector<std::string> texts;
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  const int n = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    texts.push_back(text);
  }
  return texts;
}

std::vector<unsigned char> ReadFileBytes(const std::wstring& path) {
  std::vector<unsigned char> out;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return out;
  unsigned char buffer[65536];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
  fclose(f);
  return out;
}

long long FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a)) return -1;
  return static_cast<long long>(a.nFileSizeHigh) << 32 | a.nFileSizeLow;
}

int TsDump(const std::wstring& file, std::string* output) {
  const std::wstring out = file + L".dump.txt";
  std::wstring command = L"cmd /c \"\"" + ExeDir() + L"\\orb-tsdump.exe\" --strict \"" + file + L"\" > \"" + out + L"\"\"";
  const orb_test::ProcessRun run = orb_test::RunProcess(command, 30000, CREATE_NO_WINDOW);
  if (!run.started) return -1;
  const DWORD code = run.finished ? run.exitCode : static_cast<DWORD>(-2);
  const auto text = ReadFileBytes(out);
  if (output) output->assign(text.begin(), text.end());
  return static_cast<int>(code);
}

std::wstring SaveWindowBitmap(HWND hwnd, const std::wstring& name) {
  // The display may be shared with other programs: the window is put on top
  // of them for the picture.
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
  Sleep(150);
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return {};
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof bi;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  std::vector<BYTE> pixels(stride * static_cast<DWORD>(h));
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const std::wstring path = ExeDir() + L"\\" + name;
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return {};
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
  fwrite(&fh, sizeof fh, 1, f);
  fwrite(&bi, sizeof bi, 1, f);
  fwrite(pixels.data(), 1, pixels.size(), f);
  fclose(f);
  return path;
}

DialogScript::DialogScript(std::function<void()> script)
    : thread_([script = std::move(script)] {
        script();
        // Whatever the script left open goes as by the system menu's Close.
        for (HWND w : t_found) {
          WaitFor(
              [w] {
                if (!IsWindow(w) || !IsWindowVisible(w)) return true;
                PostMessageA(w, WM_CLOSE, 0, 0);
                return false;
              },
              3000);
        }
        t_found.clear();
      }) {}

DialogScript::~DialogScript() { Join(); }

void DialogScript::Join() {
  if (thread_.joinable()) thread_.join();
}

HRESULT CreateFakeSatList(const std::vector<FakeSatellite>& satellites, ISatListManager** out) {
  if (!out) return E_POINTER;
  CFakeList* o = nullptr;
  const HRESULT hr = CFakeList::Create(&o);
  if (FAILED(hr)) return hr;
  o->satellites = satellites;
  *out = o;
  return S_OK;
}

}  // namespace plugtest
