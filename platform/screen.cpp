// What reaches the screen: the parts of a window's image drawn since they
// were last shown, and the flush that shows them and takes in whatever the
// desktop delivered meanwhile.
#include <QCoreApplication>

#include "platform/internal.h"
#include "platform/widgets.h"

namespace plat {

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

}  // namespace plat

using namespace plat;

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
