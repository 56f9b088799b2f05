#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <functional>

#include "app/shared/colorchooser.h"
#include "app/wizard/previews.h"
#include "platform/filesystem.h"
#include "wizard/colorschemes.h"
#include "wizardfixture.h"

namespace folivant::test {

namespace {

const char* const kPages[] = {"pnlTitlePage",  "pnlColourPage",     "pnlIndexPage",   "pnlPhotoPage",
                              "pnlOutputPage", "pnlGeneratingPage", "pnlFinishedPage"};

// "<page>: previous next finish cancel" with 1 for an enabled button.
QString PageAndButtons(const TWizardFixture& fixture) {
  const auto on = [&](const char* name) {
    return fixture.Child<QPushButton>(name).isEnabled() ? QStringLiteral("1") : QStringLiteral("0");
  };
  return fixture.Child<QStackedWidget>("pnlPages").currentWidget()->objectName() + QStringLiteral(": ") +
         on("btnPrevious") + on("btnNext") + on("btnFinish") + on("btnCancel");
}

void TypeInto(QLineEdit& field, const QString& text) {
  field.setFocus();
  QTest::keyClicks(&field, text);
}

void Clear(QLineEdit& field) {
  field.setFocus();
  field.selectAll();
  QTest::keyClick(&field, Qt::Key_Backspace);
}

void ShowPage(TWizardFixture& fixture, int page) {
  fixture.Wizard->ShowPage(page);
  QCOMPARE(fixture.Child<QStackedWidget>("pnlPages").currentWidget()->objectName(), QLatin1String(kPages[page - 1]));
}

}  // namespace

class GeneratePagesTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() {
    // Nothing here may touch the user's own settings.
    qputenv("FOLIVANT_CONFIG_DIR", QDir::tempPath().toUtf8() + "/folivant-generate-pages-test-config");
  }

  void nextAndPreviousWalkThroughTheFirstFivePages() {
    TWizardFixture fixture;
    fixture.Open();
    QCOMPARE(fixture.Wizard->windowTitle(), QStringLiteral("Album Generation Wizard"));
    QStringList seen{PageAndButtons(fixture)};
    for (int i = 0; i < 5; ++i) {
      QTest::mouseClick(&fixture.Child<QPushButton>("btnNext"), Qt::LeftButton);
      seen << PageAndButtons(fixture);
    }
    QTest::mouseClick(&fixture.Child<QPushButton>("btnPrevious"), Qt::LeftButton);
    seen << PageAndButtons(fixture);
    const QStringList expected{
        "pnlTitlePage: 0111",  "pnlColourPage: 1111", "pnlIndexPage: 1111", "pnlPhotoPage: 1111",
        "pnlOutputPage: 1011", "pnlOutputPage: 1011", "pnlPhotoPage: 1111",
    };
    QCOMPARE(seen, expected);
    QCOMPARE(fixture.Wizard->CurrentPage(), 4);
    QCOMPARE(fixture.Child<QPushButton>("btnPrevious").text(), QStringLiteral("<< &Previous"));
    QCOMPARE(fixture.Child<QPushButton>("btnNext").text(), QStringLiteral("&Next  >>"));
    QVERIFY(fixture.Child<QPushButton>("btnNext").isDefault());
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }

  void pagesOfANewAlbumShowItsDefaults() {
    TWizardFixture fixture;
    fixture.Open();
    QCOMPARE(fixture.Child<QLineEdit>("edtTitle").text(), QString::fromStdString(fixture.Album.Title));
    QCOMPARE(fixture.Child<QPlainTextEdit>("mmoDescription").toPlainText(),
             QString::fromStdString(fixture.Album.Description));

    ShowPage(fixture, 3);
    QCOMPARE(fixture.Child<QComboBox>("cmbThumbSize").currentText(), QStringLiteral("Medium"));
    QCOMPARE(fixture.Child<QLineEdit>("edtRows").text(), QStringLiteral("5"));
    QCOMPARE(fixture.Child<QLineEdit>("edtCols").text(), QStringLiteral("4"));
    QVERIFY(!fixture.Child<QCheckBox>("chkHomeLink").isChecked());
    QVERIFY(!fixture.Child<QLineEdit>("edtHomepageURL").isEnabled());
    QVERIFY(!fixture.Child<QLabel>("lblHomePageURL").isEnabled());
    QCOMPARE(fixture.Child<QLineEdit>("edtHomepageURL").text(), QStringLiteral("http://"));

    ShowPage(fixture, 4);
    QVERIFY(fixture.Child<QCheckBox>("chkThumbNavigation").isChecked());
    QVERIFY(!fixture.Child<QCheckBox>("chkNavLoop").isChecked());
    QVERIFY(fixture.Child<QRadioButton>("rdoAbove").isChecked());
    QCOMPARE(fixture.Child<QComboBox>("cmbPhotoSize").currentText(), QStringLiteral("Medium (640 x 480)"));

    QVERIFY(fixture.Album.Saved);
    ShowPage(fixture, 5);
    const std::string expected = JoinPath(fixture.DesktopFolder(), fixture.Album.AlbumFileBaseName());
    QCOMPARE(fixture.Child<QLineEdit>("edtOutputDirectory").text(), QString::fromStdString(expected));
    QVERIFY(fixture.Album.Settings.OutputDirectory.empty());
  }

  void choicesGoIntoTheAlbumAtOnceAndCancelTakesThemBack() {
    TWizardFixture fixture;
    const TAlbumLook opened = TAlbumLook::Of(fixture.Album);
    fixture.Open();
    QLineEdit& title = fixture.Child<QLineEdit>("edtTitle");
    Clear(title);
    TypeInto(title, QStringLiteral("Lake "));
    QCOMPARE(fixture.Album.Title, std::string("Lake "));
    title.insert(QStringLiteral("Zürich"));
    QCOMPARE(fixture.Album.Title, std::string("Lake Zürich"));
    fixture.Child<QPlainTextEdit>("mmoDescription").setPlainText(QStringLiteral("Two days"));
    QCOMPARE(fixture.Album.Description, std::string("Two days"));

    ShowPage(fixture, 3);
    TWizardFixture::Pick(fixture.Child<QComboBox>("cmbThumbSize"), QStringLiteral("Large"));
    QCOMPARE(fixture.Album.Settings.ThumbSize, TPhotoSize::Large);
    TAlbumSettings large;
    large.SetThumbSize(TPhotoSize::Large);
    QCOMPARE(fixture.Album.Settings.ThumbWidth, large.ThumbWidth);  // the standard size came along

    ShowPage(fixture, 4);
    fixture.Child<QCheckBox>("chkThumbNavigation").click();
    fixture.Child<QCheckBox>("chkNavLoop").click();
    fixture.Child<QRadioButton>("rdoBelow").click();
    TWizardFixture::Pick(fixture.Child<QComboBox>("cmbPhotoSize"), QStringLiteral("Original Size"));
    QVERIFY(!fixture.Album.Settings.ThumbNavigationBar);
    QVERIFY(fixture.Album.Settings.NavigateInLoop);
    QVERIFY(fixture.Album.Settings.NavigationBelowPhoto);
    QCOMPARE(fixture.Album.Settings.PhotoSize, TPhotoSize::Original);
    fixture.Child<QRadioButton>("rdoAbove").click();
    QVERIFY(!fixture.Album.Settings.NavigationBelowPhoto);

    QVERIFY(!fixture.Album.Saved);
    QTest::mouseClick(&fixture.Child<QPushButton>("btnCancel"), Qt::LeftButton);
    QVERIFY(!fixture.Wizard->isVisible());
    QVERIFY(TAlbumLook::Of(fixture.Album) == opened);
    QVERIFY(fixture.Album.Saved);
  }

  void onlyTheUsersOwnChangesMarkTheAlbumModified() {
    TWizardFixture fixture;
    fixture.Album.Settings.ThumbnailRows = 30;  // as an album file may have it; page 3 brings it into range
    fixture.Open();
    for (int page = 1; page <= 5; ++page) ShowPage(fixture, page);
    QVERIFY(fixture.Album.Saved);

    struct Edit {
      const char* why;
      int page;
      std::function<void()> make;
    };
    const Edit edits[] = {
        {"title typed", 1, [&] { TypeInto(fixture.Child<QLineEdit>("edtTitle"), QStringLiteral("!")); }},
        {"scheme name typed", 2,
         [&] { TypeInto(*fixture.Child<QComboBox>("cmbSchemes").lineEdit(), QStringLiteral("Mine")); }},
        {"rows typed", 3,
         [&] {
           Clear(fixture.Child<QLineEdit>("edtRows"));
           TypeInto(fixture.Child<QLineEdit>("edtRows"), QStringLiteral("7"));
         }},
        {"photo size picked", 4,
         [&] { TWizardFixture::Pick(fixture.Child<QComboBox>("cmbPhotoSize"), QStringLiteral("Large (800 x 600)")); }},
        {"navigation below", 4, [&] { fixture.Child<QRadioButton>("rdoBelow").click(); }},
    };
    for (const Edit& edit : edits) {
      ShowPage(fixture, edit.page);
      fixture.Album.Saved = true;
      edit.make();
      QVERIFY2(!fixture.Album.Saved, edit.why);
    }
    fixture.Album.Saved = true;
    TWizardFixture::Pick(fixture.Child<QComboBox>("cmbPhotoSize"), QStringLiteral("Large (800 x 600)"));
    QVERIFY2(fixture.Album.Saved, "the same choice again changes nothing");
  }

  void modernAlbumsOfferScreenSizesDownloadsAndAWebAddress() {
    TWizardFixture fixture;
    fixture.Open();
    fixture.Child<QRadioButton>("rdoModern").click();
    QCOMPARE(fixture.Album.Settings.PageStyle, TPageStyle::Modern);
    ShowPage(fixture, 4);
    QComboBox& sizes = fixture.Child<QComboBox>("cmbPhotoSize");
    QStringList entries;
    for (int i = 0; i < sizes.count(); ++i) entries << sizes.itemText(i);
    QCOMPARE(entries, (QStringList{"Up to 1280 pixels", "Up to 1920 pixels", "Up to 2560 pixels", "Original Size"}));
    QCOMPARE(sizes.currentText(), QStringLiteral("Up to 2560 pixels"));  // the new album took the largest

    struct Edit {
      const char* why;
      int page;
      std::function<void()> make;
      std::function<bool()> done;
    };
    const TAlbumSettings& settings = fixture.Album.Settings;
    const Edit edits[] = {
        {"screen size picked", 4, [&] { TWizardFixture::Pick(sizes, QStringLiteral("Up to 1920 pixels")); },
         [&] { return settings.PhotoWidth == 1920 && settings.PhotoHeight == 1920; }},
        {"zip ticked", 5, [&] { fixture.Child<QCheckBox>("chkZipDownload").click(); },
         [&] { return settings.ZipDownload; }},
        {"originals ticked", 5, [&] { fixture.Child<QCheckBox>("chkOriginalDownloads").click(); },
         [&] { return settings.OriginalDownloads; }},
        {"web address typed", 5,
         [&] { TypeInto(fixture.Child<QLineEdit>("edtWebAddress"), QStringLiteral(" https://example.org/trip/")); },
         [&] { return settings.WebAddress == "https://example.org/trip/"; }},
    };
    for (const Edit& edit : edits) {
      ShowPage(fixture, edit.page);
      fixture.Album.Saved = true;
      edit.make();
      QVERIFY2(edit.done() && !fixture.Album.Saved, edit.why);
    }

    ShowPage(fixture, 1);
    fixture.Child<QRadioButton>("rdoClassic").click();
    QCOMPARE(settings.PhotoSize, TPhotoSize::Medium);  // a screen size is no classic size
    ShowPage(fixture, 4);
    QCOMPARE(sizes.currentText(), QStringLiteral("Medium (640 x 480)"));
    ShowPage(fixture, 5);
    QVERIFY(!fixture.Child<QCheckBox>("chkZipDownload").isEnabled());
    QVERIFY(fixture.Child<QCheckBox>("chkZipDownload").isChecked());  // kept for the modern pages
    QVERIFY(!fixture.Child<QLineEdit>("edtWebAddress").isEnabled());
  }

  void rowsTypedOutOfRangeKeepTheLastAcceptedNumber() {
    TWizardFixture fixture;
    fixture.Open();
    ShowPage(fixture, 3);
    QLineEdit& rows = fixture.Child<QLineEdit>("edtRows");
    Clear(rows);
    QCOMPARE(fixture.Album.Settings.ThumbnailRows, 5);
    TypeInto(rows, QStringLiteral("3"));
    QCOMPARE(fixture.Album.Settings.ThumbnailRows, 3);
    TypeInto(rows, QStringLiteral("0"));
    QCOMPARE(rows.text(), QStringLiteral("30"));
    QCOMPARE(fixture.Album.Settings.ThumbnailRows, 3);
    fixture.Child<QLineEdit>("edtCols").setFocus();  // leaving the field shows the number again
    QCOMPARE(rows.text(), QStringLiteral("3"));

    QLineEdit& cols = fixture.Child<QLineEdit>("edtCols");
    Clear(cols);
    TypeInto(cols, QStringLiteral("x"));
    QCOMPARE(fixture.Album.Settings.ThumbnailCols, 4);
    QTest::keyClick(&cols, Qt::Key_Backspace);
    TypeInto(cols, QStringLiteral("25"));
    QCOMPARE(fixture.Album.Settings.ThumbnailCols, 25);
    QTest::keyClick(&cols, Qt::Key_Up);  // the up-down stops at its maximum
    QCOMPARE(cols.text(), QStringLiteral("25"));
    QTest::keyClick(&cols, Qt::Key_Down);
    QCOMPARE(fixture.Album.Settings.ThumbnailCols, 24);
  }

  void rowsOutsideTheRangeFromAnAlbumFileAreBroughtIntoIt() {
    TWizardFixture fixture;
    fixture.Album.Settings.ThumbnailRows = 0;
    fixture.Album.Settings.ThumbnailCols = 40;
    fixture.Open();
    ShowPage(fixture, 3);
    QCOMPARE(fixture.Child<QLineEdit>("edtRows").text(), QStringLiteral("1"));
    QCOMPARE(fixture.Album.Settings.ThumbnailRows, 1);
    QCOMPARE(fixture.Album.Settings.ThumbnailCols, 25);
  }

  void theHomeAddressIgnoresTheBareHttpPrefix() {
    TWizardFixture fixture;
    fixture.Open();
    ShowPage(fixture, 3);
    QCheckBox& box = fixture.Child<QCheckBox>("chkHomeLink");
    QLineEdit& address = fixture.Child<QLineEdit>("edtHomepageURL");
    const auto& preview = fixture.Child<TIndexPagePreview>("imgIndexPreview");

    box.click();
    QVERIFY(address.isEnabled());
    QVERIFY(fixture.Album.Settings.HomeURL.empty());  // checking alone sets no address
    QVERIFY(!preview.BackToHomeVisible());
    ShowPage(fixture, 3);
    QVERIFY(!box.isChecked());

    box.click();
    address.setCursorPosition(address.text().size());
    TypeInto(address, QStringLiteral("ab"));
    QCOMPARE(fixture.Album.Settings.HomeURL, std::string("http://ab"));
    QVERIFY(preview.BackToHomeVisible());
    QTest::keyClick(&address, Qt::Key_Backspace);
    QTest::keyClick(&address, Qt::Key_Backspace);
    QCOMPARE(address.text(), QStringLiteral("http://"));
    QCOMPARE(fixture.Album.Settings.HomeURL, std::string("http://a"));
    ShowPage(fixture, 3);
    QVERIFY(box.isChecked());
    QCOMPARE(address.text(), QStringLiteral("http://a"));

    box.click();
    QVERIFY(fixture.Album.Settings.HomeURL.empty());
    QVERIFY(!address.isEnabled());
    QVERIFY(!preview.BackToHomeVisible());
  }

  void extraLargeStandsForEveryCustomSize() {
    TWizardFixture fixture;
    fixture.Album.Settings.SetPhotoSize(TPhotoSize::Custom);
    fixture.Album.Settings.PhotoWidth = 1280;
    fixture.Album.Settings.PhotoHeight = 960;
    fixture.Open();
    ShowPage(fixture, 4);
    QComboBox& sizes = fixture.Child<QComboBox>("cmbPhotoSize");
    QCOMPARE(sizes.currentText(), QStringLiteral("Extra Large (1024 x 768)"));
    QCOMPARE(fixture.Album.Settings.PhotoWidth, 1280);
    TWizardFixture::Pick(sizes, QStringLiteral("Small (320 x 240)"));
    QCOMPARE(fixture.Album.Settings.PhotoWidth, 320);
    TWizardFixture::Pick(sizes, QStringLiteral("Extra Large (1024 x 768)"));
    QCOMPARE(fixture.Album.Settings.PhotoSize, TPhotoSize::Custom);
    QCOMPARE(fixture.Album.Settings.PhotoWidth, 1024);
    QCOMPARE(fixture.Album.Settings.PhotoHeight, 768);
  }

  void indexPreviewPaintsTheGridOfTheAlbum() {
    TWizardFixture fixture;
    fixture.Album.Settings.ColorScheme.SetPageColor(0x204060);
    fixture.Open();
    ShowPage(fixture, 3);
    auto& preview = fixture.Child<TIndexPagePreview>("imgIndexPreview");
    const TIndexPreviewGrid& grid = preview.Grid();
    QCOMPARE(grid.CellWidth, 28);
    QCOMPARE(grid.CellHeight, 21);
    QCOMPARE(grid.ShownCols, 4);
    QCOMPARE(grid.ShownRows, 5);
    QVERIFY(!grid.VerticalScrollBar && !grid.HorizontalScrollBar);

    const QImage painted = preview.grab().toImage();
    const QPoint origin = preview.GridArea().topLeft();
    const auto pixel = [&](int x, int y) { return painted.pixel(origin + QPoint(x, y)) & 0xFFFFFF; };
    const QRgb page = ToQColor(0x204060).rgb() & 0xFFFFFF;
    // The first cell spans 17..42 x 2..20: grey outline, silver inside; page colour around the centred grid.
    QCOMPARE(pixel(17, 2), QRgb(0x808080));
    QCOMPARE(pixel(42, 20), QRgb(0x808080));
    QCOMPARE(pixel(20, 10), QRgb(0xC0C0C0));
    QCOMPARE(pixel(16, 10), page);
    QCOMPARE(pixel(5, 10), page);
    QCOMPARE(pixel(130, 10), page);
    QCOMPARE(pixel(20, 110), page);  // under the fifth row
  }

  void indexPreviewShowsScrollBarPicturesWhenTheGridIsCutOff() {
    TWizardFixture fixture;
    fixture.Open();
    ShowPage(fixture, 3);
    auto& preview = fixture.Child<TIndexPagePreview>("imgIndexPreview");
    // The pictures lie beside and under the frame, where nothing else is painted.
    const QRect beside(preview.width() - 12, 0, 12, preview.height() - 13);
    const QRect under(0, preview.height() - 12, preview.width() - 13, 12);
    const QImage plain = preview.grab().toImage();

    TWizardFixture::Pick(fixture.Child<QComboBox>("cmbThumbSize"), QStringLiteral("Small"));
    QLineEdit& rows = fixture.Child<QLineEdit>("edtRows");
    rows.setText(QStringLiteral("25"));
    QCOMPARE(preview.Grid().ShownRows, 7);
    QCOMPARE(preview.Grid().CellHeight, 17);
    QVERIFY(preview.Grid().VerticalScrollBar);
    QVERIFY(!preview.Grid().HorizontalScrollBar);
    QImage painted = preview.grab().toImage();
    QVERIFY(painted.copy(beside) != plain.copy(beside));
    QCOMPARE(painted.copy(under), plain.copy(under));
    SaveScreenshot(*fixture.Wizard, QStringLiteral("wizard-3b-index-page-scrolling"));

    rows.setText(QStringLiteral("5"));
    fixture.Child<QLineEdit>("edtCols").setText(QStringLiteral("7"));
    QCOMPARE(preview.Grid().ShownCols, 6);
    QVERIFY(!preview.Grid().VerticalScrollBar);
    QVERIFY(preview.Grid().HorizontalScrollBar);
    painted = preview.grab().toImage();
    QCOMPARE(painted.copy(beside), plain.copy(beside));
    QVERIFY(painted.copy(under) != plain.copy(under));
  }

  void previewsShowTheAlbumsOwnPhotographsAndPages() {
    TWizardFixture fixture;
    for (int i = 0; i < 21; ++i) fixture.AddPhotograph(QStringLiteral("p%1.jpg").arg(i));
    fixture.Open();
    ShowPage(fixture, 3);
    auto& index = fixture.Child<TIndexPagePreview>("imgIndexPreview");
    QCOMPARE(index.PageLinks(), QStringLiteral("Page [1] [2]"));
    fixture.Child<QLineEdit>("edtRows").setText(QStringLiteral("1"));
    QCOMPARE(index.PageLinks(), QStringLiteral("Page [1] [2] [3] ... [6]"));
    fixture.Child<QLineEdit>("edtRows").setText(QStringLiteral("6"));
    QCOMPARE(index.PageLinks(), QString());

    // The photographs' blue where the cells were grey, once their thumbnails arrived.
    const auto bluish = [](QRgb pixel) { return qBlue(pixel) > 150 && qRed(pixel) < 110; };
    const TPreviewRect first = index.Grid().Cell(0, 0);
    const QPoint cell_middle =
        index.GridArea().topLeft() + QPoint((first.Left + first.Right) / 2, (first.Top + first.Bottom) / 2);
    QTRY_VERIFY(bluish(index.grab().toImage().pixel(cell_middle)));

    ShowPage(fixture, 4);
    auto& photo = fixture.Child<TPhotoPagePreview>("imgPhotoPreview");
    for (const TPhotoPreviewBlockPlace& place : photo.Stack()) {
      if (place.Block != TPhotoPreviewBlock::Photo && place.Block != TPhotoPreviewBlock::Thumbnails) continue;
      const QPoint middle(photo.width() / 2, place.Top + place.Height / 2);
      QTRY_VERIFY(bluish(photo.grab().toImage().pixel(middle)));
    }
  }

  void photoPreviewStacksTheBlocksAsThePagesWill() {
    TWizardFixture fixture;
    fixture.Open();
    ShowPage(fixture, 4);
    const auto& preview = fixture.Child<TPhotoPagePreview>("imgPhotoPreview");
    const auto order = [&] {
      QStringList names;
      for (const TPhotoPreviewBlockPlace& place : preview.Stack())
        names << (place.Block == TPhotoPreviewBlock::Navigation   ? QStringLiteral("navigation")
                  : place.Block == TPhotoPreviewBlock::Thumbnails ? QStringLiteral("thumbnails")
                                                                  : QStringLiteral("photo"));
      return names.join(QLatin1Char(' '));
    };
    QCOMPARE(order(), QStringLiteral("navigation thumbnails photo"));
    fixture.Child<QRadioButton>("rdoBelow").click();
    QCOMPARE(order(), QStringLiteral("photo thumbnails navigation"));
    fixture.Child<QCheckBox>("chkThumbNavigation").click();
    QCOMPARE(order(), QStringLiteral("photo navigation"));
    fixture.Child<QRadioButton>("rdoAbove").click();
    QCOMPARE(order(), QStringLiteral("navigation photo"));
    fixture.Child<QCheckBox>("chkNavLoop").click();
    QCOMPARE(order(), QStringLiteral("navigation photo"));
  }

  void pageStyleAndCameraDataGoIntoTheAlbumAndTheirPreviews() {
    TWizardFixture fixture;
    fixture.Open();
    QVERIFY(fixture.Child<QRadioButton>("rdoClassic").isChecked());
    auto& index = fixture.Child<TIndexPagePreview>("imgIndexPreview");
    auto& photo = fixture.Child<TPhotoPagePreview>("imgPhotoPreview");
    const QImage classic_index = index.grab().toImage();
    QVERIFY(fixture.Album.Saved);

    fixture.Child<QRadioButton>("rdoModern").click();
    QCOMPARE(fixture.Album.Settings.PageStyle, TPageStyle::Modern);
    QVERIFY2(!fixture.Album.Saved, "choosing the style is a change");
    QCOMPARE(index.Style(), TPageStyle::Modern);
    QCOMPARE(photo.Style(), TPageStyle::Modern);
    QVERIFY2(index.grab().toImage() != classic_index, "the index preview draws the modern page");

    ShowPage(fixture, 4);
    auto& camera = fixture.Child<QCheckBox>("chkCameraData");
    QVERIFY(camera.isEnabled());
    const QImage without_camera = photo.grab().toImage();
    fixture.Album.Saved = true;
    camera.click();
    QVERIFY(fixture.Album.Settings.ShowCameraData);
    QVERIFY(!fixture.Album.Saved);
    QVERIFY2(photo.grab().toImage() != without_camera, "the photo preview shows the camera data");
    SaveScreenshot(*fixture.Wizard, QStringLiteral("wizard-4b-modern-photo-page"));

    ShowPage(fixture, 1);
    QVERIFY2(fixture.Child<QRadioButton>("rdoModern").isChecked(), "page 1 shows the album's style again");
    fixture.Album.Saved = true;
    fixture.Child<QRadioButton>("rdoClassic").click();
    QCOMPARE(fixture.Album.Settings.PageStyle, TPageStyle::Classic);
    QCOMPARE(index.Style(), TPageStyle::Classic);
    QVERIFY(!fixture.Album.Saved);
    ShowPage(fixture, 4);
    QVERIFY2(!camera.isEnabled(), "classic pages show no camera data");
  }

  void choicesTheStyleDoesNotUseAreDisabledWithTheirValuesKept() {
    TWizardFixture fixture;
    TAlbumSettings& settings = fixture.Album.Settings;
    settings.NavigationBelowPhoto = true;
    settings.ShowCameraData = true;
    settings.ZipDownload = true;
    fixture.Open();
    // "name:on" or "name:off" for each control bound to one style, "*" after a ticked one.
    const auto controls = [&] {
      QStringList states;
      const auto read = [&](const char* name) {
        const auto& control = fixture.Child<QWidget>(name);
        const auto* button = qobject_cast<const QAbstractButton*>(&control);
        states << QLatin1String(name) + (control.isEnabled() ? QStringLiteral(":on") : QStringLiteral(":off")) +
                      (button && button->isChecked() ? QStringLiteral("*") : QString());
      };
      for (const char* name : {"rdoAbove", "rdoBelow", "chkCameraData"}) read(name);
      fixture.Child<QPushButton>("btnNext").click();
      for (const char* name : {"chkZipDownload", "chkOriginalDownloads", "edtWebAddress"}) read(name);
      return states.join(QLatin1Char(' '));
    };
    struct Row {
      const char* style;
      const char* states;
    };
    // Modern first: coming back to classic enables what modern disabled.
    const Row rows[] = {
        {"rdoModern",
         "rdoAbove:off rdoBelow:off* chkCameraData:on* chkZipDownload:on* chkOriginalDownloads:on edtWebAddress:on"},
        {"rdoClassic",
         "rdoAbove:on rdoBelow:on* chkCameraData:off* chkZipDownload:off* chkOriginalDownloads:off edtWebAddress:off"},
    };
    for (const Row& row : rows) {
      while (fixture.Wizard->CurrentPage() > 1) fixture.Child<QPushButton>("btnPrevious").click();
      fixture.Child<QRadioButton>(row.style).click();
      for (int page = 1; page < 4; ++page) fixture.Child<QPushButton>("btnNext").click();
      QCOMPARE(controls(), QLatin1String(row.states));
    }
    QVERIFY2(settings.NavigationBelowPhoto && settings.ShowCameraData && settings.ZipDownload,
             "the album keeps the choices of the other style");
  }

  void selectFolderJoinsTheAlbumNameAndCancelKeepsTheField() {
    TWizardFixture fixture;
    fixture.Album.Title = "Summer 2024";
    fixture.Open();
    ShowPage(fixture, 5);
    QLineEdit& field = fixture.Child<QLineEdit>("edtOutputDirectory");
    const QString shown = field.text();
    fixture.Dialogs.Folders.push_back(QString());
    fixture.Child<QPushButton>("btnSelectFolder").click();
    QCOMPARE(field.text(), shown);
    fixture.Dialogs.Folders.push_back(QStringLiteral("/srv/www/"));
    fixture.Child<QPushButton>("btnSelectFolder").click();
    QCOMPARE(field.text(), QStringLiteral("/srv/www/") + QString::fromStdString(fixture.Album.AlbumFileBaseName()));
    QCOMPARE(fixture.Dialogs.FolderPrompts, QStringList(2, QStringLiteral("Select a folder")));
  }

  void screenshotsOfTheChoosingPages() {
    TWizardFixture fixture;
    fixture.Album.Title = "Walking the Ridgeway";
    fixture.Album.Description = "Five days on the oldest road in Britain, from Overton Hill to Ivinghoe Beacon.";
    fixture.Album.Settings.HomeURL = "http://example.org/";
    TColorScheme heath;
    heath.Name = "Heath";
    heath.SetPageColor(0xE8F4F8);
    heath.TextColor = 0x203040;
    heath.LinkColor = 0x2E7D32;
    heath.HotLinkColor = 0x1030C0;
    TColorScheme midnight;
    midnight.Name = "Midnight";
    midnight.SetPageColor(0x401A1A);
    StoreSchemes({heath, midnight}, fixture.Store());
    fixture.Album.Settings.ColorScheme.Assign(heath);
    fixture.Open();
    const char* const names[] = {"wizard-1-title-page", "wizard-2-colour-page", "wizard-3-index-page",
                                 "wizard-4-photo-page", "wizard-5-output-page"};
    for (int page = 1; page <= 5; ++page) {
      ShowPage(fixture, page);
      SaveScreenshot(*fixture.Wizard, QString::fromLatin1(names[page - 1]));
    }
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::GeneratePagesTest)
#include "generate_pages_test.moc"
