#pragma once

// The colours of the modern pages: the album's own make the light look, and a
// dark look is derived from them for visitors whose system asks for one.

#include "model/albumclasses.h"

namespace folivant {

/// The colours of one look of the modern pages.
struct TThemeColors {
  TColor Page = kWhite;
  TColor Text = kBlack;
  /// Secondary text (counters, footnotes) between the text and page colours.
  TColor Muted = kBlack;
  TColor Link = kBlue;
  TColor HotLink = kRed;
  TColor Border = kBlack;
  bool operator==(const TThemeColors&) const = default;
};

/// The contrast ratio of two colours as the Web Content Accessibility
/// Guidelines define it: from 1 (equal) to 21 (black on white).
double ContrastRatio(TColor a, TColor b);

/// The album's colours; the muted text lies a little towards the page colour
/// where that keeps a contrast of 4.5 to the page, else it is the text colour.
TThemeColors LightTheme(const TColorScheme& scheme);

/// A dark look from the album's colours. An album whose page is dark already
/// keeps its own look. Otherwise the page becomes nearly black, tinted with
/// the page colour's hue, the text nearly white, and both link colours keep
/// their hues, lightened until they stand out from the page by a contrast of
/// at least 4.5.
TThemeColors DarkTheme(const TColorScheme& scheme);

}  // namespace folivant
