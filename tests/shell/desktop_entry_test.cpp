// The menu entry the running game gives the desktop as its own: docks and
// Wayland desktops match the windows to the installed entry by that name.
#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(DesktopEntry, ThePuzzleIsKnownByItsDesktopId) {
  EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), "io.github.swapster.Swapster");
}
