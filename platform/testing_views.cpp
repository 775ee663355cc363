// Test hooks that read what the player sees of menus and dialog texts, as
// the desktop lays them out.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <climits>

#include "platform/internal.h"
#include "platform/testing.h"
#include "platform/widgets.h"

using namespace plat;

std::vector<std::string> TestMenuShown(HWND window, int popup) {
  std::vector<std::string> out;
  Window* w = Win(window);
  if (!w || !w->menu || !w->menu->bar) return out;
  const QList<QAction*> bar = w->menu->bar->actions();
  if (popup < 0 || popup >= bar.size()) return out;
  QMenu* menu = QMenu::menuInAction(bar[popup]);
  if (!menu) return out;
  for (QAction* a : menu->actions()) {
    // A hidden item, or a separator the menu folds away, takes no room.
    if (!a->isVisible() || menu->actionGeometry(a).isEmpty()) continue;
    out.push_back(a->isSeparator() ? "-" : ToAnsi(a->text()));
  }
  return out;
}

std::vector<std::string> TestLabelsThatDoNotFit(HWND dialog) {
  std::vector<std::string> out;
  Window* w = Win(dialog);
  if (!w || !w->canvas) return out;
  for (QLabel* label : w->canvas->findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    const QRect room = label->geometry();
    const int flags = (label->wordWrap() ? Qt::TextWordWrap : 0) | int(label->alignment());
    const QRect need = QFontMetrics(label->font()).boundingRect(QRect(0, 0, room.width(), INT_MAX), flags,
                                                                label->text());
    if (need.width() > room.width() || need.height() > room.height()) out.push_back(ToAnsi(label->text()));
  }
  return out;
}

int TestLiveWidgets() { return (int)QApplication::allWidgets().size(); }
