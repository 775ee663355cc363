// Screen bitmaps: the copy, its cut at the source edge, masks and
// transparency, tiling, resizing, and sizing a window by its client area.
#include <gtest/gtest.h>

#include <functional>

#include "common/shell_state.h"
#include "imaging/screen_bitmaps.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "support/bitmap_helpers.h"

namespace {

// A screen bitmap whose pixel (x, y) is colour(x, y).
HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& colour) {
  HDC screen = GetDC(0);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(0, screen);
  HDC memory = CreateCompatibleDC(0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) SetPixel(memory, x, y, colour(x, y));
  SelectObject(memory, old);
  DeleteDC(memory);
  return bitmap;
}

HBITMAP MakeFilled(int width, int height, COLORREF colour) {
  return MakeBitmap(width, height, [=](int, int) { return colour; });
}

// A memory DC with a bitmap selected, for drawing into and reading back.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) {
    bitmap_ = MakeFilled(width, height, fill);
    dc_ = CreateCompatibleDC(0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HBITMAP bitmap_;
  HDC dc_;
  HGDIOBJ old_;
};

// Pixel (x, y) of the test pattern: distinct everywhere.
COLORREF Pattern(int x, int y) {
  return RGB(x * 20, y * 20, 100);
}

const COLORREF kMarker = RGB(1, 2, 3);

}  // namespace

TEST(ScreenBitmaps, BlitCopiesOneToOneOrStretchesAndCutsAtTheSourceEdge) {
  HBITMAP source = MakeBitmap(10, 10, Pattern);

  {  // equal sizes: a plain copy to the destination rectangle
    Canvas canvas(20, 20, kMarker);
    BlitBitmap(canvas.dc(), source, 5, 6, 10, 10, 0, 0, 10, 10);
    EXPECT_EQ(kMarker, canvas.at(4, 6));
    EXPECT_EQ(kMarker, canvas.at(5, 5));
    EXPECT_EQ(Pattern(0, 0), canvas.at(5, 6));
    EXPECT_EQ(Pattern(9, 9), canvas.at(14, 15));
    EXPECT_EQ(kMarker, canvas.at(15, 16));
  }
  {  // a part ending exactly at the edge, same size: 1:1
    Canvas canvas(20, 20, kMarker);
    BlitBitmap(canvas.dc(), source, 0, 0, 4, 3, 6, 7, 4, 3);
    EXPECT_EQ(Pattern(6, 7), canvas.at(0, 0));
    EXPECT_EQ(Pattern(9, 9), canvas.at(3, 2));
    EXPECT_EQ(kMarker, canvas.at(4, 0));
  }
  {  // twice the size: every source pixel becomes 2 x 2
    Canvas canvas(20, 20, kMarker);
    BlitBitmap(canvas.dc(), source, 0, 0, 20, 20, 0, 0, 10, 10);
    EXPECT_EQ(Pattern(0, 0), canvas.at(1, 1));
    EXPECT_EQ(Pattern(3, 5), canvas.at(7, 10));
    EXPECT_EQ(Pattern(9, 9), canvas.at(19, 19));
  }
  {  // reaching past the right edge: the source is cut to 4 columns, which are
     // stretched over all 8 destination columns
    Canvas canvas(20, 20, kMarker);
    BlitBitmap(canvas.dc(), source, 0, 0, 8, 10, 6, 0, 8, 10);
    EXPECT_EQ(Pattern(6, 0), canvas.at(0, 0));
    EXPECT_EQ(Pattern(6, 0), canvas.at(1, 0));
    EXPECT_EQ(Pattern(9, 4), canvas.at(7, 4));
    EXPECT_EQ(kMarker, canvas.at(8, 0));
  }
  {  // a source rectangle entirely outside the bitmap draws nothing
    Canvas canvas(20, 20, kMarker);
    BlitBitmap(canvas.dc(), source, 0, 0, 8, 8, 12, 0, 8, 8);
    BlitBitmap(canvas.dc(), source, 0, 0, 8, 8, 0, 10, 8, 8);
    EXPECT_EQ(kMarker, canvas.at(0, 0));
    EXPECT_EQ(kMarker, canvas.at(7, 7));
  }
  DeleteObject(source);
}

TEST(ScreenBitmaps, MaskMakesOnlyPureBlackTransparent) {
  HWND savedMain = MainWindow;
  MainWindow = 0;  // masks work from the screen's DC as well
  const COLORREF row[] = {RGB(0, 0, 0), RGB(1, 1, 1), RGB(255, 255, 255), RGB(200, 0, 0)};
  HBITMAP picture = MakeBitmap(4, 2, [&](int x, int) { return row[x]; });
  HBITMAP mask = MakeMaskBitmap(picture, 4, 2);
  ASSERT_NE(nullptr, mask);
  BITMAP info = {};
  GetObjectA(mask, sizeof info, &info);
  EXPECT_EQ(1, info.bmBitsPixel);
  EXPECT_EQ(4, info.bmWidth);
  EXPECT_EQ(RGB(255, 255, 255), PixelOf(mask, 0, 0));
  EXPECT_EQ(RGB(0, 0, 0), PixelOf(mask, 1, 0));
  EXPECT_EQ(RGB(0, 0, 0), PixelOf(mask, 2, 1));
  EXPECT_EQ(RGB(0, 0, 0), PixelOf(mask, 3, 1));

  const COLORREF board = RGB(0, 128, 0);
  {
    Canvas canvas(6, 4, board);
    BlitTransparent(canvas.dc(), picture, mask, 1, 1, 4, 2, 0, 0, 4, 2);
    EXPECT_EQ(board, canvas.at(1, 1));  // black: the board shows through
    EXPECT_EQ(RGB(1, 1, 1), canvas.at(2, 1));  // nearly black is drawn
    EXPECT_EQ(RGB(255, 255, 255), canvas.at(3, 2));
    EXPECT_EQ(RGB(200, 0, 0), canvas.at(4, 1));
    EXPECT_EQ(board, canvas.at(5, 1));
  }
  {  // stretched, the same holds
    Canvas canvas(8, 4, board);
    BlitTransparent(canvas.dc(), picture, mask, 0, 0, 8, 4, 0, 0, 4, 2);
    EXPECT_EQ(board, canvas.at(1, 3));
    EXPECT_EQ(RGB(1, 1, 1), canvas.at(2, 0));
    EXPECT_EQ(RGB(200, 0, 0), canvas.at(7, 3));
  }
  DeleteObject(mask);
  DeleteObject(picture);
  MainWindow = savedMain;
}

TEST(ScreenBitmaps, TiledBitmapRepeatsTheChosenTileCutAtTheEdges) {
  // Each pixel of the sheet tells its tile and its place in the tile.
  HBITMAP sheet = MakeBitmap(320, 320, [](int x, int y) {
    return RGB((y / 64) * 5 + x / 64, x % 64, y % 64);
  });
  HBITMAP tiled = CreateTiledBitmap(0, sheet, 130, 70, 27);
  int width, height;
  SizeOf(tiled, &width, &height);
  EXPECT_EQ(130, width);
  EXPECT_EQ(70, height);
  // Tile 27 is column 2, row 0: tile 2.  Columns of 64, 64 and 2 pixels.
  EXPECT_EQ(RGB(2, 0, 0), PixelOf(tiled, 0, 0));
  EXPECT_EQ(RGB(2, 63, 63), PixelOf(tiled, 63, 63));
  EXPECT_EQ(RGB(2, 0, 0), PixelOf(tiled, 64, 0));
  EXPECT_EQ(RGB(2, 0, 0), PixelOf(tiled, 128, 0));
  EXPECT_EQ(RGB(2, 1, 0), PixelOf(tiled, 129, 0));
  EXPECT_EQ(RGB(2, 1, 5), PixelOf(tiled, 129, 69));
  EXPECT_EQ(RGB(2, 10, 0), PixelOf(tiled, 74, 64));
  DeleteObject(tiled);

  DeleteObject(sheet);
}

TEST(ScreenBitmaps, ResizeStretchesIntoANewBitmapAndDeletesTheOld) {
  HBITMAP old = MakeBitmap(10, 10, Pattern);
  HBITMAP resized = ResizeBitmap(old, 5, 20);
  BITMAP info;
  EXPECT_EQ(0, GetObjectA(old, sizeof info, &info));  // deleted
  int width, height;
  SizeOf(resized, &width, &height);
  EXPECT_EQ(5, width);
  EXPECT_EQ(20, height);
  EXPECT_EQ(Pattern(0, 0), PixelOf(resized, 0, 0));
  EXPECT_EQ(Pattern(8, 9), PixelOf(resized, 4, 19));
  DeleteBitmapSlot(&resized);
  EXPECT_EQ(nullptr, resized);
}

TEST(ScreenBitmaps, SizeWindowClientGivesTheExactClientArea) {
  static const MenuTemplateItem menu[] = {{0, "&File", 1, MF_POPUP}, {1, "E&xit", 2, 0},
                                          {0, nullptr, 0, 0}};
  RegisterMenuTemplate("ImagingTestMenu", menu);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "ImagingTestWindow";
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "ImagingTestWindow", "sizing", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                                0, LoadMenuA(0, "ImagingTestMenu"), 0, nullptr);
  ASSERT_NE(nullptr, window);
  ShowWindow(window, SW_SHOW);
  SizeWindowClient(window, 100, 10, 320, 345, FALSE);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(320, client.right - client.left);
  EXPECT_EQ(345, client.bottom - client.top);
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(100, outer.left);
  EXPECT_EQ(10, outer.top);
  DestroyWindow(window);
}
