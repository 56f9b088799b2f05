#include "generator/themecolors.h"

#include <algorithm>
#include <cmath>

namespace folivant {

namespace {

// The contrast the guidelines ask of normal text.
constexpr double kTextContrast = 4.5;
// A page darker than this (its relative luminance) is already a dark look.
constexpr double kDarkPageLuminance = 0.2;

struct TRgb {
  double R, G, B;  // 0 to 1
};

struct THsl {
  double H, S, L;  // hue in turns, saturation and lightness 0 to 1
};

TRgb Channels(TColor color) {
  return {static_cast<double>(color & 0xFF) / 255, static_cast<double>((color >> 8) & 0xFF) / 255,
          static_cast<double>((color >> 16) & 0xFF) / 255};
}

TColor ColorOf(TRgb rgb) {
  const auto byte = [](double value) { return static_cast<TColor>(std::lround(std::clamp(value, 0.0, 1.0) * 255)); };
  return byte(rgb.R) | byte(rgb.G) << 8 | byte(rgb.B) << 16;
}

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(TColor color) {
  const TRgb rgb = Channels(color);
  return 0.2126 * Linear(rgb.R) + 0.7152 * Linear(rgb.G) + 0.0722 * Linear(rgb.B);
}

THsl ToHsl(TColor color) {
  const TRgb c = Channels(color);
  const double high = std::max({c.R, c.G, c.B});
  const double low = std::min({c.R, c.G, c.B});
  const double lightness = (high + low) / 2;
  const double range = high - low;
  if (range == 0) return {0, 0, lightness};
  const double saturation = range / (1 - std::abs(2 * lightness - 1));
  double hue = high == c.R ? (c.G - c.B) / range : high == c.G ? 2 + (c.B - c.R) / range : 4 + (c.R - c.G) / range;
  hue /= 6;
  if (hue < 0) hue += 1;
  return {hue, saturation, lightness};
}

TColor FromHsl(THsl hsl) {
  const double chroma = (1 - std::abs(2 * hsl.L - 1)) * hsl.S;
  const double sector = hsl.H * 6;
  const double second = chroma * (1 - std::abs(std::fmod(sector, 2) - 1));
  TRgb c{0, 0, 0};
  if (sector < 1)
    c = {chroma, second, 0};
  else if (sector < 2)
    c = {second, chroma, 0};
  else if (sector < 3)
    c = {0, chroma, second};
  else if (sector < 4)
    c = {0, second, chroma};
  else if (sector < 5)
    c = {second, 0, chroma};
  else
    c = {chroma, 0, second};
  const double base = hsl.L - chroma / 2;
  return ColorOf({c.R + base, c.G + base, c.B + base});
}

// `from` moved towards `to` by `share` (0 to 1), channel by channel.
TColor Mix(TColor from, TColor to, double share) {
  const TRgb a = Channels(from);
  const TRgb b = Channels(to);
  return ColorOf({a.R + (b.R - a.R) * share, a.G + (b.G - a.G) * share, a.B + (b.B - a.B) * share});
}

TColor Muted(TColor text, TColor page) {
  for (const double share : {0.3, 0.15}) {
    const TColor muted = Mix(text, page, share);
    if (ContrastRatio(muted, page) >= kTextContrast) return muted;
  }
  return text;
}

// The colour's hue and saturation at the first lightness from its own (but
// at least `lightest_start`) upwards that stands out from `page`; white at
// the end of the scale always does on a dark page.
TColor Lightened(TColor color, TColor page, double lightest_start) {
  THsl hsl = ToHsl(color);
  for (hsl.L = std::max(hsl.L, lightest_start); hsl.L < 1; hsl.L += 0.02) {
    const TColor candidate = FromHsl(hsl);
    if (ContrastRatio(candidate, page) >= kTextContrast) return candidate;
  }
  return kWhite;
}

}  // namespace

double ContrastRatio(TColor a, TColor b) {
  const double first = Luminance(a);
  const double second = Luminance(b);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

TThemeColors LightTheme(const TColorScheme& scheme) {
  const TColor page = scheme.PageColor();
  return {page,
          scheme.TextColor,
          Muted(scheme.TextColor, page),
          scheme.LinkColor,
          scheme.HotLinkColor,
          scheme.BorderColor()};
}

TThemeColors DarkTheme(const TColorScheme& scheme) {
  if (Luminance(scheme.PageColor()) < kDarkPageLuminance) return LightTheme(scheme);
  const THsl page_hue = ToHsl(scheme.PageColor());
  const THsl text_hue = ToHsl(scheme.TextColor);
  const TColor page = FromHsl({page_hue.H, std::min(page_hue.S, 0.25), 0.09});
  const TColor text = FromHsl({text_hue.H, std::min(text_hue.S, 0.2), 0.9});
  return {page,
          text,
          Muted(text, page),
          Lightened(scheme.LinkColor, page, 0.55),
          Lightened(scheme.HotLinkColor, page, 0.55),
          FromHsl({page_hue.H, std::min(page_hue.S, 0.25), 0.25})};
}

}  // namespace folivant
