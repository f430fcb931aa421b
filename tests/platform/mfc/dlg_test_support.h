// Helpers of the dialog tests: a dialog that runs a script of steps inside
// its own modal loop, and a message box hook that records instead of showing.
#pragma once

#include <afxwin.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dlgtest {

constexpr UINT kStepMessage = WM_APP + 40;

// Runs its steps one at a time, each from a message posted to itself, so
// that every step runs inside the dialog's modal loop.  When the steps are
// used up and the dialog is still open it ends with kScriptExhausted, so a
// test never hangs on a dialog nobody closes.
constexpr int kScriptExhausted = 4242;

template <class Base>
class Scripted : public Base {
 public:
  using Step = std::function<void(Scripted&)>;
  using Base::Base;

  std::vector<Step> steps;
  size_t nextStep = 0;

  // A button press as the control reports it to its dialog.
  void Click(int id) {
    this->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(::GetDlgItem(this->m_hWnd, id)));
  }
  void SetText(int id, const wchar_t* text) { ::SetDlgItemTextW(this->m_hWnd, id, text); }
  std::wstring Text(int id) const {
    wchar_t buffer[256] = L"";
    ::GetDlgItemTextW(this->m_hWnd, id, buffer, 256);
    return buffer;
  }

  // Starts the script (from OnInitDialog of the test dialog).
  void StartScript() { this->PostMessage(kStepMessage); }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kStepMessage) {
      if (nextStep < steps.size()) {
        steps[nextStep++](*this);
        if (this->m_hWnd && ::IsWindow(this->m_hWnd)) this->PostMessage(kStepMessage);
      } else {
        this->EndDialog(kScriptExhausted);
      }
      return 0;
    }
    return Base::WindowProc(message, wParam, lParam);
  }
};

// Records the message boxes shown while it lives and answers IDOK.
class MessageBoxRecorder {
 public:
  MessageBoxRecorder()
      : m_previous(AfxSetMessageBoxHook([this](const CString& text, UINT) {
          texts.push_back(text.ToNarrow());
          return IDOK;
        })) {}
  ~MessageBoxRecorder() { AfxSetMessageBoxHook(m_previous); }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  std::vector<std::string> texts;

 private:
  AfxMessageBoxHook m_previous;
};

// Message boxes never block a test program: outside the tests that count
// them they are answered here.
class NoMessageBoxes : public ::testing::Environment {
 public:
  void SetUp() override { m_recorder = std::make_unique<MessageBoxRecorder>(); }
  void TearDown() override { m_recorder.reset(); }

 private:
  std::unique_ptr<MessageBoxRecorder> m_recorder;
};
inline ::testing::Environment* const g_noMessageBoxes =
    ::testing::AddGlobalTestEnvironment(new NoMessageBoxes);

}  // namespace dlgtest
