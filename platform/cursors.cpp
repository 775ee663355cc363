// Cursors and icons, and the pointer: its position, its shape (the arrow or
// the wait cursor), the window icons decoded when first needed, and the
// state of the shift key.
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <map>
#include <memory>

#include "platform/internal.h"
#include "platform/testing.h"
#include "platform/widgets.h"

using namespace plat;

// ---------------------------------------------------------------- pointer and keys
static QPoint g_testCursor(-10000, -10000);
static bool g_testShift = false;

BOOL GetCursorPos(POINT* point) {
  if (!point) return FALSE;
  QPoint p = g_test ? g_testCursor : QCursor::pos();
  *point = POINT{p.x(), p.y()};
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
  Window* w = Win(hwnd);
  if (!w || !point) return FALSE;
  QPoint origin;
  if (g_test || !w->canvas)
    origin = QPoint(w->x, w->y + MenuBarHeight(w));
  else
    origin = w->canvas->mapToGlobal(QPoint(0, 0));
  point->x -= origin.x();
  point->y -= origin.y();
  return TRUE;
}

SHORT GetKeyState(int virtualKey) {
  if (virtualKey != VK_SHIFT) return 0;
  bool down = g_test ? g_testShift : (QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier);
  return down ? (SHORT)0x8000 : 0;
}

void TestSetCursorPos(int x, int y) { g_testCursor = QPoint(x, y); }
void TestSetShiftDown(bool down) { g_testShift = down; }

// ---------------------------------------------------------------- cursors and icons
namespace {
struct CursorObj {
  int kind;
};
CursorObj g_arrow{1}, g_wait{2}, g_appIcon{3};
HCURSOR g_cursor = reinterpret_cast<HCURSOR>(&g_arrow);

}  // namespace

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name) {
  if (name == IDC_WAIT) return reinterpret_cast<HCURSOR>(&g_wait);
  return reinterpret_cast<HCURSOR>(&g_arrow);
}

QIcon IconFromResource(const char* name);
static std::map<std::string, QIcon> g_icons;
static std::vector<std::unique_ptr<std::string>> g_iconNames;

// An icon is decoded when a window first needs it.
HICON LoadIconA(HINSTANCE, LPCSTR name) {
  if (IS_INTRESOURCE(name)) return reinterpret_cast<HICON>(&g_appIcon);
  g_iconNames.push_back(std::make_unique<std::string>(name));
  return reinterpret_cast<HICON>(g_iconNames.back().get());
}

QIcon IconOf(HICON icon) {
  for (auto& n : g_iconNames)
    if (reinterpret_cast<HICON>(n.get()) == icon) {
      auto it = g_icons.find(*n);
      if (it == g_icons.end()) it = g_icons.emplace(*n, IconFromResource(n->c_str())).first;
      return it->second;
    }
  return QIcon();
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = g_cursor;
  g_cursor = cursor;
  if (!g_test && QGuiApplication::instance()) {
    bool wantWait = cursor == reinterpret_cast<HCURSOR>(&g_wait);
    bool haveWait = QGuiApplication::overrideCursor() != nullptr;
    if (wantWait && !haveWait) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (!wantWait && haveWait) QGuiApplication::restoreOverrideCursor();
  }
  return old;
}
