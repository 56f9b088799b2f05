#include "app/stylesheeteditor.h"

#include <QEvent>
#include <QFont>
#include <QFontMetricsF>

#include "app/shared/errordisplay.h"
#include "editor/stylesheetfile.h"
#include "ui_stylesheeteditor.h"

namespace folivant {

static const QString kStylesheetFilter = QStringLiteral("Cascading Style Sheets (*.css)|*.css|All Files (*.*)|*.*");

TfrmStylesheet::TfrmStylesheet(QWidget* owner, TGlobalSettings& globalSettings, TDialogs& dialogs, TPageStyle style)
    : QDialog(owner),
      ui_(std::make_unique<Ui::TfrmStylesheet>()),
      globalSettings_(globalSettings),
      dialogs_(dialogs),
      style_(style) {
  ui_->setupUi(this);
  // The classic template keeps the caption it always had; another names its style.
  if (style_ != TPageStyle::Classic)
    setWindowTitle(tr("Stylesheet Template (%1)").arg(QString::fromStdString(PageStyleToText(style_))));
  QFont font(QStringLiteral("Courier New"), 8);
  font.setStyleHint(QFont::TypeWriter);  // any fixed-pitch font where Courier New is missing
  font.setFixedPitch(true);
  ui_->mmoStylesheet->setFont(font);
  ui_->mmoStylesheet->setTabStopDistance(8 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
  ui_->mmoStylesheet->installEventFilter(this);
  connect(ui_->Button1, &QPushButton::clicked, this, CommandSlot(dialogs_, this, &TfrmStylesheet::Button1Click));
  connect(ui_->Button2, &QPushButton::clicked, this, CommandSlot(dialogs_, this, &TfrmStylesheet::Button2Click));
  connect(ui_->Button3, &QPushButton::clicked, this, CommandSlot(dialogs_, this, &TfrmStylesheet::Button3Click));
  connect(ui_->btnOK, &QPushButton::clicked, this, &QDialog::accept);
  setEditorLines(globalSettings_.StylesheetTemplate(style_));
}

TfrmStylesheet::~TfrmStylesheet() = default;

void TfrmStylesheet::done(int result) {
  // Saving failed: the template in memory still holds the text, so reopening the
  // editor shows it again; keeping the dialog open would only trap the user.
  RunCommand(dialogs_, [&] {
    globalSettings_.SetStylesheetTemplate(editorLines(), style_);
    globalSettings_.SaveStylesheetTemplate(style_);
  });
  QDialog::done(result);
}

bool TfrmStylesheet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->mmoStylesheet && event->type() == QEvent::FocusOut) mmoStylesheetExit();
  return QDialog::eventFilter(watched, event);
}

void TfrmStylesheet::mmoStylesheetExit() { globalSettings_.SetStylesheetTemplate(editorLines(), style_); }

void TfrmStylesheet::Button1Click() {
  if (!dialogs_.Ask(QStringLiteral("This will the stylesheet to its default value. Are you sure you want to do this?")))
    return;
  globalSettings_.RestoreDefaultStylesheet(style_);
  setEditorLines(globalSettings_.StylesheetTemplate(style_));
}

void TfrmStylesheet::Button2Click() {
  const QStringList files = dialogs_.ChooseFilesToOpen(kStylesheetFilter, false, QString());
  if (files.isEmpty()) return;
  // Read first: a file that cannot be read leaves the editor's text as it was.
  setEditorLines(ReadStylesheetFile(files.front().toStdString()));
}

void TfrmStylesheet::Button3Click() {
  const QString file = dialogs_.ChooseFileToSave(kStylesheetFilter, true);
  if (!file.isEmpty()) WriteLinesToFile(editorLines(), file.toStdString());
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
