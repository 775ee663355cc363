// The mine field's menu entry, as the running game gives it to the desktop.
#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(FieldDesktopEntry, TheMineFieldIsKnownByItsDesktopId) {
  EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), "io.github.swapster.Hotfield");
}
