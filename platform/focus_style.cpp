// How dialogs, message boxes and file dialogs show which control has the
// keyboard: the desktop style draws everything as usual, and on top of it the
// focused control gets a focus frame two units wide in the selection colour,
// shown from the moment the control has the keyboard (the style itself waits
// for the first Tab), and the default button, which Enter presses, gets a
// dark border of the same width.
#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace {

constexpr qreal kMarkWidth = 2;  // desktop units: two screen pixels per unit and more on scaled screens

// A ring of kMarkWidth just inside `r`.
void DrawRing(QPainter* painter, const QRect& r, const QColor& colour, qreal radius) {
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, true);
  painter->setPen(QPen(colour, kMarkWidth));
  painter->setBrush(Qt::NoBrush);
  const qreal in = kMarkWidth / 2;
  painter->drawRoundedRect(QRectF(r).adjusted(in, in, -in, -in), radius, radius);
  painter->restore();
}

QColor FocusColour(const QPalette& palette) { return palette.color(QPalette::Active, QPalette::Highlight); }

class FocusStyle : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    if (element == PE_FrameFocusRect) {
      // Asked for only where a control has the keyboard (a check box's
      // text, a list's current row).
      DrawRing(painter, option->rect, FocusColour(option->palette), 2);
      return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element == PE_FrameLineEdit && (option->state & State_HasFocus))
      DrawRing(painter, option->rect, FocusColour(option->palette), 2);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton) return;
    // The style marks a push button's focus only by a hairline, and only
    // once Tab has been pressed: the frame goes just inside the button's edge.
    if (option->state & State_HasFocus)
      DrawRing(painter, option->rect.adjusted(3, 3, -3, -3), FocusColour(option->palette), 2);
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (button && (button->features & QStyleOptionButton::DefaultButton))
      DrawRing(painter, option->rect, option->palette.color(QPalette::WindowText), 3);
  }
};

}  // namespace

// The application's style: the desktop's own, with the marks above.
void UseFocusStyle() { QApplication::setStyle(new FocusStyle()); }
