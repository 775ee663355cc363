// The yardstick of the start-up figure: the least a Qt program does to show
// the game's title.  It decodes the puzzle picture, scales it smoothly to
// the screen and keeps it (the game needs it for the first board), and shows
// the title picture centred on a black full-screen window.
//
//   startup_yardstick [picture folder]
#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace {
class TitleWindow : public QWidget {
 public:
  explicit TitleWindow(const QImage& title) : title_(title) { setAttribute(Qt::WA_OpaquePaintEvent); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage((width() - title_.width()) / 2, (height() - title_.height()) / 2, title_);
  }

 private:
  QImage title_;
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QImage puzzle = QImageReader(folder + QStringLiteral("/cathedra.bkg"))
                            .read()
                            .scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  TitleWindow window(QImage(QStringLiteral(":/TEXT/EGG.png")));
  window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  window.setGeometry(screen);
  window.show();
  const int code = app.exec();
  return puzzle.isNull() ? 1 : code;
}
