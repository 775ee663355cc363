// Drawing behaviour the game leans on: raster operations, inverting outlines
// that restore what they covered, clipping, monochrome conversions, and
// pictures passed in and out as device-independent bits.
#include <gtest/gtest.h>

#include <vector>

#include "platform/internal.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {
void Fill(HDC dc, RECT r, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

struct MemoryCanvas {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  MemoryCanvas(int w, int h, COLORREF fill) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    Fill(dc, {0, 0, w, h}, fill);
  }
  ~MemoryCanvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};
}  // namespace

TEST(Gdi, NotXorOutlineDrawnTwiceRestoresEveryPixel) {
  MemoryCanvas c(60, 40, RGB(10, 200, 30));
  for (int x = 0; x < 60; x += 3) SetPixel(c.dc, x, x % 40, RGB(x * 4, 7, 250 - x));
  std::vector<COLORREF> before;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) before.push_back(GetPixel(c.dc, x, y));

  SetROP2(c.dc, R2_NOTXORPEN);
  LOGBRUSH lb{BS_HOLLOW, 0, 0};
  HBRUSH hollow = CreateBrushIndirect(&lb);
  HGDIOBJ oldBrush = SelectObject(c.dc, hollow);
  Rectangle(c.dc, 5, 5, 30, 20);
  Rectangle(c.dc, 10, 8, 50, 35);  // overlapping the first
  // The border inverts; the inside of a hollow rectangle is untouched.
  EXPECT_EQ(GetPixel(c.dc, 5, 5), RGB(255 - 10, 255 - 200, 255 - 30));
  EXPECT_EQ(GetPixel(c.dc, 29, 19), RGB(255 - 10, 255 - 200, 255 - 30));
  EXPECT_EQ(GetPixel(c.dc, 30, 20), before[20 * 60 + 30]) << "right and bottom edges are excluded";
  EXPECT_EQ(GetPixel(c.dc, 15, 15), before[15 * 60 + 15]);
  Rectangle(c.dc, 5, 5, 30, 20);
  Rectangle(c.dc, 10, 8, 50, 35);
  SelectObject(c.dc, oldBrush);
  DeleteObject(hollow);
  int i = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x, ++i) ASSERT_EQ(GetPixel(c.dc, x, y), before[i]) << x << "," << y;
}

TEST(Gdi, ClipRegionLimitsEveryKindOfDrawing) {
  MemoryCanvas c(40, 40, RGB(0, 0, 0));
  HRGN rgn = CreateRectRgn(10, 10, 20, 20);
  SelectClipRgn(c.dc, rgn);
  DeleteObject(rgn);  // the DC keeps its own copy
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  RECT all{0, 0, 40, 40};
  FillRect(c.dc, &all, white);
  EXPECT_EQ(GetPixel(c.dc, 10, 10), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 19, 19), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 20, 20), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(c.dc, 9, 15), RGB(0, 0, 0));
  SetPixel(c.dc, 5, 5, RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(c.dc, 5, 5), RGB(0, 0, 0));
  SelectClipRgn(c.dc, nullptr);
  InvertRect(c.dc, &all);
  EXPECT_EQ(GetPixel(c.dc, 5, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 15, 15), RGB(0, 0, 0));
  DeleteObject(white);
}

TEST(Gdi, MonochromeMasksFollowTheBackgroundColour) {
  MemoryCanvas colour(4, 1, RGB(0, 0, 0));
  SetPixel(colour.dc, 1, 0, RGB(1, 1, 1));
  SetPixel(colour.dc, 2, 0, RGB(255, 255, 255));
  SetPixel(colour.dc, 3, 0, RGB(0, 0, 0));
  // A memory DC starts monochrome, so a bitmap made for it is monochrome.
  HDC maskDC = CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateCompatibleBitmap(maskDC, 4, 1);
  BITMAP bm;
  GetObjectA(mask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HGDIOBJ old = SelectObject(maskDC, mask);
  SetBkColor(colour.dc, RGB(0, 0, 0));
  BitBlt(maskDC, 0, 0, 4, 1, colour.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(maskDC, 0, 0), RGB(255, 255, 255)) << "pure black becomes the transparent part";
  EXPECT_EQ(GetPixel(maskDC, 1, 0), RGB(0, 0, 0)) << "near black stays opaque";
  EXPECT_EQ(GetPixel(maskDC, 2, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(maskDC, 3, 0), RGB(255, 255, 255));

  // Mask with SRCAND then picture with SRCPAINT: black shows what is beneath.
  MemoryCanvas board(4, 1, RGB(50, 60, 70));
  BitBlt(board.dc, 0, 0, 4, 1, maskDC, 0, 0, SRCAND);
  BitBlt(board.dc, 0, 0, 4, 1, colour.dc, 0, 0, SRCPAINT);
  EXPECT_EQ(GetPixel(board.dc, 0, 0), RGB(50, 60, 70));
  EXPECT_EQ(GetPixel(board.dc, 1, 0), RGB(1, 1, 1));
  EXPECT_EQ(GetPixel(board.dc, 2, 0), RGB(255, 255, 255));
  SelectObject(maskDC, old);
  DeleteObject(mask);
  DeleteDC(maskDC);
}

TEST(Gdi, StretchAndDeviceIndependentBitsRoundTrip) {
  MemoryCanvas src(2, 2, RGB(0, 0, 0));
  SetPixel(src.dc, 0, 0, RGB(255, 0, 0));
  SetPixel(src.dc, 1, 0, RGB(0, 255, 0));
  SetPixel(src.dc, 0, 1, RGB(0, 0, 255));
  SetPixel(src.dc, 1, 1, RGB(9, 9, 9));
  MemoryCanvas dst(4, 4, RGB(7, 7, 7));
  StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 2, 1), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dst.dc, 1, 3), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dst.dc, 3, 3), RGB(9, 9, 9));

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 4;
  bi.bmiHeader.biHeight = -4;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> bits(16);
  ASSERT_EQ(GetDIBits(dst.dc, dst.bitmap, 0, 4, bits.data(), &bi, DIB_RGB_COLORS), 4);
  EXPECT_EQ(bits[0], 0x00FF0000u) << "a DIB word is 0x00RRGGBB";
  MemoryCanvas back(4, 4, RGB(0, 0, 0));
  StretchDIBits(back.dc, 0, 0, 4, 4, 0, 0, 4, 4, bits.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(back.dc, x, y), GetPixel(dst.dc, x, y));
}

namespace {
LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }
HWND PlainWindow(int w, int h) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.lpszClassName = "plain";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "plain", "", WS_POPUP, 0, 0, w, h, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}
}  // namespace

TEST(Gdi, AWindowDCFollowsItsWindowThroughAResizeAndItsEnd) {
  HWND h = PlainWindow(200, 100);
  HDC dc = GetDC(h);
  SetPixel(dc, 5, 5, RGB(200, 0, 0));
  MoveWindow(h, 0, 0, 300, 150, FALSE);  // the window gets a new, larger image
  EXPECT_EQ(SetPixel(dc, 250, 120, RGB(0, 0, 200)), RGB(0, 0, 200));
  EXPECT_EQ(TestWindowPixel(h, 250, 120), RGB(0, 0, 200));
  EXPECT_EQ(TestWindowPixel(h, 5, 5), RGB(200, 0, 0));
  MoveWindow(h, 0, 0, 100, 50, FALSE);
  EXPECT_EQ(SetPixel(dc, 150, 20, RGB(0, 0, 200)), (COLORREF)-1) << "past the smaller image";
  DestroyWindow(h);  // its pixels go with it
  EXPECT_EQ(SetPixel(dc, 5, 5, RGB(0, 0, 200)), (COLORREF)-1);
  ReleaseDC(h, dc);
  TestResetWindows();
}

TEST(Gdi, SinglePixelsFollowTheDCsBitmapClipAndOtherDCs) {
  MemoryCanvas a(20, 20, RGB(0, 0, 0)), b(20, 20, RGB(0, 0, 0));
  SetPixel(a.dc, 1, 1, RGB(10, 20, 30));
  SetPixel(b.dc, 2, 2, RGB(40, 50, 60));  // pixels on two DCs in turn
  SetPixel(a.dc, 3, 3, RGB(70, 80, 90));
  EXPECT_EQ(GetPixel(a.dc, 1, 1), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(a.dc, 3, 3), RGB(70, 80, 90));
  EXPECT_EQ(GetPixel(b.dc, 2, 2), RGB(40, 50, 60));
  EXPECT_EQ(GetPixel(b.dc, 3, 3), RGB(0, 0, 0));

  // Another bitmap in the DC takes the next pixel; the first keeps its own.
  SelectObject(a.dc, b.bitmap);
  SetPixel(a.dc, 4, 4, RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(b.dc, 4, 4), RGB(1, 2, 3));
  SelectObject(a.dc, a.bitmap);
  EXPECT_EQ(GetPixel(a.dc, 4, 4), RGB(0, 0, 0));

  // A clip region keeps single pixels inside it.
  HRGN clip = CreateRectRgn(0, 0, 5, 5);
  SelectClipRgn(a.dc, clip);
  EXPECT_EQ(SetPixel(a.dc, 10, 10, RGB(255, 0, 0)), (COLORREF)-1);
  EXPECT_EQ(SetPixel(a.dc, 2, 1, RGB(255, 0, 0)), RGB(255, 0, 0));
  SelectClipRgn(a.dc, nullptr);
  DeleteObject(clip);
  EXPECT_EQ(GetPixel(a.dc, 10, 10), RGB(0, 0, 0));
  EXPECT_EQ(SetPixel(a.dc, 10, 10, RGB(255, 0, 0)), RGB(255, 0, 0));
}

TEST(Gdi, SinglePixelsReachTheScreenAsTheirBounds) {
  plat::DrawnArea drawn;
  EXPECT_TRUE(drawn.Empty());
  drawn.AddPixel(0, 0);
  EXPECT_EQ(drawn.Take(), QRegion(0, 0, 1, 1));
  EXPECT_TRUE(drawn.Empty());
  // Growing every way, and back inside.
  for (QPoint p : {QPoint(10, 10), QPoint(3, 12), QPoint(8, 2), QPoint(15, 9), QPoint(9, 9), QPoint(3, 2)})
    drawn.AddPixel(p.x(), p.y());
  EXPECT_EQ(drawn.Take(), QRegion(QRect(QPoint(3, 2), QPoint(15, 12))));
  EXPECT_TRUE(drawn.Take().isEmpty());
}

TEST(Gdi, OnlyTheOutlinesOfASwapFrameReachTheScreen) {
  HWND h = PlainWindow(400, 300);
  plat::Win(h)->drawn.Take();
  HDC dc = GetDC(h);
  SetROP2(dc, R2_NOTXORPEN);
  LOGBRUSH lb{BS_HOLLOW, 0, 0};
  HBRUSH hollow = CreateBrushIndirect(&lb);
  HGDIOBJ old = SelectObject(dc, hollow);
  Rectangle(dc, 10, 10, 60, 40);
  Rectangle(dc, 200, 150, 250, 180);
  const QRegion sent = plat::Win(h)->drawn.Take();
  long long pixels = 0;
  for (const QRect& r : sent) pixels += (long long)r.width() * r.height();
  EXPECT_EQ(pixels, 2 * (2 * (50 + 30) - 4)) << "each outline's own pixels, nothing inside or between";
  EXPECT_FALSE(sent.contains(QPoint(30, 25)));
  EXPECT_TRUE(sent.contains(QPoint(59, 39)));
  SelectObject(dc, old);
  DeleteObject(hollow);
  ReleaseDC(h, dc);
  TestResetWindows();
}

// A new window is black, and a black fill then paints only over what has been
// drawn since: whatever drew it (fills, single pixels, copies, text, a fill
// kept to a clip region), the fill must leave every pixel black, and what it
// changed must reach the screen.
TEST(Gdi, ABlackFillOverAWindowBlackButForItsInkLeavesItAllBlack) {
  HWND h = PlainWindow(300, 200);
  HDC dc = GetDC(h);
  auto allBlack = [&](const char* after) {
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x) ASSERT_EQ(TestWindowPixel(h, x, y), RGB(0, 0, 0)) << after << " " << x << "," << y;
  };
  const RECT all{0, 0, 300, 200}, patch{20, 20, 60, 50};
  Fill(dc, all, RGB(0, 0, 0));
  allBlack("first fill");

  Fill(dc, patch, RGB(200, 0, 0));
  SetPixel(dc, 250, 180, RGB(0, 200, 0));
  SetPixel(dc, 5, 190, RGB(0, 0, 200));
  SetTextColor(dc, RGB(255, 255, 0));
  TextOutA(dc, 120, 90, "ink", 3);
  MemoryCanvas source(30, 20, RGB(90, 90, 90));
  BitBlt(dc, 200, 10, 30, 20, source.dc, 0, 0, SRCCOPY);
  // A black fill that misses part of the ink leaves that part alone...
  Fill(dc, {0, 0, 100, 200}, RGB(0, 0, 0));
  EXPECT_EQ(TestWindowPixel(h, 30, 30), RGB(0, 0, 0));
  EXPECT_EQ(TestWindowPixel(h, 250, 180), RGB(0, 200, 0));
  EXPECT_EQ(TestWindowPixel(h, 210, 15), RGB(90, 90, 90));
  // ...and one kept to a clip region paints only inside it.
  HRGN clip = CreateRectRgn(240, 170, 300, 200);
  SelectClipRgn(dc, clip);
  Fill(dc, all, RGB(0, 0, 0));
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
  EXPECT_EQ(TestWindowPixel(h, 250, 180), RGB(0, 0, 0));
  EXPECT_EQ(TestWindowPixel(h, 210, 15), RGB(90, 90, 90));

  plat::Win(h)->drawn.Take();
  Fill(dc, all, RGB(0, 0, 0));
  allBlack("fill over the ink");
  const QRegion sent = plat::Win(h)->drawn.Take();
  EXPECT_TRUE(sent.contains(QRect(20, 20, 40, 30))) << "where the ink was goes to the screen";
  EXPECT_TRUE(sent.contains(QPoint(210, 15)) && sent.contains(QPoint(130, 95)));
  EXPECT_FALSE(sent.contains(QPoint(290, 195))) << "black that stayed black need not be sent again";

  // Ink drawn after a shown frame still counts.
  Fill(dc, patch, RGB(200, 0, 0));
  plat::Win(h)->drawn.Take();
  Fill(dc, all, RGB(0, 0, 0));
  allBlack("fill after a flush");
  ReleaseDC(h, dc);
  TestResetWindows();
}

// Text is laid out once: its height is the one a measuring call gives, and
// every pixel it changed is among those sent to the screen.
TEST(Gdi, DrawnTextReportsItsHeightAndSendsEveryPixelItChanged) {
  HWND h = PlainWindow(400, 300);
  HDC dc = GetDC(h);
  const char* text = "Loading... a few words that wrap over more than one line of the box";
  struct Case {
    UINT format;
    int mode;
  } cases[] = {{DT_CENTER | DT_WORDBREAK, TRANSPARENT},
               {DT_CENTER | DT_VCENTER | DT_SINGLELINE, OPAQUE},
               {DT_LEFT | DT_WORDBREAK | DT_NOCLIP, OPAQUE}};
  for (const Case& c : cases) {
    Fill(dc, {0, 0, 400, 300}, RGB(0, 0, 0));
    std::vector<COLORREF> before;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) before.push_back(TestWindowPixel(h, x, y));
    plat::Win(h)->drawn.Take();

    RECT measure{100, 100, 300, 200};
    const int wanted = DrawTextA(dc, text, -1, &measure, c.format | DT_CALCRECT);
    RECT box{100, 100, 300, 200};
    SetTextColor(dc, RGB(255, 50, 180));
    SetBkColor(dc, RGB(0, 0, 90));
    SetBkMode(dc, c.mode);
    EXPECT_EQ(DrawTextA(dc, text, -1, &box, c.format), wanted) << c.format;
    EXPECT_GT(wanted, 0);

    const QRegion sent = plat::Win(h)->drawn.Take();
    int changed = 0;
    for (int y = 0, i = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x, ++i)
        if (TestWindowPixel(h, x, y) != before[i]) {
          ++changed;
          ASSERT_TRUE(sent.contains(QPoint(x, y))) << c.format << ": " << x << "," << y << " changed unseen";
        }
    EXPECT_GT(changed, 50) << c.format;
  }
  ReleaseDC(h, dc);
  TestResetWindows();
}

// New bitmaps are black whatever their size (large ones take fresh pages of
// their own), and stay usable through drawing, copying and deletion.
TEST(Gdi, NewBitmapsOfEverySizeStartBlack) {
  HDC screen = GetDC(nullptr);
  for (int side : {3, 200, 700}) {
    HBITMAP b = CreateCompatibleBitmap(screen, side, side);
    ASSERT_NE(b, nullptr) << side;
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, b);
    for (int at : {0, side / 2, side - 1}) EXPECT_EQ(GetPixel(dc, at, side - 1 - at), RGB(0, 0, 0)) << side;
    SetPixel(dc, side - 1, side - 1, RGB(1, 2, 3));
    MemoryCanvas copy(side, side, RGB(9, 9, 9));
    BitBlt(copy.dc, 0, 0, side, side, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(copy.dc, side - 1, side - 1), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(copy.dc, 0, 0), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(b);
  }
  ReleaseDC(nullptr, screen);
}
