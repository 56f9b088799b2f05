#include "wizard/photosizes.h"

#include <algorithm>

namespace folivant {
namespace {

bool IsClassicList(const TAlbumSettings& settings) { return settings.PageStyle == TPageStyle::Classic; }

TPhotoSizeChoice Standard(TPhotoSize size) {
  TAlbumSettings settings;
  settings.SetPhotoSize(size);
  return {size, settings.PhotoWidth, settings.PhotoHeight};
}

}  // namespace

std::vector<TPhotoSizeChoice> PhotoSizeChoices(const TAlbumSettings& settings) {
  if (IsClassicList(settings)) {
    std::vector<TPhotoSizeChoice> choices;
    for (const TPhotoSize size :
         {TPhotoSize::Small, TPhotoSize::Medium, TPhotoSize::Large, TPhotoSize::Custom, TPhotoSize::Original})
      choices.push_back(Standard(size));
    return choices;
  }
  std::vector<TPhotoSizeChoice> choices;
  for (const int32_t side : kModernPhotoSides) choices.push_back({TPhotoSize::Custom, side, side});
  choices.push_back(Standard(TPhotoSize::Original));
  if (settings.PhotoSize != TPhotoSize::Original && !settings.HasModernPhotoSize())
    choices.push_back({settings.PhotoSize, settings.PhotoWidth, settings.PhotoHeight});
  return choices;
}

int PhotoSizeChoiceIndex(const TAlbumSettings& settings) {
  const std::vector<TPhotoSizeChoice> choices = PhotoSizeChoices(settings);
  const auto found = std::find_if(choices.begin(), choices.end(), [&](const TPhotoSizeChoice& choice) {
    if (choice.Size != settings.PhotoSize) return false;
    return IsClassicList(settings) || settings.PhotoSize == TPhotoSize::Original ||
           (choice.Width == settings.PhotoWidth && choice.Height == settings.PhotoHeight);
  });
  return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
}

void ApplyPhotoSizeChoice(TAlbumSettings& settings, const TPhotoSizeChoice& choice) {
  settings.SetPhotoSize(choice.Size);
  if (!IsClassicList(settings) && choice.Size != TPhotoSize::Original) {
    settings.PhotoWidth = choice.Width;
    settings.PhotoHeight = choice.Height;
  }
}

}  // namespace folivant
