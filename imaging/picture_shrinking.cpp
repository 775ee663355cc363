// A picture made smaller while its rows arrive from the decoder: each pixel
// of the result is the average of the part of the picture it covers (an area
// average, the smooth way to shrink), so no more than two rows of sums are
// ever held beside the result.
#include <algorithm>
#include <cmath>

#include "imaging/picture_internal.h"

namespace piclib {

// How `from` source pixels fall into `to` result pixels (to <= from): source
// pixel k lies in result pixel first[k] with the share inside[k] of itself,
// and in the next one with the rest.  total[j] is the weight result pixel j
// gathers, by which its sum is divided.
RowShrinker::Split RowShrinker::MakeSplit(size_t from, size_t to) {
  Split split;
  split.first.resize(from);
  split.inside.resize(from);
  split.total.assign(to + 1, 0.0f);
  const double scale = (double)to / (double)from;
  for (size_t k = 0; k < from; ++k) {
    const double begin = k * scale, end = (k + 1) * scale;
    size_t j = std::min((size_t)begin, to - 1);
    const double edge = (double)(j + 1);
    const float inside = end <= edge || j + 1 == to ? 1.0f : (float)((edge - begin) / scale);
    split.first[k] = (uint32_t)j;
    split.inside[k] = inside;
    split.total[j] += inside;
    split.total[j + 1] += 1.0f - inside;
  }
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

void RowShrinker::Add(const uint32_t* words) {
  if (y_ >= fromHeight_) return;
  // Across: the row's pixels into the result's columns.
  std::fill(row_.begin(), row_.end(), 0.0f);
  float* row = row_.data();
  const uint32_t* first = columns_.first.data();
  const float* inside = columns_.inside.data();
  for (size_t k = 0; k < fromWidth_; ++k) {
    const uint32_t w = words[k];
    const float r = (float)(w >> 16 & 0xFF), g = (float)(w >> 8 & 0xFF), b = (float)(w & 0xFF);
    const float a = inside[k], rest = 1.0f - a;
    float* at = row + (size_t)first[k] * 3;
    at[0] += r * a;
    at[1] += g * a;
    at[2] += b * a;
    at[3] += r * rest;
    at[4] += g * rest;
    at[5] += b * rest;
  }
  // Down: the row into the result row it lies in, and the next one.
  const size_t target = rows_.first[y_];
  while (emitted_ < target) Emit();
  const float a = rows_.inside[y_], rest = 1.0f - a;
  for (size_t i = 0; i < row_.size(); ++i) {
    current_[i] += row_[i] * a;
    next_[i] += row_[i] * rest;
  }
  ++y_;
}

void RowShrinker::Emit() {
  if (emitted_ >= toHeight_) return;
  const float down = std::max(rows_.total[emitted_], 1e-6f);
  uint32_t* out = out_ + emitted_ * toWidth_;
  for (size_t j = 0; j < toWidth_; ++j) {
    const float weight = std::max(columns_.total[j], 1e-6f) * down;
    auto channel = [&](int c) {
      const float v = current_[j * 3 + c] / weight + 0.5f;
      return (uint32_t)std::min(255.0f, std::max(0.0f, v));
    };
    out[j] = channel(0) << 16 | channel(1) << 8 | channel(2);
  }
  current_.swap(next_);
  std::fill(next_.begin(), next_.end(), 0.0f);
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
