#pragma once

#include <QAction>
#include <QItemSelectionModel>
#include <QListView>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/mainwindow.h"
#include "scripteddialogs.h"

namespace folivant::test {

/// Colour of the test photographs' pixel (x, y) as 0xRRGGBB.
using TPixelColor = std::function<uint32_t(int x, int y)>;

/// One main window on scripted dialogs, with its own settings folder (so the
/// real home folder is never touched), program folder (holding a tips.ini of
/// three tips, "Tip number 0" to "Tip number 2") and photo folder.
class TMainWindowFixture {
 public:
  TMainWindowFixture();
  ~TMainWindowFixture();

  TScriptedDialogs Dialogs;
  QTemporaryDir SettingsFolder;
  QTemporaryDir ProgramFolder;
  QTemporaryDir PhotoFolder;

  /// Creates and shows the window; `arguments` are the command line without the program.
  TfrmFolivant& Start(const QStringList& arguments = {});
  TfrmFolivant& Window() { return *window_; }
  /// Closes (without asking) and destroys the window, which writes its settings.
  void Stop();

  template <typename T>
  T& Child(const char* name) {
    T* child = window_->findChild<T*>(QString::fromLatin1(name));
    if (!child) throw std::runtime_error(std::string("no control ") + name);
    return *child;
  }
  void Trigger(const char* action) { Child<QAction>(action).trigger(); }

  /// Writes a width x height JPEG into the photo folder; returns its path.
  QString WriteJpeg(const QString& name, int width, int height, const TPixelColor& color);
  /// A small grey JPEG.
  QString WriteJpeg(const QString& name) {
    return WriteJpeg(name, 32, 24, [](int, int) { return 0x808080u; });
  }
  /// Adds the files through the "Add Photo" command.
  void AddPhotos(const QStringList& paths);
  /// The texts of the photo list's rows.
  QStringList Rows();
  QListView& List() { return Child<QListView>("lstPhotos"); }
  /// The photo list's current row, the photograph on screen; -1 for none.
  int CurrentRow() { return List().currentIndex().row(); }
  /// Makes `row` current, as a click (ClearAndSelect) or a keyboard move does.
  void SetCurrentRow(int row, QItemSelectionModel::SelectionFlags how = QItemSelectionModel::ClearAndSelect);
  /// Highlights exactly `rows`, as Ctrl+clicks do, leaving the current row where it is.
  void Select(std::initializer_list<int> rows);
  QList<int> SelectedRows();
  /// The value stored in the settings file, "" when missing.
  std::string Setting(const char* key, const char* value);
  void StoreSetting(const char* key, const char* value, const std::string& text);

 private:
  std::unique_ptr<TfrmFolivant> window_;
};

}  // namespace folivant::test
