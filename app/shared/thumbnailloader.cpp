#include "app/shared/thumbnailloader.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QListView>
#include <QPointer>
#include <QRunnable>
#include <QStyledItemDelegate>

#include "app/shared/icons.h"
#include "app/shared/photopreview.h"

namespace folivant {

namespace {

// Bytes a kept entry takes besides its pixels: the path, the list and map nodes.
constexpr size_t kEntryOverhead = 256;
// The walk keeps this many decodes per worker queued, so the workers never wait for the GUI thread.
constexpr int kWalkDepthPerThread = 4;
// Rows the walk looks at in one go, to keep the GUI thread responsive on long lists.
constexpr int kWalkRowsPerStep = 200;
// Arrivals are painted together, at most this often.
constexpr int kRepaintMs = 40;

}  // namespace

TThumbnailStore& TThumbnailStore::Shared() {
  // A child of the application object, so that it is gone, its workers
  // stopped, before the application itself.
  static QPointer<TThumbnailStore> shared;
  if (!shared) shared = new TThumbnailStore(QCoreApplication::instance());
  return *shared;
}

TThumbnailStore::TThumbnailStore(QObject* parent) : QObject(parent) {}

TThumbnailStore::~TThumbnailStore() {
  ++generation_;
  pool_.clear();
  pool_.waitForDone();
}

TThumbnailStore::TLookup TThumbnailStore::Find(const std::string& path, bool urgent) {
  const std::optional<TFileStamp> stamp = FileStamp(path);
  if (!stamp) return {TState::Missing, {}};
  if (const TKept* kept = cache_.Find(path, *stamp))
    return kept->Picture.isNull() ? TLookup{TState::Failed, {}} : TLookup{TState::Ready, kept->Picture};
  // A decode queued before the last CancelQueued skips its work: queue it again.
  if (const auto queued = pending_.find(path); queued == pending_.end() || queued->second != generation_)
    Queue(path, urgent);
  return {TState::Pending, {}};
}

void TThumbnailStore::CancelQueued() { ++generation_; }

void TThumbnailStore::Queue(const std::string& path, bool urgent) {
  const int generation = generation_;
  pending_[path] = generation;
  pool_.start(QRunnable::create([this, path, generation] {
                std::optional<TFileStamp> stamp;
                QImage picture;
                if (generation == generation_) {
                  // Stamped before decoding: a file that changes meanwhile is decoded again when next asked for.
                  stamp = FileStamp(path);
                  try {
                    picture = ToImage(MakeThumbnail(path, kSide).Picture);
                  } catch (const std::exception&) {
                    // A damaged or unreadable file keeps a null picture: it shows the no-preview icon.
                  }
                }
                // The store outlives its workers (its destructor waits for them), and
                // Qt drops what is still posted to it when it goes.
                QMetaObject::invokeMethod(
                    this, [this, path, generation, stamp, picture] { Receive(path, generation, stamp, picture); },
                    Qt::QueuedConnection);
              }),
              urgent ? 1 : 0);
}

void TThumbnailStore::Receive(const std::string& path, int generation, const std::optional<TFileStamp>& stamp,
                              const QImage& picture) {
  if (const auto queued = pending_.find(path); queued != pending_.end() && queued->second == generation)
    pending_.erase(queued);
  // A skipped decode has no stamp; it is queued again when its row is next painted.
  if (stamp) cache_.Insert(path, *stamp, TKept{picture}, static_cast<size_t>(picture.sizeInBytes()) + kEntryOverhead);
  Q_EMIT Arrived();
}

namespace {

// Draws each row with the icon its photograph has at that moment.
class TThumbnailDelegate : public QStyledItemDelegate {
 public:
  TThumbnailDelegate(TPhotoListThumbnails& thumbnails, QObject* parent)
      : QStyledItemDelegate(parent), thumbnails_(thumbnails) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    // An empty icon still takes its place, so titles do not move when thumbnails arrive.
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->icon = thumbnails_.RowIcon(index.row());
    option->decorationSize = QSize(TPhotoListThumbnails::kIconSide, TPhotoListThumbnails::kIconSide);
  }

 private:
  TPhotoListThumbnails& thumbnails_;
};

}  // namespace

TPhotoListThumbnails::TPhotoListThumbnails(QListView* list, TPhotoAt photo_at)
    : QObject(list), list_(list), photo_at_(std::move(photo_at)), store_(TThumbnailStore::Shared()) {
  list_->setItemDelegate(new TThumbnailDelegate(*this, this));
  list_->setIconSize(QSize(kIconSide, kIconSide));
  // Every row is as tall as its icon: the view need not measure 2,000 rows.
  list_->setUniformItemSizes(true);

  walk_timer_.setSingleShot(true);
  walk_timer_.setInterval(0);
  connect(&walk_timer_, &QTimer::timeout, this, &TPhotoListThumbnails::Walk);
  repaint_timer_.setSingleShot(true);
  repaint_timer_.setInterval(kRepaintMs);
  connect(&repaint_timer_, &QTimer::timeout, list_->viewport(), qOverload<>(&QWidget::update));
  connect(&store_, &TThumbnailStore::Arrived, this, [this] {
    Walk();
    if (!repaint_timer_.isActive()) repaint_timer_.start();
  });

  // A rebuilt list belongs to another album or order: what it asked for before is no longer wanted.
  QAbstractItemModel* model = list_->model();
  connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { store_.CancelQueued(); });
  connect(model, &QAbstractItemModel::modelReset, this, &TPhotoListThumbnails::Restart);
  connect(model, &QAbstractItemModel::layoutChanged, this, &TPhotoListThumbnails::Restart);
  connect(model, &QAbstractItemModel::rowsInserted, this, &TPhotoListThumbnails::Restart);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &TPhotoListThumbnails::Restart);
  connect(model, &QAbstractItemModel::dataChanged, this, &TPhotoListThumbnails::Restart);
}

TPhotoListThumbnails::~TPhotoListThumbnails() { store_.CancelQueued(); }

QIcon TPhotoListThumbnails::RowIcon(int row) {
  const TPhotograph* photo = photo_at_(row);
  if (!photo) return {};
  if (photo->Missing()) return MissingPhotoIcon();
  const TThumbnailStore::TLookup found = store_.Find(photo->FileName, true);
  switch (found.State) {
    case TThumbnailStore::TState::Ready: return QIcon(QPixmap::fromImage(TurnedImage(found.Picture, photo->Rotation)));
    case TThumbnailStore::TState::Missing: return MissingPhotoIcon();
    case TThumbnailStore::TState::Failed: return NoPreviewIcon();
    case TThumbnailStore::TState::Pending: break;
  }
  return {};
}

bool TPhotoListThumbnails::AllArrived() const {
  return walk_row_ >= list_->model()->rowCount() && !walk_timer_.isActive() && store_.PendingCount() == 0;
}

void TPhotoListThumbnails::Restart() {
  walk_row_ = 0;
  walk_timer_.start();
}

void TPhotoListThumbnails::Walk() {
  const int rows = list_->model()->rowCount();
  const int depth = kWalkDepthPerThread * store_.Threads();
  for (int looked = 0; walk_row_ < rows && looked < kWalkRowsPerStep; ++looked) {
    if (store_.PendingCount() >= depth) return;  // the next arrival walks on
    const TPhotograph* photo = photo_at_(walk_row_++);
    if (photo && !photo->Missing()) store_.Find(photo->FileName, false);
  }
  if (walk_row_ < rows) walk_timer_.start();
}

QIcon MissingPhotoIcon() { return ThemeIcon(QStringLiteral("image-missing")); }

QIcon NoPreviewIcon() { return ThemeIcon(QStringLiteral("image-x-generic")); }

}  // namespace folivant
