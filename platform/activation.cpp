// Whether the program has the keyboard, as the desktop tells the toolkit
// (another program's window taking it, a screen lock), passed on to the
// program's top-level windows as WM_ACTIVATEAPP: wParam FALSE once it is
// lost, TRUE when it comes back.  The program's own dialogs, message boxes
// and menus keep it active.  While the keyboard passes from one of the
// program's windows to another the desktop may call it inactive for a
// moment, so a loss is told only once it has lasted a little while.
#include <QGuiApplication>
#include <algorithm>
#include <climits>

#include "platform/internal.h"
#include "platform/testing.h"

namespace plat {
namespace {
constexpr DWORD kLossGrace = 300;  // milliseconds
bool g_active = true;              // as the desktop last said
bool g_toldActive = true;          // as the windows were last told
DWORD g_lostAt = 0;

void Tell(bool active) {
  g_toldActive = active;
  for (Window* w : g_windows)
    if (!w->destroyed && !w->parent && !w->isDialog && w->proc)
      PostMessageA(Handle(w), WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

void ActiveChanged(bool active) {
  if (active == g_active) return;
  g_active = active;
  if (!active)
    g_lostAt = GetTickCount();
  else if (!g_toldActive)
    Tell(true);
}

bool LossPending() { return !g_active && g_toldActive; }
}  // namespace

void WatchActivation(QGuiApplication* app) {
  QObject::connect(app, &QGuiApplication::applicationStateChanged, app, [](Qt::ApplicationState state) {
    // Tests say it themselves (TestSetApplicationActive).
    if (!g_test) ActiveChanged(state == Qt::ApplicationActive);
  });
}

int MillisecondsToActivationNews() {
  if (!LossPending()) return INT_MAX;
  return std::max(0, (int)(int32_t)(g_lostAt + kLossGrace - GetTickCount()));
}

void PostActivationNews() {
  if (LossPending() && (int32_t)(GetTickCount() - (g_lostAt + kLossGrace)) >= 0) Tell(false);
}

}  // namespace plat

void TestSetApplicationActive(bool active) { plat::ActiveChanged(active); }
