#include "app/stylesheeteditor.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QScreen>

#include "app/shared/dialogfolders.h"
#include "app/shared/errordisplay.h"
#include "editor/stylesheetfile.h"
#include "ui_stylesheeteditor.h"

namespace folivant {

namespace {

const QString kStylesheetFilter = QStringLiteral("Cascading Style Sheets (*.css)|*.css|All Files (*.*)|*.*");

constexpr QSize kDefaultSize(800, 600);
constexpr int kTabWidthInSpaces = 4;

}  // namespace

TfrmStylesheet::TfrmStylesheet(QWidget* owner, TGlobalSettings& globalSettings, TDialogs& dialogs, TPageStyle style)
    : QDialog(owner),
      ui_(std::make_unique<Ui::TfrmStylesheet>()),
      globalSettings_(globalSettings),
      dialogs_(dialogs),
      style_(style),
      original_(globalSettings.StylesheetTemplate(style)) {
  ui_->setupUi(this);
  // The classic template keeps the caption it always had; another names its style.
  if (style_ != TPageStyle::Classic)
    setWindowTitle(tr("Stylesheet Template (%1)").arg(QString::fromStdString(PageStyleToText(style_))));
  const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  ui_->mmoStylesheet->setFont(font);
  ui_->mmoStylesheet->setTabStopDistance(kTabWidthInSpaces * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
  const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
  resize(kDefaultSize.boundedTo(screen->availableSize()).expandedTo(minimumSizeHint()));
  connect(ui_->Button1, &QPushButton::clicked, this, CommandSlot(dialogs_, this, &TfrmStylesheet::Button1Click));
  connect(ui_->Button2, &QPushButton::clicked, this, CommandSlot(dialogs_, this, &TfrmStylesheet::Button2Click));
  connect(ui_->Button3, &QPushButton::clicked, this, CommandSlot(dialogs_, this, &TfrmStylesheet::Button3Click));
  connect(ui_->btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  setEditorLines(globalSettings_.StylesheetTemplate(style_));
}

TfrmStylesheet::~TfrmStylesheet() = default;

void TfrmStylesheet::done(int result) {
  if (result != Accepted) {
    globalSettings_.SetStylesheetTemplate(original_, style_);
    QDialog::done(result);
    return;
  }
  // Saving failed: the template in memory still holds the text, so reopening the
  // editor shows it again; keeping the dialog open would only trap the user.
  RunCommand(dialogs_, [&] {
    globalSettings_.SetStylesheetTemplate(editorLines(), style_);
    globalSettings_.SaveStylesheetTemplate(style_);
  });
  QDialog::done(result);
}

void TfrmStylesheet::Button1Click() {
  if (!dialogs_.Ask(QStringLiteral("This will reset the stylesheet to its default value."))) return;
  globalSettings_.RestoreDefaultStylesheet(style_);
  setEditorLines(globalSettings_.StylesheetTemplate(style_));
}

void TfrmStylesheet::Button2Click() {
  const QStringList files = dialogs_.ChooseFilesToOpen(
      kStylesheetFilter, false, DialogStartFolder(globalSettings_.Store(), TFileKind::StylesheetTemplates));
  if (files.isEmpty()) return;
  RememberDialogFolder(globalSettings_.Store(), dialogs_, TFileKind::StylesheetTemplates, files.front());
  // Read first: a file that cannot be read leaves the editor's text as it was.
  setEditorLines(ReadStylesheetFile(files.front().toStdString()));
}

void TfrmStylesheet::Button3Click() {
  const QString file = dialogs_.ChooseFileToSave(
      kStylesheetFilter, true, DialogStartFolder(globalSettings_.Store(), TFileKind::StylesheetTemplates));
  if (file.isEmpty()) return;
  RememberDialogFolder(globalSettings_.Store(), dialogs_, TFileKind::StylesheetTemplates, file);
  WriteLinesToFile(editorLines(), file.toStdString());
}

// The editor shows every line followed by a line break, so that a last empty
// line survives; reading it back, a final line break adds no line.
TLineList TfrmStylesheet::editorLines() const { return SplitLines(ui_->mmoStylesheet->toPlainText().toStdString()); }

void TfrmStylesheet::setEditorLines(const TLineList& lines) {
  QString text;
  for (const std::string& line : lines) text += QString::fromStdString(line) + QLatin1Char('\n');
  ui_->mmoStylesheet->setPlainText(text);
}

}  // namespace folivant
