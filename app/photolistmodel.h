#pragma once

#include <QAbstractListModel>

#include "model/albumclasses.h"

namespace folivant {

/// The photo list as a view sees it: row r is photograph r of the album, shown
/// by its display title. It holds no copy of the album; the window tells it
/// when the album changed.
class TPhotoListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit TPhotoListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  /// Shows `album`, borrowed until the next call; nullptr shows nothing.
  void SetAlbum(const TAlbum* album);
  /// The album gained, lost or reordered photographs: every row is new.
  void Rebuild();
  /// The photographs stayed where they are; their titles, files or turns changed.
  void Refresh();
  /// The photograph of `row`; nullptr outside the album.
  const TPhotograph* Photo(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const TAlbum* album_ = nullptr;
};

}  // namespace folivant
