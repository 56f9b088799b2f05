#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "app/shared/colorchooser.h"
#include "platform/filesystem.h"
#include "wizard/colorschemes.h"
#include "wizardfixture.h"

namespace folivant::test {

namespace {

constexpr TColor kNavy = 0x800000;
constexpr TColor kTeal = 0x808000;
constexpr TColor kCream = 0xF0FBFF;

TColorScheme Scheme(const char* name, TColor page, TColor text = kBlack) {
  TColorScheme scheme;
  scheme.Name = name;
  scheme.SetPageColor(page);
  scheme.TextColor = text;
  return scheme;
}

QStringList Items(const QComboBox& list) {
  QStringList items;
  for (int i = 0; i < list.count(); ++i) items << list.itemText(i);
  return items;
}

// "name=page,text,link,hover" for every scheme of the settings, in stored order.
QStringList StoredSchemes(TSettingsStore& store) {
  QStringList stored;
  const TSettingsKey* schemes = store.Load().OpenKey("ColourSchemes");
  if (!schemes) return stored;
  for (const std::string& name : schemes->SubkeyNames()) {
    const TSettingsKey& key = *schemes->OpenKey(name);
    QStringList values;
    for (const char* value : {"Page", "Text", "Link", "HLink"})
      values << QString::fromStdString(key.ReadString(value).value_or("?"));
    stored << QString::fromStdString(name) + QLatin1Char('=') + values.join(QLatin1Char(','));
  }
  return stored;
}

// The four choosers' colours as "page,text,link,hover" in decimal.
QString Choosers(const TWizardFixture& fixture) {
  QStringList colors;
  for (const char* name : {"colPage", "colText", "colLink", "colActiveLink"})
    colors << QString::number(fixture.Child<TColorChooser>(name).Selected());
  return colors.join(QLatin1Char(','));
}

void TypeSchemeName(const TWizardFixture& fixture, const QString& name) {
  QLineEdit& field = *fixture.Child<QComboBox>("cmbSchemes").lineEdit();
  field.setFocus();
  field.selectAll();
  QTest::keyClicks(&field, name);
}

void Click(const TWizardFixture& fixture, const char* button) { fixture.Child<QPushButton>(button).click(); }

}  // namespace

class GenerateSchemesTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() {
    qputenv("FOLIVANT_CONFIG_DIR", QDir::tempPath().toUtf8() + "/folivant-generate-schemes-test-config");
  }

  void aFirstOpeningOffersDefaultAndStoresItOnClosing() {
    TWizardFixture fixture;
    fixture.Open().ShowPage(2);
    const QComboBox& schemes = fixture.Child<QComboBox>("cmbSchemes");
    QCOMPARE(Items(schemes), QStringList{QStringLiteral("Default")});
    QCOMPARE(schemes.currentIndex(), 0);
    QCOMPARE(schemes.currentText(), QStringLiteral("Default"));
    QCOMPARE(Choosers(fixture), QStringLiteral("16777215,0,16711680,255"));
    QVERIFY(StoredSchemes(fixture.Store()).isEmpty());
    fixture.Wizard->close();
    QCOMPARE(StoredSchemes(fixture.Store()), QStringList{QStringLiteral("Default=16777215,0,16711680,255")});
    QVERIFY(fixture.Dialogs.Errors.isEmpty());
  }

  void pickingSchemesAndColorsChangesTheAlbumScheme() {
    TWizardFixture fixture;
    StoreSchemes({Scheme("Ocean", kNavy, kCream), Scheme("forest", kTeal)}, fixture.Store());
    fixture.Open().ShowPage(2);
    QComboBox& schemes = fixture.Child<QComboBox>("cmbSchemes");
    QCOMPARE(Items(schemes), (QStringList{"forest", "Ocean"}));  // alphabetical, case ignored
    TWizardFixture::Pick(schemes, QStringLiteral("Ocean"));
    const TColorScheme& album = fixture.Album.Settings.ColorScheme;
    QCOMPARE(album.Name, std::string("Ocean"));
    QCOMPARE(album.PageColor(), kNavy);
    QCOMPARE(album.BorderColor(), Scheme("x", kNavy).BorderColor());
    QCOMPARE(album.TextColor, kCream);
    QCOMPARE(fixture.Child<TColorChooser>("colPage").currentText(), QStringLiteral("Navy"));

    TWizardFixture::Pick(fixture.Child<TColorChooser>("colLink"), QStringLiteral("Teal"));
    QCOMPARE(album.LinkColor, kTeal);
    fixture.Dialogs.Colors.push_back(QColor(0x12, 0x34, 0x56));
    TWizardFixture::Pick(fixture.Child<TColorChooser>("colActiveLink"), QStringLiteral("Custom..."));
    QCOMPARE(album.HotLinkColor, TColor{0x563412});
    fixture.Dialogs.Colors.push_back(QColor());  // the colour dialog cancelled
    TWizardFixture::Pick(fixture.Child<TColorChooser>("colText"), QStringLiteral("Custom..."));
    QCOMPARE(album.TextColor, kCream);
    QCOMPARE(fixture.Child<TColorChooser>("colText").currentText(), QStringLiteral("Cream"));
    TWizardFixture::Pick(fixture.Child<TColorChooser>("colText"), QStringLiteral("Default"));
    QCOMPARE(album.TextColor, kBlack);

    TypeSchemeName(fixture, QStringLiteral("Mine"));
    QCOMPARE(album.Name, std::string("Mine"));
    QCOMPARE(album.PageColor(), kNavy);
    QVERIFY(fixture.Dialogs.Unexpected.isEmpty());
  }

  void saveAppendsANewSchemeAndSelectsIt() {
    TWizardFixture fixture;
    fixture.Open().ShowPage(2);
    TypeSchemeName(fixture, QStringLiteral("Cream Tea"));
    TWizardFixture::Pick(fixture.Child<TColorChooser>("colPage"), QStringLiteral("Cream"));
    Click(fixture, "btnSaveScheme");
    QVERIFY(fixture.Dialogs.Asked.isEmpty());
    const QComboBox& schemes = fixture.Child<QComboBox>("cmbSchemes");
    QCOMPARE(Items(schemes), (QStringList{"Cream Tea", "Default"}));
    QCOMPARE(schemes.currentText(), QStringLiteral("Cream Tea"));
    QCOMPARE(schemes.currentIndex(), 0);
    QCOMPARE(StoredSchemes(fixture.Store()),
             (QStringList{"Default=16777215,0,16711680,255", "Cream Tea=15793151,0,16711680,255"}));
  }

  void saveOverAnExistingSchemeAsksFirst() {
    TWizardFixture fixture;
    StoreSchemes({Scheme("Ocean", kNavy)}, fixture.Store());
    fixture.Open().ShowPage(2);
    TypeSchemeName(fixture, QStringLiteral("Ocean"));
    TWizardFixture::Pick(fixture.Child<TColorChooser>("colPage"), QStringLiteral("Teal"));
    const QStringList before = StoredSchemes(fixture.Store());

    fixture.Dialogs.Answers.push_back(false);
    Click(fixture, "btnSaveScheme");
    QCOMPARE(fixture.Dialogs.Asked,
             QStringList{QStringLiteral("Are you sure you want to overwrite the colour scheme, 'Ocean'?")});
    QCOMPARE(StoredSchemes(fixture.Store()), before);
    QCOMPARE(fixture.Wizard->Schemes().at(0).PageColor(), kNavy);

    fixture.Dialogs.Answers.push_back(true);
    Click(fixture, "btnSaveScheme");
    QCOMPARE(fixture.Wizard->Schemes().size(), size_t{1});
    QCOMPARE(fixture.Wizard->Schemes().at(0).PageColor(), kTeal);
    QCOMPARE(StoredSchemes(fixture.Store()), QStringList{QStringLiteral("Ocean=8421376,0,16711680,255")});

    // Letter case counts when saving: "ocean" is a new scheme.
    TypeSchemeName(fixture, QStringLiteral("ocean"));
    Click(fixture, "btnSaveScheme");
    QCOMPARE(fixture.Dialogs.Asked.size(), 2);
    QCOMPARE(fixture.Wizard->Schemes().size(), size_t{2});
  }

  void aSchemeSavedUnderAShippedNameIsKeptUnderAnotherName() {
    TWizardFixture fixture;
    WriteFileAtomically(fixture.ProgramFolder() + "schemes.ini",
                        "[Schemes]\nNumSchemes=1\n[Scheme0]\nName=Ocean\nPage=8388608\n");
    fixture.Open().ShowPage(2);
    TypeSchemeName(fixture, QStringLiteral("Ocean"));
    TWizardFixture::Pick(fixture.Child<TColorChooser>("colPage"), QStringLiteral("Teal"));
    fixture.Dialogs.Answers = {true};
    Click(fixture, "btnSaveScheme");
    QCOMPARE(fixture.Dialogs.Asked, QStringList{QStringLiteral("\"Ocean\" comes with Folivant and stays as it is. "
                                                               "Save your colours as \"Ocean 2\" instead?")});
    QCOMPARE(fixture.Child<QComboBox>("cmbSchemes").currentText(), QStringLiteral("Ocean 2"));
    QCOMPARE(fixture.Album.Settings.ColorScheme.Name, "Ocean 2");

    // At the next opening the shipped scheme is as shipped and the user's is there beside it.
    fixture.Wizard->reject();
    fixture.Open();
    const std::vector<TColorScheme>& schemes = fixture.Wizard->Schemes();
    QCOMPARE(schemes.size(), size_t{2});
    QCOMPARE(schemes[0].PageColor(), kNavy);
    QCOMPARE(schemes[1].Name, "Ocean 2");
    QCOMPARE(schemes[1].PageColor(), kTeal);
  }

  void deletingTheOnlySchemeLeavesAFreshDefault() {
    TWizardFixture fixture;
    StoreSchemes({Scheme("Ocean", kNavy, kCream)}, fixture.Store());
    fixture.Album.Settings.ColorScheme.Assign(Scheme("OCEAN", kNavy, kCream));
    fixture.Open().ShowPage(2);
    QComboBox& schemes = fixture.Child<QComboBox>("cmbSchemes");
    QCOMPARE(Items(schemes), QStringList{QStringLiteral("Ocean")});
    QCOMPARE(schemes.currentIndex(), 0);  // found without regard to case

    fixture.Dialogs.Answers.push_back(false);
    Click(fixture, "btnDelete");
    QCOMPARE(fixture.Dialogs.Asked, QStringList{QStringLiteral("Are you sure you want to delete the scheme 'Ocean'?")});
    QCOMPARE(Items(schemes), QStringList{QStringLiteral("Ocean")});
    QCOMPARE(schemes.currentText(), QStringLiteral("OCEAN"));

    fixture.Dialogs.Answers.push_back(true);
    Click(fixture, "btnDelete");
    QCOMPARE(Items(schemes), QStringList{QStringLiteral("Default")});
    QCOMPARE(schemes.currentText(), QString());
    QCOMPARE(Choosers(fixture), QStringLiteral("16777215,0,16711680,255"));
    QCOMPARE(fixture.Album.Settings.ColorScheme.Name, std::string("OCEAN"));
    QCOMPARE(fixture.Album.Settings.ColorScheme.PageColor(), kNavy);
    QVERIFY(StoredSchemes(fixture.Store()).isEmpty());
    fixture.Wizard->reject();
    QCOMPARE(StoredSchemes(fixture.Store()), QStringList{QStringLiteral("Default=16777215,0,16711680,255")});
  }

  void deleteWithATextOtherThanTheSelectedItemOnlyResetsTheChoosers() {
    TWizardFixture fixture;
    StoreSchemes({Scheme("Ocean", kNavy, kCream), Scheme("Forest", kTeal)}, fixture.Store());
    fixture.Open().ShowPage(2);
    TWizardFixture::Pick(fixture.Child<QComboBox>("cmbSchemes"), QStringLiteral("Ocean"));
    TypeSchemeName(fixture, QStringLiteral("Forest"));
    Click(fixture, "btnDelete");
    QVERIFY(fixture.Dialogs.Asked.isEmpty());
    QCOMPARE(fixture.Wizard->Schemes().size(), size_t{2});
    QCOMPARE(fixture.Child<QComboBox>("cmbSchemes").currentText(), QString());
    QCOMPARE(Choosers(fixture), QStringLiteral("16777215,0,16711680,255"));
    const TColorScheme& album = fixture.Album.Settings.ColorScheme;
    QCOMPARE(album.Name, std::string("Forest"));
    QCOMPARE(album.PageColor(), kNavy);
    QCOMPARE(album.TextColor, kCream);
    fixture.Wizard->close();
    QCOMPARE(StoredSchemes(fixture.Store()),
             (QStringList{"Ocean=8388608,15793151,16711680,255", "Forest=8421376,0,16711680,255"}));
  }

  void aDamagedSettingsFileIsReportedAndTheWizardOpensAllTheSame() {
    TWizardFixture fixture;
    QFile file(QString::fromStdString(fixture.Store().FileName()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{ not json");
    file.close();
    fixture.Open().ShowPage(2);
    QCOMPARE(fixture.Dialogs.Errors.size(), 1);
    QVERIFY(fixture.Wizard->isVisible());
    QCOMPARE(Items(fixture.Child<QComboBox>("cmbSchemes")), QStringList{QStringLiteral("Default")});
  }
};

}  // namespace folivant::test

QTEST_MAIN(folivant::test::GenerateSchemesTest)
#include "generate_schemes_test.moc"
