// Device contexts and the objects drawn with: window DCs draw into the
// window's backing image, memory DCs into the bitmap selected into them.
// Here are the DCs and their drawable areas, the GDI objects (stock objects,
// pens, brushes, regions), clip regions, a DC's colours and modes, and the
// palette calls of a true-colour screen.  The drawing itself is in bitblt.cpp,
// shapes.cpp and text.cpp; the paths the game runs all the time work on whole
// rows and on the drawable area kept as plain rectangles, so that they run
// close to the speed of the memory.
#include <algorithm>
#include <unordered_set>

#include "platform/internal.h"

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
DC* g_lastDC = &g_noDC;
// Where the pixels set on a memory DC are noted: nowhere that is shown.
static DrawnArea g_unshown;

GdiObj* Obj(HGDIOBJ h) {
  auto* o = reinterpret_cast<GdiObj*>(h);
  return g_objects.count(o) ? o : nullptr;
}
HGDIOBJ NewObj(GdiObj* o) {
  g_objects.insert(o);
  return reinterpret_cast<HGDIOBJ>(o);
}
DC* LookUpDC(DC* d) {
  if (!g_dcs.count(d)) return nullptr;
  g_lastDC = d;
  return d;
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

QImage* Target(DC* dc) { return TargetOf(dc); }

// Makes the DC work its area out again before it next draws.  A DC's area
// counts only while its epoch is the current one; a new DC's never is.
void ForgetArea(DC* dc) {
  dc->areaValid = false;
  dc->area.epoch = 0;
  if (g_pixelDC == dc) g_pixelDC = nullptr;
}

const DrawArea* MakeArea(DC* dc, QImage* img) {
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

QRegion DrawableRegion(DC* dc) {
  const DrawArea* a = Area(dc);
  QRegion r;
  if (a) r.setRects(a->rects.data(), (int)a->rects.size());
  return r;
}

void MarkDrawn(DC* dc, const QRect& r) {
  if (dc->window) dc->window->drawn.Add(r);
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
    case LOGPIXELSX:
    case LOGPIXELSY:
      // 96 to the inch at a scale of 1; more screen pixels to a unit, more
      // to the inch, as a scaled desktop reports it.
      return (int)std::lround(96 * g_scale);
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
