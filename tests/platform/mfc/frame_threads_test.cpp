// Frame part objects made and deleted on several threads at once: frames and
// views (which the frame part keeps a record of while they exist), image
// lists (found again from their handles) and frame windows of user-interface
// threads of their own.
#include <afxwin.h>
#include <afx_listtree.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "frame_test_support.h"

namespace {

constexpr int kThreads = 4;

template <class Work>
void OnThreads(Work work) {
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(work, t);
  for (std::thread& th : threads) th.join();
}

TEST(FrameThreads, FrameObjectsComeAndGoOnEveryThread) {
  frame_test::InitApp();
  std::atomic<int> made{0};
  OnThreads([&made](int) {
    for (int i = 0; i < 20000; ++i) {
      CFrameWnd* frame = new CFrameWnd;
      CFrameWnd* second = new CFrameWnd;
      delete frame;
      delete second;
      made += 2;
    }
  });
  EXPECT_EQ(made.load(), kThreads * 40000);
}

TEST(FrameThreads, ImageListsAreFoundFromTheirHandlesOnEveryThread) {
  frame_test::InitApp();
  std::atomic<int> wrong{0};
  OnThreads([&wrong](int) {
    for (int i = 0; i < 3000; ++i) {
      CImageList list;
      if (!list.Create(16, 16, ILC_COLOR32, 1, 1)) {
        ++wrong;
        continue;
      }
      const HIMAGELIST handle = list.m_hImageList;
      if (CImageList::FromHandle(handle) != &list) ++wrong;
      list.DeleteImageList();
      if (CImageList::FromHandle(handle) == &list) ++wrong;
    }
  });
  EXPECT_EQ(wrong.load(), 0);
}

// Each thread makes its frame windows (of the framework's default class) and
// destroys them; the frame object goes with its window.
TEST(FrameThreads, FrameWindowsOfSeveralThreadsAtOnce) {
  frame_test::InitApp();
  std::atomic<int> created{0};
  std::atomic<int> wrong{0};
  OnThreads([&created, &wrong](int) {
    for (int i = 0; i < 25; ++i) {
      CFrameWnd* frame = new CFrameWnd;
      if (!frame->Create(nullptr, L"Thread frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150))) {
        ++wrong;
        continue;
      }
      const HWND hwnd = frame->m_hWnd;
      if (CWnd::FromHandlePermanent(hwnd) != frame) ++wrong;
      ++created;
      frame->DestroyWindow();
      if (::IsWindow(hwnd) || CWnd::FromHandlePermanent(hwnd)) ++wrong;
    }
  });
  EXPECT_EQ(created.load(), kThreads * 25);
  EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
