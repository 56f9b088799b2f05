#include "app/about.h"

#include <QApplication>

#include "app/shared/help.h"
#include "platform/product.h"
#include "ui_about.h"

// Resources of a static library are registered by name from the global namespace.
static void InitApplicationResources() { Q_INIT_RESOURCE(folivant); }

namespace folivant {

namespace {

const QString kAuthor = QStringLiteral("The Folivant Project");
const QString kContactAddress = QStringLiteral(FOLIVANT_CONTACT_ADDRESS);
// The maker's other program, a web page editor, has its page on the same site.
const QString kOtherProductName = QStringLiteral("Quillon");
constexpr std::string_view kOtherProductPath = "/software/quillon/";

QString Link(const QString& address, const QString& text) {
  return QStringLiteral("<a href=\"%1\">%2</a>").arg(address.toHtmlEscaped(), text.toHtmlEscaped());
}

}  // namespace

QIcon ApplicationIcon() {
  InitApplicationResources();
  return QIcon(QStringLiteral(":/icons/folivant.svg"));
}

TfrmAbout::TfrmAbout(QWidget* owner, TDialogs& dialogs)
    : QDialog(owner), ui_(std::make_unique<Ui::TfrmAbout>()), dialogs_(dialogs) {
  ui_->setupUi(this);
  // The band takes the theme's text-field colours: white in light themes, and
  // readable in dark ones. The box's size comes from its layout, so that large
  // fonts are never clipped.
  ui_->pnlTop->setBackgroundRole(QPalette::Base);
  ui_->lblTitle->setForegroundRole(QPalette::Text);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  QFont title = font();  // large beside the body text, whatever the user's font size
  title.setPointSizeF(title.pointSizeF() * 1.8);
  title.setBold(true);
  ui_->lblTitle->setFont(title);
  ui_->imgIcon->setPixmap(QApplication::windowIcon().pixmap(40, 40));
  ui_->lblTitle->setText(QStringLiteral("Folivant ") + QString::fromUtf8(kProgramVersion) + QLatin1Char(' '));

  const QString website = QString::fromUtf8(kProductWebAddress);
  ui_->lblAuthor->setText(kAuthor);
  ui_->lnkEmail->setText(Link(QStringLiteral("mailto:") + kContactAddress, kContactAddress));
  ui_->lnkWebsite->setText(Link(website, website));
  ui_->lblDonationText->setText(
      QStringLiteral("Folivant is free to use. If you find it useful, please consider supporting its "
                     "development with a donation through the Folivant web site."));
  ui_->lnkOtherProduct->setText(QStringLiteral("Need to edit web pages too? Try ") +
                                Link(ProductPageUrl(kOtherProductPath).toString(), kOtherProductName) +
                                QStringLiteral(", our free web page editor."));
  for (QLabel* link : {ui_->lnkEmail, ui_->lnkWebsite, ui_->lnkOtherProduct})
    connect(link, &QLabel::linkActivated, this, [this](const QString& address) { dialogs_.Open(QUrl(address)); });
}

TfrmAbout::~TfrmAbout() = default;

}  // namespace folivant
