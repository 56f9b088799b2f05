// The main window's undo stack and Edit menu, the highlight of the photo list
// (the photographs highlighted and the one on screen), the states of the list
// commands with the status bar, and the editing of titles and captions.

#include <QLabel>
#include <QStatusBar>
#include <QUndoStack>
#include <algorithm>

#include "app/mainwindow.h"
#include "app/photolistmodel.h"
#include "ui_mainwindow.h"

namespace folivant {

namespace {

// An album command on the window's undo stack. The stack is cleared whenever
// the window takes another album, so the album outlives its commands.
class TAlbumUndoCommand final : public QUndoCommand {
 public:
  using TShow = std::function<void(const TAlbumCommand& command, const THighlight& highlight)>;

  TAlbumUndoCommand(TAlbum& album, std::unique_ptr<TAlbumCommand> command, TShow show)
      : QUndoCommand(QString::fromStdString(command->Name())),
        album_(album),
        command_(std::move(command)),
        show_(std::move(show)) {}

  void redo() override {
    command_->Do(album_);
    // Done, a change of nothing is no step: the stack drops it.
    setObsolete(command_->Empty());
    show_(*command_, command_->After(album_));
  }
  void undo() override {
    command_->Undo(album_);
    show_(*command_, command_->Before());
  }
  // Every command may be offered the next one; only typing takes it in.
  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override {
    if (!command_->MergeWith(*static_cast<const TAlbumUndoCommand*>(other)->command_)) return false;
    setObsolete(command_->Empty());  // typed back to what it was
    return true;
  }

 private:
  TAlbum& album_;
  std::unique_ptr<TAlbumCommand> command_;
  TShow show_;
};

// "&Undo Remove 3 Photos", or "&Undo" with nothing to undo.
QString UndoCaption(const QString& verb, const QString& name) {
  return name.isEmpty() ? verb : verb + QLatin1Char(' ') + name;
}

QString StatusText(int count, int selected) {
  QString text = count == 0   ? QObject::tr("No photographs")
                 : count == 1 ? QObject::tr("1 photograph")
                              : QObject::tr("%1 photographs").arg(count);
  if (selected > 0) text += QObject::tr(", %1 selected").arg(selected);
  return text;
}

}  // namespace

void TfrmFolivant::setUpUndo() {
  undo_stack_ = new QUndoStack(this);
  ui_->itmUndo->setEnabled(false);
  ui_->itmRedo->setEnabled(false);
  connect(undo_stack_, &QUndoStack::canUndoChanged, ui_->itmUndo, &QAction::setEnabled);
  connect(undo_stack_, &QUndoStack::canRedoChanged, ui_->itmRedo, &QAction::setEnabled);
  connect(undo_stack_, &QUndoStack::undoTextChanged, this,
          [this](const QString& name) { ui_->itmUndo->setText(UndoCaption(tr("&Undo"), name)); });
  connect(undo_stack_, &QUndoStack::redoTextChanged, this,
          [this](const QString& name) { ui_->itmRedo->setText(UndoCaption(tr("&Redo"), name)); });
  // The album is saved exactly when the stack stands where it stood at the
  // last save, so undoing back to it clears the unsaved mark.
  const auto follow_stack = [this] {
    if (album_) album_->Saved = undo_stack_->isClean();
    updateTitle();
  };
  connect(undo_stack_, &QUndoStack::indexChanged, this, follow_stack);
  connect(undo_stack_, &QUndoStack::cleanChanged, this, follow_stack);
  lblStatus_ = new QLabel(this);
  lblStatus_->setObjectName(QStringLiteral("lblStatus"));
  statusBar()->addWidget(lblStatus_, 1);
}

void TfrmFolivant::itmUndoClick() {
  ++typing_;
  undo_stack_->undo();
}

void TfrmFolivant::itmRedoClick() {
  ++typing_;
  undo_stack_->redo();
}

void TfrmFolivant::pushCommand(std::unique_ptr<TAlbumCommand> command) {
  undo_stack_->push(new TAlbumUndoCommand(
      *album_, std::move(command),
      [this](const TAlbumCommand& done, const THighlight& highlight) { showCommand(done, highlight); }));
}

void TfrmFolivant::showCommand(const TAlbumCommand& command, const THighlight& highlight) {
  if (command.Kind() == TChangeKind::Order) {
    ++list_updates_;
    photo_model_->Rebuild();
    --list_updates_;
  } else {
    photo_model_->Refresh();
  }
  if (!album_->Photographs.Empty()) showEditor();
  showHighlight(highlight);
  // Typing shows its text already; decoding the picture again would slow it down.
  if (command.Kind() == TChangeKind::Texts && currentPhoto() == shown_photo_)
    showPhotoTexts();
  else
    displayPhoto();
  updateCommands();
}

THighlight TfrmFolivant::highlight() const {
  THighlight highlight;
  QModelIndexList rows = ui_->lstPhotos->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end());
  for (const QModelIndex& row : rows)
    if (const TPhotograph* photo = photo_model_->Photo(row.row())) highlight.Selected.push_back(photo);
  highlight.Current = currentPhoto();
  return highlight;
}

void TfrmFolivant::showHighlight(const THighlight& highlight) {
  std::vector<int> rows;
  for (const TPhotograph* photo : highlight.Selected) {
    const int row = album_->Photographs.IndexOf(photo);
    if (row >= 0) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  // One range per run of rows, so that thousands highlighted stay quick.
  QItemSelection selection;
  for (size_t first = 0; first < rows.size();) {
    size_t last = first;
    while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
    selection.select(photo_model_->index(rows[first]), photo_model_->index(rows[last]));
    first = last + 1;
  }
  const QModelIndex current = photo_model_->index(album_->Photographs.IndexOf(highlight.Current));
  QItemSelectionModel& model = *ui_->lstPhotos->selectionModel();
  ++list_updates_;
  model.setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  model.select(selection, QItemSelectionModel::ClearAndSelect);
  --list_updates_;
  if (current.isValid()) ui_->lstPhotos->scrollTo(current);
}

void TfrmFolivant::selectOnly(int row) {
  const TPhotograph* photo = photo_model_->Photo(row);
  showHighlight(photo ? THighlight{{photo}, photo} : THighlight{});
}

int TfrmFolivant::currentRow() const { return ui_->lstPhotos->selectionModel()->currentIndex().row(); }

TPhotograph* TfrmFolivant::currentPhoto() const {
  const int row = currentRow();
  return row >= 0 && row < album_->Photographs.Count() ? &album_->Photographs[row] : nullptr;
}

std::vector<TPhotograph*> TfrmFolivant::photosToActOn() const {
  std::vector<TPhotograph*> photos;
  for (const TPhotograph* photo : highlight().Selected)
    photos.push_back(&album_->Photographs[album_->Photographs.IndexOf(photo)]);
  if (photos.empty() && currentPhoto()) photos.push_back(currentPhoto());
  return photos;
}

void TfrmFolivant::keepCurrentHighlighted() {
  QItemSelectionModel& model = *ui_->lstPhotos->selectionModel();
  const QModelIndexList selected = model.selectedRows();
  if (selected.isEmpty() || model.isSelected(model.currentIndex())) return;
  // Ctrl+click took the highlight off the current row: the nearest highlighted row is shown instead.
  const int current = currentRow();
  const auto nearest = std::min_element(selected.begin(), selected.end(), [current](const auto& a, const auto& b) {
    return std::abs(a.row() - current) < std::abs(b.row() - current);
  });
  ++list_updates_;
  model.setCurrentIndex(*nearest, QItemSelectionModel::NoUpdate);
  --list_updates_;
}

void TfrmFolivant::lstPhotosClick() {
  keepCurrentHighlighted();
  if (currentPhoto() != shown_photo_) {
    ++typing_;
    displayPhoto();
  }
  updateCommands();
}

void TfrmFolivant::updateCommands() {
  const int count = album_->Photographs.Count();
  const bool editing = !ui_->pnlPhotoEdit->isHidden();
  TRowSelection selected(static_cast<size_t>(count));
  for (const QModelIndex& row : ui_->lstPhotos->selectionModel()->selectedRows())
    if (row.row() < count) selected[static_cast<size_t>(row.row())] = true;
  const TMoveCommands moves = editing ? UpdateMoveCommands(selected) : TMoveCommands{};
  ui_->itmRemovePhoto->setEnabled(editing);
  ui_->itmMoveUp->setEnabled(moves.Up);
  ui_->itmMoveDown->setEnabled(moves.Down);
  // Next and Previous wrap around: they have somewhere to go from two photographs on.
  ui_->itmNextPhoto->setEnabled(editing && count > 1);
  ui_->itmPrevPhoto->setEnabled(editing && count > 1);
  lblStatus_->setText(StatusText(count, static_cast<int>(std::count(selected.begin(), selected.end(), true))));
}

// The fields report every change of their text, also the text displayPhoto
// puts in; only a text that differs from the photograph's is an edit.
void TfrmFolivant::edtTitleChange() {
  TPhotograph* photo = currentPhoto();
  std::string title = ui_->edtTitle->text().toStdString();
  if (!photo || photo->Title == title) return;
  pushCommand(EditPhotoText(*photo, TPhotoText::Title, std::move(title), typing_, highlight()));
}

void TfrmFolivant::mmoCaptionChange() {
  TPhotograph* photo = currentPhoto();
  const std::string text = ui_->mmoCaption->toPlainText().toStdString();
  if (!photo || CaptionToField(photo->Caption) == text) return;
  pushCommand(EditPhotoText(*photo, TPhotoText::Caption, CaptionFromField(text), typing_, highlight()));
}

void TfrmFolivant::endTyping() { ++typing_; }

}  // namespace folivant
