#include <algorithm>
#include <set>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "model/albumclasses.h"
#include "model/identifier.h"
#include "platform/filesystem.h"
#include "platform/text.h"

namespace folivant {

constexpr char kThumbnailSuffix[] = "_small";

TColorScheme::TColorScheme() { SetPageColor(kWhite); }

static uint8_t Channel(TColor color, int shift) { return static_cast<uint8_t>((color >> shift) & 0xFF); }

void TColorScheme::SetPageColor(TColor color) {
  page_color_ = color;
  const int red = Channel(color, 0), green = Channel(color, 8), blue = Channel(color, 16);
  // Brightness 0.56 r + 0.33 g + 0.11 b, counted in hundredths so that a half
  // is exact and goes to the even neighbour (floating point misses some halves).
  const int hundredths = red * 56 + green * 33 + blue * 11;
  int brightness = hundredths / 100;
  const int rest = hundredths % 100;
  if (rest > 50 || (rest == 50 && brightness % 2 == 1)) ++brightness;
  const int offset = brightness > 128 ? -40 : 40;
  const auto shifted = [offset](int channel) { return static_cast<TColor>(std::clamp(channel + offset, 0, 255)); };
  border_color_ = shifted(red) | (shifted(green) << 8) | (shifted(blue) << 16);
}

void TColorScheme::Assign(const TColorScheme& other) {
  Name = other.Name;
  SetPageColor(other.PageColor());
  border_color_ = other.border_color_;
  TextColor = other.TextColor;
  LinkColor = other.LinkColor;
  HotLinkColor = other.HotLinkColor;
}

TAlbumSettings::TAlbumSettings() {
  SetThumbSize(TPhotoSize::Medium);
  SetPhotoSize(TPhotoSize::Medium);
  SetOutputDirectory("");
}

namespace {

struct TStandardSize {
  TPhotoSize size;
  int32_t width, height;
};

// Original and Custom photographs start from 1024 x 768; an Original thumbnail
// keeps the size it has.
constexpr TStandardSize kPhotoSizes[] = {{TPhotoSize::Small, 320, 240},
                                         {TPhotoSize::Medium, 640, 480},
                                         {TPhotoSize::Large, 800, 600},
                                         {TPhotoSize::Original, 1024, 768},
                                         {TPhotoSize::Custom, 1024, 768}};
constexpr TStandardSize kThumbSizes[] = {{TPhotoSize::Small, 80, 60},
                                         {TPhotoSize::Medium, 100, 75},
                                         {TPhotoSize::Large, 120, 90},
                                         {TPhotoSize::Custom, 140, 105}};

template <size_t Count>
void SetStandardSize(const TStandardSize (&table)[Count], TPhotoSize size, int32_t& width, int32_t& height) {
  for (const TStandardSize& standard : table)
    if (standard.size == size) width = standard.width, height = standard.height;
}

}  // namespace

bool IsWebAddress(std::string_view text) {
  for (const std::string_view scheme : {"http://", "https://"}) {
    if (!text.starts_with(scheme) || text.size() == scheme.size()) continue;
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  }
  return false;
}

void TAlbumSettings::SetPhotoSize(TPhotoSize size) {
  PhotoSize = size;
  SetStandardSize(kPhotoSizes, size, PhotoWidth, PhotoHeight);
}

bool TAlbumSettings::HasModernPhotoSize() const {
  return PhotoSize == TPhotoSize::Custom && PhotoWidth == PhotoHeight &&
         std::find(std::begin(kModernPhotoSides), std::end(kModernPhotoSides), PhotoWidth) !=
             std::end(kModernPhotoSides);
}

void TAlbumSettings::SetPageStyle(TPageStyle style) {
  if (style == PageStyle) return;
  PageStyle = style;
  // Original suits both; a custom size that is neither style's own stays too.
  const bool classic_size =
      PhotoSize == TPhotoSize::Small || PhotoSize == TPhotoSize::Medium || PhotoSize == TPhotoSize::Large;
  if (style == TPageStyle::Modern && classic_size) {
    PhotoSize = TPhotoSize::Custom;
    PhotoWidth = PhotoHeight = std::end(kModernPhotoSides)[-1];
  } else if (style == TPageStyle::Classic && HasModernPhotoSize()) {
    SetPhotoSize(TPhotoSize::Medium);
  }
}

void TAlbumSettings::SetThumbSize(TPhotoSize size) {
  ThumbSize = size;
  SetStandardSize(kThumbSizes, size, ThumbWidth, ThumbHeight);
}

void TAlbumSettings::SetOutputDirectory(const std::string& path) {
  OutputDirectory = path;
  if (!OutputDirectory.empty() && OutputDirectory.back() != kPathDelimiter) OutputDirectory += kPathDelimiter;
}

TPhotograph& TPhotographList::Add(std::unique_ptr<TPhotograph> photograph) {
  items_.push_back(std::move(photograph));
  return *items_.back();
}

int TPhotographList::IndexOf(const TPhotograph* photograph) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == photograph) return static_cast<int>(i);
  return -1;
}

void TPhotographList::Remove(const TPhotograph* photograph) {
  const int index = IndexOf(photograph);
  if (index >= 0) items_.erase(items_.begin() + index);
}

std::unique_ptr<TPhotograph> TPhotographList::Take(int index) {
  std::unique_ptr<TPhotograph> taken = std::move(items_.at(static_cast<size_t>(index)));
  items_.erase(items_.begin() + index);
  return taken;
}

TPhotograph& TPhotographList::Insert(int index, std::unique_ptr<TPhotograph> photograph) {
  if (index < 0 || index > Count()) throw std::out_of_range("no place for a photograph at " + std::to_string(index));
  return **items_.insert(items_.begin() + index, std::move(photograph));
}

std::vector<const TPhotograph*> TPhotographList::Order() const {
  std::vector<const TPhotograph*> order;
  order.reserve(items_.size());
  for (const std::unique_ptr<TPhotograph>& item : items_) order.push_back(item.get());
  return order;
}

void TPhotographList::Arrange(const std::vector<const TPhotograph*>& order) {
  std::unordered_map<const TPhotograph*, size_t> position;
  for (size_t i = 0; i < items_.size(); ++i) position.emplace(items_[i].get(), i);
  std::vector<size_t> taken_from;
  taken_from.reserve(order.size());
  for (const TPhotograph* photograph : order) {
    const auto found = position.find(photograph);
    if (found == position.end()) break;
    taken_from.push_back(found->second);
    position.erase(found);  // a photograph named twice is not found again
  }
  if (taken_from.size() != items_.size() || order.size() != items_.size())
    throw std::invalid_argument("the order does not name every photograph of the album once");
  std::vector<std::unique_ptr<TPhotograph>> arranged;
  arranged.reserve(items_.size());
  for (const size_t from : taken_from) arranged.push_back(std::move(items_[from]));
  items_ = std::move(arranged);
}

void TPhotographList::Move(int from, int to) {
  if (from == to) return;
  std::unique_ptr<TPhotograph> moved = std::move(items_.at(static_cast<size_t>(from)));
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + std::clamp(to, 0, Count()), std::move(moved));
}

// Hoare partitioning around a pivot value: every scan compares against the same
// pivot, so it stops inside the range even when the comparison is not
// transitive (the date comparison mixes two orders).
void TPhotographList::Sort(int (*compare)(const TPhotograph&, const TPhotograph&)) {
  const auto sort = [&](auto& self, int left, int right) -> void {
    while (left < right) {
      int i = left, j = right;
      const TPhotograph* pivot = items_[static_cast<size_t>((left + right) / 2)].get();
      do {
        while (i < right && compare(*items_[static_cast<size_t>(i)], *pivot) < 0) ++i;
        while (j > left && compare(*items_[static_cast<size_t>(j)], *pivot) > 0) --j;
        if (i <= j) {
          std::swap(items_[static_cast<size_t>(i)], items_[static_cast<size_t>(j)]);
          ++i;
          --j;
        }
      } while (i <= j);
      if (left < j) self(self, left, j);
      left = i;
    }
  };
  sort(sort, 0, Count() - 1);
}

TAlbum::TAlbum() = default;

bool TAlbum::AnyMissing() const {
  for (int i = 0; i < Photographs.Count(); ++i)
    if (Photographs[i].Missing()) return true;
  return false;
}

void TAlbum::SortByTitle() { Photographs.Sort(CompareByTitle); }
void TAlbum::SortByFileName() { Photographs.Sort(CompareByFileName); }
void TAlbum::SortByDate() { Photographs.Sort(CompareByDate); }

// Every name a run gives a file must fit the 255 bytes a file name may have on
// Linux file systems; the longest are the modern style's
// "<web name>_small@2x.jpg" (so in both styles, and a photograph keeps its
// names when the style changes) and "<base>.alb".
constexpr size_t kMaxFileNameBytes = 255;
constexpr size_t kMaxWebNameBytes = kMaxFileNameBytes - std::string_view("_small@2x.jpg").size();
constexpr size_t kMaxAlbumFileBaseNameBytes = kMaxFileNameBytes - std::string_view(".alb").size();

std::string TAlbum::AlbumFileBaseName() const {
  const std::string result = AsciiIdentifier(Title).substr(0, kMaxAlbumFileBaseNameBytes);
  return result.empty() ? "MyAlbum" : result;
}

// The web name tried the `number`th time: the base, then the base with 2, 3, ...
// shortened so that the number still fits.
static std::string WebNameCandidate(const std::string& base, int number) {
  const std::string suffix = number < 2 ? "" : std::to_string(number);
  return base.substr(0, kMaxWebNameBytes - suffix.size()) + suffix;
}

// The base names of the index pages the album will have; keep in step with
// TAlbumPageGenerator::IndexPageFileName.
static std::set<std::string> IndexPageNames(const TAlbum& album) {
  const int64_t per_page = std::max<int64_t>(int64_t{album.Settings.ThumbnailRows} * album.Settings.ThumbnailCols, 1);
  const int64_t pages = std::max<int64_t>((album.Photographs.Count() + per_page - 1) / per_page, 1);
  std::set<std::string> names{"index"};
  for (int64_t page = 2; page <= pages; ++page) names.insert("index" + std::to_string(page));
  return names;
}

void TAlbum::AssignWebNames() {
  // Taken are the names of every page and picture given so far, thumbnails
  // and index pages included, so that no file of a run is written twice.
  std::set<std::string> taken = IndexPageNames(*this);
  const auto is_free = [&taken](const std::string& name) {
    return !taken.contains(name) && !taken.contains(name + kThumbnailSuffix);
  };
  for (int i = 0; i < Photographs.Count(); ++i) {
    TPhotograph& photograph = Photographs[i];
    const std::string base = photograph.BaseWebName();
    std::string candidate = WebNameCandidate(base, 1);
    for (int n = 2; !is_free(AsciiLowerCase(candidate)); ++n) candidate = WebNameCandidate(base, n);
    taken.insert(AsciiLowerCase(candidate));
    taken.insert(AsciiLowerCase(candidate) + kThumbnailSuffix);
    photograph.WebName = candidate;
  }
}

}  // namespace folivant
