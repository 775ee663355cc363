// Copies move whole rows and step through precomputed source lines; they
// must give exactly the pixels of the plain per-pixel rule: every
// destination pixel inside the rectangle and the drawable area takes the
// source pixel at source + offset * source extent / extent (mirrored for
// negative extents), monochrome sources and targets converted through the
// background and text colours, combined by the raster operation, and left
// alone where that source pixel lies outside the source bitmap.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

struct TestBitmap {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old;
  int w, h;
  bool mono;
  TestBitmap(int width, int height, bool monochrome, std::mt19937& rng) : w(width), h(height), mono(monochrome) {
    dc = CreateCompatibleDC(nullptr);  // starts monochrome
    HDC screen = GetDC(nullptr);
    bitmap = CreateCompatibleBitmap(monochrome ? dc : screen, w, h);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) SetPixel(dc, x, y, rng() % 3 == 0 ? RGB(0, 0, 0) : (COLORREF)(rng() & 0xFFFFFF));
  }
  ~TestBitmap() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> p;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p.push_back(GetPixel(dc, x, y));
    return p;
  }
};

uint32_t Rop(DWORD rop, uint32_t s, uint32_t d) {
  switch (rop) {
    case SRCAND: return s & d;
    case SRCPAINT: return s | d;
    case SRCINVERT: return s ^ d;
    case NOTSRCCOPY: return ~s;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFF;
    default: return s;
  }
}

// The plain rule, pixel by pixel, on COLORREF values.
std::vector<COLORREF> Reference(const TestBitmap& dst, const std::vector<COLORREF>& before, const TestBitmap& src,
                                const std::vector<COLORREF>& source, RECT clip, int x, int y, int w, int h, int sx,
                                int sy, int sw, int sh, DWORD rop, COLORREF srcBk, COLORREF dstText,
                                COLORREF dstBk) {
  std::vector<COLORREF> out = before;
  const bool needsSource = rop != BLACKNESS && rop != WHITENESS;
  if (w == 0 || h == 0 || (needsSource && (sw == 0 || sh == 0))) return out;
  const bool flipX = (w < 0) != (sw < 0), flipY = (h < 0) != (sh < 0);
  if (w < 0) { x += w; w = -w; }
  if (h < 0) { y += h; h = -h; }
  if (sw < 0) { sx += sw; sw = -sw; }
  if (sh < 0) { sy += sh; sh = -sh; }
  for (int py = std::max({y, 0, (int)clip.top}); py < std::min({y + h, dst.h, (int)clip.bottom}); ++py)
    for (int px = std::max({x, 0, (int)clip.left}); px < std::min({x + w, dst.w, (int)clip.right}); ++px) {
      COLORREF s = 0;
      if (needsSource) {
        const int oy = flipY ? h - 1 - (py - y) : py - y, ox = flipX ? w - 1 - (px - x) : px - x;
        const int row = sy + (int)((long long)oy * sh / h), col = sx + (int)((long long)ox * sw / w);
        if (row < 0 || row >= src.h || col < 0 || col >= src.w) continue;
        s = source[row * src.w + col];
        if (src.mono && !dst.mono) s = s ? dstBk : dstText;
        else if (!src.mono && dst.mono) s = s == srcBk ? 0xFFFFFF : 0;
      }
      COLORREF v = Rop(rop, s, before[py * dst.w + px]) & 0xFFFFFF;
      if (dst.mono) v = v ? 0xFFFFFF : 0;
      out[py * dst.w + px] = v;
    }
  return out;
}

}  // namespace

TEST(CopyReference, RandomCopiesMatchThePlainRule) {
  std::mt19937 rng(20240611);
  const DWORD rops[] = {SRCCOPY, SRCCOPY, SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, NOTSRCCOPY, BLACKNESS, WHITENESS};
  auto between = [&](int lo, int hi) { return lo + (int)(rng() % (unsigned)(hi - lo + 1)); };
  for (int round = 0; round < 1500; ++round) {
    TestBitmap src(between(1, 40), between(1, 30), round % 7 == 3, rng);
    TestBitmap dst(between(1, 40), between(1, 30), round % 11 == 5, rng);
    const DWORD rop = rops[rng() % 9];
    COLORREF srcBk = rng() % 2 ? 0 : (COLORREF)(rng() & 0xFFFFFF), dstText = rng() & 0xFFFFFF,
             dstBk = rng() & 0xFFFFFF;
    if (rng() % 2) srcBk = GetPixel(src.dc, 0, 0);  // a colour the source really holds
    SetBkColor(src.dc, srcBk);
    SetTextColor(dst.dc, dstText);
    SetBkColor(dst.dc, dstBk);
    RECT clip{-100, -100, 1000, 1000};
    if (rng() % 3 == 0) {
      clip = RECT{between(-5, dst.w), between(-5, dst.h), 0, 0};
      clip.right = clip.left + between(0, dst.w);
      clip.bottom = clip.top + between(0, dst.h);
      HRGN region = CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
      SelectClipRgn(dst.dc, region);
      DeleteObject(region);
      if (clip.right <= clip.left || clip.bottom <= clip.top) clip = RECT{0, 0, 0, 0};
    }
    int x = between(-10, dst.w), y = between(-10, dst.h), w = between(-30, 45), h = between(-30, 35);
    int sx = between(-8, src.w), sy = between(-8, src.h), sw = between(-30, 45), sh = between(-30, 35);
    if (rng() % 3 == 0) {  // the common case: equal sizes, all inside
      sw = w = std::abs(w);
      sh = h = std::abs(h);
      sx = between(0, src.w - 1);
      sy = between(0, src.h - 1);
    }
    const auto source = src.Pixels(), before = dst.Pixels();
    const auto expected =
        Reference(dst, before, src, source, clip, x, y, w, h, sx, sy, sw, sh, rop, srcBk, dstText, dstBk);
    StretchBlt(dst.dc, x, y, w, h, src.dc, sx, sy, sw, sh, rop);
    const auto got = dst.Pixels();
    for (size_t i = 0; i < got.size(); ++i)
      ASSERT_EQ(got[i], expected[i]) << "round " << round << " pixel " << i % dst.w << "," << i / dst.w << " rop "
                                     << std::hex << rop << std::dec << " dest " << x << "," << y << " " << w << "x"
                                     << h << " source " << sx << "," << sy << " " << sw << "x" << sh;
  }
}

TEST(CopyReference, DeviceIndependentPicturesFollowTheSameRule) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    const int bw = 1 + rng() % 30, bh = 1 + rng() % 20;
    std::vector<uint32_t> bits((size_t)bw * bh);
    for (uint32_t& b : bits) b = rng() & 0xFFFFFF;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bw;
    info.bmiHeader.biHeight = rng() % 2 ? -bh : bh;  // top-down or bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    TestBitmap dst(1 + rng() % 40, 1 + rng() % 30, false, rng);
    const int x = (int)(rng() % 50) - 10, y = (int)(rng() % 40) - 10, w = 1 + rng() % 45, h = 1 + rng() % 35;
    const int sx = (int)(rng() % (bw + 4)) - 2, sy = (int)(rng() % (bh + 4)) - 2, sw = 1 + rng() % 40,
              sh = 1 + rng() % 30;
    const auto before = dst.Pixels();
    StretchDIBits(dst.dc, x, y, w, h, sx, sy, sw, sh, bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    const auto got = dst.Pixels();
    for (int py = 0; py < dst.h; ++py)
      for (int px = 0; px < dst.w; ++px) {
        COLORREF want = before[py * dst.w + px];
        if (px >= x && px < x + w && py >= y && py < y + h) {
          const int row = sy + (int)((long long)(py - y) * sh / h), col = sx + (int)((long long)(px - x) * sw / w);
          if (row >= 0 && row < bh && col >= 0 && col < bw) {
            const uint32_t word = bits[(size_t)(info.bmiHeader.biHeight < 0 ? row : bh - 1 - row) * bw + col];
            want = RGB(word >> 16 & 0xFF, word >> 8 & 0xFF, word & 0xFF);
          }
        }
        ASSERT_EQ(got[py * dst.w + px], want) << "round " << round << " at " << px << "," << py;
      }
  }
}
