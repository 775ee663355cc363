// The widgets behind a window: the host (the window itself, with its menu
// bar) and the canvas that shows the client area's backing image.
#pragma once

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "platform/internal.h"

using namespace plat;

// ---------------------------------------------------------------- widgets
class Canvas : public QWidget {
 public:
  Canvas(Window* w, QWidget* parent) : QWidget(parent), win_(w) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
  }
  Window* win_;

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (PaintsInStore(win_)) return;
    QPainter p(this);
    // The image holds device pixels: each rectangle of desktop units shows
    // its own pixels one to one.
    for (const QRect& r : e->region()) p.drawImage(QRectF(r), win_->backing, QRectF(DevRect(r)));
  }
  LPARAM Pos(QMouseEvent* e) {
    QPoint pt = e->position().toPoint();
    return MAKELPARAM((short)pt.x(), (short)pt.y());
  }
  void mousePressEvent(QMouseEvent* e) override {
    g_focus = Handle(win_);
    // A click brings the keyboard with it, also where no window manager
    // would hand it over.
    if (!g_test && !window()->isActiveWindow()) window()->activateWindow();
    if (e->button() == Qt::LeftButton) PostInput(win_, WM_LBUTTONDOWN, 1, Pos(e));
    if (e->button() == Qt::RightButton) PostInput(win_, WM_RBUTTONDOWN, 2, Pos(e));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) PostInput(win_, WM_LBUTTONUP, 0, Pos(e));
    if (e->button() == Qt::RightButton) PostInput(win_, WM_RBUTTONUP, 0, Pos(e));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (g_generationCancel) return;  // moves cancel nothing
    PostInput(win_, WM_MOUSEMOVE, 0, Pos(e));
  }
  void focusInEvent(QFocusEvent* e) override {
    // A window coming to the front hands the focus back to whatever had it
    // before; the game's own idea of the focus stays as it was.
    if (e->reason() != Qt::ActiveWindowFocusReason) g_focus = Handle(win_);
  }
};

inline int VirtualKey(QKeyEvent* e) {
  int k = e->key();
  bool keypad = e->modifiers() & Qt::KeypadModifier;
  if (keypad && k == Qt::Key_Minus) return VK_SUBTRACT;
  if (keypad && (k == Qt::Key_Period || k == Qt::Key_Comma || k == Qt::Key_Delete)) return VK_DECIMAL;
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return VK_F1 + (k - Qt::Key_F1);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  switch (k) {
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
  }
}

class HostWidget : public QWidget {
 public:
  explicit HostWidget(Window* w) : QWidget(nullptr), win_(w) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
  }
  Window* win_;
  bool programmatic = false;  // geometry changes made by the game itself

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    int vk = VirtualKey(e);
    if (!vk) return QWidget::keyPressEvent(e);
    // A key with Alt held is the menus', as on the desktop, never one of the
    // game's keys.  One the toolkit did not take itself waits its turn in
    // the queue, behind the keys before it (M, which brings the strip).
    if (e->modifiers() & Qt::AltModifier) {
      PostInput(win_, WM_SYSKEYDOWN, vk, 1 | (1 << 29));
      return;
    }
    if (win_->isDialog && !win_->controls.empty() && (vk == VK_RETURN || vk == VK_ESCAPE)) {
      DialogEnterOrEscape(win_, vk);
      return;
    }
    PostInput(win_, WM_KEYDOWN, vk, 1);
  }
  void focusInEvent(QFocusEvent* e) override {
    // A window coming to the front hands the focus back to whatever had it
    // before; the game's own idea of the focus stays as it was.
    if (e->reason() != Qt::ActiveWindowFocusReason) g_focus = Handle(win_);
  }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();  // the game decides, through WM_CLOSE
    if (win_->isDialog && !win_->controls.empty())
      PostInput(win_, WM_COMMAND, IDCANCEL, 0);
    else
      PostInput(win_, WM_CLOSE, 0, 0);
  }
  void resizeEvent(QResizeEvent*) override {
    if (programmatic || win_->destroyed) return;
    // The desktop resized the window (a sizing border, full screen,
    // maximised): follow it.
    const QRect fg = DesktopRect(win_);
    int cw, ch;
    ClientSize(win_, &cw, &ch);
    if (fg.width() == win_->width && fg.height() == win_->height && win_->canvas->size() == QSize(cw, ch)) return;
    win_->width = fg.width();
    win_->height = fg.height();
    ApplyGeometry(win_);
  }
  void moveEvent(QMoveEvent*) override {
    if (!programmatic && !win_->destroyed) FollowDesktopMove(win_);
  }
  void changeEvent(QEvent* e) override {
    if (e->type() == QEvent::WindowStateChange && !programmatic) {
      bool mini = windowState() & Qt::WindowMinimized;
      if (mini != win_->minimized) {
        win_->minimized = mini;
        int cw, ch;
        ClientSize(win_, &cw, &ch);
        PostInput(win_, WM_SIZE, mini ? SIZE_MINIMIZED : SIZE_RESTORED, MAKELPARAM(cw, ch));
      }
    }
    QWidget::changeEvent(e);
  }
};

