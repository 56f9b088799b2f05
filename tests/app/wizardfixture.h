#pragma once

// A generation wizard on a fresh album, with every folder it touches (settings,
// program folder, desktop) inside one temporary folder.

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <string>

#include "app/wizard/generate.h"
#include "model/albumclasses.h"
#include "model/globalsettings.h"
#include "platform/settingsstore.h"
#include "scripteddialogs.h"

namespace folivant::test {

class TWizardFixture {
  // Declared first so that the wizard, which borrows them, goes before them.
  QTemporaryDir temp_;
  TSettingsStore store_;
  TGlobalSettings global_settings_;

 public:
  TWizardFixture() : store_(Folder("config")), global_settings_(Folder("program"), store_) {}

  /// `temp`/`name`, created when missing.
  std::string Folder(const QString& name) const {
    QDir(temp_.path()).mkpath(name);
    return (temp_.path() + QLatin1Char('/') + name).toStdString();
  }
  std::string ProgramFolder() const { return Folder(QStringLiteral("program")) + "/"; }
  std::string DesktopFolder() const { return Folder(QStringLiteral("desktop")); }
  TGlobalSettings& GlobalSettings() { return global_settings_; }

  /// Writes a `width` x `height` JPEG photograph into the "photos" folder and adds it to the album.
  TPhotograph& AddPhotograph(const QString& name, int width = 64, int height = 48) {
    const QString path = QString::fromStdString(Folder(QStringLiteral("photos"))) + QLatin1Char('/') + name;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0x40, 0x80, 0xC0));
    image.save(path, "JPG");
    TPhotograph& photograph = Album.Photographs.Add(std::make_unique<TPhotograph>());
    photograph.SetFileName(path.toStdString());
    return photograph;
  }

  /// A new wizard on the album, shown on page 1.
  TfrmGenerate& Open() {
    Wizard = std::make_unique<TfrmGenerate>(&Dialogs, store_, ProgramFolder(), DesktopFolder());
    Wizard->Prepare(Album, global_settings_);
    Wizard->show();
    // Focus moves, and so leaving a field, happen only in the active window.
    Wizard->activateWindow();
    if (!QTest::qWaitForWindowActive(Wizard.get())) qWarning("the wizard did not become the active window");
    return *Wizard;
  }

  template <typename Control>
  Control& Child(const char* name) const {
    Control* control = Wizard->findChild<Control*>(QLatin1String(name));
    if (!control) qFatal("the wizard has no control %s", name);
    return *control;
  }

  /// Picks an item of a drop-down list as the user does: it becomes current and is activated.
  static void Pick(QComboBox& list, const QString& text) {
    const int item = list.findText(text);
    QVERIFY2(item >= 0, qPrintable(text));
    list.setCurrentIndex(item);
    Q_EMIT list.activated(item);
  }

  TSettingsStore& Store() { return store_; }

  TScriptedDialogs Dialogs;
  TAlbum Album;
  std::unique_ptr<TfrmGenerate> Wizard;
};

}  // namespace folivant::test
