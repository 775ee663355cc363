// Windows on Qt widgets: their records and classes, making, destroying and
// showing them, the keyboard focus and the titles.  A window is a widget that
// shows a backing image, its client area; the game draws into the image and
// the widget only shows it (window_store.cpp keeps that image, and
// window_geometry.cpp places the window).
#include <QApplication>
#include <QBackingStore>
#include <QFile>
#include <algorithm>

#include "platform/internal.h"
#include "platform/widgets.h"

namespace plat {

// A window's record outlives the window, so that a stale handle is never
// taken for a newer window; the list lives as long as the program.
std::vector<Window*>& g_windows = *new std::vector<Window*>;
HWND g_focus = nullptr;

static std::map<std::string, WNDCLASSA> g_classes;
Window g_desktop;  // stands for GetDesktopWindow()

Window* Win(HWND h) {
  if (!h) return nullptr;
  auto* w = reinterpret_cast<Window*>(h);
  if (w == &g_desktop) return w;
  for (Window* x : g_windows)
    if (x == w) return x->destroyed ? nullptr : x;
  return nullptr;
}
HWND Handle(Window* w) { return reinterpret_cast<HWND>(w); }

// Text and paths are the file system's bytes: the program's own texts are
// plain ASCII, and paths come and go in the file-name encoding (UTF-8 here).
QString FromAnsi(const char* s) { return QFile::decodeName(s ? s : ""); }
std::string ToAnsi(const QString& s) { return QFile::encodeName(s).toStdString(); }

}  // namespace plat
// ---------------------------------------------------------------- classes and windows
ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName) return 0;
  g_classes[wc->lpszClassName] = *wc;
  return (ATOM)g_classes.size();
}

static Window* MakeWindow(DWORD style, int x, int y, int width, int height, Window* parent) {
  auto* w = new Window();
  w->style = style;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  w->host = new HostWidget(w);
  w->canvas = new Canvas(w, w->host);
  w->canvas->setFocusProxy(nullptr);
  if (style & WS_POPUP || (style & WS_CAPTION) != WS_CAPTION)
    w->host->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  w->parent = parent;
  g_windows.push_back(w);
  ApplyGeometry(w);
  return w;
}

HWND CreateWindowExA(DWORD, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE, LPVOID) {
  auto it = g_classes.find(className ? className : "");
  if (it == g_classes.end()) return nullptr;
  Window* w = MakeWindow(style, x, y, width, height, nullptr);
  w->className = className;
  w->title = windowName ? windowName : "";
  w->host->setWindowTitle(FromAnsi(windowName));
  w->owner = Win(parent);
  w->proc = it->second.lpfnWndProc;
  if (it->second.hIcon) {
    if (g_test)
      w->host->setWindowIcon(IconOf(it->second.hIcon));
    else
      w->pendingIcon = it->second.hIcon;
  }
  if (menu) SetMenu(Handle(w), menu);
  HWND h = Handle(w);
  if (w->proc && w->proc(h, WM_CREATE, 0, 0) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  // A window created visible gets its size message at once.
  int cw, ch;
  ClientSize(w, &cw, &ch);
  if (w->proc) SendMessageA(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cw, ch));
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = Win(hwnd);
  if (!w || w == &g_desktop) return FALSE;
  // Child windows go first, as the desktop does it.
  for (Window* c : std::vector<Window*>(g_windows))
    if (!c->destroyed && c->parent == w) DestroyWindow(Handle(c));
  if (w->isDialog) {
    if (w->dlgProc) w->dlgProc(hwnd, WM_DESTROY, 0, 0);
  } else if (w->proc) {
    w->proc(hwnd, WM_DESTROY, 0, 0);
  }
  w->destroyed = true;
  w->visible = false;
  if (g_focus == hwnd) g_focus = nullptr;
  g_timers.erase(std::remove_if(g_timers.begin(), g_timers.end(), [w](const TimerEntry& t) { return t.window == w; }),
                 g_timers.end());
  // Keys typed ahead belong to whoever has the keyboard when the game reads
  // them: the window a dialog goes back to, not the dialog that closed.
  Window* heir = w->owner ? w->owner : w->parent;
  if (heir && !heir->destroyed)
    for (MSG& m : g_queue)
      if (m.hwnd == hwnd && (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN)) m.hwnd = Handle(heir);
  g_queue.erase(std::remove_if(g_queue.begin(), g_queue.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
                g_queue.end());
  if (w->menu) {
    AttachMenu(w, nullptr);
  }
  RemoveControls(w);
  // Only the record stays: its pixels go with the window, and a child gives
  // its parent's pixels back.
  if (w->parent) PutUnders(w->parent);
  w->under = QImage();
  w->backing = QImage();
  w->inStore = false;
  TargetsChanged();
  w->update = QRegion();
  if (w->host) {
    w->host->hide();
    w->host->setParent(nullptr);
    w->host->deleteLater();
    w->host = nullptr;
    w->canvas = nullptr;
  }
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Win(hwnd) != nullptr; }

// The busy cursor is made with the first window, while the desktop has
// nothing else to do.  Made later, right after a large frame was sent, its
// questions to the desktop would wait until the whole frame was taken in.
static void MakeBusyCursorEarly() {
  static bool made = false;
  if (made || g_test) return;
  made = true;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  QGuiApplication::restoreOverrideCursor();
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  if (QWidget* control = ControlWidget(hwnd)) {
    BOOL was = control->isVisible();
    control->setVisible(cmd != SW_HIDE);
    return was;
  }
  Window* w = Win(hwnd);
  if (!w || !w->host) return FALSE;
  BOOL was = w->visible;
  // A hidden window's store may go; a child shown or hidden over its parent
  // needs the parent's own pixels in the store first.
  if (cmd == SW_HIDE || cmd == SW_SHOWMINIMIZED || cmd == SW_MINIMIZE) LeaveStore(w);
  if (w->parent) PutUnders(w->parent);
  w->host->programmatic = true;
  switch (cmd) {
    case SW_HIDE:
      w->visible = false;
      w->host->hide();
      if (g_focus == hwnd) {
        // The focus falls back to the window underneath.
        g_focus = w->parent ? Handle(w->parent) : nullptr;
        if (w->parent && w->parent->canvas) {
          w->parent->canvas->setFocus();
          // The keyboard goes back to the window too, also when a closing
          // menu had taken it.
          if (!g_test) w->parent->host->window()->activateWindow();
        }
      }
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      w->visible = true;
      w->minimized = true;
      w->host->showMinimized();
      break;
    default:
      w->visible = true;
      if (w->isDialog && w->modal) CentreOverOwner(w);
      ShowHost(w);
      if (!g_test) {
        w->host->raise();
        if (w->host->isWindow() && !w->isDialog) w->host->activateWindow();
        MakeBusyCursorEarly();
      }
      if (w->parent == nullptr && !w->isDialog && !g_focus) g_focus = hwnd;
      break;
  }
  w->host->programmatic = false;
  if (cmd == SW_SHOWMINIMIZED || cmd == SW_MINIMIZE) {
    if (w->proc) SendMessageA(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
  } else if (cmd != SW_HIDE) {
    // A frame appears only once the window is shown: size it again.
    ApplyGeometry(w);
    // The window's pixels move into its store now, before anything is drawn.
    if (CanLiveInStore(w)) {
      if (QBackingStore* store = w->host->backingStore()) store->resize(w->host->size());
      EnterStore(w, false);
    }
  }
  return was;
}

BOOL IsWindowVisible(HWND hwnd) {
  Window* w = Win(hwnd);
  return w && w->visible;
}
BOOL IsIconic(HWND hwnd) {
  Window* w = Win(hwnd);
  return w && w->minimized;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = Win(hwnd);
  if (!w) return FALSE;
  if (!w->update.isEmpty()) SendMessageA(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

namespace plat {
// A dialog control's handle is its widget.
QWidget* ControlWidget(HWND hwnd) {
  for (Window* w : g_windows)
    if (!w->destroyed)
      for (auto& c : w->controls)
        if (reinterpret_cast<HWND>(c.second) == hwnd) return c.second;
  return nullptr;
}

}  // namespace plat

HWND SetFocus(HWND hwnd) {
  HWND old = g_focus;
  Window* w = Win(hwnd);
  g_focus = w ? hwnd : nullptr;
  if (w && w->host) {
    if (w->isDialog)
      w->host->setFocus();
    else
      w->canvas->setFocus();
  }
  return old;
}

HWND GetFocus() { return Win(g_focus) ? g_focus : nullptr; }

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  Window* w = Win(hwnd);
  if (!w) return FALSE;
  w->title = text ? text : "";
  if (w->host) w->host->setWindowTitle(FromAnsi(text));
  return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int maxCount) {
  Window* w = Win(hwnd);
  if (!w || !text || maxCount <= 0) return 0;
  int n = std::min<int>((int)w->title.size(), maxCount - 1);
  memcpy(text, w->title.data(), n);
  text[n] = 0;
  return n;
}
