#include "mainwindowfixture.h"

#include <QTest>
#include <algorithm>
#include <fstream>

#include "generator/jpegcodec.h"
#include "platform/settingsstore.h"

namespace folivant::test {

TMainWindowFixture::TMainWindowFixture() {
  qputenv("FOLIVANT_CONFIG_DIR", SettingsFolder.path().toLocal8Bit());
  std::ofstream(ProgramFolder.filePath(QStringLiteral("tips.ini")).toStdString())
      << "[Info]\r\nCount=3\r\n[Tips]\r\nTip0=Tip number 0\r\nTip1=Tip number 1\r\nTip2=Tip number 2\r\n";
}

TMainWindowFixture::~TMainWindowFixture() { Stop(); }

TfrmFolivant& TMainWindowFixture::Start(const QStringList& arguments) {
  window_ = std::make_unique<TfrmFolivant>(ProgramFolder.path().toStdString() + "/", arguments, &Dialogs);
  window_->show();
  if (!QTest::qWaitForWindowExposed(window_.get())) throw std::runtime_error("the window was not shown");
  return *window_;
}

void TMainWindowFixture::Stop() {
  if (!window_) return;
  window_->Album().Saved = true;
  window_->close();
  window_.reset();
}

QString TMainWindowFixture::WriteJpeg(const QString& name, int width, int height, const TPixelColor& color) {
  TRaster raster(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) raster.At(x, y) = kOpaqueAlpha | color(x, y);
  const QString path = PhotoFolder.filePath(name);
  std::ofstream(path.toStdString(), std::ios::binary) << EncodeJpeg(raster, 95);
  return path;
}

void TMainWindowFixture::AddPhotos(const QStringList& paths) {
  Dialogs.FilesToOpen.push_back(paths);
  Trigger("itmAddPhoto");
}

QStringList TMainWindowFixture::Rows() {
  QStringList rows;
  const QAbstractItemModel& model = *List().model();
  for (int row = 0; row < model.rowCount(); ++row) rows << model.index(row, 0).data().toString();
  return rows;
}

void TMainWindowFixture::SetCurrentRow(int row, QItemSelectionModel::SelectionFlags how) {
  List().selectionModel()->setCurrentIndex(List().model()->index(row, 0), how);
}

void TMainWindowFixture::Select(std::initializer_list<int> rows) {
  QItemSelection selection;
  for (int row : rows) selection.select(List().model()->index(row, 0), List().model()->index(row, 0));
  List().selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

QList<int> TMainWindowFixture::SelectedRows() {
  QList<int> rows;
  for (const QModelIndex& index : List().selectionModel()->selectedRows()) rows << index.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::string TMainWindowFixture::Setting(const char* key, const char* value) {
  TSettingsStore store(SettingsFolder.path().toStdString());
  const TSettingsKey* sub_key = store.Load().OpenKey(key);
  return sub_key ? sub_key->ReadString(value).value_or("") : "";
}

void TMainWindowFixture::StoreSetting(const char* key, const char* value, const std::string& text) {
  TSettingsStore store(SettingsFolder.path().toStdString());
  store.Load().CreateKey(key).WriteString(value, text);
  store.Save();
}

}  // namespace folivant::test
