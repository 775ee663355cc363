// The message queue and the loop: posting and sending, the order in which
// messages come out (queued ones, quit, paints, due timers), the wait of
// GetMessageA, and the input that only cancels while a generator paints.
#include <QCoreApplication>
#include <algorithm>

#include "platform/internal.h"
#include "platform/testing.h"

namespace plat {

DWORD* g_generationCancel = nullptr;

std::deque<MSG> g_queue;
static bool g_quitPosted = false;
static int g_quitCode = 0;

void PostInput(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
  bool input = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN ||
               msg == WM_COMMAND;
  if (g_generationCancel) {
    if (input) *g_generationCancel = 1;
    if (input || msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MOUSEMOVE) return;
  }
  // Moves are not history: a move still waiting in the queue only takes the
  // newer position, so a long animation never leaves a backlog of them.
  if (msg == WM_MOUSEMOVE && !g_queue.empty() && g_queue.back().message == WM_MOUSEMOVE &&
      g_queue.back().hwnd == Handle(w)) {
    g_queue.back().lParam = lp;
    g_queue.back().time = GetTickCount();
    return;
  }
  PostMessageA(Handle(w), msg, wp, lp);
}

}  // namespace plat

using namespace plat;

// ---------------------------------------------------------------- messages
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_PAINT: ValidateRect(hwnd, nullptr); return 0;
    case WM_SYSKEYDOWN:
      if (Window* w = Win(hwnd)) OpenMenuByMnemonic(w, (int)wp);
      return 0;
    default: return 0;
  }
}

// How many messages are being handled right now: 0 while the top-level loop
// waits, more inside any handler (and inside the dialogs and waits it runs).
static int g_dispatchDepth = 0;
struct DispatchScope {
  DispatchScope() { ++g_dispatchDepth; }
  ~DispatchScope() { --g_dispatchDepth; }
};

static LRESULT Deliver(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
  DispatchScope scope;
  HWND h = Handle(w);
  if (w->isDialog) {
    INT_PTR handled = w->dlgProc ? w->dlgProc(h, msg, wp, lp) : FALSE;
    if (!handled) {
      if (msg == WM_PAINT) ValidateRect(h, nullptr);
      if (msg == WM_SYSKEYDOWN) OpenMenuByMnemonic(w, (int)wp);
      if (msg == WM_COMMAND && w->modal && (LOWORD(wp) == IDCANCEL)) EndDialog(h, IDCANCEL);
    }
    return handled;
  }
  return w->proc ? w->proc(h, msg, wp, lp) : DefWindowProcA(h, msg, wp, lp);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* w = Win(hwnd);
  if (!w || w == &g_desktop) return 0;
  return Deliver(w, msg, wp, lp);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (hwnd && !Win(hwnd)) return FALSE;
  MSG m{hwnd, msg, wp, lp, GetTickCount(), {0, 0}};
  g_queue.push_back(m);
  return TRUE;
}

void PostQuitMessage(int code) {
  g_quitPosted = true;
  g_quitCode = code;
}

// Finds the next message without waiting: queued first, then quit, paints
// and due timers, as the desktop orders them.
static bool NextMessage(MSG* msg) {
  PostActivationNews();
  if (!g_queue.empty()) {
    *msg = g_queue.front();
    g_queue.pop_front();
    return true;
  }
  if (g_quitPosted) {
    *msg = MSG{nullptr, WM_QUIT, (WPARAM)g_quitCode, 0, GetTickCount(), {0, 0}};
    return true;
  }
  for (Window* w : g_windows)
    if (!w->destroyed && w->visible && !w->update.isEmpty()) {
      *msg = MSG{Handle(w), WM_PAINT, 0, 0, GetTickCount(), {0, 0}};
      return true;
    }
  DWORD now = GetTickCount();
  for (TimerEntry& t : g_timers)
    if ((int32_t)(now - t.due) >= 0) {
      // The next tick keeps the timer's own rhythm; ticks missed while the
      // game was busy fold into this one, as the desktop does it.
      t.due += t.interval;
      if ((int32_t)(now - t.due) >= 0) t.due = now + t.interval;
      *msg = MSG{Handle(t.window), WM_TIMER, t.id, 0, now, {0, 0}};
      return true;
    }
  return false;
}

static int MillisecondsToNextTimer() {
  DWORD now = GetTickCount();
  int best = std::min(1000, MillisecondsToActivationNews());
  for (TimerEntry& t : g_timers) best = std::min(best, std::max(0, (int)(int32_t)(t.due - now)));
  return best;
}

BOOL GetMessageA(MSG* msg, HWND, UINT, UINT) {
  // Only the program's own loop, with no message being handled, may act on
  // the desktop's request to end the program.
  const bool topLevel = g_dispatchDepth == 0;
  for (;;) {
    g_loopIdle = topLevel;
    FlushScreen();
    if (NextMessage(msg)) {
      g_loopIdle = false;
      if (msg->message == WM_QUIT) {
        g_quitPosted = false;
        return FALSE;
      }
      return TRUE;
    }
    if (topLevel && TakeEndRequest()) {
      g_loopIdle = false;
      RunEndRequest();
      continue;
    }
    SleepForEvents(RealTicks() + (DWORD)std::max(1, MillisecondsToNextTimer()));
    g_loopIdle = false;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg) return 0;
  Window* w = Win(msg->hwnd);
  if (!w) return 0;
  return Deliver(w, msg->message, msg->wParam, msg->lParam);
}

void SetGenerationInput(DWORD* cancelFlag) { g_generationCancel = cancelFlag; }

// ---------------------------------------------------------------- test hooks
bool TestPumpMessages() {
  MSG m;
  int guard = 0;
  while (NextMessage(&m) && guard++ < 100000) {
    if (m.message == WM_QUIT) {
      g_quitPosted = true;  // keep it visible to the test
      return false;
    }
    DispatchMessageA(&m);
  }
  // As the real loop does once it has nothing to handle: what the desktop
  // layer let go of (a menu bar replaced, a window destroyed) is deleted.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return !g_quitPosted;
}

int TestQuitCode() { return g_quitCode; }
bool TestQuitPosted() { return g_quitPosted; }

void TestResetWindows() {
  for (Window* w : std::vector<Window*>(g_windows))
    if (!w->destroyed) {
      w->proc = nullptr;  // no game code runs for windows a test abandons
      w->dlgProc = nullptr;
      DestroyWindow(Handle(w));
    }
  g_queue.clear();
  g_timers.clear();
  g_quitPosted = false;
  g_quitCode = 0;
  g_focus = nullptr;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
