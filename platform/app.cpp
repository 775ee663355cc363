// The one application object of the process, and the desktop's requests to
// end it.
#include <QApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <string>
#include <unistd.h>

#include "platform/internal.h"

namespace plat {
bool g_loopIdle = false;
bool g_test = false;

namespace {
int g_signalPipe[2] = {-1, -1};
volatile sig_atomic_t g_endRequested = 0;
void (*g_onClose)() = nullptr;
void (*g_onSave)() = nullptr;

// Only async-signal-safe work here: note the request and wake the loop.
void OnEndSignal(int) {
  g_endRequested = 1;
  if (g_signalPipe[1] >= 0) {
    char c = 1;
    ssize_t r = write(g_signalPipe[1], &c, 1);
    (void)r;
  }
}

void EndAtOnce() {
  if (g_onSave) g_onSave();
  fflush(nullptr);
  _exit(0);
}

// Runs in the loop's thread when a signal has arrived.
void OnSignalWake() {
  char buffer[64];
  while (read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
  }
  if (!g_endRequested) return;
  // The idle loop takes the request itself, right after this event.
  if (g_loopIdle) return;
  EndAtOnce();
}
}  // namespace

void InstallSignalHandlers() {
  struct sigaction sa {};
  sa.sa_handler = OnEndSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &sa, nullptr);
}

bool TakeEndRequest() {
  if (!g_endRequested) return false;
  g_endRequested = 0;
  return true;
}

void RunEndRequest() {
  if (g_onClose)
    g_onClose();
  else
    PostQuitMessage(0);
}

static void WatchSignals(QObject* owner) {
  if (g_signalPipe[0] >= 0 || pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { OnSignalWake(); });
  InstallSignalHandlers();
}
}  // namespace plat

void SetEndRequestHandlers(void (*close)(), void (*save)()) {
  plat::g_onClose = close;
  plat::g_onSave = save;
}

void UseFocusStyle();  // focus_style.cpp

static QApplication* MakeApplication(int& argc, char** argv) {
  static int keptArgc = argc;
  static QApplication* app = new QApplication(keptArgc, argv);
  app->setQuitOnLastWindowClosed(false);
  UseFocusStyle();
  if (DesktopEntryName) QGuiApplication::setDesktopFileName(QString::fromLatin1(DesktopEntryName()));
  plat::WatchActivation(app);
  QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  return app;
}

std::string CommandLineOf(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

// A note to show the player, given before every other word of the command
// line as "--note TEXT" (the installed launchers give one when the player's
// results cannot be kept); the two words are no part of the game's command
// line.
static std::string g_startUpNote;
static bool g_hasStartUpNote = false;

const char* StartUpNote() { return g_hasStartUpNote ? g_startUpNote.c_str() : nullptr; }

static void TakeStartUpNote(int& argc, char** argv) {
  if (argc < 3 || strcmp(argv[1], "--note") != 0) return;
  g_startUpNote = argv[2];
  g_hasStartUpNote = true;
  for (int i = 3; i <= argc; ++i) argv[i - 2] = argv[i];  // argv[argc] is the null that ends it
  argc -= 2;
}

// The toolkit's accessibility bridge asks the session bus for the
// accessibility bus as soon as the first text is set, and with no session
// bus named in the environment the bus library forks dbus-launch to start
// one.  An address no transport takes makes both fail at once, without a
// connection or a child process; the accessibility bus is not named either.
static void KeepOffDesktopServices() {
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  unsetenv("AT_SPI_BUS_ADDRESS");
  unsetenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
  setenv("NO_AT_BRIDGE", "1", 1);  // the same for a GTK-based platform theme
}

int PlatformInit(int& argc, char** argv) {
  TakeStartUpNote(argc, argv);
  if (AsksNoDesktopServices && AsksNoDesktopServices()) KeepOffDesktopServices();
  // The program's other threads are short helpers (a decode at start-up,
  // sound, the toolkit's event reader).  One heap for all of them keeps what
  // a finished helper freed from staying stranded in a heap of its own.
  mallopt(M_ARENA_MAX, 1);
  // The program's own start-up work runs beside the connection to the
  // desktop, which takes a while.  The locale the toolkit sets first thing is
  // set here already, so that it does not change under a helper thread.
  if (PreStartUp) {
    setlocale(LC_ALL, "");
    PreStartUp(CommandLineOf(argc, argv).c_str());
  }
  plat::WatchSignals(MakeApplication(argc, argv));
  // Window images and bitmaps hold the screen's own pixels.
  if (QScreen* screen = QGuiApplication::primaryScreen()) plat::g_scale = screen->devicePixelRatio();
  return 0;
}

void ReturnFreedMemory() { malloc_trim(0); }

// Tests keep the default signal handling, so that a test runner can stop them.
int PlatformInitForTests(int argc, char** argv) {
  MakeApplication(argc, argv);
  return 0;
}

void TestEnable() { plat::g_test = true; }
void TestSetScale(double scale) {
  plat::g_scale = scale > 0 ? scale : 1.0;
  plat::TargetsChanged();
}
bool TestEnabled() { return plat::g_test; }
