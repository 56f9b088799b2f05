#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace folivant {

/// The answers to the question asked before unsaved work is left.
enum class TSaveAnswer { Save, Discard, Cancel };

/// Every question, message, file or folder choice and shell "open" of the
/// windows goes through this interface, so that window logic can be driven in
/// tests with scripted answers. Filters are written as "Description|*.a;*.b|...".
class TDialogs {
 public:
  virtual ~TDialogs() = default;

  /// Yes/No question titled "Folivant" with a question icon; true for Yes.
  virtual bool Ask(const QString& question) = 0;
  /// The same question with No as the default button, for a Yes that cannot be undone.
  virtual bool AskDefaultNo(const QString& question) = 0;
  /// Save / Discard / Cancel question titled "Folivant", with Save the default
  /// button and Escape for Cancel; asked before unsaved work is left.
  virtual TSaveAnswer AskToSave(const QString& question) = 0;
  /// Information message titled "Folivant" with an information icon and OK.
  virtual void Inform(const QString& message) = 0;
  /// Plain message titled "Folivant" with OK and no icon.
  virtual void Message(const QString& message) = 0;
  /// Error box titled "Folivant" with an error icon; `message` is shown as given.
  virtual void ShowError(const QString& message) = 0;

  /// Existing files to open; empty when cancelled. `initial_file` is a file to
  /// preselect or a folder to start in.
  virtual QStringList ChooseFilesToOpen(const QString& filter, bool multiple, const QString& initial_file) = 0;
  /// A file name to save to, empty when cancelled; the dialog itself asks before overwriting when `confirm_overwrite`.
  /// `initial_file` is the name offered (with its folder) or a folder to start in.
  virtual QString ChooseFileToSave(const QString& filter, bool confirm_overwrite, const QString& initial_file) = 0;
  /// A folder, empty when cancelled; `initial_folder` is preselected when it names an existing folder.
  virtual QString ChooseFolder(const QString& prompt, const QString& initial_folder) = 0;
  /// A colour, invalid when cancelled.
  virtual QColor ChooseColor(const QColor& initial) = 0;

  /// Opens a file or address with the desktop's default application.
  virtual void Open(const QUrl& url) = 0;
};

/// The real dialogs: QMessageBox, QFileDialog, QColorDialog, QDesktopServices.
/// Each is centred on the modal dialog open at the time, else on `parent`.
class TQtDialogs : public TDialogs {
 public:
  explicit TQtDialogs(QWidget* parent) : parent_(parent) {}
  bool Ask(const QString& question) override;
  bool AskDefaultNo(const QString& question) override;
  TSaveAnswer AskToSave(const QString& question) override;
  void Inform(const QString& message) override;
  void Message(const QString& message) override;
  void ShowError(const QString& message) override;
  QStringList ChooseFilesToOpen(const QString& filter, bool multiple, const QString& initial_file) override;
  QString ChooseFileToSave(const QString& filter, bool confirm_overwrite, const QString& initial_file) override;
  QString ChooseFolder(const QString& prompt, const QString& initial_folder) override;
  QColor ChooseColor(const QColor& initial) override;
  void Open(const QUrl& url) override;

 private:
  QWidget* parent_;

  QWidget* Owner() const;
  bool AskWithDefault(const QString& question, int default_button);
};

/// Turns "Description (*.a; *.b)|*.a;*.b|..." into the filter list Qt's dialogs expect.
QString QtFileFilter(const QString& filter);

}  // namespace folivant
