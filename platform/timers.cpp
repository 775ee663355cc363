// Timers, time and waits: the one timer list, GetTickCount (from a steady
// clock, or the test's own ticks), and the wait that sleeps until its
// deadline while the screen and the desktop's events are kept up.
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/internal.h"
#include "platform/testing.h"
#include "platform/widgets.h"

namespace plat {
std::vector<TimerEntry> g_timers;

}  // namespace plat

using namespace plat;

// ---------------------------------------------------------------- timers and time
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, void*) {
  Window* w = Win(hwnd);
  if (!w) return 0;
  KillTimer(hwnd, id);
  g_timers.push_back(TimerEntry{w, id, std::max<UINT>(elapse, 10), GetTickCount() + std::max<UINT>(elapse, 10)});
  return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  Window* w = Win(hwnd);
  size_t before = g_timers.size();
  g_timers.erase(std::remove_if(g_timers.begin(), g_timers.end(),
                                [&](const TimerEntry& t) { return t.window == w && t.id == id; }),
                 g_timers.end());
  return before != g_timers.size();
}

namespace plat {
static DWORD g_fakeTicks = 0;
static DWORD g_tickStep = 0;
static DWORD g_waited = 0;

DWORD RealTicks() {
  using namespace std::chrono;
  return (DWORD)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace plat

DWORD GetTickCount() {
  if (g_test) {
    DWORD t = g_fakeTicks;
    g_fakeTicks += g_tickStep;
    return t;
  }
  return RealTicks();
}

void WaitMilliseconds(DWORD ms) {
  if (g_test) {
    g_fakeTicks += ms;
    g_waited += ms;
    return;
  }
  // Counted in whole ticks from the tick the wait starts in, as the game's
  // timings are; the program sleeps meanwhile and wakes for every event.
  const DWORD deadline = GetTickCount() + ms;
  FlushScreen();
  while ((int32_t)(deadline - GetTickCount()) > 0) {
    SleepForEvents(deadline);
    FlushScreen();
  }
}

namespace plat {
// Window icons are given at the program's first pause, not when the window is
// made: the first picture the toolkit decodes costs it a millisecond or two,
// which start-up, with its title still to show, has better use for.  The
// desktop shows the icon only in its task list.
static void SetPendingIcons() {
  for (Window* w : g_windows)
    if (w->pendingIcon) {
      if (w->host && !w->destroyed) w->host->setWindowIcon(IconOf(w->pendingIcon));
      w->pendingIcon = nullptr;
    }
}

void SleepForEvents(DWORD deadline) {
  if (g_test) return;
  SetPendingIcons();
  BeforeToolkitPaints();
  using namespace std::chrono;
  // The deadline is a tick of the steady clock: turn it back into a time.
  const auto now = steady_clock::now();
  const auto nowMs = duration_cast<milliseconds>(now.time_since_epoch());
  const steady_clock::time_point target(nowMs + milliseconds((int32_t)(deadline - (DWORD)nowMs.count())));
  const auto left = duration_cast<milliseconds>(target - now).count();
  if (left >= 2) {
    // Sleep in the toolkit's wait, so that any event wakes the program, and
    // wake a little early: the rest is slept precisely below.
    static QTimer* wake = [] {
      auto* t = new QTimer();
      t->setSingleShot(true);
      t->setTimerType(Qt::PreciseTimer);
      return t;
    }();
    wake->start((int)left - 1);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    wake->stop();
  } else if (target > now) {
    std::this_thread::sleep_until(target);
  }
}

}  // namespace plat

// ---------------------------------------------------------------- test hooks
void TestSetTicks(DWORD t) { g_fakeTicks = t; }
void TestAdvanceTicks(DWORD ms) { g_fakeTicks += ms; }
void TestSetTickStep(DWORD s) { g_tickStep = s; }
DWORD TestWaitedMilliseconds() { return g_waited; }
void TestResetWaited() { g_waited = 0; }
