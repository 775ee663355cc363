// Painting: a window's update region, grown by InvalidateRect and given to
// the game's WM_PAINT through BeginPaint and EndPaint.
#include "platform/internal.h"

using namespace plat;

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
