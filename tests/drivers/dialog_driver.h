#pragma once
// Driving the plug-ins' modal dialogs from a second thread while the test's
// thread runs them: finding a dialog by caption, setting fields, pressing
// buttons, waiting for a state, answering message boxes and writing a
// picture of a window.  Every wait is bounded; a script that ends leaves no
// dialog of its own open (it is closed as by the system menu).
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "orb_atl/com_object.h"
#include "satlistmgr.h"

namespace plugtest {

// A visible dialog window (class #32770) of this process whose caption is
// `caption`, waiting at most `ms`; null when none came.
HWND WaitDialog(const std::string& caption, DWORD ms = 5000);
// Waits until `done` holds (checked every 10 ms) for at most `ms`.
bool WaitFor(const std::function<bool()>& done, DWORD ms = 5000);

std::string ItemText(HWND dlg, int id);
void SetItemText(HWND dlg, int id, const std::string& text);
// Notifies the dialog as the control would.
void Notify(HWND dlg, int id, WORD code);
// Checks a button (radio or check box) and sends its BN_CLICKED; for a
// radio the others of `group` are cleared first.
void Click(HWND dlg, int id, const std::vector<int>& group = {});
// Posts a button's BN_CLICKED (for buttons that may show a message box).
void PostClick(HWND dlg, int id);
// Selects an entry of a drop-down list by index and sends CBN_SELCHANGE.
void Choose(HWND dlg, int id, int index);
std::vector<std::string> ListEntries(HWND dlg, int id);
int ListSelection(HWND dlg, int id);
bool Enabled(HWND dlg, int id);
bool Visible(HWND dlg, int id);
bool Checked(HWND dlg, int id);
int ProgressPos(HWND dlg, int id);

// The message box that comes up next (caption, text); answers it with OK.
struct Box {
  std::string caption, text;
};
bool AnswerBox(const std::string& caption, Box& box, DWORD ms = 5000);

// A property sheet's page shown now, and the texts of its tabs.
HWND CurrentPage(HWND sheet);
std::vector<std::string> TabTexts(HWND sheet);

// The bytes of a file (none when it cannot be read), and its size (-1 when
// there is no file).
std::vector<unsigned char> ReadFileBytes(const std::wstring& path);
long long FileSize(const std::wstring& path);
// Runs orb-tsdump --strict (beside the test program) on a file: its exit
// code (-1 when it could not start, -2 when it overran its time-out), its
// output into `output` when given.
int TsDump(const std::wstring& file, std::string* output);

// Writes the window as a 24-bit BMP named `name` beside the test program;
// returns the path (empty on failure).
std::wstring SaveWindowBitmap(HWND hwnd, const std::wstring& name);

// Runs `script` on its own thread for the length of the object; when the
// script returns, a dialog it found and left open is closed.
class DialogScript {
 public:
  explicit DialogScript(std::function<void()> script);
  ~DialogScript();
  // Waits for the script to end (before its results are read).
  void Join();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

 private:
  std::thread thread_;
};

// A satellite list manager over fixed satellites (all selected) and their
// transponders.
struct FakeTransponder {
  long networkId, transportStreamId;
  ULONG frequency;  // 10 kHz
  long polarization;
  ULONG symbolRate;  // 100 symbol/s
  long primary;
};
struct FakeSatellite {
  std::wstring name;
  std::vector<FakeTransponder> transponders;
};
HRESULT CreateFakeSatList(const std::vector<FakeSatellite>& satellites, ISatListManager** out);

}  // namespace plugtest
