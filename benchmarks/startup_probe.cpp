// Starts a program on the X server named by $DISPLAY and reports how long it
// took from its start to the title picture on the screen, and its peak
// memory once its start-up has settled:
//
//   startup_probe TITLE.png SETTLE_MS -- PROGRAM [ARGS...]
//
// prints "<milliseconds to the title> <peak memory in KiB>".  The title is
// taken as shown when the middle of the screen holds the middle of TITLE.png,
// drawn unscaled and centred, as both the game and its yardstick show it.
// The screen is looked at every two milliseconds, so that the probe takes
// next to no processor time from the program it watches.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Whether two images agree within a small tolerance (decoders may round a
// colour differently).
bool Alike(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > 3 || std::abs(qGreen(p) - qGreen(q)) > 3 || std::abs(qBlue(p) - qBlue(q)) > 3)
        return false;
    }
  return true;
}

long PeakKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5 || std::string(argv[3]) != "--") {
    fprintf(stderr, "usage: startup_probe TITLE.png SETTLE_MS -- PROGRAM [ARGS...]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const QImage title = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  const int settle = std::atoi(argv[2]);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (title.isNull() || !screen) return 2;
  const QSize s = screen->geometry().size();
  const int patch = 24;
  const QPoint origin((s.width() - title.width()) / 2, (s.height() - title.height()) / 2);
  const QPoint inTitle((title.width() - patch) / 2, (title.height() - patch) / 2);
  const QImage expected = title.copy(QRect(inTitle, QSize(patch, patch)));

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[4], argv + 4);
    _exit(127);
  }
  double shownAfter = -1;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
    const QPoint at = origin + inTitle;
    const QImage seen = screen->grabWindow(0, at.x(), at.y(), patch, patch).toImage().convertToFormat(QImage::Format_RGB32);
    if (Alike(seen, expected)) {
      shownAfter = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      break;
    }
    int status;
    if (waitpid(child, &status, WNOHANG) == child) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(settle));
  const long peak = PeakKiB(child);
  kill(child, SIGKILL);  // the figures are taken: no need to wait for an orderly end
  waitpid(child, nullptr, 0);
  printf("%.1f %ld\n", shownAfter, peak);
  return shownAfter < 0 ? 1 : 0;
}
