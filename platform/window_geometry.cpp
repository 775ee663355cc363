// Where windows lie and how large they are: outer and client rectangles,
// frames and menu bars, styles and parents, and the window's image following
// the size of its client area.
#include <QMenuBar>
#include <QPainter>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/internal.h"
#include "platform/testing.h"
#include "platform/widgets.h"

namespace plat {

int g_desktopW = 0, g_desktopH = 0;

int MenuBarHeight(Window* w) {
  if (!w->menu || !w->menu->bar) return 0;
  int h = w->menu->bar->sizeHint().height();
  return h > 0 ? h : 22;
}

QScreen* HomeScreen() {
  // The primary monitor: where the desktop puts a new program's windows and
  // its panels, and the one a player expects a game to fill.
  return QGuiApplication::primaryScreen();
}

QPoint HomeOrigin() {
  QScreen* s = g_test ? nullptr : HomeScreen();
  return s ? s->geometry().topLeft() : QPoint();
}

// A dialog's outer rectangle is its client area (with its menu bar): the
// desktop adds its frame around it, however large that frame is, so that
// nothing inside the dialog is ever covered by it.
static bool Framed(Window* w) { return !w->parent && !w->isDialog && (w->style & WS_CAPTION) == WS_CAPTION; }

// The desktop keeps the window's size itself: full screen or maximised.
static bool DesktopSized(Window* w) {
  return w->host && w->host->isWindow() && w->host->isVisible() &&
         (w->host->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized));
}

static QMargins FrameMargins(Window* w) {
  if (!Framed(w) || !w->host || !w->host->isVisible()) return {};
  QRect fg = w->host->frameGeometry(), g = w->host->geometry();
  return QMargins(g.left() - fg.left(), g.top() - fg.top(), fg.right() - g.right(), fg.bottom() - g.bottom());
}

void ClientSize(Window* w, int* cw, int* ch) {
  if (DesktopSized(w)) {
    *cw = w->host->width();
    *ch = std::max(0, w->host->height() - MenuBarHeight(w));
    return;
  }
  QMargins m = FrameMargins(w);
  *cw = std::max(0, w->width - m.left() - m.right());
  *ch = std::max(0, w->height - m.top() - m.bottom() - MenuBarHeight(w));
}

void ApplyGeometry(Window* w) {
  if (!w->host) return;
  int cw, ch;
  ClientSize(w, &cw, &ch);
  QMargins m = FrameMargins(w);
  int innerW = std::max(1, w->width - m.left() - m.right());
  int innerH = std::max(1, w->height - m.top() - m.bottom());
  const QRect hostRect = w->host->isWindow()
                             ? QRect(HomeOrigin() + QPoint(w->x + m.left(), w->y + m.top()), QSize(innerW, innerH))
                             : QRect(w->x, w->y, innerW, innerH);
  const bool desktopSized = DesktopSized(w);
  if (desktopSized) {
    innerW = w->host->width();
    innerH = w->host->height();
  }
  int mh = MenuBarHeight(w);
  const QRect canvasRect(0, mh, std::max(cw, 0), std::max(ch, 0));
  // A store is resized with its window, and the canvas may move in it; a
  // child moving over its parent leaves the parent's pixels behind.
  if ((!desktopSized && w->host->geometry().size() != hostRect.size()) || w->canvas->geometry() != canvasRect)
    LeaveStore(w);
  if (w->parent && w->host->geometry() != hostRect) PutUnders(w->parent);
  w->host->programmatic = true;
  // A dialog keeps the size the game gives it: the desktop offers no sizing
  // border and no maximise button for it.
  if (!g_test && w->isDialog && w->modal && w->host->isWindow()) w->host->setFixedSize(hostRect.size());
  if (!desktopSized) w->host->setGeometry(hostRect);
  if (w->menu && w->menu->bar) w->menu->bar->setGeometry(0, 0, innerW, mh);
  w->canvas->setGeometry(canvasRect);
  w->host->programmatic = false;
  // The image holds the screen's own pixels for the client area.
  const int pw = std::max(Dev(cw), 1), ph = std::max(Dev(ch), 1);
  if (w->backing.width() != pw || w->backing.height() != ph) {
    LeaveStore(w);
    QImage next;
    if (w->backing.isNull() && StoreCandidate(w)) {
      // Its first image: the pixels move into the store once it is shown.
      next = BlankImage(pw, ph);
      w->blank = !next.isNull();
    }
    bool black = w->blank;
    if (next.isNull()) {
      next = QImage(pw, ph, QImage::Format_RGB32);
      // A dialog starts in the desktop's dialog colour, a window in black.
      next.fill(w->isDialog ? QColor(240, 240, 240) : QColor(Qt::black));
      black = !w->isDialog;
      if (!w->backing.isNull()) {
        FillBlank(w);
        QPainter p(&next);
        p.drawImage(0, 0, w->backing);
        black = false;
      }
      w->blank = false;
    }
    if (black)
      w->drawn.StartInk();
    else
      w->drawn.ForgetInk();
    w->backing = next;
    TargetsChanged();
    if (cw > 0 && ch > 0) {
      // The class redraws on every size change.
      w->update = QRegion(0, 0, cw, ch);
    }
    if (w->proc && !w->isDialog && !w->destroyed)
      SendMessageA(Handle(w), WM_SIZE, w->minimized ? SIZE_MINIMIZED : SIZE_RESTORED, MAKELPARAM(cw, ch));
  }
}

// True when the window's outer rectangle covers the whole of its monitor.
static bool CoversHome(Window* w) {
  RECT r;
  GetWindowRect(GetDesktopWindow(), &r);
  return w->x <= 0 && w->y <= 0 && w->x + w->width >= r.right && w->y + w->height >= r.bottom;
}

void ShowHost(Window* w) {
  QWidget* h = w->host;
  w->minimized = false;
  if (g_test) {
    // The offscreen desktop keeps the sizes the tests give.
    if (h->windowState() & Qt::WindowMinimized) h->showNormal(); else h->show();
    return;
  }
  const Qt::WindowStates state =
      h->windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen | Qt::WindowMaximized);
  Qt::WindowStates wanted;
  if (h->isWindow() && !w->isDialog && CoversHome(w)) {
    // Over the whole monitor: a window without a caption takes the desktop's
    // own full-screen state there, so that no panel lies above it; a framed
    // one is maximised, so that the desktop fits its frame and panels around
    // it and the whole window, caption and all, stays on the monitor.
    h->setScreen(HomeScreen());
    wanted = Framed(w) ? Qt::WindowMaximized : Qt::WindowFullScreen;
  }
  h->setWindowState(state | wanted);
  h->show();
  if (!wanted) return;
  // A late word from the desktop about the window's previous life (its old
  // state, as the window manager let go of it) can undo the request: once it
  // has settled, ask again if need be.
  QTimer::singleShot(300, h, [w, h, wanted]() {
    if (w->destroyed || w->host != h || !h->isVisible() || w->minimized || !CoversHome(w)) return;
    if (!(h->windowState() & wanted))
      h->setWindowState((h->windowState() & ~(Qt::WindowFullScreen | Qt::WindowMaximized)) | wanted);
    else if (QWindow* native = h->windowHandle())
      native->setWindowStates(h->windowState());
  });
}

void CentreOverOwner(Window* w) {
  Window* owner = w->owner;
  while (owner && owner->parent) owner = owner->parent;
  if (!owner || !owner->host || !owner->host->isVisible()) return;
  QRect around = owner->host->window()->geometry();
  if (g_test) around = QRect(owner->x, owner->y, owner->width, owner->height);
  else around.translate(-HomeOrigin());
  RECT screen;
  GetWindowRect(GetDesktopWindow(), &screen);
  // The desktop's frame goes above the dialog: keep room for a caption.
  const int top = g_test ? 0 : 32;
  const int x = around.x() + (around.width() - w->width) / 2, y = around.y() + (around.height() - w->height) / 2;
  w->x = std::clamp(x, 0, std::max(0, (int)screen.right - w->width));
  w->y = std::clamp(y, std::min(top, (int)screen.bottom), std::max(top, (int)screen.bottom - w->height));
  ApplyGeometry(w);
}

QRect DesktopRect(Window* w) {
  if (!w->host->isWindow()) return w->host->geometry();
  return (Framed(w) ? w->host->frameGeometry() : w->host->geometry()).translated(-HomeOrigin());
}

void FollowDesktopMove(Window* w) {
  if (g_test || !w->host || !w->host->isWindow() || DesktopSized(w)) return;
  const QPoint at = DesktopRect(w).topLeft();
  w->x = at.x();
  w->y = at.y();
}

}  // namespace plat

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  if (QWidget* control = ControlWidget(hwnd)) {
    control->setGeometry(x, y, width, height);
    return TRUE;
  }
  Window* w = Win(hwnd);
  if (!w || w == &g_desktop) return FALSE;
  w->x = x;
  w->y = y;
  w->width = std::max(0, width);
  w->height = std::max(0, height);
  ApplyGeometry(w);
  if (repaint) InvalidateRect(hwnd, nullptr, FALSE);
  return TRUE;
}

static void DesktopSize(int* w, int* h) {
  if (g_desktopW > 0) {
    *w = g_desktopW;
    *h = g_desktopH;
    return;
  }
  QScreen* s = HomeScreen();
  QRect g = s ? s->geometry() : QRect(0, 0, 1024, 768);
  *w = g.width();
  *h = g.height();
}

BOOL GetClientRect(HWND hwnd, RECT* r) {
  Window* w = Win(hwnd);
  if (!w || !r) return FALSE;
  int cw, ch;
  if (w == &g_desktop)
    DesktopSize(&cw, &ch);
  else
    ClientSize(w, &cw, &ch);
  *r = RECT{0, 0, cw, ch};
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* r) {
  Window* w = Win(hwnd);
  if (!w || !r) return FALSE;
  if (w == &g_desktop) {
    int dw, dh;
    DesktopSize(&dw, &dh);
    *r = RECT{0, 0, dw, dh};
  } else {
    *r = RECT{w->x, w->y, w->x + w->width, w->y + w->height};
  }
  return TRUE;
}

HWND GetDesktopWindow() { return Handle(&g_desktop); }

LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  Window* w = Win(hwnd);
  if (!w || index != GWL_STYLE) return 0;
  LONG old = (LONG)w->style;
  w->style = (DWORD)value;
  bool wasVisible = w->host->isVisible();
  w->host->programmatic = true;
  Qt::WindowFlags f = Qt::Window;
  if ((w->style & WS_POPUP) || (w->style & WS_CAPTION) != WS_CAPTION) f |= Qt::FramelessWindowHint;
  LeaveStore(w);  // new flags make a new native window, with a new store
  if (!w->parent) w->host->setWindowFlags(f);
  if (wasVisible) ShowHost(w);
  w->host->programmatic = false;
  return old;
}

LONG GetWindowLongA(HWND hwnd, int index) {
  Window* w = Win(hwnd);
  return (w && index == GWL_STYLE) ? (LONG)w->style : 0;
}

HWND SetParent(HWND child, HWND parent) {
  Window* c = Win(child);
  Window* p = Win(parent);
  if (!c) return nullptr;
  HWND old = Handle(c->parent);
  c->parent = (p == &g_desktop) ? nullptr : p;
  bool vis = c->visible;
  LeaveStore(c);
  if (c->parent) PutUnders(c->parent);
  if (p && p != &g_desktop) PutUnders(p);
  c->under = QImage();
  if (c->parent) {
    // A child sits inside its parent's client area, above the picture.
    c->host->setParent(c->parent->canvas);
  } else {
    c->host->setParent(nullptr);
    c->host->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  }
  ApplyGeometry(c);
  if (vis) c->host->show(); else c->host->hide();
  if (vis && !g_test) c->host->raise();
  return old;
}

HWND GetParent(HWND hwnd) {
  Window* w = Win(hwnd);
  return w ? Handle(w->parent ? w->parent : w->owner) : nullptr;
}

// ---------------------------------------------------------------- test hooks
void TestSetDesktopSize(int w, int h) {
  g_desktopW = w;
  g_desktopH = h;
}
