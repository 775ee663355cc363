// Device contexts and drawing.  Window DCs draw into the window's backing
// image, memory DCs into the bitmap selected into them.  Copies, lines and
// rectangles are done pixel by pixel so that raster operations, monochrome
// conversions and clipping behave exactly as the game expects.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <set>

#include "platform/internal.h"
#include "platform/testing.h"

namespace plat {

static std::set<GdiObj*> g_objects;
static std::set<DC*> g_dcs;
static int g_rectangleCalls = 0;

GdiObj* Obj(HGDIOBJ h) {
  auto* o = reinterpret_cast<GdiObj*>(h);
  return g_objects.count(o) ? o : nullptr;
}
HGDIOBJ NewObj(GdiObj* o) {
  g_objects.insert(o);
  return reinterpret_cast<HGDIOBJ>(o);
}
DC* GetDCData(HDC h) {
  auto* d = reinterpret_cast<DC*>(h);
  return g_dcs.count(d) ? d : nullptr;
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

static GdiObj* DefaultMonoBitmap() {
  auto* o = new GdiObj();
  o->kind = ObjKind::Bitmap;
  o->mono = true;
  o->image = QImage(1, 1, QImage::Format_RGB32);
  o->image.fill(Qt::black);
  NewObj(o);
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

QImage* Target(DC* dc) {
  if (dc->window) return &dc->window->backing;
  if (dc->bitmap) return &dc->bitmap->image;
  return nullptr;
}

QRegion DrawableRegion(DC* dc) {
  QImage* img = Target(dc);
  if (!img) return QRegion();
  if (dc->areaValid && dc->areaSize == img->size()) return dc->area;
  QRegion r(0, 0, img->width(), img->height());
  if (dc->window) {
    int cw, ch;
    ClientSize(dc->window, &cw, &ch);
    r &= QRegion(0, 0, cw, ch);
  }
  if (dc->hasClip) r &= dc->clip;
  if (dc->hasPaintClip) r &= dc->paintClip;
  dc->area = r;
  dc->areaSize = img->size();
  dc->areaValid = true;
  return r;
}

void MarkDrawn(DC* dc, const QRect& r) {
  if (dc->window && !r.isEmpty()) dc->window->drawn |= r;
}

static bool IsMonoDC(DC* dc) { return dc->memory && dc->bitmap && dc->bitmap->mono; }

}  // namespace plat

using namespace plat;

HDC GetDC(HWND hwnd) {
  DC* d = NewDC();
  if (hwnd) {
    Window* w = Win(hwnd);
    if (!w) {
      g_dcs.erase(d);
      delete d;
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
  DC* d = GetDCData(h);
  if (!d || d->memory) return 0;
  if (d->window) d->window->dcCount--;
  g_dcs.erase(d);
  delete d;
  FlushScreen();
  return 1;
}

HDC CreateCompatibleDC(HDC) {
  DC* d = NewDC();
  d->memory = true;
  d->bitmap = d->ownBitmap = DefaultMonoBitmap();
  d->bitmap->selectedCount++;
  return reinterpret_cast<HDC>(d);
}

BOOL DeleteDC(HDC h) {
  DC* d = GetDCData(h);
  if (!d) return FALSE;
  if (d->memory && d->bitmap) d->bitmap->selectedCount--;
  if (d->ownBitmap && d->ownBitmap->selectedCount == 0) {
    g_objects.erase(d->ownBitmap);
    delete d->ownBitmap;
  }
  g_dcs.erase(d);
  delete d;
  return TRUE;
}

static HBITMAP MakeBitmap(int w, int h, bool mono) {
  if (w <= 0 || h <= 0 || (long long)w * h > 100000000LL) return nullptr;
  auto* o = new GdiObj();
  o->kind = ObjKind::Bitmap;
  o->mono = mono;
  o->image = QImage(w, h, QImage::Format_RGB32);
  if (o->image.isNull()) {
    delete o;
    return nullptr;
  }
  o->image.fill(Qt::black);
  return NewObj(o);
}

HBITMAP CreateCompatibleBitmap(HDC h, int width, int height) {
  DC* d = GetDCData(h);
  return MakeBitmap(width, height, d && IsMonoDC(d));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits, const void*) {
  return MakeBitmap(width, height, planes * bits == 1);
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
  DC* d = GetDCData(h);
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
      d->areaValid = false;
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
    b.bmWidth = o->image.width();
    b.bmHeight = o->image.height();
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
  DC* d = GetDCData(h);
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
static inline uint32_t ApplyRop(DWORD rop, uint32_t s, uint32_t d) {
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

// Copies with nearest-neighbour scaling.  Pixels of the source outside its
// bitmap are left out, as the desktop does.
static BOOL Copy(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
  DC* dd = GetDCData(dst);
  DC* sd = src ? GetDCData(src) : nullptr;
  if (!dd) return FALSE;
  QImage* di = Target(dd);
  if (!di) return FALSE;
  bool needsSource = !(rop == BLACKNESS || rop == WHITENESS);
  QImage* si = sd ? Target(sd) : nullptr;
  if (needsSource && !si) return FALSE;
  if (w == 0 || h == 0 || (needsSource && (sw == 0 || sh == 0))) return TRUE;
  // Negative sizes mirror; normalise to positive extents with a flip flag.
  bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
  if (w < 0) { x += w; w = -w; }
  if (h < 0) { y += h; h = -h; }
  if (sw < 0) { sx += sw; sw = -sw; }
  if (sh < 0) { sy += sh; sh = -sh; }
  bool srcMono = sd && IsMonoDC(sd);
  bool dstMono = IsMonoDC(dd);
  uint32_t srcBk = sd ? (ToRgb(sd->bk) & 0xFFFFFF) : 0;
  uint32_t dstText = ToRgb(dd->text) & 0xFFFFFF, dstBk = ToRgb(dd->bk) & 0xFFFFFF;
  QRegion area = DrawableRegion(dd) & QRegion(x, y, w, h);
  for (const QRect& r : area) {
    for (int py = r.top(); py <= r.bottom(); ++py) {
      int oy = py - y;
      if (flipY) oy = h - 1 - oy;
      int srow = sy + (int)(((long long)oy * sh) / h);
      QRgb* drow = reinterpret_cast<QRgb*>(di->scanLine(py));
      const QRgb* srowp = nullptr;
      if (needsSource) {
        if (srow < 0 || srow >= si->height()) continue;
        srowp = reinterpret_cast<const QRgb*>(si->constScanLine(srow));
      }
      for (int px = r.left(); px <= r.right(); ++px) {
        uint32_t s = 0;
        if (needsSource) {
          int ox = px - x;
          if (flipX) ox = w - 1 - ox;
          int scol = sx + (int)(((long long)ox * sw) / w);
          if (scol < 0 || scol >= si->width()) continue;
          s = srowp[scol] & 0xFFFFFF;
          if (srcMono && !dstMono)
            s = s ? dstBk : dstText;
          else if (!srcMono && dstMono)
            s = (s == srcBk) ? 0xFFFFFF : 0;
        }
        uint32_t d = drow[px] & 0xFFFFFF;
        uint32_t v = ApplyRop(rop, s, d) & 0xFFFFFF;
        if (dstMono) v = v ? 0xFFFFFF : 0;
        drow[px] = 0xFF000000u | v;
      }
    }
  }
  MarkDrawn(dd, area.boundingRect());
  return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
  return Copy(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

BOOL StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
  return Copy(dst, x, y, w, h, src, sx, sy, sw, sh, rop);
}

int SetStretchBltMode(HDC h, int mode) {
  DC* d = GetDCData(h);
  if (!d) return 0;
  int old = d->stretchMode;
  d->stretchMode = mode;
  return old;
}

static uint32_t DibPixel(const BYTE* bits, const BITMAPINFOHEADER& bh, int x, int y) {
  int w = bh.biWidth, h = std::abs(bh.biHeight);
  int row = bh.biHeight < 0 ? y : (h - 1 - y);
  if (bh.biBitCount == 32) {
    const BYTE* p = bits + ((size_t)row * w + x) * 4;
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16);
  }
  size_t stride = ((size_t)w * 3 + 3) & ~(size_t)3;
  const BYTE* p = bits + (size_t)row * stride + (size_t)x * 3;
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16);
}

int StretchDIBits(HDC h, int x, int y, int w, int hgt, int sx, int sy, int sw, int sh, const void* bits,
                  const BITMAPINFO* info, UINT, DWORD rop) {
  DC* d = GetDCData(h);
  if (!d || !bits || !info) return 0;
  const BITMAPINFOHEADER& bh = info->bmiHeader;
  if ((bh.biBitCount != 32 && bh.biBitCount != 24) || bh.biWidth <= 0 || bh.biHeight == 0) return 0;
  QImage* di = Target(d);
  if (!di || w <= 0 || hgt <= 0 || sw <= 0 || sh <= 0) return 0;
  int bw = bh.biWidth, bhgt = std::abs(bh.biHeight);
  // Source rows count from the top here (top-down view of the picture).
  bool mono = IsMonoDC(d);
  QRegion area = DrawableRegion(d) & QRegion(x, y, w, hgt);
  const BYTE* b = static_cast<const BYTE*>(bits);
  for (const QRect& r : area)
    for (int py = r.top(); py <= r.bottom(); ++py) {
      int srow = sy + (int)(((long long)(py - y) * sh) / hgt);
      if (srow < 0 || srow >= bhgt) continue;
      QRgb* drow = reinterpret_cast<QRgb*>(di->scanLine(py));
      for (int px = r.left(); px <= r.right(); ++px) {
        int scol = sx + (int)(((long long)(px - x) * sw) / w);
        if (scol < 0 || scol >= bw) continue;
        uint32_t bgr = DibPixel(b, bh, scol, srow);
        // DIB pixels are blue, green, red in memory: 0x00RRGGBB as a word.
        uint32_t s = bgr & 0xFFFFFF;
        uint32_t v = ApplyRop(rop, s, drow[px] & 0xFFFFFF) & 0xFFFFFF;
        if (mono) v = v ? 0xFFFFFF : 0;
        drow[px] = 0xFF000000u | v;
      }
    }
  MarkDrawn(d, area.boundingRect());
  return hgt;
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT) {
  GdiObj* o = Obj(bitmap);
  if (!o || o->kind != ObjKind::Bitmap || !info) return 0;
  BITMAPINFOHEADER& bh = info->bmiHeader;
  int w = o->image.width(), h = o->image.height();
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
    const QRgb* row = reinterpret_cast<const QRgb*>(o->image.constScanLine(srcRow));
    BYTE* p = out + (size_t)i * w * 4;
    for (int x = 0; x < w; ++x) {
      p[x * 4 + 0] = qBlue(row[x]);
      p[x * 4 + 1] = qGreen(row[x]);
      p[x * 4 + 2] = qRed(row[x]);
      p[x * 4 + 3] = 0;
    }
  }
  return (int)done;
}

// ---------------------------------------------------------------- pixels, lines, shapes
static inline void Plot(DC* d, QImage* img, const QRegion& area, int x, int y, uint32_t pen, int rop2,
                        QRect* touched) {
  if (!area.contains(QPoint(x, y))) return;
  QRgb* p = reinterpret_cast<QRgb*>(img->scanLine(y)) + x;
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
  if (IsMonoDC(d)) v = v ? 0xFFFFFF : 0;
  *p = 0xFF000000u | v;
  *touched |= QRect(x, y, 1, 1);
}

COLORREF SetPixel(HDC h, int x, int y, COLORREF color) {
  DC* d = GetDCData(h);
  if (!d) return (COLORREF)-1;
  QImage* img = Target(d);
  if (!img) return (COLORREF)-1;
  if (x < 0 || y < 0 || x >= img->width() || y >= img->height()) return (COLORREF)-1;
  QRegion area = DrawableRegion(d);
  if (!area.contains(QPoint(x, y))) return (COLORREF)-1;
  uint32_t v = ToRgb(color) & 0xFFFFFF;
  if (IsMonoDC(d)) v = v ? 0xFFFFFF : 0;
  reinterpret_cast<QRgb*>(img->scanLine(y))[x] = 0xFF000000u | v;
  if (d->window) d->window->drawn |= QRect(x, y, 1, 1);
  return color;
}

COLORREF GetPixel(HDC h, int x, int y) {
  DC* d = GetDCData(h);
  QImage* img = d ? Target(d) : nullptr;
  if (!img || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return (COLORREF)-1;
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
  DC* d = GetDCData(h);
  if (!d) return FALSE;
  if (old) *old = d->pos;
  d->pos = POINT{x, y};
  return TRUE;
}

// A line from (x0, y0) up to but not including (x1, y1).
static void Line(DC* d, int x0, int y0, int x1, int y1) {
  QImage* img = Target(d);
  if (!img || !d->pen || d->pen->style == PS_NULL) return;
  QRegion area = DrawableRegion(d);
  uint32_t pen = ToRgb(d->pen->color) & 0xFFFFFF;
  QRect touched;
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy, x = x0, y = y0;
  int half = d->pen->width / 2;
  while (!(x == x1 && y == y1)) {
    if (d->pen->width <= 1) {
      Plot(d, img, area, x, y, pen, d->rop2, &touched);
    } else {
      for (int oy = -half; oy < d->pen->width - half; ++oy)
        for (int ox = -half; ox < d->pen->width - half; ++ox)
          Plot(d, img, area, x + ox, y + oy, pen, d->rop2 == R2_COPYPEN ? R2_COPYPEN : d->rop2, &touched);
    }
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
  MarkDrawn(d, touched);
}

BOOL LineTo(HDC h, int x, int y) {
  DC* d = GetDCData(h);
  if (!d) return FALSE;
  Line(d, d->pos.x, d->pos.y, x, y);
  d->pos = POINT{x, y};
  return TRUE;
}

BOOL Rectangle(HDC h, int l, int t, int r, int b) {
  DC* d = GetDCData(h);
  if (!d) return FALSE;
  if (d->window) g_rectangleCalls++;
  QImage* img = Target(d);
  if (!img) return FALSE;
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  if (r - l < 1 || b - t < 1) return TRUE;
  QRegion area = DrawableRegion(d);
  QRect touched;
  // Interior with the brush.
  if (d->brush && d->brush->style != BS_NULL) {
    uint32_t c = ToRgb(d->brush->color) & 0xFFFFFF;
    for (int y = t + 1; y < b - 1; ++y)
      for (int x = l + 1; x < r - 1; ++x) Plot(d, img, area, x, y, c, d->rop2, &touched);
  }
  // The border: every pixel once, so that drawing it twice in an
  // inverting mode restores what was there.
  if (d->pen && d->pen->style != PS_NULL) {
    uint32_t c = ToRgb(d->pen->color) & 0xFFFFFF;
    for (int x = l; x < r; ++x) {
      Plot(d, img, area, x, t, c, d->rop2, &touched);
      if (b - 1 != t) Plot(d, img, area, x, b - 1, c, d->rop2, &touched);
    }
    for (int y = t + 1; y < b - 1; ++y) {
      Plot(d, img, area, l, y, c, d->rop2, &touched);
      if (r - 1 != l) Plot(d, img, area, r - 1, y, c, d->rop2, &touched);
    }
  }
  MarkDrawn(d, touched);
  return TRUE;
}

static void WithPainter(DC* d, const std::function<void(QPainter&)>& draw, const QRect& bounds) {
  QImage* img = Target(d);
  if (!img) return;
  QRegion area = DrawableRegion(d);
  QPainter p(img);
  p.setClipRegion(area);
  draw(p);
  p.end();
  if (IsMonoDC(d)) {
    QRect b = bounds & img->rect();
    for (int y = b.top(); y <= b.bottom(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(img->scanLine(y));
      for (int x = b.left(); x <= b.right(); ++x) row[x] = (row[x] & 0xFFFFFF) ? 0xFFFFFFFF : 0xFF000000;
    }
  }
  MarkDrawn(d, (area & bounds).boundingRect());
}

BOOL Ellipse(HDC h, int l, int t, int r, int b) {
  DC* d = GetDCData(h);
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
  DC* d = GetDCData(h);
  if (!d) return 0;
  int old = d->rop2;
  d->rop2 = mode;
  return old;
}

int GetROP2(HDC h) {
  DC* d = GetDCData(h);
  return d ? d->rop2 : 0;
}

int FillRect(HDC h, const RECT* rc, HBRUSH brush) {
  DC* d = GetDCData(h);
  GdiObj* b = Obj(brush);
  if (!d || !rc || !b) return 0;
  QImage* img = Target(d);
  if (!img || b->style == BS_NULL) return 1;
  QRegion area = DrawableRegion(d) & QRegion(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top);
  uint32_t c = ToRgb(b->color) & 0xFFFFFF;
  if (IsMonoDC(d)) c = c ? 0xFFFFFF : 0;
  for (const QRect& r : area)
    for (int y = r.top(); y <= r.bottom(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(img->scanLine(y));
      for (int x = r.left(); x <= r.right(); ++x) row[x] = 0xFF000000u | c;
    }
  MarkDrawn(d, area.boundingRect());
  return 1;
}

BOOL InvertRect(HDC h, const RECT* rc) {
  DC* d = GetDCData(h);
  if (!d || !rc) return FALSE;
  QImage* img = Target(d);
  if (!img) return FALSE;
  QRegion area = DrawableRegion(d) & QRegion(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top);
  for (const QRect& r : area)
    for (int y = r.top(); y <= r.bottom(); ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(img->scanLine(y));
      for (int x = r.left(); x <= r.right(); ++x) row[x] = 0xFF000000u | (~row[x] & 0xFFFFFF);
    }
  MarkDrawn(d, area.boundingRect());
  return TRUE;
}

HRGN CreateRectRgn(int l, int t, int r, int b) {
  auto* o = new GdiObj();
  o->kind = ObjKind::Region;
  if (r > l && b > t) o->region = QRegion(l, t, r - l, b - t);
  return NewObj(o);
}

int SelectClipRgn(HDC h, HRGN rgn) {
  DC* d = GetDCData(h);
  if (!d) return ERROR;
  GdiObj* o = Obj(rgn);
  d->areaValid = false;
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
  DC* d = GetDCData(h);
  if (!d) return (COLORREF)-1;
  COLORREF old = d->bk;
  d->bk = c;
  return old;
}
COLORREF GetBkColor(HDC h) {
  DC* d = GetDCData(h);
  return d ? d->bk : (COLORREF)-1;
}
COLORREF SetTextColor(HDC h, COLORREF c) {
  DC* d = GetDCData(h);
  if (!d) return (COLORREF)-1;
  COLORREF old = d->text;
  d->text = c;
  return old;
}
int SetBkMode(HDC h, int mode) {
  DC* d = GetDCData(h);
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
  DC* d = GetDCData(h);
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
  QFontMetrics fm(DefaultFont());
  QRect need = fm.boundingRect(box, flags, s);
  if (format & DT_CALCRECT) {
    rc->right = rc->left + need.width();
    rc->bottom = rc->top + need.height();
    return need.height();
  }
  WithPainter(d, [&](QPainter& p) {
    p.setFont(DefaultFont());
    p.setPen(QColor(ToRgb(d->text)));
    if (d->bkMode == OPAQUE) {
      p.setBackgroundMode(Qt::OpaqueMode);
      p.setBackground(QColor(ToRgb(d->bk)));
    }
    if (!(format & DT_NOCLIP)) p.setClipRect(box, Qt::IntersectClip);
    p.drawText(box, flags, s);
  }, (format & DT_NOCLIP) ? need : box);
  return need.height();
}

BOOL TextOutA(HDC h, int x, int y, LPCSTR text, int length) {
  DC* d = GetDCData(h);
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
  DC* d = GetDCData(h);
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
