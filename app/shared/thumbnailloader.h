#pragma once

// Thumbnails of photographs for the windows: decoded on worker threads, kept
// for the whole run, and shown beside the photo list's titles and in the
// wizard's previews.

#include <QIcon>
#include <QImage>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "editor/thumbnails.h"
#include "model/albumclasses.h"

class QListView;

namespace folivant {

/// The thumbnails of picture files, decoded on a pool of worker threads and
/// kept in memory by path, size and modification time. Lives on the GUI
/// thread; the workers hand their results back to it.
class TThumbnailStore : public QObject {
  Q_OBJECT

 public:
  /// Thumbnails are fitted into a box of this side, in device pixels.
  static constexpr int kSide = 64;
  /// How many bytes of thumbnails are kept: some 5,000 photographs.
  static constexpr size_t kBudgetBytes = 64u << 20;

  /// The store of the running application, made on first use and destroyed with the application object.
  static TThumbnailStore& Shared();

  explicit TThumbnailStore(QObject* parent = nullptr);
  /// Drops the queued decodes and waits for those that are running, whose results are then lost.
  ~TThumbnailStore() override;

  enum class TState { Ready, Pending, Failed, Missing };
  struct TLookup {
    TState State = TState::Pending;
    /// The thumbnail, upright as the file stores it, when State is Ready.
    QImage Picture;
  };

  /// The thumbnail of the file at `path` as the file is now: Missing when
  /// there is no such file, Failed when it cannot be decoded. When none is
  /// kept its decode is queued (`urgent` ones go first) and State is Pending.
  TLookup Find(const std::string& path, bool urgent);
  /// Forgets the decodes that have not started yet: what was asked for is no longer shown.
  void CancelQueued();
  /// Decodes queued or running.
  int PendingCount() const { return static_cast<int>(pending_.size()); }
  /// Worker threads decoding at once.
  int Threads() const { return std::max(1, pool_.maxThreadCount()); }

 Q_SIGNALS:
  /// A decode ended: some thumbnail is now Ready or Failed.
  void Arrived();

 private:
  struct TKept {
    /// Null when the file could not be decoded.
    QImage Picture;
  };

  void Queue(const std::string& path, bool urgent);
  void Receive(const std::string& path, int generation, const std::optional<TFileStamp>& stamp, const QImage& picture);

  TThumbnailCache<TKept> cache_{kBudgetBytes};
  /// The decodes queued or running, each with the generation it was queued in.
  std::unordered_map<std::string, int> pending_;
  /// Raised by CancelQueued: decodes queued before it skip their work.
  std::atomic<int> generation_ = 0;
  QThreadPool pool_;
};

/// Shows thumbnails beside the titles of a photo list whose row r holds the
/// photograph `photo_at(r)`: a delegate asks for each painted row's thumbnail
/// (so the rows on screen come first) while a walk down the list asks for the
/// others a few at a time. Rows look their photograph up when painted, so a
/// row never shows another photograph's thumbnail after a move or removal.
class TPhotoListThumbnails : public QObject {
  Q_OBJECT

 public:
  /// The photograph of a row, nullptr when none.
  using TPhotoAt = std::function<const TPhotograph*(int row)>;
  /// Logical size of the icons beside the titles.
  static constexpr int kIconSide = 48;

  /// Installs itself on `list`, which owns it, with the shared store.
  TPhotoListThumbnails(QListView* list, TPhotoAt photo_at);
  /// Forgets the decodes it queued that have not started.
  ~TPhotoListThumbnails() override;

  /// The icon row `row` shows now: its thumbnail turned by the photograph's
  /// rotation, the missing-file icon, the no-preview icon, or an empty icon while decoding.
  QIcon RowIcon(int row);
  /// Every row's thumbnail has arrived (or failed), and nothing is being decoded.
  bool AllArrived() const;

 private:
  void Restart();
  void Walk();

  QListView* list_;
  TPhotoAt photo_at_;
  TThumbnailStore& store_;
  /// The next row the walk asks for.
  int walk_row_ = 0;
  QTimer walk_timer_;
  QTimer repaint_timer_;
};

/// The freedesktop icon of a photograph whose file is missing.
QIcon MissingPhotoIcon();
/// The icon of a photograph whose file cannot be decoded.
QIcon NoPreviewIcon();

}  // namespace folivant
