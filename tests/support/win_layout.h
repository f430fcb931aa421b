#pragma once
// The layout of a dialog as the user meets it: every text of a static,
// check box, radio button, group box or push button shows in full in the
// font the control draws it with, no control covers another (a group box
// holds the controls inside it), and every control lies inside the dialog.
// Controls the dialog hides are left out: what counts is what is shown.
// Each finding is one readable line, so a failing test names what to mend.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace orb_test {

namespace layout_detail {

inline std::string Printable(const std::wstring& w) {
  std::string out;
  for (wchar_t c : w) out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : c == L'\n' ? '|' : '?');
  return out;
}

inline std::wstring ClassOfWindow(HWND hwnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 63);
  return name;
}

inline std::wstring TextOfWindow(HWND hwnd) {
  const int n = ::GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), n + 1)));
  return text;
}

inline bool SameClass(const std::wstring& cls, const wchar_t* name) { return ::lstrcmpiW(cls.c_str(), name) == 0; }

// Where a control draws its text and how: the room (pixels) and the
// DrawText flags.  False for controls whose text is not drawn as a label.
inline bool TextRoom(HWND control, HDC dc, SIZE& room, UINT& flags) {
  const std::wstring cls = ClassOfWindow(control);
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
  RECT client{};
  ::GetClientRect(control, &client);
  room = {client.right, client.bottom};
  if (layout_detail::SameClass(cls, L"Static")) {
    const DWORD type = style & SS_TYPEMASK;
    flags = DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0u);
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) flags |= DT_WORDBREAK;
    else if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) flags |= DT_SINGLELINE;
    else return false;
    return true;
  }
  if (layout_detail::SameClass(cls, L"Button")) {
    const DWORD type = style & BS_TYPEMASK;
    flags = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    switch (type) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        room.cx -= 6;  // the raised edge and the focus frame
        return true;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_RADIOBUTTON:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_AUTORADIOBUTTON: {
        // The box (12 pixels at 96 dpi, plus one) and half a digit's gap
        // before the text, one pixel more for the focus frame.
        const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
        INT digit = 0;
        ::GetCharWidth32W(dc, L'0', L'0', &digit);
        room.cx -= 12 * dpi / 96 + 1 + digit / 2 + 1;
        room.cy = 0;  // the text is centred on the box, never wrapped
        return true;
      }
      case BS_GROUPBOX:
        room.cx -= 14;  // the title starts 7 pixels in and ends 7 before the frame
        room.cy = 0;
        return true;
      default:
        return false;
    }
  }
  if (layout_detail::SameClass(cls, L"Edit")) {
    RECT format{};
    ::SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    room = {format.right - format.left, 0};
    flags = DT_SINGLELINE | DT_NOPREFIX;
    return !(style & ES_MULTILINE);
  }
  return false;
}

}  // namespace layout_detail

// Empty when `text` shows in full in `control` (in the control's font, the
// way the control draws it); else a line naming the control, the text and
// the pixels it needs beside the pixels it has.
inline std::string CutText(HWND control, const std::wstring& text) {
  if (text.empty()) return {};
  HDC dc = ::GetDC(control);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = ::SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
  SIZE room{};
  UINT flags = 0;
  std::string finding;
  if (layout_detail::TextRoom(control, dc, room, flags)) {
    RECT need{0, 0, room.cx > 0 ? room.cx : 1, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, flags | DT_CALCRECT);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    const bool wide = need.right > room.cx;
    const bool tall = room.cy > 0 && need.bottom > room.cy;
    if (wide || tall) {
      // What one line of it takes, the measure to widen the control by.
      RECT line{0, 0, 0, 0};
      ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
                  (flags & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_CALCRECT);
      char finding_text[512];
      std::snprintf(finding_text, sizeof finding_text,
                    "control %d (%s) \"%s\": needs %ldx%ld px (%ld on one line), has %ldx%ld", ::GetDlgCtrlID(control),
                    layout_detail::Printable(layout_detail::ClassOfWindow(control)).c_str(),
                    layout_detail::Printable(text).c_str(), static_cast<long>(need.right),
                    static_cast<long>(need.bottom), static_cast<long>(line.right), static_cast<long>(room.cx),
                    static_cast<long>(room.cy > 0 ? room.cy : tm.tmHeight));
      finding = finding_text;
    }
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return finding;
}

// Two controls that stand in one place and are shown one at a time.
struct Alternatives {
  int first;
  int second;
};

// Every finding of `dialog`: texts that do not show in full, controls that
// cover each other (but the pairs in `alternatives`, and a group box with
// what lies wholly inside it) and controls that reach past the dialog.
inline std::vector<std::string> LayoutFaults(HWND dialog, const std::vector<Alternatives>& alternatives = {}) {
  struct Control {
    HWND hwnd;
    int id;
    RECT rect;
    bool group;
  };
  std::vector<Control> controls;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE));
    if (!(style & WS_VISIBLE)) continue;  // a control the dialog hid is not met
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    controls.push_back({child, ::GetDlgCtrlID(child), r,
                        layout_detail::SameClass(layout_detail::ClassOfWindow(child), L"Button") && (style & BS_TYPEMASK) == BS_GROUPBOX});
  }
  std::vector<std::string> faults;
  char line[512];
  auto describe = [](const Control& c) {
    char text[160];
    std::snprintf(text, sizeof text, "%d (%s \"%s\")", c.id, layout_detail::Printable(layout_detail::ClassOfWindow(c.hwnd)).c_str(),
                  layout_detail::Printable(layout_detail::TextOfWindow(c.hwnd)).substr(0, 40).c_str());
    return std::string(text);
  };
  RECT client{};
  ::GetClientRect(dialog, &client);
  for (const Control& c : controls) {
    // An edit field's contents scroll (a path is longer than any field);
    // a field that shows a program's text is measured with CutText.
    if (!layout_detail::SameClass(layout_detail::ClassOfWindow(c.hwnd), L"Edit")) {
      std::string cut = CutText(c.hwnd, layout_detail::TextOfWindow(c.hwnd));
      if (!cut.empty()) faults.push_back(cut);
    }
    if (c.rect.left < 0 || c.rect.top < 0 || c.rect.right > client.right || c.rect.bottom > client.bottom) {
      std::snprintf(line, sizeof line, "control %s reaches past the dialog (%ld,%ld)-(%ld,%ld) in %ldx%ld",
                    describe(c).c_str(), static_cast<long>(c.rect.left), static_cast<long>(c.rect.top),
                    static_cast<long>(c.rect.right), static_cast<long>(c.rect.bottom),
                    static_cast<long>(client.right), static_cast<long>(client.bottom));
      faults.push_back(line);
    }
  }
  auto allowed = [&](int a, int b) {
    for (const Alternatives& p : alternatives)
      if ((p.first == a && p.second == b) || (p.first == b && p.second == a)) return true;
    return false;
  };
  auto inside = [](const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
  };
  for (size_t i = 0; i < controls.size(); ++i) {
    for (size_t j = i + 1; j < controls.size(); ++j) {
      const Control& a = controls[i];
      const Control& b = controls[j];
      RECT common{};
      if (!::IntersectRect(&common, &a.rect, &b.rect)) continue;
      if (allowed(a.id, b.id)) continue;
      if (a.group != b.group && (a.group ? inside(b.rect, a.rect) : inside(a.rect, b.rect))) continue;
      std::snprintf(line, sizeof line, "controls %s and %s overlap", describe(a).c_str(), describe(b).c_str());
      faults.push_back(line);
    }
  }
  return faults;
}

// The findings of LayoutFaults as one text (empty when there are none),
// each on a line of its own.
inline std::string LayoutFaultText(HWND dialog, const std::vector<Alternatives>& alternatives = {}) {
  std::string all;
  for (const std::string& fault : LayoutFaults(dialog, alternatives)) all += "\n  " + fault;
  return all;
}

}  // namespace orb_test
