// Figures for the work the player waits on: decoding and scaling the puzzle
// picture, a full repaint of the largest board, one outline frame of a swap,
// and painting a whole screen pixel by pixel as the generators do.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "imaging/pictures.h"
#include "imaging/screen_bitmaps.h"
#include "platform/testing.h"
#include "puzzle/board.h"
#include "puzzle/drawing.h"
#include "shell/shell_state.h"

int PlatformInitForTests(int argc, char** argv);

namespace {
HWND g_window;

LRESULT CALLBACK Quiet(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

void MakeWindow(int w, int h) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Quiet;
  wc.lpszClassName = "bench";
  RegisterClassA(&wc);
  g_window = CreateWindowExA(0, "bench", "", WS_POPUP, 0, 0, w, h, nullptr, nullptr, nullptr, nullptr);
  MainWindow = g_window;
  ShowWindow(g_window, SW_SHOW);
}

std::string PicturePath() {
  const char* dir = getenv("SWAPSTER_DATA");
  return std::string(dir ? dir : DATA_DIR) + "/cathedra.bkg";
}

void DecodeAndScale(benchmark::State& state) {
  for (auto _ : state) {
    PictureRecord record;
    if (!DecodePictureFile(PicturePath().c_str(), &record)) {
      state.SkipWithError("no picture");
      return;
    }
    HBITMAP b = PictureToBitmap(&record, g_window, 0, 0, 1920, 1080);
    DeleteObject(b);
    ReleaseRecord(&record);
  }
}
BENCHMARK(DecodeAndScale)->Unit(benchmark::kMillisecond);

void RepaintLargestBoard(benchmark::State& state) {
  PictureRecord record;
  DecodePictureFile(PicturePath().c_str(), &record);
  PuzzleBitmap = PictureToBitmap(&record, g_window, 0, 0, 1024, 768);
  SetBoardDefaults();
  Board->boardWidth = 1024;
  Board->boardHeight = 768;
  Board->columns = Board->rows = Board->boardSize = 20;
  Board->faceDown = 0;
  ShuffleBoard();
  HDC dc = GetDC(g_window);
  for (auto _ : state) DrawBoard(dc);
  ReleaseDC(g_window, dc);
  DeleteBitmapSlot(&PuzzleBitmap);
}
BENCHMARK(RepaintLargestBoard)->Unit(benchmark::kMillisecond);

void OutlineFrame(benchmark::State& state) {
  HDC dc = GetDC(g_window);
  SetROP2(dc, R2_NOTXORPEN);
  for (auto _ : state) {
    Rectangle(dc, 10, 10, 180, 140);
    Rectangle(dc, 500, 300, 670, 430);
  }
  ReleaseDC(g_window, dc);
}
BENCHMARK(OutlineFrame)->Unit(benchmark::kMicrosecond);

void ScreenPixelByPixel(benchmark::State& state) {
  HDC dc = GetDC(g_window);
  for (auto _ : state)
    for (int y = 0; y < 768; ++y)
      for (int x = 0; x < 1024; ++x) SetPixel(dc, x, y, RGB(x & 255, y & 255, 90));
  ReleaseDC(g_window, dc);
}
BENCHMARK(ScreenPixelByPixel)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  PlatformInitForTests(argc, argv);
  TestEnable();
  MakeWindow(1024, 768);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
