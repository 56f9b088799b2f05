#include "app/shared/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace folivant {

static const QString kTitle = QStringLiteral("Folivant");

// A box opened while a modal dialog (the stylesheet editor) is up stands over
// that dialog, not over the main window behind it.
QWidget* TQtDialogs::Owner() const {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : parent_;
}

bool TQtDialogs::AskWithDefault(const QString& question, int default_button) {
  return QMessageBox::question(Owner(), kTitle, question, QMessageBox::Yes | QMessageBox::No,
                               static_cast<QMessageBox::StandardButton>(default_button)) == QMessageBox::Yes;
}

bool TQtDialogs::Ask(const QString& question) { return AskWithDefault(question, QMessageBox::Yes); }

bool TQtDialogs::AskDefaultNo(const QString& question) { return AskWithDefault(question, QMessageBox::No); }

TSaveAnswer TQtDialogs::AskToSave(const QString& question) {
  QMessageBox box(QMessageBox::Question, kTitle, question,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, Owner());
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  // The platform theme's texts may lack access keys (and say "Close without Saving"); these are the question's words.
  box.button(QMessageBox::Save)->setText(QObject::tr("&Save"));
  box.button(QMessageBox::Discard)->setText(QObject::tr("&Discard"));
  box.button(QMessageBox::Cancel)->setText(QObject::tr("&Cancel"));
  switch (box.exec()) {
    case QMessageBox::Save: return TSaveAnswer::Save;
    case QMessageBox::Discard: return TSaveAnswer::Discard;
    default: return TSaveAnswer::Cancel;
  }
}

void TQtDialogs::Inform(const QString& message) { QMessageBox::information(Owner(), kTitle, message); }

void TQtDialogs::Message(const QString& message) {
  QMessageBox box(QMessageBox::NoIcon, kTitle, message, QMessageBox::Ok, Owner());
  box.exec();
}

void TQtDialogs::ShowError(const QString& message) { QMessageBox::critical(Owner(), kTitle, message); }

QStringList TQtDialogs::ChooseFilesToOpen(const QString& filter, bool multiple, const QString& initial_file) {
  const QString qt_filter = QtFileFilter(filter);
  if (multiple) return QFileDialog::getOpenFileNames(Owner(), QString(), initial_file, qt_filter);
  const QString file = QFileDialog::getOpenFileName(Owner(), QString(), initial_file, qt_filter);
  return file.isEmpty() ? QStringList() : QStringList{file};
}

QString TQtDialogs::ChooseFileToSave(const QString& filter, bool confirm_overwrite, const QString& initial_file) {
  const QFileDialog::Options options =
      confirm_overwrite ? QFileDialog::Options() : QFileDialog::Options(QFileDialog::DontConfirmOverwrite);
  return QFileDialog::getSaveFileName(Owner(), QString(), initial_file, QtFileFilter(filter), nullptr, options);
}

QString TQtDialogs::ChooseFolder(const QString& prompt, const QString& initial_folder) {
  const QString start = QDir(initial_folder).exists() ? initial_folder : QString();
  return QFileDialog::getExistingDirectory(Owner(), prompt, start);
}

QColor TQtDialogs::ChooseColor(const QColor& initial) { return QColorDialog::getColor(initial, Owner()); }

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
