// Pixels, lines, shapes and fills: SetPixel's short way for a run of pixels
// on one DC, pens and brushes, lines, rectangles and ellipses in the DC's
// raster mode, and rectangles filled or inverted.
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "platform/internal.h"
#include "platform/testing.h"

using namespace plat;

static int g_rectangleCalls = 0;

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

namespace plat {
void WithPainter(DC* d, const std::function<void(QPainter&)>& draw, const QRect& bounds) {
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

}  // namespace plat

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

int TestRectangleCalls() { return g_rectangleCalls; }
void TestResetRectangleCalls() { g_rectangleCalls = 0; }
