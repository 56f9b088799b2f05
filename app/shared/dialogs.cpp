#include "app/shared/dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace folivant {

static const QString kTitle = QStringLiteral("Folivant");

bool TQtDialogs::Ask(const QString& question) {
  return QMessageBox::question(parent_, kTitle, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TQtDialogs::Inform(const QString& message) { QMessageBox::information(parent_, kTitle, message); }

void TQtDialogs::Message(const QString& message) {
  QMessageBox box(QMessageBox::NoIcon, kTitle, message, QMessageBox::Ok, parent_);
  box.exec();
}

void TQtDialogs::ShowError(const QString& message) { QMessageBox::critical(parent_, kTitle, message); }

QStringList TQtDialogs::ChooseFilesToOpen(const QString& filter, bool multiple, const QString& initial_file) {
  const QString qt_filter = QtFileFilter(filter);
  if (multiple) return QFileDialog::getOpenFileNames(parent_, QString(), initial_file, qt_filter);
  const QString file = QFileDialog::getOpenFileName(parent_, QString(), initial_file, qt_filter);
  return file.isEmpty() ? QStringList() : QStringList{file};
}

QString TQtDialogs::ChooseFileToSave(const QString& filter, bool confirm_overwrite) {
  const QFileDialog::Options options =
      confirm_overwrite ? QFileDialog::Options() : QFileDialog::Options(QFileDialog::DontConfirmOverwrite);
  return QFileDialog::getSaveFileName(parent_, QString(), QString(), QtFileFilter(filter), nullptr, options);
}

QString TQtDialogs::ChooseFolder(const QString& prompt, const QString& initial_folder) {
  const QString start = QDir(initial_folder).exists() ? initial_folder : QString();
  return QFileDialog::getExistingDirectory(parent_, prompt, start);
}

QColor TQtDialogs::ChooseColor(const QColor& initial) { return QColorDialog::getColor(initial, parent_); }

void TQtDialogs::Open(const QUrl& url) { QDesktopServices::openUrl(url); }

QString QtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const qsizetype bracket = description.indexOf(QLatin1String(" ("));
    if (bracket >= 0) description.truncate(bracket);
    QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // "*.*" means every file on Windows; here it would hide the files without an extension.
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    }
    filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace folivant
