#include "scripteddialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace folivant::test {

// The next scripted answer, or `fallback` (recorded as unexpected) when none is left.
template <typename T>
static T Next(std::deque<T>& queue, QStringList& unexpected, const QString& call, T fallback) {
  if (queue.empty()) {
    unexpected << call;
    return fallback;
  }
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

bool TScriptedDialogs::Ask(const QString& question) {
  Asked << question;
  return Next(Answers, Unexpected, QStringLiteral("Ask: ") + question, false);
}

bool TScriptedDialogs::AskDefaultNo(const QString& question) {
  AskedDefaultNo << question;
  return Ask(question);
}

TSaveAnswer TScriptedDialogs::AskToSave(const QString& question) {
  Asked << question;
  return Next(SaveAnswers, Unexpected, QStringLiteral("AskToSave: ") + question, TSaveAnswer::Cancel);
}

void TScriptedDialogs::Inform(const QString& message) { Informed << message; }
void TScriptedDialogs::Message(const QString& message) { Messages << message; }
void TScriptedDialogs::ShowError(const QString& message) { Errors << message; }

QStringList TScriptedDialogs::ChooseFilesToOpen(const QString& filter, bool, const QString& initial_file) {
  FileFilters << filter;
  InitialPaths << initial_file;
  return Next(FilesToOpen, Unexpected, QStringLiteral("ChooseFilesToOpen"), QStringList());
}

QString TScriptedDialogs::ChooseFileToSave(const QString& filter, bool, const QString& initial_file) {
  FileFilters << filter;
  InitialPaths << initial_file;
  return Next(FilesToSave, Unexpected, QStringLiteral("ChooseFileToSave"), QString());
}

QString TScriptedDialogs::ChooseFolder(const QString& prompt, const QString& initial_folder) {
  FolderPrompts << prompt;
  InitialPaths << initial_folder;
  return Next(Folders, Unexpected, QStringLiteral("ChooseFolder"), QString());
}

QColor TScriptedDialogs::ChooseColor(const QColor&) {
  return Next(Colors, Unexpected, QStringLiteral("ChooseColor"), QColor());
}

void TScriptedDialogs::Open(const QUrl& url) { Opened << url; }

void SaveScreenshot(QWidget& widget, const QString& name) {
  QDir().mkpath(QStringLiteral(FOLIVANT_SCREENSHOT_DIR));
  // Lay the window out as the event loop would before it is painted.
  QCoreApplication::processEvents();
  widget.grab().save(QStringLiteral(FOLIVANT_SCREENSHOT_DIR) + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace folivant::test
