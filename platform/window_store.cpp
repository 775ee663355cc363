// A window's image in the toolkit's backing store: moving in and out of it,
// the pixels of the parent kept under its child windows, and the blank zero
// pages a new window starts with.  Also the test hooks that read a window's
// pixels.
#include <QBackingStore>
#include <QGuiApplication>
#include <algorithm>
#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/internal.h"
#include "platform/testing.h"
#include "platform/widgets.h"

namespace plat {

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
bool StoreCandidate(Window* w) {
  static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  return !g_test && x11 && !w->isDialog && w->controls.empty() && w->host && w->canvas && !w->parent;
}

bool CanLiveInStore(Window* w) {
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
bool EnterStore(Window* w, bool duringPaint) {
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
QImage BlankImage(int pw, int ph) {
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

}  // namespace plat

using namespace plat;

// ---------------------------------------------------------------- test hooks
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
