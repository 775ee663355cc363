// A picture made smaller while its rows arrive from the decoder: each pixel
// of the result is the average of the part of the picture it covers (an area
// average, the smooth way to shrink), so no more than two rows of sums are
// ever held beside the result.
#include <algorithm>
#include <cmath>

#include "imaging/picture_internal.h"

namespace piclib {

namespace {
// Shares are counted in 1/256ths of a source pixel: with sums of at most
// 255 x 256 x 256 x (a result pixel's width + 1) x (its height + 1) they fit
// 32 bits for shrinking by up to 8 each way, more than any picture needs.
constexpr uint32_t kWhole = 256;
// sums[i] += row[i] * share, in blocks of eight that the compiler can do
// side by side.
void AddScaled(uint32_t* __restrict sums, const uint32_t* __restrict row, uint32_t share, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8)
    for (size_t t = 0; t < 8; ++t) sums[i + t] += row[i + t] * share;
  for (; i < n; ++i) sums[i] += row[i] * share;
}
}  // namespace

// How `from` source pixels fall into `to` result pixels (to <= from): source
// pixel k lies in result pixel first[k] with the share inside[k] of itself,
// and in the next one with the rest.  total[j] is the weight result pixel j
// gathers, by which its sum is divided.
RowShrinker::Split RowShrinker::MakeSplit(size_t from, size_t to) {
  Split split;
  split.first.resize(from);
  split.inside.resize(from);
  std::vector<uint32_t> total(to + 1, 0);
  const double scale = (double)to / (double)from;
  for (size_t k = 0; k < from; ++k) {
    const double begin = k * scale, end = (k + 1) * scale;
    const size_t j = std::min((size_t)begin, to - 1);
    const double edge = (double)(j + 1);
    const uint32_t inside = end <= edge || j + 1 == to
                                ? kWhole
                                : (uint32_t)std::lround((edge - begin) / scale * kWhole);
    split.first[k] = (uint32_t)j;
    split.inside[k] = inside;
    total[j] += inside;
    total[j + 1] += kWhole - inside;
  }
  split.scale.resize(to);
  for (size_t j = 0; j < to; ++j) split.scale[j] = total[j] > 0 ? 1.0f / (float)total[j] : 0.0f;
  return split;
}

RowShrinker::RowShrinker(size_t fromWidth, size_t fromHeight, size_t toWidth, size_t toHeight, uint32_t* out)
    : fromWidth_(fromWidth),
      fromHeight_(fromHeight),
      toWidth_(toWidth),
      toHeight_(toHeight),
      out_(out),
      columns_(MakeSplit(fromWidth, toWidth)),
      rows_(MakeSplit(fromHeight, toHeight)),
      row_((toWidth + 1) * 3),
      current_((toWidth + 1) * 3),
      next_((toWidth + 1) * 3) {}

namespace {
// The colours of a row of words, and of a row as the decoder holds it (16
// bits a channel, of which the top 8 are the 8-bit value: exactly so for the
// pictures of 8 bits a channel that files hold).
struct Words {
  const uint32_t* p;
  void Get(size_t k, uint32_t* r, uint32_t* g, uint32_t* b) const {
    const uint32_t w = p[k];
    *r = w >> 16 & 0xFF, *g = w >> 8 & 0xFF, *b = w & 0xFF;
  }
};
struct Packets {
  const MagickCore::PixelPacket* p;
  void Get(size_t k, uint32_t* r, uint32_t* g, uint32_t* b) const {
    *r = (uint32_t)p[k].red >> 8, *g = (uint32_t)p[k].green >> 8, *b = (uint32_t)p[k].blue >> 8;
  }
};
}  // namespace

void RowShrinker::Add(const uint32_t* words) { AddRow(Words{words}); }
void RowShrinker::Add(const MagickCore::PixelPacket* packets) { AddRow(Packets{packets}); }

template <class Row>
void RowShrinker::AddRow(const Row& source) {
  if (y_ >= fromHeight_) return;
  // Across: the row's pixels into the result's columns.  A source pixel
  // spills only into the next column, so the sums of the column being
  // filled and of the next one are kept at hand and stored once.
  uint32_t* row = row_.data();
  const uint32_t* first = columns_.first.data();
  const uint32_t* inside = columns_.inside.data();
  uint32_t r0 = 0, g0 = 0, b0 = 0, r1 = 0, g1 = 0, b1 = 0;
  size_t column = first[0];
  for (size_t k = 0; k < fromWidth_; ++k) {
    if (first[k] != column) {
      row[column * 3] = r0;
      row[column * 3 + 1] = g0;
      row[column * 3 + 2] = b0;
      r0 = r1, g0 = g1, b0 = b1;
      r1 = g1 = b1 = 0;
      column = first[k];
    }
    uint32_t r, g, b;
    source.Get(k, &r, &g, &b);
    const uint32_t a = inside[k], rest = kWhole - a;
    r0 += r * a, g0 += g * a, b0 += b * a;
    r1 += r * rest, g1 += g * rest, b1 += b * rest;
  }
  row[column * 3] = r0;
  row[column * 3 + 1] = g0;
  row[column * 3 + 2] = b0;
  row[column * 3 + 3] = r1;
  row[column * 3 + 4] = g1;
  row[column * 3 + 5] = b1;
  // Down: the row into the result row it lies in, and the next one.
  const size_t target = rows_.first[y_];
  while (emitted_ < target) Emit();
  const uint32_t a = rows_.inside[y_], rest = kWhole - a;
  AddScaled(current_.data(), row, a, row_.size());
  if (rest != 0) AddScaled(next_.data(), row, rest, row_.size());
  ++y_;
}

void RowShrinker::Emit() {
  if (emitted_ >= toHeight_) return;
  // A sum is at most 255 times its weight, so no average exceeds 255.
  const float down = rows_.scale[emitted_];
  uint32_t* out = out_ + emitted_ * toWidth_;
  const uint32_t* sums = current_.data();
  const float* across = columns_.scale.data();
  for (size_t j = 0; j < toWidth_; ++j) {
    const float weight = across[j] * down;
    const uint32_t* p = sums + j * 3;
    out[j] = (uint32_t)((float)p[0] * weight + 0.5f) << 16 | (uint32_t)((float)p[1] * weight + 0.5f) << 8 |
             (uint32_t)((float)p[2] * weight + 0.5f);
  }
  current_.swap(next_);
  std::fill(next_.begin(), next_.end(), 0u);
  ++emitted_;
}

void RowShrinker::Finish() {
  // Rows a damaged file never delivered come out black.
  while (emitted_ < toHeight_) Emit();
}

size_t ShrunkHeight(size_t fromWidth, size_t fromHeight, size_t toWidth) {
  const double h = std::round((double)fromHeight * (double)toWidth / (double)fromWidth);
  return (size_t)std::max(1.0, std::min(h, (double)fromHeight));
}

}  // namespace piclib
