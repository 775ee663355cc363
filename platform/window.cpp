// Windows, the message queue, painting, timers, focus and menus on Qt widgets.
// A window is a widget that shows a backing image, its client area; the game
// draws into the image and the widget only shows it.
#include <QAction>
#include <QApplication>
#include <QBackingStore>
#include <QCloseEvent>
#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <set>
#include <thread>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/internal.h"
#include "platform/testing.h"
#include "platform/widgets.h"

// A class icon, decoded when a window first needs it (see LoadIconA).
QIcon IconOf(HICON icon);

namespace plat {

// A window's record outlives the window, so that a stale handle is never
// taken for a newer window; the list lives as long as the program.
std::vector<Window*>& g_windows = *new std::vector<Window*>;
HWND g_focus = nullptr;
DWORD* g_generationCancel = nullptr;
int g_desktopW = 0, g_desktopH = 0;

static std::map<std::string, WNDCLASSA> g_classes;
static std::deque<MSG> g_queue;
static bool g_quitPosted = false;
static int g_quitCode = 0;
struct TimerEntry {
  Window* window;
  UINT_PTR id;
  UINT interval;
  DWORD due;
};
static std::vector<TimerEntry> g_timers;
static Window g_desktop;  // stands for GetDesktopWindow()

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

using namespace plat;

namespace plat {

void PostInput(Window* w, UINT msg, WPARAM wp, LPARAM lp) {
  bool input = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_KEYDOWN || msg == WM_COMMAND;
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

int MenuBarHeight(Window* w) {
  if (!w->menu || !w->menu->bar) return 0;
  int h = w->menu->bar->sizeHint().height();
  return h > 0 ? h : 22;
}

static bool Framed(Window* w) { return !w->parent && (w->style & WS_CAPTION) == WS_CAPTION; }

static QMargins FrameMargins(Window* w) {
  if (!Framed(w) || !w->host || !w->host->isVisible()) return {};
  QRect fg = w->host->frameGeometry(), g = w->host->geometry();
  return QMargins(g.left() - fg.left(), g.top() - fg.top(), fg.right() - g.right(), fg.bottom() - g.bottom());
}

void ClientSize(Window* w, int* cw, int* ch) {
  QMargins m = FrameMargins(w);
  *cw = std::max(0, w->width - m.left() - m.right());
  *ch = std::max(0, w->height - m.top() - m.bottom() - MenuBarHeight(w));
}

// A plain top-level window keeps its client area's pixels right in the
// toolkit's backing store, the image that goes to the screen: a second
// full-screen image beside it would cost memory and a copy on every paint.
// Dialogs keep an image of their own, as their controls paint into the same
// store.  Only the X11 store is known to keep one image, in place, until it
// is resized or its window is made anew; both are preceded by LeaveStore().
//
// A child window (the menu strip) paints into its parent's store, over the
// parent's pixels.  The parent's own pixels under it are kept in the child's
// `under` image: they are taken from the store before the toolkit paints the
// child (TakeUnders) and put back before the game draws on or reads the
// parent again (PutUnders), so the game always finds its own pixels there.
static bool StoreCandidate(Window* w) {
  static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  return !g_test && x11 && !w->isDialog && w->controls.empty() && w->host && w->canvas && !w->parent;
}

static bool CanLiveInStore(Window* w) {
  return StoreCandidate(w) && !w->destroyed && w->host->isWindow() && w->visible && !w->minimized &&
         w->host->isVisible();
}

// Where a child window lies in its parent's image, in the image's pixels.
static QRect UnderRect(Window* c) {
  if (!c->host || !c->parent) return {};
  return DevRect(c->host->geometry()) & c->parent->backing.rect();
}

static bool ShowsOver(Window* c, Window* parent) {
  return c->parent == parent && !c->destroyed && c->visible && c->host && !c->minimized;
}

void PutUnders(Window* w) {
  if (!w->childrenPainted) return;
  w->childrenPainted = false;
  for (Window* c : g_windows) {
    if (c->parent != w || c->under.isNull()) continue;
    const QRect r = c->underRect & w->backing.rect();
    for (int row = 0; row < r.height(); ++row)
      memcpy(w->backing.scanLine(r.top() + row) + (size_t)r.left() * 4, c->under.constScanLine(row),
             (size_t)r.width() * 4);
    w->drawn.Add(r);
    c->under = QImage();
  }
}

static void TakeUnders(Window* w) {
  if (!w->inStore || w->childrenPainted) return;
  bool any = false;
  for (Window* c : g_windows) {
    if (!ShowsOver(c, w)) continue;
    c->underRect = UnderRect(c);
    if (c->underRect.isEmpty()) continue;
    c->under = w->backing.copy(c->underRect);
    c->host->update();  // the child paints itself over them again
    any = true;
  }
  w->childrenPainted = any;
  // Its own pixels must come back (PutUnders) before it draws again, also a
  // single pixel.
  if (any) g_pixelDC = nullptr;
}

void BeforeToolkitPaints() {
  for (Window* w : g_windows)
    if (w->inStore && !w->childrenPainted) TakeUnders(w);
}

void LeaveStore(Window* w) {
  if (!w->inStore) return;
  PutUnders(w);
  w->backing = w->backing.copy();
  w->inStore = false;
  TargetsChanged();
  // The children's pixels in the store were overwritten: they paint again.
  for (Window* c : g_windows)
    if (ShowsOver(c, w)) c->host->update();
}

// Makes a window's pixels in its store all black (zero).  When they are the
// whole store, its whole pages are handed back to the system, which gives
// them back as zeros: a new store's pages then cost nothing until drawn on.
static void ZeroPixels(QImage& view, bool wholeStore) {
  const size_t bytes = (size_t)view.bytesPerLine() * view.height();
  if (!wholeStore || view.bytesPerLine() != view.width() * 4) {
    view.fill(0);
    return;
  }
  uchar* first = view.bits();
  const uintptr_t page = (uintptr_t)sysconf(_SC_PAGESIZE);
  uchar* from = reinterpret_cast<uchar*>(((uintptr_t)first + page - 1) & ~(page - 1));
  uchar* to = reinterpret_cast<uchar*>(((uintptr_t)first + bytes) & ~(page - 1));
  if (from >= to) {
    view.fill(0);
    return;
  }
  memset(first, 0, (size_t)(from - first));
  memset(to, 0, (size_t)(first + bytes - to));
  // Shared memory has its pages removed; private memory (a store without
  // shared memory) has them dropped, which zeroes them too.
  if (madvise(from, (size_t)(to - from), MADV_REMOVE) != 0 &&
      (errno != EINVAL || madvise(from, (size_t)(to - from), MADV_DONTNEED) != 0))
    memset(from, 0, (size_t)(to - from));
}

// Moves the window's pixels into its store, which must be whole and as
// large as the client area.
static bool EnterStore(Window* w, bool duringPaint) {
  QImage* image = nullptr;
  if (CanLiveInStore(w)) {
    QBackingStore* store = w->host->backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (device && device->devType() == QInternal::Image) image = static_cast<QImage*>(device);
  }
  // Where the canvas starts in the store, which must be a whole pixel.
  const QPoint at = w->canvas ? w->canvas->mapTo(w->host, QPoint(0, 0)) : QPoint();
  const int x = Dev(at.x()), y = Dev(at.y());
  const int pw = w->backing.width(), ph = w->backing.height();
  // An opaque window's store is often kept premultiplied, which for opaque
  // pixels is the same bytes as the image's own format.
  const bool sameBytes = image && (image->format() == QImage::Format_RGB32 ||
                                   image->format() == QImage::Format_ARGB32_Premultiplied);
  // A store made anew without warning (a screen of another pixel ratio, say)
  // no longer holds the pixels the window's image points at.
  const bool lost = w->inStore && image && (image->constBits() != w->storeBits || image->size() != w->storeSize);
  if (!sameBytes || x != at.x() * g_scale || y != at.y() * g_scale || pw <= 0 || ph <= 0 ||
      x + pw > image->width() || y + ph > image->height()) {
    if (lost) {
      // Nothing left to take back: the window starts black and is drawn again.
      w->inStore = false;
      w->childrenPainted = false;
      w->backing = QImage(pw, ph, QImage::Format_RGB32);
      w->backing.fill(Qt::black);
      w->drawn.StartInk();
      TargetsChanged();
      int cw, ch;
      ClientSize(w, &cw, &ch);
      w->update = QRegion(0, 0, cw, ch);
    }
    LeaveStore(w);
    FillBlank(w);
    return false;
  }
  uchar* bits = const_cast<uchar*>(image->constBits()) + (qsizetype)y * image->bytesPerLine() + (qsizetype)x * 4;
  if (w->inStore && !lost && w->backing.constBits() == bits && w->backing.bytesPerLine() == image->bytesPerLine())
    return true;
  QImage view(bits, pw, ph, image->bytesPerLine(), QImage::Format_RGB32);
  w->storeBits = image->constBits();
  w->storeSize = image->size();
  if (w->inStore) {
    // The store was made anew without warning: its pixels are gone, and the
    // window is drawn again.
    w->childrenPainted = false;
    view.fill(Qt::black);
    w->drawn.StartInk();
    int cw, ch;
    ClientSize(w, &cw, &ch);
    w->update = QRegion(0, 0, cw, ch);
  } else if (!w->blank) {
    for (int row = 0; row < ph; ++row) memcpy(view.scanLine(row), w->backing.constScanLine(row), (size_t)pw * 4);
  } else {
    // Nothing drawn yet: the store only has to be black.
    ZeroPixels(view, bits == image->constBits() && ph == image->height());
  }
  w->backing = std::move(view);
  w->inStore = true;
  w->blank = false;
  TargetsChanged();
  // Inside a paint the toolkit paints the children next, over the pixels
  // just moved in: keep those first.
  if (duringPaint) TakeUnders(w);
  return true;
}

bool PaintsInStore(Window* w) { return EnterStore(w, true); }

// A fresh image for a window that will live in its store: untouched zero
// pages, which cost no memory until they are drawn on.
static QImage BlankImage(int pw, int ph) {
  struct Mapping {
    void* pixels;
    size_t bytes;
  };
  const size_t bytes = (size_t)pw * ph * 4;
  void* pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pixels == MAP_FAILED) return {};
  return QImage(
      static_cast<uchar*>(pixels), pw, ph, (qsizetype)pw * 4, QImage::Format_RGB32,
      [](void* info) {
        auto* m = static_cast<Mapping*>(info);
        munmap(m->pixels, m->bytes);
        delete m;
      },
      new Mapping{pixels, bytes});
}

void FillBlank(Window* w) {
  if (!w->blank) return;
  w->blank = false;
  w->backing.fill(QColor(Qt::black));
}

void ApplyGeometry(Window* w) {
  if (!w->host) return;
  int cw, ch;
  ClientSize(w, &cw, &ch);
  QMargins m = FrameMargins(w);
  int innerW = std::max(1, w->width - m.left() - m.right());
  int innerH = std::max(1, w->height - m.top() - m.bottom());
  const QRect hostRect = w->host->isWindow() ? QRect(w->x + m.left(), w->y + m.top(), innerW, innerH)
                                             : QRect(w->x, w->y, innerW, innerH);
  int mh = MenuBarHeight(w);
  const QRect canvasRect(0, mh, std::max(cw, 0), std::max(ch, 0));
  // A store is resized with its window, and the canvas may move in it; a
  // child moving over its parent leaves the parent's pixels behind.
  if (w->host->geometry().size() != hostRect.size() || w->canvas->geometry() != canvasRect) LeaveStore(w);
  if (w->parent && w->host->geometry() != hostRect) PutUnders(w->parent);
  w->host->programmatic = true;
  w->host->setGeometry(hostRect);
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

void AttachMenu(Window* w, Menu* m);

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
      if (m.hwnd == hwnd && m.message == WM_KEYDOWN) m.hwnd = Handle(heir);
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

static QWidget* ControlWidget(HWND hwnd);

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
      if (w->minimized) {
        w->minimized = false;
        w->host->showNormal();
      } else {
        w->host->show();
      }
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

// A dialog control's handle is its widget.
static QWidget* ControlWidget(HWND hwnd) {
  for (Window* w : g_windows)
    if (!w->destroyed)
      for (auto& c : w->controls)
        if (reinterpret_cast<HWND>(c.second) == hwnd) return c.second;
  return nullptr;
}

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
  QScreen* s = QGuiApplication::primaryScreen();
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
  if (wasVisible) w->host->show();
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

// ---------------------------------------------------------------- messages
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM, LPARAM) {
  switch (msg) {
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_PAINT: ValidateRect(hwnd, nullptr); return 0;
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
  int best = 1000;
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

// ---------------------------------------------------------------- painting
BOOL InvalidateRect(HWND hwnd, const RECT* r, BOOL) {
  Window* w = Win(hwnd);
  if (!w || w == &g_desktop) return FALSE;
  int cw, ch;
  ClientSize(w, &cw, &ch);
  QRect all(0, 0, cw, ch);
  QRect q = r ? QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1)) & all : all;
  if (!q.isEmpty()) w->update += q;
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* r) {
  Window* w = Win(hwnd);
  if (!w) return FALSE;
  if (!r)
    w->update = QRegion();
  else
    w->update -= QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1));
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* r, BOOL) {
  Window* w = Win(hwnd);
  if (!w) return FALSE;
  QRect b = w->update.boundingRect();
  if (r) *r = w->update.isEmpty() ? RECT{0, 0, 0, 0} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  return !w->update.isEmpty();
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = Win(hwnd);
  if (!w) return nullptr;
  HDC dc = GetDC(hwnd);
  DC* d = GetDCData(dc);
  d->hasPaintClip = true;
  d->paintClip = w->update;
  d->areaValid = false;
  QRect b = w->update.boundingRect();
  if (ps) {
    ps->hdc = dc;
    ps->fErase = FALSE;
    ps->rcPaint = w->update.isEmpty() ? RECT{0, 0, 0, 0} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  }
  w->update = QRegion();
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) ReleaseDC(hwnd, ps->hdc);
  return TRUE;
}

void FlushScreen() {
  BeforeToolkitPaints();
  for (Window* w : g_windows) {
    if (w->destroyed || !w->canvas || w->drawn.Empty()) continue;
    QRegion r = w->drawn.Take();  // only what changed, in device pixels
    if (g_scale != 1.0) {
      QRegion units;
      for (const QRect& q : r) units += UnitRect(q);
      r = units;
    }
    if (!g_test && w->canvas->isVisible()) w->canvas->repaint(r);
  }
  // Let the screen catch up and take in whatever the desktop delivered.  Input
  // is taken too: the widgets only queue it as the game's messages, which wait
  // in the program's own queue until the game reads them (or, while a
  // generator runs, only raise its cancel flag).  Leaving input with the
  // toolkit instead parks it where a later wait for events does not see it,
  // and a click would lie there until the next pointer move.
  if (!g_test) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

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
bool g_test = false;
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

void SetGenerationInput(DWORD* cancelFlag) { g_generationCancel = cancelFlag; }

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

// ---------------------------------------------------------------- menus
namespace plat {
static std::map<std::string, const MenuTemplateItem*> g_menuTemplates;
static std::set<Menu*> g_menus;

Menu* GetMenuData(HMENU h) {
  auto* m = reinterpret_cast<Menu*>(h);
  return g_menus.count(m) ? m : nullptr;
}

static std::shared_ptr<Menu> BuildMenu(const MenuTemplateItem*& it, int depth) {
  auto m = std::make_shared<Menu>();
  while (it->text && it->depth >= depth) {
    if (it->depth > depth) {  // malformed: skip
      ++it;
      continue;
    }
    MenuItem item;
    item.text = it->text;
    item.id = it->id;
    item.flags = it->flags;
    ++it;
    if (item.flags & MF_POPUP) item.popup = BuildMenu(it, depth + 1);
    m->items.push_back(std::move(item));
  }
  return m;
}

static std::vector<std::shared_ptr<Menu>> g_menuRoots;

// A closing menu may leave the desktop's keyboard focus nowhere: once it has
// closed, the window that owns the menu takes the keyboard again.
static void ReturnKeyboardAfterMenu(Window* w) {
  if (g_test) return;
  QTimer::singleShot(0, [w]() {
    if (std::find(g_windows.begin(), g_windows.end(), w) == g_windows.end() || w->destroyed || !w->host) return;
    QWidget* top = w->host->window();
    if (top->isVisible()) top->activateWindow();
  });
}

static QString MenuText(const std::string& t) {
  // "\t" separates an accelerator hint; keep it as Qt shows it.
  return FromAnsi(t.c_str());
}

static void FillQMenu(QWidget* target, Window* w, Menu* m) {
  for (MenuItem& item : m->items) {
    if (item.flags & MF_SEPARATOR) {
      if (auto* qm = qobject_cast<QMenu*>(target)) item.action = qm->addSeparator();
      continue;
    }
    if (item.popup) {
      auto* sub = new QMenu(MenuText(item.text), target);
      FillQMenu(sub, w, item.popup.get());
      if (auto* qm = qobject_cast<QMenu*>(target))
        item.action = qm->addMenu(sub);
      else if (auto* bar = qobject_cast<QMenuBar*>(target))
        item.action = bar->addMenu(sub);
    } else {
      auto* a = new QAction(MenuText(item.text), target);
      UINT id = item.id;
      QObject::connect(a, &QAction::triggered, a, [w, id]() {
        if (w->destroyed) return;
        PostInput(w, WM_COMMAND, id, 0);
        ReturnKeyboardAfterMenu(w);
      });
      a->setCheckable(true);
      a->setChecked(item.flags & MF_CHECKED);
      a->setCheckable(item.flags & MF_CHECKED);
      a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
      target->addAction(a);
      item.action = a;
    }
  }
}

static void ClearActions(Menu* m) {
  for (MenuItem& item : m->items) {
    item.action = nullptr;
    if (item.popup) ClearActions(item.popup.get());
  }
}

void AttachMenu(Window* w, Menu* m) {
  // A dialog keeps its client size: its menu bar comes on top of it.
  int before = MenuBarHeight(w);
  if (w->menu && w->menu != m) {
    Menu* old = w->menu;
    ClearActions(old);
    if (old->bar) {
      old->bar->hide();
      old->bar->deleteLater();
    }
    old->bar = nullptr;
    old->attached = nullptr;
    w->menu = nullptr;
  }
  if (m && w->menu != m) {
    if (m->attached) AttachMenu(m->attached, nullptr);
    m->attached = w;
    w->menu = m;
    m->bar = new QMenuBar(w->host);
    m->bar->setNativeMenuBar(false);
    FillQMenu(m->bar, w, m);
    m->bar->show();
  }
  if (w->isDialog) w->height = std::max(0, w->height + MenuBarHeight(w) - before);
  ApplyGeometry(w);
}

// Finds an item by command id (or by position in `m` itself).
static MenuItem* FindItem(Menu* m, UINT pos, UINT flags) {
  if (flags & MF_BYPOSITION) return pos < m->items.size() ? &m->items[pos] : nullptr;
  for (MenuItem& item : m->items) {
    if (!item.popup && !(item.flags & MF_SEPARATOR) && item.id == pos) return &item;
    if (item.popup)
      if (MenuItem* f = FindItem(item.popup.get(), pos, flags)) return f;
  }
  return nullptr;
}
}  // namespace plat

void RegisterMenuTemplate(const char* name, const MenuTemplateItem* items) {
  g_menuTemplates[QString(name).toLower().toStdString()] = items;
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
  if (!name) return nullptr;
  auto it = g_menuTemplates.find(QString(name).toLower().toStdString());
  if (it == g_menuTemplates.end()) return nullptr;
  const MenuTemplateItem* p = it->second;
  auto root = BuildMenu(p, 0);
  g_menuRoots.push_back(root);
  g_menus.insert(root.get());
  return reinterpret_cast<HMENU>(root.get());
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  Window* w = Win(hwnd);
  if (!w) return FALSE;
  AttachMenu(w, GetMenuData(menu));
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  Window* w = Win(hwnd);
  return w && w->menu ? reinterpret_cast<HMENU>(w->menu) : nullptr;
}

BOOL DestroyMenu(HMENU menu) {
  Menu* m = GetMenuData(menu);
  if (!m) return FALSE;
  if (m->attached) AttachMenu(m->attached, nullptr);
  g_menus.erase(m);
  g_menuRoots.erase(std::remove_if(g_menuRoots.begin(), g_menuRoots.end(),
                                   [m](const std::shared_ptr<Menu>& r) { return r.get() == m; }),
                    g_menuRoots.end());
  return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR newId, LPCSTR newText) {
  Menu* m = GetMenuData(menu);
  if (!m) return FALSE;
  MenuItem* item = FindItem(m, position, flags);
  if (!item) return FALSE;
  item->id = (UINT)newId;
  item->text = newText ? newText : "";
  item->flags = (item->flags & MF_POPUP) | (flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR));
  if (item->action) {
    item->action->setText(MenuText(item->text));
    item->action->setCheckable(item->flags & MF_CHECKED);
    item->action->setChecked(item->flags & MF_CHECKED);
    item->action->setEnabled(!(item->flags & (MF_GRAYED | MF_DISABLED)));
    // The command id may change with the text.
    QAction* a = item->action;
    QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
    Window* w = m->attached;
    UINT id = item->id;
    QObject::connect(a, &QAction::triggered, a, [w, id]() {
      if (!w || w->destroyed) return;
      PostInput(w, WM_COMMAND, id, 0);
      ReturnKeyboardAfterMenu(w);
    });
  }
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
  Menu* m = GetMenuData(menu);
  if (!m) return (DWORD)-1;
  MenuItem* item = FindItem(m, id, check & MF_BYPOSITION);
  if (!item) return (DWORD)-1;
  DWORD old = item->flags & MF_CHECKED;
  item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  if (item->action) {
    item->action->setCheckable(true);
    item->action->setChecked(check & MF_CHECKED);
  }
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  Menu* m = GetMenuData(menu);
  if (!m) return FALSE;
  MenuItem* item = FindItem(m, id, enable & MF_BYPOSITION);
  if (!item) return FALSE;
  item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  if (item->action) item->action->setEnabled(!(enable & (MF_GRAYED | MF_DISABLED)));
  return TRUE;
}

int GetMenuStringA(HMENU menu, UINT id, LPSTR text, int maxCount, UINT flags) {
  Menu* m = GetMenuData(menu);
  MenuItem* item = m ? FindItem(m, id, flags) : nullptr;
  if (!item) return 0;
  if (!text || maxCount <= 0) return (int)item->text.size();
  int n = std::min<int>((int)item->text.size(), maxCount - 1);
  memcpy(text, item->text.data(), n);
  text[n] = 0;
  return n;
}

BOOL DrawMenuBar(HWND) { return TRUE; }

// ---------------------------------------------------------------- test hooks
void TestSetTicks(DWORD t) { g_fakeTicks = t; }
void TestAdvanceTicks(DWORD ms) { g_fakeTicks += ms; }
void TestSetTickStep(DWORD s) { g_tickStep = s; }
DWORD TestWaitedMilliseconds() { return g_waited; }
void TestResetWaited() { g_waited = 0; }
void TestSetDesktopSize(int w, int h) {
  g_desktopW = w;
  g_desktopH = h;
}

COLORREF TestWindowPixel(HWND hwnd, int x, int y) {
  Window* w = Win(hwnd);
  if (!w || x < 0 || y < 0 || Dev(x) >= w->backing.width() || Dev(y) >= w->backing.height()) return (COLORREF)-1;
  return ToColorref(w->backing.pixel(Dev(x), Dev(y)));
}

std::vector<uint32_t> TestWindowImage(HWND hwnd, int* width, int* height) {
  std::vector<uint32_t> out;
  Window* w = Win(hwnd);
  if (!w) return out;
  *width = w->backing.width();
  *height = w->backing.height();
  out.resize((size_t)*width * *height);
  for (int y = 0; y < *height; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(w->backing.constScanLine(y));
    for (int x = 0; x < *width; ++x) out[(size_t)y * *width + x] = row[x] & 0xFFFFFF;
  }
  return out;
}

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
