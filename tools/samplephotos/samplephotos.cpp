#include "samplephotos.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "jpegwriter.h"

namespace folivant::samples {

namespace {

// The markers of the Exif and the IPTC segments.
constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp13 = 0xED;

struct TRgb {
  float r, g, b;
};

TRgb Mix(TRgb a, TRgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

struct TScene {
  TRgb sky_top, sky_horizon, sun, far_hill, near_hill;
  float sun_x, sun_y, sun_radius;
  float horizon;
  uint32_t seed;
};

const TScene kScenes[] = {
    // dawn over soft hills
    {{70, 90, 150}, {250, 190, 150}, {255, 240, 200}, {120, 110, 140}, {50, 70, 50}, 0.7f, 0.45f, 0.05f, 0.55f, 11},
    // noon, high sun, green land
    {{40, 110, 210}, {170, 210, 240}, {255, 255, 235}, {90, 130, 110}, {60, 120, 40}, 0.25f, 0.12f, 0.04f, 0.6f, 23},
    // dusk, red light
    {{40, 30, 80}, {240, 110, 60}, {255, 200, 120}, {90, 50, 70}, {30, 25, 35}, 0.5f, 0.5f, 0.07f, 0.58f, 37},
    // hazy morning over water-blue ridges
    {{150, 170, 200}, {225, 225, 220}, {255, 250, 230}, {140, 155, 175}, {80, 95, 110}, 0.35f, 0.3f, 0.06f, 0.5f, 41},
    // night with a pale moon
    {{5, 10, 30}, {30, 45, 80}, {230, 230, 210}, {25, 30, 45}, {10, 12, 18}, 0.8f, 0.2f, 0.03f, 0.65f, 53},
    // autumn afternoon
    {{80, 130, 200}, {230, 220, 190}, {255, 245, 210}, {150, 110, 70}, {120, 70, 30}, 0.15f, 0.25f, 0.05f, 0.52f, 67},
};

// A small integer hash: the grain must be the same on every machine.
uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return h;
}

float Ridge(const TScene& scene, int layer, float u) {
  const float phase = static_cast<float>(scene.seed % 17) * 0.37f + static_cast<float>(layer) * 1.9f;
  const float base = scene.horizon + static_cast<float>(layer) * 0.14f;
  return base - 0.07f * std::sin(u * (3.0f + layer) + phase) - 0.03f * std::sin(u * (11.0f + 2 * layer) + 2 * phase);
}

TRgb Pixel(const TScene& scene, int x, int y, int width, int height) {
  const float u = static_cast<float>(x) / static_cast<float>(width);
  const float v = static_cast<float>(y) / static_cast<float>(height);
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  for (int layer = 2; layer >= 0; --layer) {
    const float ridge = Ridge(scene, layer, u);
    if (v < ridge) continue;
    // Nearer layers are darker and greener; each darkens towards its foot.
    const TRgb colour = Mix(scene.far_hill, scene.near_hill, static_cast<float>(layer) / 2.0f);
    const float shade = 1.0f - 0.35f * std::min(1.0f, (v - ridge) * 3.0f);
    return {colour.r * shade, colour.g * shade, colour.b * shade};
  }
  TRgb sky = Mix(scene.sky_top, scene.sky_horizon, std::min(1.0f, v / scene.horizon));
  const float dx = (u - scene.sun_x) * aspect, dy = v - scene.sun_y;
  const float distance = std::sqrt(dx * dx + dy * dy);
  if (distance < scene.sun_radius) return scene.sun;
  const float glow = std::max(0.0f, 1.0f - distance / (scene.sun_radius * 6.0f));
  return Mix(sky, scene.sun, glow * glow * 0.8f);
}

uint8_t Channel(float value, int grain) {
  return static_cast<uint8_t>(std::clamp(static_cast<int>(value) + grain, 0, 255));
}

std::vector<uint8_t> RenderScene(const TScene& scene, int width, int height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  size_t at = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const TRgb colour = Pixel(scene, x, y, width, height);
      const int grain = static_cast<int>(Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), scene.seed) % 13) - 6;
      rgb[at++] = Channel(colour.r, grain);
      rgb[at++] = Channel(colour.g, grain);
      rgb[at++] = Channel(colour.b, grain);
    }
  return rgb;
}

void Put16(std::string& out, uint16_t value, bool big_endian) {
  if (big_endian) {
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
  } else {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
  }
}

void Put32(std::string& out, uint32_t value, bool big_endian) {
  if (big_endian) {
    Put16(out, static_cast<uint16_t>(value >> 16), true);
    Put16(out, static_cast<uint16_t>(value & 0xFFFF), true);
  } else {
    Put16(out, static_cast<uint16_t>(value & 0xFFFF), false);
    Put16(out, static_cast<uint16_t>(value >> 16), false);
  }
}

// One 12-byte directory entry of type 2 (ASCII) or 4 (LONG), little-endian.
void PutEntry(std::string& out, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
  Put16(out, tag, false);
  Put16(out, type, false);
  Put32(out, count, false);
  Put32(out, value, false);
}

void PutDataset(std::string& out, uint8_t record, uint8_t dataset, const std::string& data) {
  out += '\x1C';
  out += static_cast<char>(record);
  out += static_cast<char>(dataset);
  Put16(out, static_cast<uint16_t>(std::min<size_t>(data.size(), 0x7FFF)), true);
  out += data.substr(0, 0x7FFF);
}

}  // namespace

std::string ExifSegment(const std::string& date_time) {
  // Offsets count from the TIFF header: IFD0 at 8 (two entries), its date
  // text at 38, the Exif sub-directory at 58 (one entry), its date text at 76.
  std::string date = date_time.substr(0, 19);
  date.resize(19, ' ');
  date += '\0';
  std::string tiff = "II";
  Put16(tiff, 42, false);
  Put32(tiff, 8, false);
  Put16(tiff, 2, false);
  PutEntry(tiff, 0x0132, 2, 20, 38);
  PutEntry(tiff, 0x8769, 4, 1, 58);
  Put32(tiff, 0, false);
  tiff += date;
  Put16(tiff, 1, false);
  PutEntry(tiff, 0x9003, 2, 20, 76);
  Put32(tiff, 0, false);
  tiff += date;
  return std::string("Exif\0\0", 6) + tiff;
}

std::string IptcSegment(const std::string& headline, const std::string& caption) {
  std::string iim;
  PutDataset(iim, 1, 90, "\x1B%G");  // the texts are UTF-8
  PutDataset(iim, 2, 0, std::string("\x00\x04", 2));
  if (!headline.empty()) PutDataset(iim, 2, 105, headline);
  if (!caption.empty()) PutDataset(iim, 2, 120, caption);
  std::string resource = "8BIM";
  Put16(resource, 0x0404, true);
  resource += std::string("\0\0", 2);  // an empty name, padded to an even length
  Put32(resource, static_cast<uint32_t>(iim.size()), true);
  resource += iim;
  if (iim.size() % 2 != 0) resource += '\0';
  return std::string("Photoshop 3.0\0", 14) + resource;
}

std::string MakeSamplePhoto(int scene, int width, int height, const TSampleMetadata& metadata, int quality) {
  if (width < 1 || height < 1) throw std::runtime_error("a sample photograph needs a size of at least 1 x 1");
  const TScene& chosen = kScenes[static_cast<size_t>(scene) % std::size(kScenes)];
  const std::vector<uint8_t> rgb = RenderScene(chosen, width, height);
  const std::string app1 = metadata.DateTimeOriginal.empty() ? "" : ExifSegment(metadata.DateTimeOriginal);
  const std::string app13 =
      metadata.Headline.empty() && metadata.Caption.empty() ? "" : IptcSegment(metadata.Headline, metadata.Caption);
  TJpegOptions options;
  options.Quality = quality;
  if (!app1.empty()) options.Segments.emplace_back(kApp1, app1);
  if (!app13.empty()) options.Segments.emplace_back(kApp13, app13);
  try {
    return WriteJpeg(rgb.data(), width, height, options);
  } catch (const std::runtime_error&) {
    throw std::runtime_error("libjpeg could not compress a sample photograph");
  }
}

const std::vector<TSamplePicture>& SamplePictures() {
  static const std::vector<TSamplePicture> pictures = {
      {"dsc_0101.jpg",
       0,
       1200,
       800,
       {"2023:06:17 05:48:10", "First light over the valley",
        "The sun comes up behind the ridge while the valley is still asleep."}},
      {"dsc_0102.jpg",
       1,
       1200,
       800,
       {"2023:06:15 12:30:00", "Midday on the high pasture", "Not a cloud all day; the cows kept to the shade."}},
      {"dsc_0103.jpg",
       2,
       1200,
       800,
       {"2023:06:14 21:05:42", "Evening glow", "The last of the light, seen from the terrace of the guest house."}},
      {"dsc_0104.jpg",
       3,
       800,
       1200,
       {"2023:06:16 07:15:00", "Morning haze", "Ridge after ridge, each one paler than the one before."}},
      {"dsc_0105.jpg",
       4,
       1200,
       800,
       {"2023:06:18 23:40:05", "Moonrise", "A clear, cold night: the moon over the dark hills."}},
      {"dsc_0106.jpg",
       5,
       1200,
       800,
       {"2023:06:13 16:20:30", "Caf\xC3\xA9 on the hillside", "Afternoon coffee with a view, on the way up."}},
  };
  return pictures;
}

}  // namespace folivant::samples
