// Figures for the work the player waits on, each beside a yardstick measured
// in the same run: what the machine does for the same result with no layer
// in between.  Every figure is the median of several runs of processor time,
// the figure's and its yardstick's runs taken in turn.
//
//   cmake --build build --target benchmarks && build/benchmarks
//
// The pictures a player opens are timed from the command to the board, and
// each one's peak memory and what it leaves behind are printed beside them.
// The start-up figures (time to the title picture, peak memory) come from
// benchmarks/startup.sh, which runs the real program on an X server.
#include <malloc.h>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <ctime>
#include <filesystem>
#include <vector>

#include "common/random.h"
#include "common/shell_state.h"
#include "generators/generators.h"
#include "imaging/game_pictures.h"
#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "imaging/user_pictures.h"
#include "platform/internal.h"
#include "platform/testing.h"
#include "puzzle/board.h"
#include "puzzle/drawing.h"
#include "resources/templates.h"

int PlatformInitForTests(int argc, char** argv);

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
HWND g_window;

LRESULT CALLBACK Quiet(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

std::string DataFile(const char* name) {
  const char* dir = getenv("SWAPSTER_DATA");
  return std::string(dir ? dir : DATA_DIR) + "/" + name;
}

// The processor time the process spends on `f`, in all its threads: on a
// machine shared with other work this counts what the code costs, not how
// long it waited for a processor.
double Milliseconds(const std::function<void()>& f) {
  timespec a, b;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &a);
  f();
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &b);
  return (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Runs a figure and its yardstick in turn, `runs` times each after one
// warm-up run, and prints the medians, the ratio and the goal.
void Compare(const char* figure, const std::function<void()>& ours, const char* yardstick,
             const std::function<void()>& theirs, double goal, int runs, double* oursMedian = nullptr) {
  ours();
  theirs();
  std::vector<double> a, b;
  for (int i = 0; i < runs; ++i) {
    a.push_back(Milliseconds(ours));
    b.push_back(Milliseconds(theirs));
  }
  const double ma = Median(a), mb = Median(b), ratio = ma / mb;
  if (oursMedian != nullptr) *oursMedian = ma;
  printf("%-62s %9.3f ms | %-42s %9.3f ms | %6.2fx  goal <= %.1fx %s\n", figure, ma, yardstick, mb, ratio, goal,
         ratio <= goal ? "met" : "NOT MET");
  fflush(stdout);
}

// A QImage copy of a bitmap's pixels, for the yardsticks.
QImage ImageOf(HBITMAP bitmap) {
  QImage image = static_cast<plat::GdiObj*>(plat::Obj(bitmap))->image.copy();
  return image;
}

// ---------------------------------------------------------------- board repaint
void BoardRepaint() {
  PictureRecord record;
  if (!DecodePictureFile(DataFile("cathedra.bkg").c_str(), &record)) {
    printf("no picture at %s\n", DataFile("cathedra.bkg").c_str());
    return;
  }
  PuzzleBitmap = PictureToBitmap(&record, g_window, 0, 0, kWidth, kHeight);
  ReleaseRecord(&record);
  CardBackBitmap = LoadPictureBitmap(".cardback", &CardBackWidth, &CardBackHeight, g_window);
  SetBoardDefaults();
  Board->boardWidth = kWidth;
  Board->boardHeight = kHeight;
  Board->columns = Board->rows = Board->boardSize = 20;
  SeedRandom(7);
  ShuffleBoard();
  readyFlag = 1;
  titleScreenFlag = 0;

  const QImage picture = ImageOf(PuzzleBitmap), cardBack = ImageOf(CardBackBitmap);
  QImage frame(kWidth, kHeight, QImage::Format_RGB32);
  frame.fill(Qt::black);
  // The yardstick: the same 400 cells drawn by QPainter from the same
  // pictures into an image of the same size.
  auto painterCells = [&](bool faceDown) {
    QPainter p(&frame);
    for (int i = 0; i < 20; ++i)
      for (int j = 0; j < 20; ++j) {
        const RECT d = CellRect(i, j);
        const QRect dest(d.left, d.top, d.right - d.left, d.bottom - d.top);
        const int hi = Board->homeColumn[CellIndex(i, j)], hj = Board->homeRow[CellIndex(i, j)];
        if (faceDown && !(hi == i && hj == j)) {
          p.drawImage(dest, cardBack, cardBack.rect());
        } else {
          const RECT s = CellRect(hi, hj);
          p.drawImage(dest, picture, QRect(s.left, s.top, s.right - s.left, s.bottom - s.top));
        }
      }
  };
  for (int faceDown = 0; faceDown <= 1; ++faceDown) {
    Board->faceDown = faceDown;
    Compare(faceDown ? "full repaint, 20 x 20 board, 1920x1080, face down" : "full repaint, 20 x 20 board, 1920x1080, open",
            [] {
              HDC dc = GetDC(g_window);
              DrawBoard(dc);
              ReleaseDC(g_window, dc);
            },
            "400 QPainter cell copies", [&] { painterCells(faceDown); }, 2.0, 41);
  }

  // A same-size copy of the whole frame.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, kWidth, kHeight);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(memory, target);
  std::vector<uint32_t> from((size_t)kWidth * kHeight, 0x123456), to(from.size());
  Compare("same-size copy of a 1920x1080 bitmap", [&] { BlitBitmap(memory, PuzzleBitmap, 0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight); },
          "memcpy of the frame", [&] { memcpy(to.data(), from.data(), from.size() * 4); }, 1.5, 41);
  SelectObject(memory, old);
  DeleteObject(target);
  DeleteDC(memory);
  DeleteBitmapSlot(&PuzzleBitmap);
  DeleteBitmapSlot(&CardBackBitmap);
}

// ---------------------------------------------------------------- single pixels
void SinglePixels() {
  QImage rows(1024, 768, QImage::Format_RGB32);
  Compare("SetPixel over 1024x768",
          [] {
            HDC dc = GetDC(g_window);
            for (int y = 0; y < 768; ++y)
              for (int x = 0; x < 1024; ++x) SetPixel(dc, x, y, RGB(x & 255, y & 255, 90));
            ReleaseDC(g_window, dc);
          },
          "the same colours row by row into a QImage",
          [&] {
            for (int y = 0; y < 768; ++y) {
              QRgb* row = reinterpret_cast<QRgb*>(rows.scanLine(y));
              for (int x = 0; x < 1024; ++x) row[x] = qRgb(x & 255, y & 255, 90);
            }
          },
          20.0, 21);
}

// ---------------------------------------------------------------- the swap outline
// One frame of a swap's animation draws the two outlines of the last frame
// again (which wipes them, the mode being NOT XOR) and two new ones.
void OutlineFrame() {
  HDC dc = GetDC(g_window);
  SetROP2(dc, R2_NOTXORPEN);
  LOGBRUSH lb{BS_HOLLOW, 0, 0};
  HBRUSH hollow = CreateBrushIndirect(&lb);
  HGDIOBJ oldBrush = SelectObject(dc, hollow);
  const RECT a0{96, 54, 192, 108}, b0{960, 540, 1056, 594}, a1{121, 68, 217, 122}, b1{935, 526, 1031, 580};
  auto frame = [&] {
    for (const RECT& r : {a0, b0, a1, b1}) Rectangle(dc, r.left, r.top, r.right, r.bottom);
  };
  plat::Window* w = plat::Win(g_window);
  w->drawn.Take();
  frame();
  long long sent = 0;
  for (const QRect& r : w->drawn.Take()) sent += (long long)r.width() * r.height();
  // The outlines' own pixels: the four edges of each, counted once where
  // two outlines cross.
  QRegion outlines;
  QRect bounds;
  for (const RECT& r : {a0, b0, a1, b1}) {
    const QRect q(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    outlines += QRegion(q) - QRegion(q.adjusted(1, 1, -1, -1));
    bounds |= q;
  }
  long long own = 0;
  for (const QRect& r : outlines) own += (long long)r.width() * r.height();
  const long long box = (long long)bounds.width() * bounds.height();
  printf("%-62s %9lld px | %-42s %9lld px | %6.2fx  goal: only what changed %s\n",
         "a swap outline frame: pixels sent to the screen", sent, "the outlines' own pixels", own,
         (double)sent / own, sent <= own ? "met" : "NOT MET");
  printf("%-62s %9lld px   (%.0f %% of the screen)\n", "  (one bounding box of both outlines would send)", box,
         100.0 * box / ((double)kWidth * kHeight));
  frame();  // wipes this frame's outlines again
  SelectObject(dc, oldBrush);
  DeleteObject(hollow);
  ReleaseDC(g_window, dc);
}

// ---------------------------------------------------------------- generators
// The command's work without its questions: paint, take the window's
// pixels as the puzzle picture and make the screen bitmap from it.
void GeneratorToPicture(unsigned command) {
  TestSetTicks(123456);
  SeedRandom(99);
  HDC dc = GetDC(g_window);
  PaintGeneratedPicture(dc, command, kWidth, kHeight);
  RECT client{0, 0, kWidth, kHeight};
  if (PuzzlePicture.flags & PICTURE_HAS_DATA) ReleaseRecord(&PuzzlePicture);
  CapturePicture(dc, &PuzzlePicture, &client);
  DeleteBitmapSlot(&PuzzleBitmap);
  PuzzleBitmap = PictureToBitmap(&PuzzlePicture, g_window, 0, 0, kWidth, kHeight);
  ReleaseDC(g_window, dc);
}

// The same arithmetic, from the same seeds, into a plain buffer.
void GeneratorIntoBuffer(unsigned command, std::vector<COLORREF>& buffer) {
  TestSetTicks(123456);
  SeedRandom(99);
  PixelSink sink(buffer.data(), kWidth);
  if (command == 117) {
    GenerateLandscape(sink, kWidth, kHeight);
  } else if (command == 116) {
    GenerateMultiColorLandscape(sink, kWidth, kHeight);
  } else {
    int im1 = 500 + (int)RandomBelow(5000), re1 = 500 + (int)RandomBelow(5000);
    int im0 = 1 + (int)RandomBelow(500), re0 = 1 + (int)RandomBelow(500);
    GenerateBandedFractal(sink, re0, im0, re1, im1, kWidth, kHeight, 0, 0, kWidth, kHeight);
  }
}

void Generators() {
  std::vector<COLORREF> buffer((size_t)kWidth * kHeight);
  const struct {
    unsigned command;
    const char* name;
  } all[] = {{117, "generator 117 (landscape), 1920x1080, command to picture"},
             {116, "generator 116 (multi-colour), 1920x1080, command to picture"},
             {118, "generator 118 (banded fractal), 1920x1080, command to picture"}};
  for (const auto& g : all)
    Compare(g.name, [&] { GeneratorToPicture(g.command); }, "the same arithmetic into a plain buffer",
            [&] { GeneratorIntoBuffer(g.command, buffer); }, 1.5, 5);
  DeleteBitmapSlot(&PuzzleBitmap);
  ReleaseRecord(&PuzzlePicture);
}

// ---------------------------------------------------------------- the puzzle picture
void PuzzlePictureToScreen() {
  const std::string path = DataFile("cathedra.bkg");
  Compare("decode cathedra.bkg and scale it to 1920x1080",
          [&] {
            PictureRecord record;
            DecodePictureFile(path.c_str(), &record);
            HBITMAP b = PictureToBitmap(&record, g_window, 0, 0, kWidth, kHeight);
            DeleteObject(b);
            ReleaseRecord(&record);
          },
          "Qt decoding it and scaling it smoothly",
          [&] {
            QImageReader reader(QString::fromStdString(path));
            QImage scaled = reader.read().scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
          },
          1.5, 9);
}

// ---------------------------------------------------------------- pictures the player opens

// KiB of the process's memory from /proc/self/status: VmRSS now, VmHWM the
// peak since ResetPeak.
long StatusKb(const char* key) {
  FILE* f = fopen("/proc/self/status", "r");
  if (f == nullptr) return -1;
  char line[256];
  long kb = -1;
  while (fgets(line, sizeof line, f))
    if (strncmp(line, key, strlen(key)) == 0) kb = atol(line + strlen(key) + 1);
  fclose(f);
  return kb;
}
void ResetPeak() {
  FILE* f = fopen("/proc/self/clear_refs", "w");
  if (f != nullptr) {
    fputs("5", f);
    fclose(f);
  }
}

// A photo-like picture: smooth light with a little grain, which compresses
// the way a camera's pictures do.
QImage Photo(int width, int height) {
  QImage photo(width, height, QImage::Format_RGB32);
  uint32_t seed = 12345;
  for (int y = 0; y < height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = (int)(seed >> 29) - 4;
      auto c = [&](int v) { return std::min(255, std::max(0, v + grain)); };
      row[x] = qRgb(c(x * 200 / width + 30), c(y * 180 / height + 40), c((x + y) * 120 / (width + height) + 60));
    }
  }
  return photo;
}

void PrintFigure(const char* figure, double value, const char* unit, double goal, const char* goalText) {
  printf("%-62s %9.1f %s | %-42s %12s | goal %s %s\n", figure, value, unit, "", "", goalText,
         value <= goal ? "met" : "NOT MET");
  fflush(stdout);
}

// The memory one picture costs the game: its peak above the game's normal
// size (a small picture shown), and what stays once a small picture is
// shown again.
void PictureMemory(const char* name, const std::string& path, const std::string& small) {
  LoadUserImage(MainWindow, small.c_str(), 0);
  const long normal = StatusKb("VmRSS");
  ResetPeak();
  LoadUserImage(MainWindow, path.c_str(), 0);
  const long peak = StatusKb("VmHWM") - normal;
  LoadUserImage(MainWindow, small.c_str(), 0);
  const long left = StatusKb("VmRSS") - normal;
  char figure[128];
  snprintf(figure, sizeof figure, "  %s: peak above normal", name);
  PrintFigure(figure, peak / 1024.0, "MiB", 100e6 / 1048576, "<= 100 MB");
  snprintf(figure, sizeof figure, "  %s: left behind after a small picture", name);
  PrintFigure(figure, left / 1024.0, "MiB", 4, "<= 4 MiB");
}

void PhotosToScreen() {
  char pattern[] = "/tmp/swapster_bench_XXXXXX";
  const std::string dir = mkdtemp(pattern);
  struct Kind {
    const char* name;
    int width, height;
    const char* format;
  } photos[] = {{"1 MP JPEG (1152x864)", 1152, 864, "JPG"},
                {"4 MP JPEG (2304x1728)", 2304, 1728, "JPG"},
                {"16 MP JPEG (4608x3456)", 4608, 3456, "JPG"},
                {"16 MP PNG (4608x3456)", 4608, 3456, "PNG"},
                {"24 MP 4:3 JPEG (5664x4248)", 5664, 4248, "JPG"},
                {"24 MP 3:2 JPEG (6000x4000)", 6000, 4000, "JPG"}};
  std::vector<std::string> paths;
  for (const Kind& p : photos) {
    paths.push_back(dir + "/" + std::to_string(paths.size()) + (strcmp(p.format, "PNG") == 0 ? ".png" : ".jpg"));
    Photo(p.width, p.height).save(QString::fromStdString(paths.back()), p.format, 90);
  }
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    char figure[128];
    snprintf(figure, sizeof figure, "open a %s as the puzzle picture", photos[i].name);
    double ours = 0;
    Compare(figure, [&] { LoadUserImage(MainWindow, path.c_str(), 0); },
            "Qt decoding it and scaling it smoothly",
            [&] {
              QImageReader reader(QString::fromStdString(path));
              QImage scaled = reader.read().scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            },
            1.5, 5, &ours);
    if (photos[i].width * photos[i].height > 20000000) {
      snprintf(figure, sizeof figure, "  %s: command to board", photos[i].name);
      PrintFigure(figure, ours, "ms", 500, "<= 500 ms");
    }
    PictureMemory(photos[i].name, path, paths[0]);
  }
  std::filesystem::remove_all(dir);
}

// Files made to cost the reader: each must be refused or read within half a
// second and 100 MB above the game's normal size.
void HostileFiles() {
  char pattern[] = "/tmp/swapster_bench_XXXXXX";
  const std::string dir = mkdtemp(pattern);
  auto write = [&](const char* name, const std::string& bytes) {
    const std::string path = dir + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    return path;
  };
  QImage small = Photo(64, 48);
  small.save(QString::fromStdString(dir + "/small.jpg"), "JPG", 90);
  FILE* in = fopen((dir + "/small.jpg").c_str(), "rb");
  std::string jpeg;
  for (int c; (c = fgetc(in)) != EOF;) jpeg += (char)c;
  fclose(in);
  std::string comments;
  for (int i = 0; i < 900; ++i) comments += std::string("\xFF\xFE\xFF\xFF", 4) + std::string(65533, 'c');
  std::string gif = std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13) + std::string("\xFF\x00\x00\x00\x00\xFF", 6);
  // Each frame with its timing block before it: 23 bytes.
  const std::string frame = std::string("\x21\xF9\x04\x00\x01\x00\x00\x00", 8) +
                            std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
  gif.reserve(gif.size() + frame.size() * 2500000 + 1);
  for (int i = 0; i < 2500000; ++i) gif += frame;
  gif += ';';
  // At the cap itself: comments until the file is 64 MB.
  const size_t tail = jpeg.size() - 2, cap = (size_t)kPictureMaxFileBytes;
  std::string capped = jpeg.substr(0, 2);
  while (capped.size() + 65537 + tail <= cap) capped += std::string("\xFF\xFE\xFF\xFF", 4) + std::string(65533, 'c');
  const size_t room = cap - tail - capped.size();
  if (room >= 4) {
    capped += {'\xFF', '\xFE', (char)((room - 2) >> 8), (char)((room - 2) & 0xFF)};
    capped += std::string(room - 4, 'c');
  }
  capped += jpeg.substr(2);
  const struct {
    const char* name;
    std::string path;
  } files[] = {{"a 58 MB GIF of 2.5 million 1x1 frames", write("frames.gif", gif)},
               {"a JPEG of 900 comments of 64 KB", write("comments.jpg", jpeg.substr(0, 2) + comments + jpeg.substr(2))},
               {"a 64 MB JPEG, at the file cap", write("capped.jpg", capped)}};
  const std::string normal = dir + "/small.jpg";
  for (const auto& f : files) {
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) times.push_back(Milliseconds([&] {
      PictureRecord record;
      DecodePictureFile(f.path.c_str(), &record);
    }));
    char figure[128];
    snprintf(figure, sizeof figure, "read %s", f.name);
    PrintFigure(figure, Median(times), "ms", 500, "<= 500 ms");
    PictureMemory(f.name, f.path, normal);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  PlatformInitForTests(argc, argv);
  TestEnable();
  WNDCLASSA wc{};
  wc.lpfnWndProc = Quiet;
  wc.lpszClassName = "bench";
  RegisterClassA(&wc);
  g_window = CreateWindowExA(0, "bench", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
  MainWindow = g_window;
  ShowWindow(g_window, SW_SHOW);
  MeasureScreenDepth();
  RegisterGameResources();

  const std::string only = argc > 1 ? argv[1] : "";
  auto want = [&](const char* name) { return only.empty() || only == name; };
  printf("%-62s %12s | %-42s %12s | ratio\n", "figure", "ours", "yardstick", "yardstick");
  if (want("board")) BoardRepaint();
  if (want("pixels")) SinglePixels();
  if (want("outline")) OutlineFrame();
  if (want("generators")) Generators();
  if (want("picture")) {
    // Large blocks come fresh from the system from here on, as they do the
    // first time a picture is shown: otherwise the figure and its yardstick,
    // run in turn, would each be timed on whatever memory the other left.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    PuzzlePictureToScreen();
  }
  if (want("photos")) PhotosToScreen();
  if (want("hostile")) HostileFiles();
  if (want("waits")) {
    // The waits run in real time, which this program's driven clock cannot
    // show: their figures come from their own program beside this one.
    fflush(stdout);
    std::string self = argv[0];
    const std::string waits = self.substr(0, self.rfind('/') + 1) + "loop_figures";
    if (system(waits.c_str()) != 0) printf("(loop_figures could not be run)\n");
  }
  return 0;
}
