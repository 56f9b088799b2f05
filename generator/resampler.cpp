#include "generator/resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "generator/rotation.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Built with -ffp-contract=off (generator/CMakeLists.txt): the tap tables must come
// out of exactly these single-precision operations, never fused ones.

// The pixel passes are built twice on x86-64, for its baseline and for AVX2,
// and the processor's own kind is chosen when the program starts: a package
// runs on every x86-64, and twice as wide vectors make the passes faster.
#if defined(__x86_64__)
#define FOLIVANT_WIDEST_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define FOLIVANT_WIDEST_VECTORS
#endif

namespace folivant {

namespace {

constexpr int kChannels = 4;

float Tent(float t) {
  const float distance = std::fabs(t);
  return distance < 1.0f ? 1.0f - distance : 0.0f;
}

int32_t RoundWeight(float value) { return static_cast<int32_t>(std::nearbyintf(value)); }

// Makes the weights sum to exactly kWeightScale by moving the excess to the
// middle tap.
void Normalise(std::vector<TTap>& taps) {
  int32_t sum = 0;
  for (const TTap& tap : taps) sum += tap.Weight;
  const int32_t excess = sum - kWeightScale;
  if (excess != 0) taps[(taps.size() - 1) / 2].Weight -= excess;
}

std::vector<TTap> TentTapsAt(int32_t index, float step, float scale, int32_t source_length) {
  const float centre = static_cast<float>(index) * step;
  const bool reducing = scale < 1.0f;
  const float radius = reducing ? step : 1.0f;
  const auto first = static_cast<int32_t>(std::floor(centre - radius));
  const auto last = static_cast<int32_t>(std::ceil(centre + radius));
  std::vector<TTap> taps;
  for (int32_t j = first; j <= last; ++j) {
    const float offset = centre - static_cast<float>(j);
    const int32_t weight =
        reducing ? RoundWeight(256.0f * Tent(offset * scale) * scale) : RoundWeight(256.0f * Tent(offset));
    if (weight != 0) taps.push_back({std::clamp(j, 0, source_length - 1), weight});
  }
  if (taps.empty()) {
    // A reduction so strong that every weight rounds to 0: take the nearest pixel.
    const auto nearest = static_cast<int32_t>(std::floor(centre));
    return {{std::clamp(nearest, 0, source_length - 1), kWeightScale}};
  }
  Normalise(taps);
  return taps;
}

}  // namespace

TTapTable TentTaps(int32_t source_length, int32_t destination_length) {
  const auto size = static_cast<size_t>(destination_length);
  if (source_length == 1) return TTapTable(size, {{0, kWeightScale}});
  const float scale = static_cast<float>(destination_length - 1) / static_cast<float>(source_length - 1);
  if (scale == 0.0f) return TTapTable(size, {{source_length / 2, kWeightScale}});
  const float step = 1.0f / scale;
  TTapTable table(size);
  for (int32_t i = 0; i < destination_length; ++i)
    table[static_cast<size_t>(i)] = TentTapsAt(i, step, scale, source_length);
  return table;
}

std::vector<TTap> BilinearTable(int32_t source_length, int32_t destination_length) {
  const auto size = static_cast<size_t>(destination_length);
  // A single source pixel serves every destination index alone.
  if (source_length == 1) return std::vector<TTap>(size, {0, kWeightScale});
  const float ratio = static_cast<float>(source_length - 1) / static_cast<float>(destination_length - 1);
  std::vector<TTap> table(size);
  for (size_t i = 0; i < size; ++i) {
    const float x = static_cast<float>(i) * ratio;
    const float whole = std::floor(x);
    table[i] = {static_cast<int32_t>(whole), kWeightScale - RoundWeight((x - whole) * 256.0f)};
  }
  // The last index would pair the last column with one beyond the edge.
  if (table.back().Position == source_length - 1) table.back() = {source_length - 2, 0};
  return table;
}

TStretchMethod StretchMethod(int32_t sw, int32_t sh, int32_t dw, int32_t dh) {
  if (sw == 0 || sh == 0 || dw == 0 || dh == 0) return TStretchMethod::Nothing;
  if (dw == sw && dh == sh) return TStretchMethod::Copy;
  if (dw > sw && dh > sh) return TStretchMethod::Bilinear;
  return TStretchMethod::Tent;
}

namespace {

// The two-pass bilinear mix; the vertical mix truncates before the horizontal
// one, so the passes keep this order.
void BilinearStretch(const TRaster& source, TRaster& destination) {
  const std::vector<TTap> columns = BilinearTable(source.Width, destination.Width);
  const std::vector<TTap> rows = BilinearTable(source.Height, destination.Height);
  const size_t row_length = static_cast<size_t>(source.Width) * kChannels;
  std::vector<uint16_t> mix(row_length);
  TTap mixed_row{-1, -1};
  for (int32_t r = 0; r < destination.Height; ++r) {
    const TTap row = rows[static_cast<size_t>(r)];
    if (!(row == mixed_row)) {
      const auto* top = reinterpret_cast<const uint8_t*>(source.Row(row.Position));
      const auto* bottom = reinterpret_cast<const uint8_t*>(source.Row(std::min(row.Position + 1, source.Height - 1)));
      const auto top_weight = static_cast<uint16_t>(row.Weight);
      const auto bottom_weight = static_cast<uint16_t>(kWeightScale - row.Weight);
      for (size_t j = 0; j < row_length; ++j) {
        mix[j] = static_cast<uint16_t>((top_weight * top[j] + bottom_weight * bottom[j]) >> 8);
      }
      mixed_row = row;
    }
    auto* out = reinterpret_cast<uint8_t*>(destination.Row(r));
    for (const TTap& column : columns) {
      const uint16_t* left = &mix[static_cast<size_t>(column.Position) * kChannels];
      const uint16_t* right = &mix[static_cast<size_t>(std::min(column.Position + 1, source.Width - 1)) * kChannels];
      for (int c = 0; c < kChannels; ++c) {
        *out++ = static_cast<uint8_t>((column.Weight * left[c] + (kWeightScale - column.Weight) * right[c]) >> 8);
      }
    }
  }
}

}  // namespace

TRaster Stretch(const TRaster& source, int32_t width, int32_t height) {
  TRaster destination(width, height);
  switch (StretchMethod(source.Width, source.Height, width, height)) {
    case TStretchMethod::Nothing: break;
    case TStretchMethod::Copy: destination.Pixels = source.Pixels; break;
    case TStretchMethod::Bilinear: BilinearStretch(source, destination); break;
    case TStretchMethod::Tent: {
      TTentResampler resampler(source.Width, source.Height, TRotation::None, destination);
      for (int32_t y = 0; y < source.Height; ++y) resampler.AddRow(source.Row(y));
      break;
    }
  }
  return destination;
}

namespace {

void Mirror(TTapTable& table, int32_t source_length) {
  for (std::vector<TTap>& taps : table) {
    for (TTap& tap : taps) tap.Position = source_length - 1 - tap.Position;
  }
}

// Adds weight x every byte of the row to the running sums. The vertical sums fit
// 16 bits exactly: non-negative weights summing to 256 times bytes up to 255
// never exceed 65280.
FOLIVANT_WIDEST_VECTORS void Accumulate(uint16_t* __restrict sums, const uint8_t* __restrict bytes, size_t length,
                                        uint16_t weight) {
  for (size_t j = 0; j < length; ++j) sums[j] = static_cast<uint16_t>(sums[j] + weight * bytes[j]);
}

// The first row of a destination index starts its sums.
FOLIVANT_WIDEST_VECTORS void StartSums(uint16_t* __restrict sums, const uint8_t* __restrict bytes, size_t length,
                                       uint16_t weight) {
  for (size_t j = 0; j < length; ++j) sums[j] = static_cast<uint16_t>(weight * bytes[j]);
}

// The four channels of a pixel side by side, so that the horizontal pass works
// on whole pixels at once (GCC and Clang map these to the machine's vector
// instructions, or to plain code where there are none).
using TChannelSums = int32_t __attribute__((vector_size(16)));
using TFloatSums = float __attribute__((vector_size(16)));

// The channels' sums divided by 65536, each 0 to 255, packed into one pixel word.
uint32_t Packed(TFloatSums sums) {
#if defined(__SSE2__)
  const __m128i channels = _mm_srli_epi32(_mm_cvttps_epi32(sums), 16);
  const __m128i words = _mm_packs_epi32(channels, channels);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
#else
  const TChannelSums channels = __builtin_convertvector(sums, TChannelSums) >> 16;
  uint8_t pixel[kChannels];
  for (int c = 0; c < kChannels; ++c) pixel[c] = static_cast<uint8_t>(channels[c]);
  uint32_t word = 0;
  std::memcpy(&word, pixel, sizeof word);
  return word;
#endif
}

bool ByPosition(const TTap& a, const TTap& b) { return a.Position < b.Position; }

// One horizontal pass: `count` destination pixels, `step` words apart from
// `pixels`, each from `taps` columns of `floats` (see TSpanTable).
struct TAcross {
  const float* Floats;
  const int32_t* First;
  const TFloatSums* Weights;
  int32_t Count;
  uint32_t* Pixels;
  size_t Step;
};

[[gnu::always_inline]] inline void SumAcrossTaps(const TAcross& pass, int32_t taps) {
  const TFloatSums* weights = pass.Weights;
  for (int32_t i = 0; i < pass.Count; ++i) {
    const float* column = pass.Floats + pass.First[i];
    TFloatSums sum = {0, 0, 0, 0};
    for (int32_t t = 0; t < taps; ++t, column += kChannels) {
      TFloatSums channels;
      std::memcpy(&channels, column, sizeof channels);
      sum += *weights++ * channels;
    }
    pass.Pixels[static_cast<size_t>(i) * pass.Step] = Packed(sum);
  }
}

template <int32_t kTaps>
[[gnu::always_inline]] inline void SumAcrossTaps(const TAcross& pass) {
  SumAcrossTaps(pass, kTaps);
}

}  // namespace

TTentResampler::TTentResampler(int32_t source_width, int32_t source_height, TRotation rotation, TRaster& destination)
    : destination_(destination) {
  int32_t turned_width = 0;
  int32_t turned_height = 0;
  TurnedSize(rotation, source_width, source_height, &turned_width, &turned_height);
  const TTurnAxes axes = TurnAxes(rotation);
  swaps_axes_ = axes.SwapsAxes;
  // The turned picture's tables, laid onto the source's axes: the tables are not
  // symmetric, so a mirrored axis takes mirrored taps rather than a mirrored result.
  TTapTable columns = TentTaps(turned_width, destination.Width);
  TTapTable rows = TentTaps(turned_height, destination.Height);
  TTapTable across = std::move(axes.SwapsAxes ? rows : columns);
  TTapTable down = std::move(axes.SwapsAxes ? columns : rows);
  if (axes.MirrorsSourceX) Mirror(across, source_width);
  if (axes.MirrorsSourceY) Mirror(down, source_height);

  int32_t first_column = source_width - 1;
  int32_t last_column = 0;
  for (const std::vector<TTap>& taps : across) {
    for (const TTap& tap : taps) {
      first_column = std::min(first_column, tap.Position);
      last_column = std::max(last_column, tap.Position);
    }
  }
  first_column_ = first_column;
  sums_length_ = static_cast<size_t>(last_column - first_column + 1) * kChannels;
  // Each destination index's taps as one run of neighbouring columns with a
  // weight each: taps on the same column (beyond an edge) add up, a column
  // between two taps gets 0, and so do the columns that pad a run to Taps.
  for (const std::vector<TTap>& taps : across) {
    const auto [low, high] = std::minmax_element(taps.begin(), taps.end(), ByPosition);
    across_.Taps = std::max(across_.Taps, high->Position - low->Position + 1);
  }
  for (const std::vector<TTap>& taps : across) {
    const int32_t low = std::min_element(taps.begin(), taps.end(), ByPosition)->Position;
    std::vector<float> weights(static_cast<size_t>(across_.Taps), 0.0f);
    for (const TTap& tap : taps) weights[static_cast<size_t>(tap.Position - low)] += static_cast<float>(tap.Weight);
    across_.First.push_back((low - first_column) * kChannels);
    for (const float weight : weights) across_.Weights.push_back(TFloatSums{weight, weight, weight, weight});
  }
  // The padding columns past the last are read as 0.
  floats_.resize(sums_length_ + static_cast<size_t>(across_.Taps) * kChannels, 0.0f);

  // Invert the down table: which destination indices each source row feeds.
  std::vector<std::vector<TEntry>> feeds(static_cast<size_t>(source_height));
  std::vector<std::vector<int32_t>> finishes(static_cast<size_t>(source_height));
  for (int32_t index = 0; index < static_cast<int32_t>(down.size()); ++index) {
    int32_t last_row = 0;
    for (const TTap& tap : down[static_cast<size_t>(index)]) {
      std::vector<TEntry>& row_feeds = feeds[static_cast<size_t>(tap.Position)];
      // Taps beyond the edge land on the same row: one entry with their summed weight.
      if (!row_feeds.empty() && row_feeds.back().Index == index) {
        row_feeds.back().Weight += tap.Weight;
      } else {
        row_feeds.push_back({index, tap.Weight});
      }
      last_row = std::max(last_row, tap.Position);
    }
    finishes[static_cast<size_t>(last_row)].push_back(index);
  }
  feeds_start_.push_back(0);
  finishes_start_.push_back(0);
  for (int32_t y = 0; y < source_height; ++y) {
    feeds_.insert(feeds_.end(), feeds[static_cast<size_t>(y)].begin(), feeds[static_cast<size_t>(y)].end());
    feeds_start_.push_back(static_cast<int32_t>(feeds_.size()));
    finishes_.insert(finishes_.end(), finishes[static_cast<size_t>(y)].begin(), finishes[static_cast<size_t>(y)].end());
    finishes_start_.push_back(static_cast<int32_t>(finishes_.size()));
  }
  slot_of_.assign(down.size(), -1);
}

void TTentResampler::AddRow(const uint32_t* row) {
  const int32_t y = row_++;
  const auto* bytes = reinterpret_cast<const uint8_t*>(row + first_column_);
  for (int32_t f = feeds_start_[static_cast<size_t>(y)]; f < feeds_start_[static_cast<size_t>(y) + 1]; ++f) {
    const TEntry& entry = feeds_[static_cast<size_t>(f)];
    int32_t& slot = slot_of_[static_cast<size_t>(entry.Index)];
    const auto weight = static_cast<uint16_t>(entry.Weight);
    if (slot >= 0) {
      Accumulate(slots_[static_cast<size_t>(slot)].data(), bytes, sums_length_, weight);
      continue;
    }
    if (free_slots_.empty()) {
      slot = static_cast<int32_t>(slots_.size());
      slots_.emplace_back(sums_length_);
    } else {
      slot = free_slots_.back();
      free_slots_.pop_back();
    }
    StartSums(slots_[static_cast<size_t>(slot)].data(), bytes, sums_length_, weight);
  }
  for (int32_t f = finishes_start_[static_cast<size_t>(y)]; f < finishes_start_[static_cast<size_t>(y) + 1]; ++f) {
    const int32_t index = finishes_[static_cast<size_t>(f)];
    int32_t& slot = slot_of_[static_cast<size_t>(index)];
    Finish(index, slots_[static_cast<size_t>(slot)].data());
    free_slots_.push_back(slot);
    slot = -1;
  }
}

// The horizontal pass over one destination index's vertical sums, writing its
// pixels `step` words apart from `first_pixel`; the sums are exact integers,
// so S div 65536 is bits 16 to 23. It sums in single precision, four channels
// at once on every processor with vector instructions (x86-64 has no 32-bit
// integer multiply of four lanes before SSE4.1), and is exact: every product
// and every partial sum is a whole number below 65280 x 256 < 2^24, which a
// float holds exactly, so neither the order of the taps nor the padding ones
// change a result.
FOLIVANT_WIDEST_VECTORS void TTentResampler::SumAcross(const uint16_t* __restrict sums, float* __restrict floats,
                                                       size_t length, const TSpanTable& across, uint32_t* first_pixel,
                                                       size_t step) {
  for (size_t j = 0; j < length; ++j) floats[j] = static_cast<float>(sums[j]);
  const TAcross pass{
      floats, across.First.data(), across.Weights.data(), static_cast<int32_t>(across.First.size()), first_pixel, step};
  // The common widths of a run unrolled; a tap count beyond them (a very
  // strong reduction) loops.
  switch (across.Taps) {
    case 1: return SumAcrossTaps<1>(pass);
    case 2: return SumAcrossTaps<2>(pass);
    case 3: return SumAcrossTaps<3>(pass);
    case 4: return SumAcrossTaps<4>(pass);
    case 5: return SumAcrossTaps<5>(pass);
    case 6: return SumAcrossTaps<6>(pass);
    case 7: return SumAcrossTaps<7>(pass);
    case 8: return SumAcrossTaps<8>(pass);
    default: return SumAcrossTaps(pass, across.Taps);
  }
}

void TTentResampler::Finish(int32_t index, const uint16_t* sums) {
  uint32_t* first = swaps_axes_ ? &destination_.At(index, 0) : &destination_.At(0, index);
  const size_t step = swaps_axes_ ? static_cast<size_t>(destination_.Width) : 1;
  SumAcross(sums, floats_.data(), sums_length_, across_, first, step);
}

}  // namespace folivant
