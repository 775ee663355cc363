// Bitmaps and bit copies: new bitmaps (black, on fresh zero pages when they
// are large, or over pixels the caller holds), BitBlt and StretchBlt with
// their raster operations and monochrome conversions, and device-independent
// pictures in and out.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

#include "platform/internal.h"

using namespace plat;

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
