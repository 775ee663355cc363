// Device contexts and drawing.  Window DCs draw into the window's backing
// image, memory DCs into the bitmap selected into them.  Raster operations,
// monochrome conversions and clipping behave exactly as the game expects;
// the paths the game runs all the time (copies of equal size, stretched
// copies, single pixels) work on whole rows and on the drawable area kept as
// plain rectangles, so that they run close to the speed of the memory.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unordered_set>

#include "platform/internal.h"
#include "platform/testing.h"

namespace plat {

unsigned g_targetEpoch = 1;
double g_scale = 1.0;
DC* g_pixelDC = nullptr;

static std::unordered_set<GdiObj*> g_objects;
static std::unordered_set<DC*> g_dcs;
// The DC last looked up: a run of calls on one DC skips the set.  When there
// is none it is a DC that is never handed out, so that a plain comparison
// tells whether a handle is it.
static DC g_noDC;
static DC* g_lastDC = &g_noDC;
// Where the pixels set on a memory DC are noted: nowhere that is shown.
static DrawnArea g_unshown;
static int g_rectangleCalls = 0;

GdiObj* Obj(HGDIOBJ h) {
  auto* o = reinterpret_cast<GdiObj*>(h);
  return g_objects.count(o) ? o : nullptr;
}
HGDIOBJ NewObj(GdiObj* o) {
  g_objects.insert(o);
  return reinterpret_cast<HGDIOBJ>(o);
}
static DC* LookUpDC(DC* d) {
  if (!g_dcs.count(d)) return nullptr;
  g_lastDC = d;
  return d;
}
static inline DC* FindDC(HDC h) {
  auto* d = reinterpret_cast<DC*>(h);
  return d == g_lastDC ? d : LookUpDC(d);
}
DC* GetDCData(HDC h) { return FindDC(h); }
static void ForgetDC(DC* d) {
  g_dcs.erase(d);
  if (g_lastDC == d) g_lastDC = &g_noDC;
  if (g_pixelDC == d) g_pixelDC = nullptr;
  delete d;
}

static GdiObj* Stock(int which) {
  static GdiObj* objs[20] = {};
  if (which < 0 || which >= 20) return nullptr;
  if (!objs[which]) {
    auto* o = new GdiObj();
    o->stock = true;
    switch (which) {
      case WHITE_BRUSH: o->kind = ObjKind::Brush; o->style = BS_SOLID; o->color = RGB(255, 255, 255); break;
      case BLACK_BRUSH: o->kind = ObjKind::Brush; o->style = BS_SOLID; o->color = 0; break;
      case NULL_BRUSH: o->kind = ObjKind::Brush; o->style = BS_NULL; break;
      case WHITE_PEN: o->kind = ObjKind::Pen; o->style = PS_SOLID; o->color = RGB(255, 255, 255); break;
      case BLACK_PEN: o->kind = ObjKind::Pen; o->style = PS_SOLID; o->color = 0; break;
      case NULL_PEN: o->kind = ObjKind::Pen; o->style = PS_NULL; break;
      case SYSTEM_FONT: o->kind = ObjKind::Font; break;
      default: o->kind = ObjKind::Brush; o->style = BS_SOLID; o->color = RGB(255, 255, 255); break;
    }
    NewObj(o);
    objs[which] = o;
  }
  return objs[which];
}

// The 1 x 1 monochrome bitmap every memory DC starts with, shared by all of
// them as the desktop does it, so that making a memory DC allocates no image.
static GdiObj* DefaultMonoBitmap() {
  static GdiObj* o = nullptr;
  if (!o) {
    o = new GdiObj();
    o->kind = ObjKind::Bitmap;
    o->stock = true;
    o->mono = true;
    o->image = QImage(Dev(1), Dev(1), QImage::Format_RGB32);
    o->image.fill(Qt::black);
    o->unitWidth = o->unitHeight = 1;
    NewObj(o);
  }
  return o;
}

static DC* NewDC() {
  auto* d = new DC();
  d->pen = Stock(BLACK_PEN);
  d->brush = Stock(WHITE_BRUSH);
  d->font = Stock(SYSTEM_FONT);
  g_dcs.insert(d);
  return d;
}

static inline QImage* TargetOf(DC* dc) {
  if (dc->window) return &dc->window->backing;
  if (dc->bitmap) return &dc->bitmap->image;
  return nullptr;
}
QImage* Target(DC* dc) { return TargetOf(dc); }

static bool IsMonoDC(DC* dc) { return dc->memory && dc->bitmap && dc->bitmap->mono; }

// Makes the DC work its area out again before it next draws.  A DC's area
// counts only while its epoch is the current one; a new DC's never is.
static void ForgetArea(DC* dc) {
  dc->areaValid = false;
  dc->area.epoch = 0;
  if (g_pixelDC == dc) g_pixelDC = nullptr;
}

static const DrawArea* MakeArea(DC* dc, QImage* img) {
  DrawArea& a = dc->area;
  ForgetArea(dc);
  if (!img) return nullptr;
  if (dc->window) FillBlank(dc->window);
  QRegion r(0, 0, img->width(), img->height());
  if (dc->window) {
    int cw, ch;
    ClientSize(dc->window, &cw, &ch);
    r &= QRegion(0, 0, Dev(cw), Dev(ch));
  }
  if (dc->hasClip) r &= DevRegion(dc->clip);
  if (dc->hasPaintClip) r &= DevRegion(dc->paintClip);
  a.rects.assign(r.begin(), r.end());
  a.box = r.boundingRect();
  a.single = a.rects.size() == 1;
  a.plain = a.single && !IsMonoDC(dc);
  a.left = a.box.left();
  a.top = a.box.top();
  a.width = (unsigned)a.box.width();
  a.height = (unsigned)a.box.height();
  a.drawn = dc->window ? &dc->window->drawn : &g_unshown;
  a.image = img;
  a.bits = reinterpret_cast<QRgb*>(img->bits());  // our own pixels from here on
  a.stride = img->bytesPerLine() / 4;
  a.mono = IsMonoDC(dc);
  a.epoch = g_targetEpoch;
  dc->areaValid = true;
  return &a;
}

// The DC's drawable area and pixels; null when it has no image.
static inline const DrawArea* Area(DC* dc) {
  if (dc->window && dc->window->childrenPainted) PutUnders(dc->window);
  if (dc->areaValid && dc->area.epoch == g_targetEpoch) return &dc->area;
  return MakeArea(dc, TargetOf(dc));
}

QRegion DrawableRegion(DC* dc) {
  const DrawArea* a = Area(dc);
  QRegion r;
  if (a) r.setRects(a->rects.data(), (int)a->rects.size());
  return r;
}

void MarkDrawn(DC* dc, const QRect& r) {
  if (dc->window) dc->window->drawn.Add(r);
}

// ---------------------------------------------------------------- what reaches the screen
static constexpr size_t kDrawnRects = 64;

void DrawnArea::Show(const QRect& r) {
  if (r.isEmpty()) return;
  if (!rects_.empty()) {
    QRect& last = rects_.back();
    if (last.contains(r)) return;
    // A rectangle that continues the last one straight on makes it longer.
    const bool column = r.left() == last.left() && r.right() == last.right() && r.top() <= last.bottom() + 1 &&
                        r.bottom() >= last.top() - 1;
    const bool row = r.top() == last.top() && r.bottom() == last.bottom() && r.left() <= last.right() + 1 &&
                     r.right() >= last.left() - 1;
    if (column || row || r.contains(last)) {
      last |= r;
      return;
    }
  }
  if (rects_.size() >= kDrawnRects) {
    // Too many pieces to send one by one: their bounds serve.
    QRect bounds = r;
    for (const QRect& q : rects_) bounds |= q;
    rects_.assign(1, bounds);
    return;
  }
  rects_.push_back(r);
}

QRegion DrawnArea::Take() {
  QRegion region;
  for (const QRect& r : rects_) region += r;
  if (HasPixels()) region += PixelBounds();
  if (inkKnown_) ink_ = Ink();
  rects_.clear();
  ForgetPixels();
  return region;
}

// COLORREF (0x00BBGGRR) as a pixel value (0x00RRGGBB).
static inline uint32_t PixelOf(COLORREF c) {
  // 0x..BBGGRR to 0x00RRGGBB: the low three bytes in the other order.
  return __builtin_bswap32(c << 8);
}

}  // namespace plat

using namespace plat;

HDC GetDC(HWND hwnd) {
  DC* d = NewDC();
  if (hwnd) {
    Window* w = Win(hwnd);
    if (!w) {
      ForgetDC(d);
      return nullptr;
    }
    if (w != Win(GetDesktopWindow())) {
      d->window = w;
      w->dcCount++;
    } else {
      d->screen = true;
    }
  } else {
    d->screen = true;
  }
  return reinterpret_cast<HDC>(d);
}

int ReleaseDC(HWND, HDC h) {
  DC* d = FindDC(h);
  if (!d || d->memory) return 0;
  if (d->window) d->window->dcCount--;
  ForgetDC(d);
  FlushScreen();
  return 1;
}

HDC CreateCompatibleDC(HDC) {
  DC* d = NewDC();
  d->memory = true;
  d->bitmap = DefaultMonoBitmap();
  d->bitmap->selectedCount++;
  return reinterpret_cast<HDC>(d);
}

BOOL DeleteDC(HDC h) {
  DC* d = FindDC(h);
  if (!d) return FALSE;
  if (d->memory && d->bitmap) d->bitmap->selectedCount--;
  ForgetDC(d);
  return TRUE;
}

// A new bitmap is black.  A large one gets fresh zero pages of its own from
// the system, taken only when something is drawn there: memory from the heap
// would have to be cleared first, and a bitmap that a picture replaces whole
// never costs memory of its own.
namespace {
struct Pixels {
  void* bytes;
  size_t size;
  bool mapped;
};
void FreePixels(void* info) {
  auto* p = static_cast<Pixels*>(info);
  if (p->mapped)
    munmap(p->bytes, p->size);
  else
    free(p->bytes);
  delete p;
}
Pixels* BlackPixels(size_t size) {
  constexpr size_t kOwnPages = 256 * 1024;
  if (size >= kOwnPages) {
    void* bytes = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (bytes != MAP_FAILED) return new Pixels{bytes, size, true};
  }
  void* bytes = calloc(size, 1);
  return bytes ? new Pixels{bytes, size, false} : nullptr;
}
}  // namespace

static bool BitmapSizeAllowed(int unitW, int unitH, int w, int h) {
  return unitW > 0 && unitH > 0 && w > 0 && h > 0 && (long long)w * h <= 100000000LL;
}

// A bitmap over device pixels `bytes` (w x h words), which `release` frees
// with `context` when the bitmap goes.  On failure nothing is released.
static HBITMAP BitmapOver(int unitW, int unitH, bool mono, void* bytes, int w, int h, QImageCleanupFunction release,
                          void* context) {
  auto* o = new GdiObj();
  o->kind = ObjKind::Bitmap;
  o->mono = mono;
  o->image = QImage(static_cast<uchar*>(bytes), w, h, (qsizetype)w * 4, QImage::Format_RGB32, release, context);
  if (o->image.isNull()) {
    delete o;
    return nullptr;
  }
  o->unitWidth = unitW;
  o->unitHeight = unitH;
  return NewObj(o);
}

static HBITMAP MakeBitmap(int unitW, int unitH, bool mono) {
  const int w = Dev(unitW), h = Dev(unitH);
  if (!BitmapSizeAllowed(unitW, unitH, w, h)) return nullptr;
  Pixels* pixels = BlackPixels((size_t)w * h * 4);
  if (!pixels) return nullptr;
  HBITMAP bitmap = BitmapOver(unitW, unitH, mono, pixels->bytes, w, h, FreePixels, pixels);
  if (!bitmap) FreePixels(pixels);
  return bitmap;
}

HBITMAP CreateBitmapOverWords(int width, int height, uint32_t* words, void (*release)(void*), void* context) {
  // Only where a desktop unit is one device pixel are the words the bitmap's
  // pixels as they stand.
  if (words == nullptr || release == nullptr || Dev(width) != width || Dev(height) != height ||
      !BitmapSizeAllowed(width, height, width, height))
    return nullptr;
  return BitmapOver(width, height, false, words, width, height, release, context);
}

HBITMAP CreateCompatibleBitmap(HDC h, int width, int height) {
  DC* d = FindDC(h);
  return MakeBitmap(width, height, d && IsMonoDC(d));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits, const void*) {
  return MakeBitmap(width, height, planes * bits == 1);
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
  DC* d = FindDC(h);
  GdiObj* o = Obj(obj);
  if (!d || !o) return nullptr;
  GdiObj* old = nullptr;
  switch (o->kind) {
    case ObjKind::Bitmap:
      if (!d->memory) return nullptr;
      old = d->bitmap;
      if (old) old->selectedCount--;
      d->bitmap = o;
      o->selectedCount++;
      ForgetArea(d);
      break;
    case ObjKind::Pen: old = d->pen; d->pen = o; break;
    case ObjKind::Brush: old = d->brush; d->brush = o; break;
    case ObjKind::Font: old = d->font; d->font = o; break;
    case ObjKind::Region:
      SelectClipRgn(h, obj);
      return reinterpret_cast<HGDIOBJ>((intptr_t)SIMPLEREGION);
    case ObjKind::Palette: return nullptr;
  }
  return reinterpret_cast<HGDIOBJ>(old);
}

BOOL DeleteObject(HGDIOBJ obj) {
  GdiObj* o = Obj(obj);
  if (!o || o->stock) return FALSE;
  if (o->kind == ObjKind::Bitmap && o->selectedCount > 0) return FALSE;
  for (DC* d : g_dcs) {
    if (d->pen == o) d->pen = Stock(BLACK_PEN);
    if (d->brush == o) d->brush = Stock(WHITE_BRUSH);
  }
  g_objects.erase(o);
  delete o;
  return TRUE;
}

int GetObjectA(HGDIOBJ obj, int size, LPVOID out) {
  GdiObj* o = Obj(obj);
  if (!o) return 0;
  if (o->kind == ObjKind::Bitmap) {
    if (!out) return sizeof(BITMAP);
    if (size < (int)sizeof(BITMAP)) return 0;
    BITMAP b{};
    b.bmType = 0;
    b.bmWidth = o->unitWidth;
    b.bmHeight = o->unitHeight;
    b.bmPlanes = 1;
    b.bmBitsPixel = o->mono ? 1 : 32;
    b.bmWidthBytes = o->mono ? ((b.bmWidth + 15) / 16) * 2 : b.bmWidth * 4;
    memcpy(out, &b, sizeof(BITMAP));
    return sizeof(BITMAP);
  }
  if (o->kind == ObjKind::Brush) {
    if (!out || size < (int)sizeof(LOGBRUSH)) return sizeof(LOGBRUSH);
    LOGBRUSH lb{(UINT)o->style, o->color, 0};
    memcpy(out, &lb, sizeof(lb));
    return sizeof(LOGBRUSH);
  }
  return 0;
}

HGDIOBJ GetStockObject(int which) { return NewObj(Stock(which)); }

int GetDeviceCaps(HDC h, int index) {
  DC* d = FindDC(h);
  switch (index) {
    case BITSPIXEL: return d && IsMonoDC(d) ? 1 : 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return 0;  // no palette on a true-colour screen
    case SIZEPALETTE: return 0;
    case HORZRES: {
      RECT r;
      GetWindowRect(GetDesktopWindow(), &r);
      return r.right;
    }
    case VERTRES: {
      RECT r;
      GetWindowRect(GetDesktopWindow(), &r);
      return r.bottom;
    }
    default: return 0;
  }
}

// ---------------------------------------------------------------- copies
namespace {

// What a copy does with a source pixel and the destination pixel under it.
struct CopyOp {
  DWORD rop;
  bool srcMono, dstMono;
  uint32_t srcBk, dstText, dstBk;
};

inline uint32_t ApplyRop(DWORD rop, uint32_t s, uint32_t d) {
  switch (rop) {
    case SRCCOPY: return s;
    case SRCAND: return s & d;
    case SRCPAINT: return s | d;
    case SRCINVERT: return s ^ d;
    case NOTSRCCOPY: return ~s;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFF;
    default: return s;
  }
}

inline QRgb CopyPixel(const CopyOp& op, uint32_t s, QRgb d) {
  s &= 0xFFFFFF;
  if (op.srcMono && !op.dstMono)
    s = s ? op.dstBk : op.dstText;
  else if (!op.srcMono && op.dstMono)
    s = (s == op.srcBk) ? 0xFFFFFF : 0;
  uint32_t v = ApplyRop(op.rop, s, d & 0xFFFFFF) & 0xFFFFFF;
  if (op.dstMono) v = v ? 0xFFFFFF : 0;
  return 0xFF000000u | v;
}

// The source line (column or row) under each of `count` destination lines
// starting `first` lines into a destination extent of `extent` that shows
// `sourceExtent` source lines from `source` on (mirrored when `flip`).
// Returns how many lines at the start and at the end fall outside the
// source's `limit` lines; they lie at the ends, since the map is monotonic.
void MapLines(std::vector<int>& map, int first, int count, int extent, int source, int sourceExtent, bool flip,
              int limit, int* skipFront, int* skipBack) {
  map.resize(count);
  for (int i = 0; i < count; ++i) {
    int o = first + i;
    if (flip) o = extent - 1 - o;
    map[i] = source + (int)(((long long)o * sourceExtent) / extent);
  }
  int front = 0, back = 0;
  while (front < count && (map[front] < 0 || map[front] >= limit)) ++front;
  while (back < count - front && (map[count - 1 - back] < 0 || map[count - 1 - back] >= limit)) ++back;
  *skipFront = front;
  *skipBack = back;
}

}  // namespace

// Copies the source rectangle onto the destination rectangle (both of
// positive size, mirrored as the flags say) with nearest-neighbour scaling,
// within the drawable area.  Source pixels outside the source image are left
// out, as the desktop does.  A copy of equal size moves whole rows; a
// stretched one steps through precomputed source columns and rows.
static void CopyRows(DC* dd, const DrawArea* da, int x, int y, int w, int h, const QImage& source, int sx, int sy,
                     int sw, int sh, bool flipX, bool flipY, const CopyOp& op) {
  QRect dest = QRect(x, y, w, h) & da->box;
  if (dest.isEmpty()) return;
  static std::vector<int> cols, rows;
  int front, back;
  MapLines(cols, dest.left() - x, dest.width(), w, sx, sw, flipX, source.width(), &front, &back);
  const int colOffset = front;
  dest.setLeft(dest.left() + front);
  dest.setRight(dest.right() - back);
  MapLines(rows, dest.top() - y, dest.height(), h, sy, sh, flipY, source.height(), &front, &back);
  const int rowOffset = front;
  dest.setTop(dest.top() + front);
  dest.setBottom(dest.bottom() - back);
  if (dest.isEmpty()) return;

  const QRgb* sbits = reinterpret_cast<const QRgb*>(source.constBits());
  const qsizetype sstride = source.bytesPerLine() / 4;
  const bool plain = op.rop == SRCCOPY && !op.srcMono && !op.dstMono;
  const bool sameWidth = sw == w && !flipX;
  for (const QRect& r : da->rects) {
    const QRect q = r & dest;
    if (q.isEmpty()) continue;
    const int* colMap = cols.data() + colOffset + (q.left() - dest.left());
    const int n = q.width();
    for (int py = q.top(); py <= q.bottom(); ++py) {
      const QRgb* srow = sbits + rows[rowOffset + (py - dest.top())] * sstride;
      QRgb* drow = da->Row(py) + q.left();
      if (plain && sameWidth) {
        memcpy(drow, srow + colMap[0], (size_t)n * 4);
      } else if (plain) {
        for (int i = 0; i < n; ++i) drow[i] = 0xFF000000u | srow[colMap[i]];
      } else {
        for (int i = 0; i < n; ++i) drow[i] = CopyPixel(op, srow[colMap[i]], drow[i]);
      }
    }
    MarkDrawn(dd, q);
  }
}

static BOOL Copy(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
  DC* dd = FindDC(dst);
  DC* sd = src ? FindDC(src) : nullptr;
  if (!dd) return FALSE;
  const DrawArea* da = Area(dd);
  if (!da) return FALSE;
  const bool needsSource = !(rop == BLACKNESS || rop == WHITENESS);
  QImage* si = sd ? Target(sd) : nullptr;
  if (needsSource && !si) return FALSE;
  if (w == 0 || h == 0 || (needsSource && (sw == 0 || sh == 0))) return TRUE;
  // Negative sizes mirror; normalise to positive extents with a flip flag.
  const bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
  if (w < 0) { x += w; w = -w; }
  if (h < 0) { y += h; h = -h; }
  if (sw < 0) { sx += sw; sw = -sw; }
  if (sh < 0) { sy += sh; sh = -sh; }
  if (g_scale != 1.0) {
    // Both images hold device pixels at the same scale: a copy of equal
    // size stays one of equal size.
    auto pixels = [](int* at, int* extent) {
      const int from = Dev(*at);
      *extent = Dev(*at + *extent) - from;
      *at = from;
    };
    pixels(&x, &w);
    pixels(&y, &h);
    pixels(&sx, &sw);
    pixels(&sy, &sh);
    if (w <= 0 || h <= 0 || (needsSource && (sw <= 0 || sh <= 0))) return TRUE;
  }

  if (!needsSource) {
    const QRect dest = QRect(x, y, w, h) & da->box;
    const QRgb v = rop == WHITENESS ? 0xFFFFFFFFu : 0xFF000000u;
    for (const QRect& r : da->rects) {
      const QRect q = r & dest;
      for (int py = q.top(); py <= q.bottom(); ++py) std::fill_n(da->Row(py) + q.left(), q.width(), v);
      MarkDrawn(dd, q);
    }
    return TRUE;
  }
  const CopyOp op{rop, IsMonoDC(sd), da->mono, PixelOf(sd->bk), PixelOf(dd->text), PixelOf(dd->bk)};
  // A copy within one image reads a snapshot, so that overlapping parts are
  // read as they were before the copy.
  if (si->constBits() == da->image->constBits())
    CopyRows(dd, da, x, y, w, h, si->copy(), sx, sy, sw, sh, flipX, flipY, op);
  else
    CopyRows(dd, da, x, y, w, h, *si, sx, sy, sw, sh, flipX, flipY, op);
  return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  return Copy(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
  return Copy(dst, x, y, w, h, src, sx, sy, sw, sh, rop);
}

int SetStretchBltMode(HDC h, int mode) {
  DC* d = FindDC(h);
  if (!d) return 0;
  int old = d->stretchMode;
  d->stretchMode = mode;
  return old;
}

// A device-independent picture as a top-down image; 32-bit top-down bits are
// used where they lie, anything else is converted.
static QImage DibImage(const void* bits, const BITMAPINFOHEADER& bh) {
  const int w = bh.biWidth, h = std::abs(bh.biHeight);
  const BYTE* b = static_cast<const BYTE*>(bits);
  if (bh.biBitCount == 32 && bh.biHeight < 0) return QImage(b, w, h, (qsizetype)w * 4, QImage::Format_RGB32);
  QImage image(w, h, QImage::Format_RGB32);
  const size_t stride = bh.biBitCount == 32 ? (size_t)w * 4 : (((size_t)w * 3 + 3) & ~(size_t)3);
  const int bytes = bh.biBitCount / 8;
  for (int y = 0; y < h; ++y) {
    // DIB pixels are blue, green, red in memory: 0x00RRGGBB as a word.
    const BYTE* p = b + (size_t)(bh.biHeight < 0 ? y : h - 1 - y) * stride;
    QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x, p += bytes) row[x] = 0xFF000000u | ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
  }
  return image;
}

int StretchDIBits(HDC h, int x, int y, int w, int hgt, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT, DWORD rop) {
  DC* d = FindDC(h);
  if (!d || !bits || !info) return 0;
  const BITMAPINFOHEADER& bh = info->bmiHeader;
  if ((bh.biBitCount != 32 && bh.biBitCount != 24) || bh.biWidth <= 0 || bh.biHeight == 0) return 0;
  const DrawArea* da = Area(d);
  if (!da || w <= 0 || hgt <= 0 || sw <= 0 || sh <= 0) return 0;
  const int lines = hgt;
  if (g_scale != 1.0) {
    // The picture's own pixels go onto the device pixels of the rectangle.
    const int px = Dev(x), py = Dev(y);
    w = Dev(x + w) - px;
    hgt = Dev(y + hgt) - py;
    x = px;
    y = py;
    if (w <= 0 || hgt <= 0) return lines;
  }
  QImage source = DibImage(bits, bh);
  const bool inside = sx >= 0 && sy >= 0 && sx + sw <= source.width() && sy + sh <= source.height();
  if (d->stretchMode == HALFTONE && (sw != w || sh != hgt) && inside) {
    // HALFTONE: a smooth resampling of the picture, for pictures scaled to
    // the screen.
    source = (sw == source.width() && sh == source.height() ? source : source.copy(sx, sy, sw, sh))
                 .scaled(w, hgt, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 .convertToFormat(QImage::Format_RGB32);
    sx = sy = 0;
    sw = w;
    sh = hgt;
    QImage* img = da->image;
    if (rop == SRCCOPY && !da->mono && d->memory && x == 0 && y == 0 && img->size() == source.size() &&
        da->rects.size() == 1 && da->box == img->rect()) {
      // The picture covers the whole bitmap: it becomes the bitmap's pixels.
      *img = std::move(source);
      TargetsChanged();
      return lines;
    }
  }
  const CopyOp op{rop, false, da->mono, 0, 0, 0};
  CopyRows(d, da, x, y, w, hgt, source, sx, sy, sw, sh, false, false, op);
  return lines;
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT) {
  GdiObj* o = Obj(bitmap);
  if (!o || o->kind != ObjKind::Bitmap || !info) return 0;
  BITMAPINFOHEADER& bh = info->bmiHeader;
  // The bitmap as the game sees it: one pixel to a desktop unit.
  int w = o->unitWidth, h = o->unitHeight;
  if (!bits) {
    bh.biWidth = w;
    bh.biHeight = h;
    bh.biPlanes = 1;
    bh.biBitCount = 32;
    bh.biCompression = BI_RGB;
    bh.biSizeImage = (DWORD)w * h * 4;
    return h;
  }
  if (bh.biBitCount != 32 || bh.biWidth != w) return 0;
  bool topDown = bh.biHeight < 0;
  BYTE* out = static_cast<BYTE*>(bits);
  UINT done = 0;
  for (UINT i = 0; i < lines && (int)(start + i) < h; ++i, ++done) {
    // Line numbers count from the bottom in a bottom-up DIB.
    int srcRow = topDown ? (int)(start + i) : h - 1 - (int)(start + i);
    const QRgb* row = reinterpret_cast<const QRgb*>(o->image.constScanLine(Dev(srcRow)));
    // Blue, green, red and a zero byte in memory: the pixel's word without
    // its alpha byte.
    BYTE* p = out + (size_t)i * w * 4;
    for (int x = 0; x < w; ++x) {
      const uint32_t word = row[Dev(x)] & 0x00FFFFFFu;
      memcpy(p + (size_t)x * 4, &word, 4);
    }
  }
  return (int)done;
}

// ---------------------------------------------------------------- pixels, lines, shapes
static inline void Plot(const DrawArea& a, int x, int y, uint32_t pen, int rop2) {
  if (!a.Contains(x, y)) return;
  QRgb* p = a.Row(y) + x;
  uint32_t dv = *p & 0xFFFFFF, v;
  switch (rop2) {
    case R2_BLACK: v = 0; break;
    case R2_WHITE: v = 0xFFFFFF; break;
    case R2_NOT: v = ~dv; break;
    case R2_XORPEN: v = pen ^ dv; break;
    case R2_NOTXORPEN: v = ~(pen ^ dv); break;
    default: v = pen; break;
  }
  v &= 0xFFFFFF;
  if (a.mono) v = v ? 0xFFFFFF : 0;
  *p = 0xFF000000u | v;
}

// Plots one desktop unit: its block of device pixels.
static inline void PlotUnit(const DrawArea& a, int x, int y, uint32_t pen, int rop2) {
  if (g_scale == 1.0) return Plot(a, x, y, pen, rop2);
  const int x1 = Dev(x + 1), y1 = Dev(y + 1);
  for (int py = Dev(y); py < y1; ++py)
    for (int px = Dev(x); px < x1; ++px) Plot(a, px, py, pen, rop2);
}

// Marks a rectangle of plotted units as drawn, as far as it lies in the area.
static void MarkPlotted(DC* d, const DrawArea& a, const QRect& r) { MarkDrawn(d, DevRect(r) & a.box); }

Q_NEVER_INLINE static COLORREF SetPixelChecked(HDC h, int x, int y, COLORREF color) {
  DC* d = FindDC(h);
  if (!d) return (COLORREF)-1;
  const DrawArea* a = Area(d);
  if (!a) return (COLORREF)-1;
  uint32_t v = PixelOf(color);
  if (a->mono) v = v ? 0xFFFFFF : 0;
  if (g_scale != 1.0) {
    // The unit's block of device pixels.
    bool any = false;
    const int x1 = Dev(x + 1), y1 = Dev(y + 1);
    for (int py = Dev(y); py < y1; ++py)
      for (int px = Dev(x); px < x1; ++px)
        if (a->Contains(px, py)) {
          a->Row(py)[px] = 0xFF000000u | v;
          a->drawn->AddPixel(px, py);
          any = true;
        }
    return any ? color : (COLORREF)-1;
  }
  if (a->plain) g_pixelDC = d;  // the next pixels take the short way
  if (!a->Contains(x, y)) return (COLORREF)-1;
  a->Row(y)[x] = 0xFF000000u | v;
  a->drawn->AddPixel(x, y);
  return color;
}

// The generators paint whole screens with this: a run of pixels on one DC
// with a plain rectangular area takes no look-up and no call.
COLORREF SetPixel(HDC h, int x, int y, COLORREF color) {
  DC* d = reinterpret_cast<DC*>(h);
  if (d == g_pixelDC) {
    const DrawArea& a = d->area;
    if (a.InBox(x, y)) {
      a.Row(y)[x] = 0xFF000000u | PixelOf(color);
      a.drawn->AddPixel(x, y);
      return color;
    }
  }
  return SetPixelChecked(h, x, y, color);
}

COLORREF GetPixel(HDC h, int x, int y) {
  DC* d = FindDC(h);
  QImage* img = d ? Target(d) : nullptr;
  if (!img || x < 0 || y < 0) return (COLORREF)-1;
  x = Dev(x);
  y = Dev(y);
  if (x >= img->width() || y >= img->height()) return (COLORREF)-1;
  return ToColorref(img->pixel(x, y));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  auto* o = new GdiObj();
  o->kind = ObjKind::Pen;
  o->style = style;
  o->width = std::max(1, width);
  o->color = color;
  return NewObj(o);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* o = new GdiObj();
  o->kind = ObjKind::Brush;
  o->style = BS_SOLID;
  o->color = color;
  return NewObj(o);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  auto* o = new GdiObj();
  o->kind = ObjKind::Brush;
  o->style = (int)lb->lbStyle;
  o->color = lb->lbColor;
  return NewObj(o);
}

BOOL MoveToEx(HDC h, int x, int y, POINT* old) {
  DC* d = FindDC(h);
  if (!d) return FALSE;
  if (old) *old = d->pos;
  d->pos = POINT{x, y};
  return TRUE;
}

// A line from (x0, y0) up to but not including (x1, y1).
static void Line(DC* d, int x0, int y0, int x1, int y1) {
  const DrawArea* a = Area(d);
  if (!a || !d->pen || d->pen->style == PS_NULL) return;
  uint32_t pen = PixelOf(d->pen->color);
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy, x = x0, y = y0;
  const int width = d->pen->width, half = width / 2;
  while (!(x == x1 && y == y1)) {
    for (int oy = -half; oy < width - half; ++oy)
      for (int ox = -half; ox < width - half; ++ox) PlotUnit(*a, x + ox, y + oy, pen, d->rop2);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
  QRect bounds(QPoint(std::min(x0, x1) - half, std::min(y0, y1) - half),
               QPoint(std::max(x0, x1) + width - half - 1, std::max(y0, y1) + width - half - 1));
  MarkPlotted(d, *a, bounds);
}

BOOL LineTo(HDC h, int x, int y) {
  DC* d = FindDC(h);
  if (!d) return FALSE;
  Line(d, d->pos.x, d->pos.y, x, y);
  d->pos = POINT{x, y};
  return TRUE;
}

BOOL Rectangle(HDC h, int l, int t, int r, int b) {
  DC* d = FindDC(h);
  if (!d) return FALSE;
  if (d->window) g_rectangleCalls++;
  const DrawArea* a = Area(d);
  if (!a) return FALSE;
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (r - l < 1 || b - t < 1) return TRUE;
  // Interior with the brush.
  if (d->brush && d->brush->style != BS_NULL) {
    uint32_t c = PixelOf(d->brush->color);
    for (int y = t + 1; y < b - 1; ++y)
      for (int x = l + 1; x < r - 1; ++x) PlotUnit(*a, x, y, c, d->rop2);
    MarkPlotted(d, *a, QRect(QPoint(l + 1, t + 1), QPoint(r - 2, b - 2)));
  }
  // The border: every pixel once, so that drawing it twice in an
  // inverting mode restores what was there.  Only its four edges reach the
  // screen.
  if (d->pen && d->pen->style != PS_NULL) {
    uint32_t c = PixelOf(d->pen->color);
    for (int x = l; x < r; ++x) {
      PlotUnit(*a, x, t, c, d->rop2);
      if (b - 1 != t) PlotUnit(*a, x, b - 1, c, d->rop2);
    }
    for (int y = t + 1; y < b - 1; ++y) {
      PlotUnit(*a, l, y, c, d->rop2);
      if (r - 1 != l) PlotUnit(*a, r - 1, y, c, d->rop2);
    }
    MarkPlotted(d, *a, QRect(QPoint(l, t), QPoint(r - 1, t)));
    MarkPlotted(d, *a, QRect(QPoint(l, b - 1), QPoint(r - 1, b - 1)));
    MarkPlotted(d, *a, QRect(QPoint(l, t + 1), QPoint(l, b - 2)));
    MarkPlotted(d, *a, QRect(QPoint(r - 1, t + 1), QPoint(r - 1, b - 2)));
  }
  return TRUE;
}

static void WithPainter(DC* d, const std::function<void(QPainter&)>& draw, const QRect& bounds) {
  QImage* img = Target(d);
  if (!img) return;
  QRegion area = DrawableRegion(d);
  QPainter p(img);
  p.setClipRegion(area);
  // The drawing is given in desktop units; text and shapes come out at the
  // device's own resolution.
  if (g_scale != 1.0) p.scale(g_scale, g_scale);
  draw(p);
  p.end();
  ForgetArea(d);  // in case the painter moved the pixels
  const QRect pixels = DevRect(bounds);
  if (IsMonoDC(d)) {
    QRect b = pixels & img->rect();
    for (int y = b.top(); y <= b.bottom(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(img->scanLine(y));
      for (int x = b.left(); x <= b.right(); ++x) row[x] = (row[x] & 0xFFFFFF) ? 0xFFFFFFFF : 0xFF000000;
    }
  }
  MarkDrawn(d, (area & pixels).boundingRect());
}

BOOL Ellipse(HDC h, int l, int t, int r, int b) {
  DC* d = FindDC(h);
  if (!d) return FALSE;
  QRect bounds(QPoint(std::min(l, r), std::min(t, b)), QPoint(std::max(l, r) - 1, std::max(t, b) - 1));
  WithPainter(d, [&](QPainter& p) {
    if (d->rop2 == R2_NOTXORPEN || d->rop2 == R2_NOT)
      p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(d->pen && d->pen->style != PS_NULL ? QPen(QColor(ToRgb(d->pen->color)), d->pen->width) : Qt::NoPen);
    p.setBrush(d->brush && d->brush->style != BS_NULL ? QBrush(QColor(ToRgb(d->brush->color))) : Qt::NoBrush);
    p.drawEllipse(QRectF(bounds.left() + 0.5, bounds.top() + 0.5, bounds.width() - 1, bounds.height() - 1));
  }, bounds.adjusted(-2, -2, 2, 2));
  return TRUE;
}

int SetROP2(HDC h, int mode) {
  DC* d = FindDC(h);
  if (!d) return 0;
  int old = d->rop2;
  d->rop2 = mode;
  return old;
}

int GetROP2(HDC h) {
  DC* d = FindDC(h);
  return d ? d->rop2 : 0;
}

// Sets every pixel of the rectangle within the drawable area to f(pixel).
template <typename F>
static void ForEachRow(DC* d, const RECT* rc, F f) {
  const DrawArea* a = Area(d);
  if (!a) return;
  const QRect dest = DevRect(QRect(QPoint(rc->left, rc->top), QPoint(rc->right - 1, rc->bottom - 1))) & a->box;
  if (dest.isEmpty()) return;
  for (const QRect& r : a->rects) {
    const QRect q = r & dest;
    if (q.isEmpty()) continue;
    for (int y = q.top(); y <= q.bottom(); ++y) f(a->Row(y) + q.left(), q.width());
    MarkDrawn(d, q);
  }
}

int FillRect(HDC h, const RECT* rc, HBRUSH brush) {
  DC* d = FindDC(h);
  GdiObj* b = Obj(brush);
  if (!d || !rc || !b) return 0;
  if (!Target(d) || b->style == BS_NULL) return 1;
  uint32_t c = PixelOf(b->color);
  if (IsMonoDC(d)) c = c ? 0xFFFFFF : 0;
  if (c == 0 && d->window && d->window->drawn.InkKnown()) {
    // Black over a window that is black but for its ink: only the ink needs
    // painting over (a new full-screen window's first fills cost nothing).
    const DrawArea* a = Area(d);
    if (a && a->single) {
      const QRect dest = DevRect(QRect(QPoint(rc->left, rc->top), QPoint(rc->right - 1, rc->bottom - 1))) & a->box;
      const QRect q = dest & d->window->drawn.Ink();
      for (int y = q.top(); y <= q.bottom(); ++y) std::fill_n(a->Row(y) + q.left(), q.width(), 0xFF000000u);
      d->window->drawn.Blacked(dest);
      return 1;
    }
  }
  ForEachRow(d, rc, [c](QRgb* row, int n) { std::fill_n(row, n, 0xFF000000u | c); });
  return 1;
}

BOOL InvertRect(HDC h, const RECT* rc) {
  DC* d = FindDC(h);
  if (!d || !rc) return FALSE;
  if (!Target(d)) return FALSE;
  ForEachRow(d, rc, [](QRgb* row, int n) {
    for (int x = 0; x < n; ++x) row[x] = 0xFF000000u | (~row[x] & 0xFFFFFF);
  });
  return TRUE;
}

HRGN CreateRectRgn(int l, int t, int r, int b) {
  auto* o = new GdiObj();
  o->kind = ObjKind::Region;
  if (r > l && b > t) o->region = QRegion(l, t, r - l, b - t);
  return NewObj(o);
}

int SelectClipRgn(HDC h, HRGN rgn) {
  DC* d = FindDC(h);
  if (!d) return ERROR;
  GdiObj* o = Obj(rgn);
  ForgetArea(d);
  if (!o) {
    d->hasClip = false;
    d->clip = QRegion();
    return SIMPLEREGION;
  }
  d->hasClip = true;
  d->clip = o->region;
  return o->region.isEmpty() ? NULLREGION : SIMPLEREGION;
}

COLORREF SetBkColor(HDC h, COLORREF c) {
  DC* d = FindDC(h);
  if (!d) return (COLORREF)-1;
  COLORREF old = d->bk;
  d->bk = c;
  return old;
}
COLORREF GetBkColor(HDC h) {
  DC* d = FindDC(h);
  return d ? d->bk : (COLORREF)-1;
}
COLORREF SetTextColor(HDC h, COLORREF c) {
  DC* d = FindDC(h);
  if (!d) return (COLORREF)-1;
  COLORREF old = d->text;
  d->text = c;
  return old;
}
int SetBkMode(HDC h, int mode) {
  DC* d = FindDC(h);
  if (!d) return 0;
  int old = d->bkMode;
  d->bkMode = mode;
  return old;
}

static QFont DefaultFont() {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(13);
  f.setBold(true);
  return f;
}

int DrawTextA(HDC h, LPCSTR text, int length, RECT* rc, UINT format) {
  DC* d = FindDC(h);
  if (!d || !text || !rc) return 0;
  QString s = length < 0 ? FromAnsi(text) : QString::fromLatin1(text, length);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  int flags = 0;
  flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  if (format & DT_SINGLELINE)
    flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  else
    flags |= Qt::AlignTop;
  if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
  QRect box(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top);
  QRect need;
  if (format & (DT_CALCRECT | DT_NOCLIP)) need = QFontMetrics(DefaultFont()).boundingRect(box, flags, s);
  if (format & DT_CALCRECT) {
    rc->right = rc->left + need.width();
    rc->bottom = rc->top + need.height();
    return need.height();
  }
  // The text is laid out once, by the drawing, which also tells its bounds:
  // what changed is those bounds (and a pixel or two of smoothing).
  QRect changed = (format & DT_NOCLIP) ? need : box;
  bool drawn = false;
  WithPainter(d, [&](QPainter& p) {
    p.setFont(DefaultFont());
    p.setPen(QColor(ToRgb(d->text)));
    if (d->bkMode == OPAQUE) {
      p.setBackgroundMode(Qt::OpaqueMode);
      p.setBackground(QColor(ToRgb(d->bk)));
    }
    if (!(format & DT_NOCLIP)) p.setClipRect(box, Qt::IntersectClip);
    p.drawText(box, flags, s, &need);
    drawn = true;
    changed = need.adjusted(-2, -2, 2, 2);
    if (!(format & DT_NOCLIP)) changed &= box;
  }, changed);
  if (!drawn) need = QFontMetrics(DefaultFont()).boundingRect(box, flags, s);
  return need.height();
}

BOOL TextOutA(HDC h, int x, int y, LPCSTR text, int length) {
  DC* d = FindDC(h);
  if (!d || !text) return FALSE;
  QString s = QString::fromLatin1(text, length < 0 ? (int)strlen(text) : length);
  QFontMetrics fm(DefaultFont());
  QRect box(x, y, fm.horizontalAdvance(s) + 1, fm.height());
  WithPainter(d, [&](QPainter& p) {
    p.setFont(DefaultFont());
    if (d->bkMode == OPAQUE) p.fillRect(box, QColor(ToRgb(d->bk)));
    p.setPen(QColor(ToRgb(d->text)));
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop, s);
  }, box);
  return TRUE;
}

// A true-colour screen has no palette: these calls only keep the protocol.
HPALETTE SelectPalette(HDC h, HPALETTE pal, BOOL) {
  DC* d = FindDC(h);
  if (!d) return nullptr;
  HPALETTE old = d->palette;
  d->palette = pal;
  return old;
}
UINT RealizePalette(HDC) { return 0; }

BOOL SetRect(RECT* r, int l, int t, int rr, int b) {
  if (!r) return FALSE;
  *r = RECT{l, t, rr, b};
  return TRUE;
}
BOOL PtInRect(const RECT* r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

int TestRectangleCalls() { return g_rectangleCalls; }
void TestResetRectangleCalls() { g_rectangleCalls = 0; }
