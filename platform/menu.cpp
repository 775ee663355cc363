// Menus: built from the registered templates, attached to a window as its
// menu bar, and rewritten, checked and enabled item by item.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcutEvent>
#include <QTimer>
#include <algorithm>
#include <set>

#include "platform/internal.h"
#include "platform/widgets.h"

using namespace plat;

// ---------------------------------------------------------------- menus
namespace plat {
static std::map<std::string, const MenuTemplateItem*> g_menuTemplates;
static std::set<Menu*> g_menus;

Menu* GetMenuData(HMENU h) {
  auto* m = reinterpret_cast<Menu*>(h);
  return g_menus.count(m) ? m : nullptr;
}

static std::shared_ptr<Menu> BuildMenu(const MenuTemplateItem*& it, int depth) {
  auto m = std::make_shared<Menu>();
  while (it->text && it->depth >= depth) {
    if (it->depth > depth) {  // malformed: skip
      ++it;
      continue;
    }
    MenuItem item;
    item.text = it->text;
    item.id = it->id;
    item.flags = it->flags;
    ++it;
    if (item.flags & MF_POPUP) item.popup = BuildMenu(it, depth + 1);
    m->items.push_back(std::move(item));
  }
  return m;
}

static std::vector<std::shared_ptr<Menu>> g_menuRoots;

// A closing menu may leave the desktop's keyboard focus nowhere: once it has
// closed, the window that owns the menu takes the keyboard again.
static void ReturnKeyboardAfterMenu(Window* w) {
  if (g_test) return;
  QTimer::singleShot(0, [w]() {
    if (std::find(g_windows.begin(), g_windows.end(), w) == g_windows.end() || w->destroyed || !w->host) return;
    QWidget* top = w->host->window();
    if (top->isVisible()) top->activateWindow();
  });
}

// A menu bar's underlined letters (`key` 'A' to 'Z' or '0' to '9', which are
// also the toolkit's key codes).  Where a menu and a command of the bar share
// a letter, Alt and the letter opens the menu: the command is still chosen
// from the bar with the arrows and Enter, while a menu has no other key.
static QAction* MnemonicTarget(QMenuBar* bar, int key) {
  const QKeySequence wanted(QKeyCombination(Qt::AltModifier, Qt::Key(key)));
  QAction* command = nullptr;
  for (QAction* a : bar->actions()) {
    if (!a->isVisible() || !a->isEnabled() || a->isSeparator() || QKeySequence::mnemonic(a->text()) != wanted)
      continue;
    if (a->menu()) return a;
    if (!command) command = a;
  }
  return command;
}

static bool OpenMnemonic(QMenuBar* bar, int key) {
  QAction* a = MnemonicTarget(bar, key);
  if (!a) return false;
  if (QMenu* menu = a->menu()) {
    // Opened from the keyboard, the menu starts on its first item.
    bar->setActiveAction(a);
    for (QAction* item : menu->actions())
      if (!item->isSeparator() && item->isVisible() && item->isEnabled()) {
        menu->setActiveAction(item);
        break;
      }
  } else {
    a->trigger();
  }
  return true;
}

namespace {
// The toolkit gives a letter shared on the bar to whichever item comes
// first; this bar gives it to the menu, as the keyboard path above does.
class MenuBar : public QMenuBar {
 public:
  using QMenuBar::QMenuBar;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::Shortcut) {
      auto* se = static_cast<QShortcutEvent*>(e);
      const QKeyCombination k = se->key()[0];
      if (se->isAmbiguous() && k.keyboardModifiers() == Qt::AltModifier && OpenMnemonic(this, k.key()))
        return true;
    }
    return QMenuBar::event(e);
  }
};
}  // namespace

bool OpenMenuByMnemonic(Window* w, int key) {
  if (!w->host || !((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) return false;
  for (QMenuBar* bar : w->host->window()->findChildren<QMenuBar*>())
    if (bar->isVisible() && OpenMnemonic(bar, key)) return true;
  return false;
}

static QString MenuText(const std::string& t) {
  // "\t" separates an accelerator hint; keep it as Qt shows it.
  return FromAnsi(t.c_str());
}

// Choosing an item sends its command.  The toolkit flips a checkable item's
// mark when it is chosen; here the marks are the program's alone
// (CheckMenuItem), so the flip is undone before the command goes out.
static void ConnectCommand(QAction* a, Window* w, UINT id) {
  QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
  QObject::connect(a, &QAction::triggered, a, [a, w, id](bool checked) {
    if (a->isCheckable()) a->setChecked(!checked);
    if (!w || w->destroyed) return;
    PostInput(w, WM_COMMAND, id, 0);
    ReturnKeyboardAfterMenu(w);
  });
}

static void FillQMenu(QWidget* target, Window* w, Menu* m) {
  for (MenuItem& item : m->items) {
    if (item.flags & MF_SEPARATOR) {
      if (auto* qm = qobject_cast<QMenu*>(target)) item.action = qm->addSeparator();
      continue;
    }
    if (item.popup) {
      auto* sub = new QMenu(MenuText(item.text), target);
      FillQMenu(sub, w, item.popup.get());
      if (auto* qm = qobject_cast<QMenu*>(target))
        item.action = qm->addMenu(sub);
      else if (auto* bar = qobject_cast<QMenuBar*>(target))
        item.action = bar->addMenu(sub);
    } else {
      auto* a = new QAction(MenuText(item.text), target);
      ConnectCommand(a, w, item.id);
      a->setCheckable(true);
      a->setChecked(item.flags & MF_CHECKED);
      a->setCheckable(item.flags & MF_CHECKED);
      a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
      target->addAction(a);
      item.action = a;
    }
  }
}

static void ClearActions(Menu* m) {
  for (MenuItem& item : m->items) {
    item.action = nullptr;
    if (item.popup) ClearActions(item.popup.get());
  }
}

void AttachMenu(Window* w, Menu* m) {
  // A dialog keeps its client size: its menu bar comes on top of it.
  int before = MenuBarHeight(w);
  if (w->menu && w->menu != m) {
    Menu* old = w->menu;
    ClearActions(old);
    if (old->bar) {
      old->bar->hide();
      old->bar->deleteLater();
    }
    old->bar = nullptr;
    old->attached = nullptr;
    w->menu = nullptr;
  }
  if (m && w->menu != m) {
    if (m->attached) AttachMenu(m->attached, nullptr);
    m->attached = w;
    w->menu = m;
    m->bar = new MenuBar(w->host);
    m->bar->setNativeMenuBar(false);
    FillQMenu(m->bar, w, m);
    m->bar->show();
  }
  if (w->isDialog) w->height = std::max(0, w->height + MenuBarHeight(w) - before);
  ApplyGeometry(w);
}

// Finds an item by command id (or by position in `m` itself).
static MenuItem* FindItem(Menu* m, UINT pos, UINT flags) {
  if (flags & MF_BYPOSITION) return pos < m->items.size() ? &m->items[pos] : nullptr;
  for (MenuItem& item : m->items) {
    if (!item.popup && !(item.flags & MF_SEPARATOR) && item.id == pos) return &item;
    if (item.popup)
      if (MenuItem* f = FindItem(item.popup.get(), pos, flags)) return f;
  }
  return nullptr;
}

}  // namespace plat

void RegisterMenuTemplate(const char* name, const MenuTemplateItem* items) {
  g_menuTemplates[QString(name).toLower().toStdString()] = items;
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name) {
  if (!name) return nullptr;
  auto it = g_menuTemplates.find(QString(name).toLower().toStdString());
  if (it == g_menuTemplates.end()) return nullptr;
  const MenuTemplateItem* p = it->second;
  auto root = BuildMenu(p, 0);
  g_menuRoots.push_back(root);
  g_menus.insert(root.get());
  return reinterpret_cast<HMENU>(root.get());
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  Window* w = Win(hwnd);
  if (!w) return FALSE;
  AttachMenu(w, GetMenuData(menu));
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  Window* w = Win(hwnd);
  return w && w->menu ? reinterpret_cast<HMENU>(w->menu) : nullptr;
}

BOOL DestroyMenu(HMENU menu) {
  Menu* m = GetMenuData(menu);
  if (!m) return FALSE;
  if (m->attached) AttachMenu(m->attached, nullptr);
  g_menus.erase(m);
  g_menuRoots.erase(std::remove_if(g_menuRoots.begin(), g_menuRoots.end(),
                                   [m](const std::shared_ptr<Menu>& r) { return r.get() == m; }),
                    g_menuRoots.end());
  return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR newId, LPCSTR newText) {
  Menu* m = GetMenuData(menu);
  if (!m) return FALSE;
  MenuItem* item = FindItem(m, position, flags);
  if (!item) return FALSE;
  item->id = (UINT)newId;
  item->text = newText ? newText : "";
  item->flags = (item->flags & MF_POPUP) | (flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR));
  if (item->action) {
    item->action->setText(MenuText(item->text));
    item->action->setCheckable(item->flags & MF_CHECKED);
    item->action->setChecked(item->flags & MF_CHECKED);
    item->action->setEnabled(!(item->flags & (MF_GRAYED | MF_DISABLED)));
    // The command id may change with the text.
    ConnectCommand(item->action, m->attached, item->id);
  }
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
  Menu* m = GetMenuData(menu);
  if (!m) return (DWORD)-1;
  MenuItem* item = FindItem(m, id, check & MF_BYPOSITION);
  if (!item) return (DWORD)-1;
  DWORD old = item->flags & MF_CHECKED;
  item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  if (item->action) {
    item->action->setCheckable(true);
    item->action->setChecked(check & MF_CHECKED);
  }
  return old;
}

BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  Menu* m = GetMenuData(menu);
  if (!m) return FALSE;
  MenuItem* item = FindItem(m, id, enable & MF_BYPOSITION);
  if (!item) return FALSE;
  item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  if (item->action) item->action->setEnabled(!(enable & (MF_GRAYED | MF_DISABLED)));
  return TRUE;
}

int GetMenuStringA(HMENU menu, UINT id, LPSTR text, int maxCount, UINT flags) {
  Menu* m = GetMenuData(menu);
  MenuItem* item = m ? FindItem(m, id, flags) : nullptr;
  if (!item) return 0;
  if (!text || maxCount <= 0) return (int)item->text.size();
  int n = std::min<int>((int)item->text.size(), maxCount - 1);
  memcpy(text, item->text.data(), n);
  text[n] = 0;
  return n;
}

BOOL DrawMenuBar(HWND) { return TRUE; }
