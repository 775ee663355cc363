// Which control has the keyboard, as a player sees it in dialogs and message
// boxes: the focused button and the default button each carry a mark of
// their own, wider than a hairline, at once and at every scale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>

namespace {

// A 160 x 40 push button as the program's style draws it: with the keyboard
// (never moved by Tab yet), as the default button, or both.
QImage Button(bool focus, bool isDefault, qreal scale) {
  QPushButton widget(QStringLiteral("&Done"));
  widget.resize(160, 40);
  QStyleOptionButton option;
  option.initFrom(&widget);
  option.text = widget.text();
  option.rect = QRect(0, 0, 160, 40);
  option.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_Active;
  if (focus) option.state |= QStyle::State_HasFocus;
  if (isDefault) option.features |= QStyleOptionButton::DefaultButton;
  QImage image(int(160 * scale), int(40 * scale), QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::white);
  QPainter painter(&image);
  QApplication::style()->drawControl(QStyle::CE_PushButton, &option, &painter, &widget);
  return image;
}

int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

TEST(FocusMarks, TheFocusedAndTheDefaultButtonAreEachMarkedPlainly) {
  for (qreal scale : {1.0, 2.0}) {
    SCOPED_TRACE(scale);
    // A mark two units wide round at least 120 units of a button's edge.
    const int mark = int(2 * 120 * scale * scale);
    const QImage plain = Button(false, false, scale), focus = Button(true, false, scale);
    const QImage marked = Button(false, true, scale), both = Button(true, true, scale);
    EXPECT_GE(Differing(focus, plain), mark) << "the keyboard's button";
    EXPECT_GE(Differing(marked, plain), mark) << "the default button";
    EXPECT_GE(Differing(both, marked), mark) << "the default button with the keyboard";
    EXPECT_GE(Differing(focus, marked), mark) << "focus and default look different";
  }
}

}  // namespace
