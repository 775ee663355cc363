// Text: DrawTextA and TextOutA in the game's one font.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <cstring>

#include "platform/internal.h"

using namespace plat;

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
