#include "app/photolistmodel.h"

namespace folivant {

void TPhotoListModel::SetAlbum(const TAlbum* album) {
  beginResetModel();
  album_ = album;
  endResetModel();
}

void TPhotoListModel::Rebuild() {
  beginResetModel();
  endResetModel();
}

void TPhotoListModel::Refresh() {
  if (rowCount() > 0) Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}

const TPhotograph* TPhotoListModel::Photo(int row) const {
  return album_ && row >= 0 && row < album_->Photographs.Count() ? &album_->Photographs[row] : nullptr;
}

int TPhotoListModel::rowCount(const QModelIndex& parent) const {
  return album_ && !parent.isValid() ? album_->Photographs.Count() : 0;
}

QVariant TPhotoListModel::data(const QModelIndex& index, int role) const {
  const TPhotograph* photo = Photo(index.row());
  if (!photo) return {};
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(photo->DisplayTitle());
    case Qt::ToolTipRole: return QString::fromStdString(photo->FileName);
    default: return {};
  }
}

}  // namespace folivant
