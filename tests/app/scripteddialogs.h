#pragma once

#include <QList>
#include <deque>

#include "app/shared/dialogs.h"

namespace folivant::test {

/// Answers the windows' questions and choices from scripted queues and records
/// every call. A call with no scripted answer is recorded in `Unexpected` and
/// answered No / cancelled, so a test can tell that a window asked something it should not.
class TScriptedDialogs : public TDialogs {
 public:
  std::deque<bool> Answers;
  std::deque<TSaveAnswer> SaveAnswers;
  std::deque<QStringList> FilesToOpen;
  std::deque<QString> FilesToSave;
  std::deque<QString> Folders;
  std::deque<QColor> Colors;

  /// Every question, the Yes/No and the Save/Discard/Cancel ones.
  QStringList Asked;
  /// The Yes/No questions asked with No as the default button.
  QStringList AskedDefaultNo;
  /// The file or folder each file and folder dialog started on, in call order.
  QStringList InitialPaths;
  QStringList Informed;
  QStringList Messages;
  QStringList Errors;
  QStringList FolderPrompts;
  QStringList FileFilters;
  QList<QUrl> Opened;
  QStringList Unexpected;

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
};

/// Saves a picture of `widget` as FOLIVANT_SCREENSHOT_DIR/<name>.png.
void SaveScreenshot(QWidget& widget, const QString& name);

}  // namespace folivant::test
