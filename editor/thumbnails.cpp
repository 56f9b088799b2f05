#include "editor/thumbnails.h"

#include <algorithm>
#include <vector>

#include "editor/previewscale.h"
#include "generator/colorprofile.h"
#include "generator/jpegcodec.h"
#include "generator/resampler.h"

namespace folivant {

namespace {

// A thumbnail is small: an eighth-size decode is enough for every photograph
// more than eight times the box, so the first reader usually is the only one.
constexpr int kProbeDenom = 8;
constexpr int32_t kRowBatch = 16;

// The picture's size fitted into the box, never enlarged, no side below 1.
std::pair<int32_t, int32_t> FittedSize(int32_t width, int32_t height, int32_t side) {
  if (width <= side && height <= side) return {width, height};
  if (width >= height) return {side, std::max<int32_t>(1, static_cast<int32_t>(int64_t{height} * side / width))};
  return {std::max<int32_t>(1, static_cast<int32_t>(int64_t{width} * side / height)), side};
}

// Streams the reader's rows into the fitted thumbnail: copied when the picture
// already fits, else through the tent filter, which never holds the whole picture.
TRaster DecodeFitted(TJpegReader& reader, int32_t side) {
  const auto [width, height] = FittedSize(reader.Width(), reader.Height(), side);
  TRaster picture(width, height);
  const bool fits = width == reader.Width() && height == reader.Height();
  std::optional<TTentResampler> resampler;
  if (!fits) resampler.emplace(reader.Width(), reader.Height(), TRotation::None, picture);
  const size_t row_length = static_cast<size_t>(reader.Width());
  std::vector<uint32_t> rows(row_length * kRowBatch);
  int32_t y = 0;
  while (const int32_t read = reader.ReadRows(rows.data(), kRowBatch)) {
    for (int32_t r = 0; r < read; ++r, ++y) {
      const uint32_t* row = rows.data() + static_cast<size_t>(r) * row_length;
      if (fits)
        std::copy_n(row, row_length, picture.Row(y));
      else
        resampler->AddRow(row);
    }
  }
  return picture;
}

}  // namespace

TThumbnail MakeThumbnail(const std::string& path, int32_t side) {
  CheckPictureExtension(path);
  TJpegReader probe(path, kProbeDenom);
  // The reduced size is the full size divided and rounded up: within 7 pixels.
  const int denom =
      PreviewScaleDenom(probe.Width() * kProbeDenom, probe.Height() * kProbeDenom, TRotation::None, side, side);
  std::optional<TJpegReader> finer;
  if (denom != kProbeDenom) finer.emplace(path, denom);
  TJpegReader& reader = finer ? *finer : probe;
  TThumbnail thumbnail{DecodeFitted(reader, side), denom};
  // The same colours as the published images.
  TSrgbConversion(reader.IccProfile()).Apply(thumbnail.Picture);
  return thumbnail;
}

}  // namespace folivant
