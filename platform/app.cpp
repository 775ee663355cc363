// The one application object of the process.
#include <QApplication>

#include "platform/internal.h"

int PlatformInit(int& argc, char** argv) {
  static int keptArgc = argc;
  static QApplication* app = new QApplication(keptArgc, argv);
  app->setQuitOnLastWindowClosed(false);
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  return 0;
}

int PlatformInitForTests(int argc, char** argv) {
  static int keptArgc = argc;
  return PlatformInit(keptArgc, argv);
}

void TestEnable() { plat::g_test = true; }
bool TestEnabled() { return plat::g_test; }
