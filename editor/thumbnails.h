#pragma once

// The photo list's thumbnails without a window (a picture file's content is
// known by its TFileStamp): the reduced decode that makes a thumbnail, and the cache
// that keeps them while the program runs.

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "generator/raster.h"
#include "platform/fileidentity.h"

namespace folivant {

/// A thumbnail as it came out of the decoder, upright as the file stores it,
/// in sRGB colours as the published images.
struct TThumbnail {
  /// Fitted into the box keeping its proportions, never enlarged.
  TRaster Picture;
  /// How many times smaller than the file it was decoded (1, 2, 4 or 8).
  int ScaleDenom = 1;
};

/// The JPEG file at `path` fitted into a `side` x `side` box (so that any turn
/// still fits), decoded at the largest reduction that still has the pixels the
/// box needs. Throws TPictureError as LoadPicture does.
TThumbnail MakeThumbnail(const std::string& path, int32_t side);

/// Thumbnails (of any picture type) by file path, each valid for the stamp its
/// file had when it was made; the least recently used go first once the kept
/// pictures exceed the byte budget. Not thread-safe: one thread owns it.
template <typename TPicture>
class TThumbnailCache {
 public:
  explicit TThumbnailCache(size_t budget_bytes) : budget_(budget_bytes) {}

  /// The picture kept for `path` made at `stamp`, or nullptr. A picture made at
  /// another stamp is dropped: the file has changed since.
  const TPicture* Find(const std::string& path, const TFileStamp& stamp) {
    const auto found = index_.find(path);
    if (found == index_.end()) return nullptr;
    if (!(found->second->Stamp == stamp)) {
      Drop(found);
      return nullptr;
    }
    entries_.splice(entries_.begin(), entries_, found->second);
    return &found->second->Picture;
  }

  /// Keeps `picture`, which takes `bytes`, for `path` at `stamp`, in place of any picture kept for it.
  void Insert(const std::string& path, const TFileStamp& stamp, TPicture picture, size_t bytes) {
    if (const auto found = index_.find(path); found != index_.end()) Drop(found);
    entries_.push_front({path, stamp, std::move(picture), bytes});
    index_.emplace(path, entries_.begin());
    bytes_ += bytes;
    while (bytes_ > budget_ && entries_.size() > 1) Drop(index_.find(entries_.back().Path));
  }

  size_t Bytes() const { return bytes_; }
  size_t Count() const { return entries_.size(); }

 private:
  struct TEntry {
    std::string Path;
    TFileStamp Stamp;
    TPicture Picture;
    size_t Bytes;
  };
  using TEntries = std::list<TEntry>;

  void Drop(typename std::unordered_map<std::string, typename TEntries::iterator>::iterator found) {
    bytes_ -= found->second->Bytes;
    entries_.erase(found->second);
    index_.erase(found);
  }

  size_t budget_;
  size_t bytes_ = 0;
  /// Most recently used first.
  TEntries entries_;
  std::unordered_map<std::string, typename TEntries::iterator> index_;
};

}  // namespace folivant
