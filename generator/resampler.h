#pragma once

#include <cstdint>
#include <vector>

#include "generator/raster.h"
#include "model/albumclasses.h"

namespace folivant {

/// Weights are 8-bit fixed point: the weights of one destination index sum to this.
inline constexpr int32_t kWeightScale = 256;

/// One source position of a destination index with its integer weight.
struct TTap {
  int32_t Position = 0;
  int32_t Weight = 0;
  bool operator==(const TTap&) const = default;
};

/// For each destination index its taps, in the order they were made.
using TTapTable = std::vector<std::vector<TTap>>;

/// The tent filter's taps along one axis (corner-aligned, edges repeated);
/// both lengths at least 1.
TTapTable TentTaps(int32_t source_length, int32_t destination_length);

/// The bilinear enlargement's entry per destination index: the first source
/// position and its weight; the next position takes the rest of kWeightScale.
/// Needs destination_length > source_length >= 1.
std::vector<TTap> BilinearTable(int32_t source_length, int32_t destination_length);

enum class TStretchMethod { Nothing, Copy, Bilinear, Tent };

/// How a sw x sh source is stretched to dw x dh: nothing for an empty side,
/// a copy for equal sizes, bilinear when enlarging both ways, else the tent filter.
TStretchMethod StretchMethod(int32_t sw, int32_t sh, int32_t dw, int32_t dh);

/// The whole source stretched onto a new width x height raster (left all 0 when
/// either is empty).
TRaster Stretch(const TRaster& source, int32_t width, int32_t height);

/// The tent filter fed row by row: stretches a source of source_width x
/// source_height, turned by `rotation`, onto `destination` (already of the target
/// size), without ever holding more than the few source rows' sums that the
/// filter needs at once. The result is the same as turning the whole source and
/// then stretching it with the tent filter.
class TTentResampler {
 public:
  /// `destination` is borrowed and must outlive the resampler.
  TTentResampler(int32_t source_width, int32_t source_height, TRotation rotation, TRaster& destination);

  /// Takes the next source row (source_width words, rows from the top).
  void AddRow(const uint32_t* row);

 private:
  struct TEntry {
    int32_t Index;
    int32_t Weight;
  };
  /// Four floats, one lane per channel.
  using TFloatSums = float __attribute__((vector_size(16)));
  /// The horizontal taps flattened, every index given the same number of
  /// neighbouring columns (Taps; those beyond its own weigh 0), so that the
  /// pass over them has a fixed length: index i takes the columns from
  /// First[i] (an offset into the row of sums) on, with the weights from
  /// Weights[i * Taps] on, each given for all four channels.
  struct TSpanTable {
    int32_t Taps = 0;
    std::vector<int32_t> First;
    std::vector<TFloatSums> Weights;
  };

  void Finish(int32_t index, const uint16_t* sums);
  static void SumAcross(const uint16_t* sums, float* floats, size_t length, const TSpanTable& across,
                        uint32_t* first_pixel, size_t step);

  TRaster& destination_;
  bool swaps_axes_;
  int32_t row_ = 0;
  // Along source columns: the destination indices fed by each source column range.
  TSpanTable across_;
  int32_t first_column_ = 0;
  size_t sums_length_ = 0;
  // The vertical sums of the destination row being finished, as floats.
  std::vector<float> floats_;
  // Along source rows: for each source row, the destination indices it feeds,
  // and the indices whose last source row it is.
  std::vector<int32_t> feeds_start_;
  std::vector<TEntry> feeds_;
  std::vector<int32_t> finishes_start_;
  std::vector<int32_t> finishes_;
  // The running vertical sums of the destination indices in progress.
  std::vector<int32_t> slot_of_;
  std::vector<std::vector<uint16_t>> slots_;
  std::vector<int32_t> free_slots_;
};

}  // namespace folivant
