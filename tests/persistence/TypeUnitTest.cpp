#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QWidget>

#include "IniFilesSec.h"
#include "MemIniFile.h"
#include "Msgdlg.h"
#include "PathUtils.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TextFile.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
void SetProtected(const QString& file, const QString& section, const QString& ident, const QString& value) {
  TIniFileSecWriter ini(file);
  ini.WriteString(section, ident, value);
  ASSERT_TRUE(ini.UpdateFile());
}

void DeleteProtected(const QString& file, const QString& section, const QString& ident) {
  TIniFileSecWriter ini(file);
  ini.DeleteKey(section, ident);
  ASSERT_TRUE(ini.UpdateFile());
}

QString LastShownText() { return TestDialogs().shown.isEmpty() ? QString() : TestDialogs().shown.last().text; }
}  // namespace

TEST(TypeUnitStartup, DerivesTheTreeFromTheProgramPlaceAndMakesItsDirectories) {
  TempSuite suite;
  QDir(suite.Root() + QStringLiteral("HLP")).removeRecursively();
  ASSERT_TRUE(suite.Init());
  const TSystemEinstellungen* s = SystemEinstellungen();
  EXPECT_EQ(s->RootDir, suite.Root());
  EXPECT_EQ(s->BinDir, suite.Root() + QStringLiteral("BIN/"));
  EXPECT_EQ(s->LogDir, suite.Root() + QStringLiteral("TMP/LOG/"));
  EXPECT_EQ(s->AllUsersDir, suite.Root() + QStringLiteral("USR/ALLUSERS/"));
  EXPECT_TRUE(QFileInfo(suite.Root() + QStringLiteral("HLP")).isDir());
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(TypeUnitStartup, ProgramOutsideBinIsRefused) {
  TempSuite suite;
  FinalizeSystem();
  EXPECT_FALSE(InitSystemFor(suite.Root() + QStringLiteral("RSC/MOD00100"), 1));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(QStringLiteral("Initst-") + suite.Root() + QStringLiteral("RSC/")));
  EXPECT_EQ(TestDialogs().shown[0].caption, QStringLiteral("Fehler"));
  FinalizeSystem();
  EXPECT_TRUE(InitSystemFor(suite.Root() + QStringLiteral("RSC/UPDATE/UPDATE"), 2));
  EXPECT_EQ(SystemEinstellungen()->RootDir, suite.Root());
}

TEST(TypeUnitStartup, LoadsClientAndUserSettings) {
  TempSuite suite;
  ASSERT_TRUE(suite.Load());
  const TSystemEinstellungen* s = SystemEinstellungen();
  EXPECT_EQ(s->Mandant, QStringLiteral("DEMO"));
  EXPECT_EQ(s->ClientEtcDir, suite.Root() + QStringLiteral("DATA/DEMO/ETC/"));
  EXPECT_EQ(s->AreaDir(TAreaDir::A1), suite.Root() + QStringLiteral("DATA/DEMO/A1"));
  EXPECT_EQ(s->AddressDir, suite.Root() + QStringLiteral("DATA/DEMO/A1/ADRESSEN/"));
  EXPECT_EQ(s->ImageDir, suite.Root() + QStringLiteral("DATA/DEMO/LAGER/IMAGES/"));
  EXPECT_EQ(s->TemplateDirs[0], s->ClientEtcDir + QStringLiteral("TEMPLATES/VTNT/102/"));
  EXPECT_DOUBLE_EQ(s->GetMwSt(vkNormal), 19.0);
  EXPECT_DOUBLE_EQ(s->GetMwSt(vkReduziert), 7.0);
  EXPECT_DOUBLE_EQ(s->GetMwSt(vkGesondert), 10.7);
  EXPECT_DOUBLE_EQ(s->GetMwSt(4), 0.0);
  EXPECT_DOUBLE_EQ(s->GetMwSt(-1), 0.0);
  EXPECT_EQ(s->Waehrungen[1].Kurz, QStringLiteral("CHF"));
  EXPECT_DOUBLE_EQ(s->Waehrungen[1].FaktorIn, 0.94);
  EXPECT_EQ(s->Waehrungen[2].HausXOut, 1);
  EXPECT_EQ(s->VTNTTxt.TextWidthMM, 175);
  const TBenutzerEinstellungen* u = BenutzerEinstellungen();
  EXPECT_EQ(u->UserName, QStringLiteral("ADMIN"));
  EXPECT_EQ(u->Vollname, QStringLiteral("Administrator"));
  EXPECT_EQ(u->UserClientEtcDir, suite.Root() + QStringLiteral("USR/ADMIN/ETC/DEMO/"));
  EXPECT_FALSE(u->LacksPermission(QStringLiteral("02")));
  EXPECT_TRUE(u->LacksPermission(QStringLiteral("11")));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(TypeUnitStartup, UserNameIsTrimmedAndUpperCased) {
  TempSuite suite;
  EXPECT_TRUE(suite.Load(QStringLiteral("DEMO"), QStringLiteral("  admin ")));
  EXPECT_EQ(BenutzerEinstellungen()->UserName, QStringLiteral("ADMIN"));
  EXPECT_FALSE(suite.Load(QStringLiteral("DEMO"), QStringLiteral("   ")));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST(TypeUnitAdmission, MissingZutrittsSperreBarsAndFalseAdmits) {
  TempSuite suite;
  DeleteProtected(suite.Sysdatb(), QStringLiteral("ADMIN"), QStringLiteral("ZutrittsSperre"));
  EXPECT_FALSE(suite.Load());
  EXPECT_EQ(LastShownText(), QStringLiteral("Ihnen wurde der Zugriff zur Anwendung verweigert."));
  SetProtected(suite.Sysdatb(), QStringLiteral("ADMIN"), QStringLiteral("ZutrittsSperre"), QStringLiteral("False"));
  EXPECT_TRUE(suite.Load());
  EXPECT_FALSE(suite.Load(QStringLiteral("DEMO"), QStringLiteral("GAST")));
}

TEST(TypeUnitAdmission, ClientInAuswahlInOtherCaseIsBarred) {
  TempSuite suite;
  SetProtected(suite.Sysdatb(), QStringLiteral("ADMIN"), QStringLiteral("Auswahl"), QStringLiteral("FIRMA2, demo"));
  EXPECT_FALSE(suite.Load());
  EXPECT_EQ(LastShownText(), QStringLiteral("Ihnen wurde der Zugriff zur Anwendung verweigert."));
  EXPECT_TRUE(BenutzerEinstellungen()->IsClientBarred(QStringLiteral("Firma2")));
  EXPECT_FALSE(BenutzerEinstellungen()->IsClientBarred(QString()));
  EXPECT_FALSE(BenutzerEinstellungen()->IsClientBarred(QStringLiteral("FIRMA")));
}

TEST(TypeUnitAdmission, EachMissingPieceHasItsOwnMessage) {
  TempSuite suite;
  EXPECT_FALSE(suite.Load(QStringLiteral("NIEMAND")));
  EXPECT_EQ(LastShownText(), QStringLiteral("Verzeichnis \"%1DATA/NIEMAND/ETC/\" nicht gefunden.").arg(suite.Root()));

  EXPECT_FALSE(suite.Load(QStringLiteral("DEMO"), QStringLiteral("FREMD")));
  EXPECT_EQ(LastShownText(), QStringLiteral("Der Benutzer \"FREMD\" wurde nicht in der Konfigurationsdatei \"%1\" "
                                            "gefunden.").arg(suite.Sysdatb()));

  QDir(UserDir(suite.Root(), QStringLiteral("ADMIN"))).removeRecursively();
  EXPECT_FALSE(suite.Load());
  EXPECT_EQ(LastShownText(), QStringLiteral("Das Benutzerverzeichnis \"%1\" wurde nicht gefunden.")
                                 .arg(UserDir(suite.Root(), QStringLiteral("ADMIN"))));

  QFile::remove(suite.Sysdatb());
  EXPECT_FALSE(suite.Load());
  EXPECT_EQ(LastShownText(), QStringLiteral("Datei \"%1\" nicht gefunden.").arg(suite.Sysdatb()));
  QFile::remove(suite.Sysdata());
  EXPECT_FALSE(suite.Load());
  EXPECT_EQ(LastShownText(), QStringLiteral("Datei \"%1\" nicht gefunden.").arg(suite.Sysdata()));
  for (const ShownDialog& d : TestDialogs().shown) EXPECT_EQ(d.caption, QStringLiteral("Fehler"));
}

// A settings file far too large to be one is refused by name, not taken for
// one that lacks every entry (or the user).
TEST(TypeUnitAdmission, OversizedSettingsFileIsNamedAsSuch) {
  TempSuite suite;
  for (const QString& file : {suite.Sysdata(), suite.Sysdatb()}) {
    SCOPED_TRACE(file.toStdString());
    const QByteArray kept = ReadFileBytes(file);
    WriteFileBytes(file, kept + QByteArray(TMemIniFile::kMaxFileBytes, ' '));
    EXPECT_FALSE(suite.Load());
    EXPECT_TRUE(LastShownText().startsWith(QStringLiteral("Die Einstellungsdatei \"%1\" ist groesser als").arg(file)))
        << LastShownText().toStdString();
    WriteFileBytes(file, kept);
  }
}

TEST(TypeUnitSystemFile, MissingKommissionIsFineMissingBriefeIsNot) {
  TempSuite suite;
  DeleteProtected(suite.Sysdata(), QStringLiteral("System"), QStringLiteral("Kommission"));
  EXPECT_TRUE(suite.Load());
  EXPECT_TRUE(SystemEinstellungen()->AreaDir(TAreaDir::Kommission).isEmpty());
  DeleteProtected(suite.Sysdata(), QStringLiteral("System"), QStringLiteral("Briefe"));
  DeleteProtected(suite.Sysdata(), QStringLiteral("System"), QStringLiteral("Lager"));
  EXPECT_FALSE(suite.Load());
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  const QString text = TestDialogs().shown[0].text;
  const QString problem = QStringLiteral("Fehlerhafte Datei \"%1\"").arg(suite.Sysdata());
  EXPECT_TRUE(text.startsWith(QStringLiteral("Mandant ") + suite.Sysdata() + QLatin1Char('\n'))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("): ") + problem + QLatin1Char('\n') + problem + QLatin1Char('\n')))
      << text.toStdString();
}

TEST(TypeUnitSystemFile, TamperedValueReadsAsItsDefault) {
  TempSuite suite;
  // A value copied from another key fails the digest of its new place.
  TMemIniFile raw(suite.Sysdata());
  raw.WriteString(QStringLiteral("System"), QStringLiteral("MwStNorm"),
                  raw.ReadString(QStringLiteral("System"), QStringLiteral("MwStRed"), QString()));
  ASSERT_TRUE(raw.UpdateFile());
  ASSERT_TRUE(suite.Load());
  EXPECT_DOUBLE_EQ(SystemEinstellungen()->MwStNorm, 0.0);
  EXPECT_DOUBLE_EQ(SystemEinstellungen()->MwStRed, 7.0);
}

TEST(TypeUnitPaths, DataDirPlaceholderOnlyAtTheStart) {
  EXPECT_EQ(ExpandDataDir(QStringLiteral("[DATADIR]\\ADR"), QStringLiteral("[DATADIR]"), QStringLiteral("/s/DATA/")),
            QStringLiteral("/s/DATA/ADR"));
  EXPECT_EQ(ExpandDataDir(QStringLiteral("/x/[DATADIR]\\ADR\\"), QStringLiteral("[DATADIR]"),
                          QStringLiteral("/s/DATA/")),
            QStringLiteral("/x/[DATADIR]/ADR"));
  EXPECT_EQ(ExpandDataDir(QStringLiteral("[datadir]\\ADR"), QStringLiteral("[DATADIR]"), QStringLiteral("/s/")),
            QStringLiteral("[datadir]/ADR"));
  EXPECT_EQ(NormalizePath(QStringLiteral("C:\\Suite\\Bin"), true), QStringLiteral("C:/Suite/Bin/"));
  EXPECT_EQ(NormalizePath(QStringLiteral("/a/b///"), false), QStringLiteral("/a/b"));
  QTemporaryDir dir;
  EXPECT_TRUE(EnsureDirectory(dir.path() + QStringLiteral("/x/y/z")));
  WriteFileBytes(dir.path() + QStringLiteral("/file"), "x");
  EXPECT_FALSE(EnsureDirectory(dir.path() + QStringLiteral("/file")));
  EXPECT_FALSE(EnsureDirectory(dir.path() + QStringLiteral("/file/sub")));
}

TEST(TypeUnitCurrency, FormatsAndRoundsByFullCurrency) {
  TSystemEinstellungen s;
  EXPECT_EQ(s.FormatCurrencyText(CurrencyFromDouble(1234.5)), QStringLiteral("1.234,50 EUR"));
  EXPECT_EQ(s.FormatCurrencyText(CurrencyFromDouble(-3), QStringLiteral("CHF")), QStringLiteral("-3,00 CHF"));
  EXPECT_DOUBLE_EQ(s.RoundCurrency(2.345), 2.35);
  EXPECT_DOUBLE_EQ(s.RoundCurrency(-2.345), -2.35);
  EXPECT_DOUBLE_EQ(s.RoundCurrency(1.005), 1.01);
  EXPECT_EQ(s.RoundCurrency(Currency(12350)), Currency(12400));
  EXPECT_EQ(s.RoundCurrency(Currency(-12350)), Currency(-12400));
  EXPECT_EQ(s.RoundCurrency(Currency(12349)), Currency(12300));
  s.FullCurrency = true;
  EXPECT_EQ(s.FormatCurrencyText(CurrencyFromDouble(1234.5)), QStringLiteral("1234,5000 EUR"));
  EXPECT_EQ(s.FormatCurrencyTextN(CurrencyFromDouble(1234.5)), QStringLiteral("1.234,50 EUR"));
  EXPECT_DOUBLE_EQ(s.RoundCurrency(2.34565), 2.3457);
  EXPECT_EQ(s.RoundCurrency(Currency(12349)), Currency(12349));
}

TEST(TypeUnitLists, UnitsFromFileOrTheNineteenDefaults) {
  TempSuite suite;
  ASSERT_TRUE(suite.Init());
  QStringList units;
  FillUnits(units);
  ASSERT_EQ(units.size(), 19);
  EXPECT_EQ(units.first(), QStringLiteral("Stck (Stueck)"));
  EXPECT_EQ(units.last(), QStringLiteral("l (Liter)"));
  ASSERT_TRUE(WriteTextLines(suite.Root() + QStringLiteral("ETC/UNITS.TXT"), {QStringLiteral("Pal (Palette)")}));
  QStringList fromFile;
  FillUnits(fromFile);
  EXPECT_EQ(fromFile, QStringList{QStringLiteral("Pal (Palette)")});
  QStringList kinds;
  FillVatKinds(kinds);
  EXPECT_EQ(kinds, (QStringList{QStringLiteral("ohne MwSt."), QStringLiteral("normaler MwSt-Satz"),
                                QStringLiteral("gesonderter MwSt-Satz"), QStringLiteral("reduzierter MwSt-Satz")}));
}

TEST(TypeUnitLook, LanguageFromGlobalApplicationIni) {
  TempSuite suite;
  TMemIniFile global(suite.Root() + QStringLiteral("ETC/APPLICATION.INI"));
  global.WriteString(QStringLiteral("Language"), QStringLiteral("Name"), QStringLiteral("en_US"));
  ASSERT_TRUE(global.UpdateFile());
  EXPECT_FALSE(suite.Load(QStringLiteral("DEMO"), QStringLiteral("GAST")));
  EXPECT_EQ(LastShownText(), QStringLiteral("You have been denied access to the application."));
  EXPECT_EQ(TestDialogs().shown.last().caption, QStringLiteral("Error"));
}

TEST(TypeUnitLook, SchemeColoursTaggedControlsOnce) {
  TempSuite suite;
  TMemIniFile userIni(UserDir(suite.Root(), QStringLiteral("ADMIN")) + QStringLiteral("ETC/APPLICATION.INI"));
  userIni.WriteInteger(QStringLiteral("Colors-DEMO"), QStringLiteral("Color1"), 0x0000FF);  // red
  userIni.WriteInteger(QStringLiteral("Screenresolution"), QStringLiteral("Forms"), 0);
  ASSERT_TRUE(userIni.UpdateFile());
  ASSERT_TRUE(suite.Load());
  QWidget form;
  auto* tagged = new QLabel(&form);
  tagged->setProperty("tag", 1);
  auto* tag5 = new QLabel(&form);
  tag5->setProperty("tag", 5);
  auto* other = new QLabel(&form);
  other->setProperty("tag", 6);
  InitMainForm(&form, true);
  EXPECT_EQ(tagged->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(tagged->property("tag").toInt(), 0);
  EXPECT_EQ(tag5->palette().color(QPalette::Window), QColor(132, 130, 132));
  EXPECT_EQ(other->property("tag").toInt(), 6);
  EXPECT_EQ(ColorScheme().Name, QStringLiteral("Standard"));
  EXPECT_EQ(form.size(), QSize(1024, 690));
  EXPECT_TRUE(DefaultRect().set);
  EXPECT_EQ(DefaultRect().width, 1024);
}

TEST(TypeUnitLogHelper, DatabaseErrorIsAnErrorReportWithTheException) {
  const std::runtime_error error("disk full");
  TLogHelper::LogError(&error, QStringLiteral("TKSRabDatabase.ImportFromFile"));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].caption, QStringLiteral("Fehler"));
  EXPECT_TRUE(TestDialogs().shown[0].text.startsWith(QStringLiteral(
      "Datenbankfehler.\nTKSRabDatabase.ImportFromFile\nException-Message (runtime_error): disk full\n")));
}

// An area value that is empty (as written) or fails its digest would put the
// area at the file-system root: the start-up ends and names the key.
TEST(TypeUnitSystemFile, EmptyOrDamagedAreaValueEndsTheStartUpNamingIt) {
  TempSuite suite;
  SetProtected(suite.Sysdata(), QStringLiteral("System"), QStringLiteral("A1"), QString());
  TMemIniFile raw(suite.Sysdata());
  raw.WriteString(QStringLiteral("System"), QStringLiteral("Lager"), QStringLiteral("kaputt"));
  ASSERT_TRUE(raw.UpdateFile());
  EXPECT_FALSE(suite.Load());
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  const QString text = TestDialogs().shown[0].text;
  for (const char* entry : {"\"A1\" (Allgemeine Daten)", "\"Lager\" (Lager)"})
    EXPECT_TRUE(text.contains(QStringLiteral("Der Eintrag %1 in \"%2\" ist leer oder beschaedigt.")
                                  .arg(QLatin1String(entry), suite.Sysdata())))
        << text.toStdString();
}

// The client names a folder below DATA: one that leaves it is refused before anything is read.
TEST(TypeUnitAdmission, ClientThatLeavesTheDataFolderIsRefused) {
  TempSuite suite;
  EXPECT_FALSE(suite.Load(QStringLiteral("../DATA/DEMO")));
  EXPECT_EQ(LastShownText(), QStringLiteral("Der Mandantenname \"../DATA/DEMO\" taugt nicht als Verzeichnisname."));
  EXPECT_TRUE(SystemEinstellungen()->ClientEtcDir.isEmpty());
}

TEST(TypeUnitAdmission, DamagedAdmissionEntryIsReportedAsDamageNotAsRefusal) {
  TempSuite suite;
  TMemIniFile raw(suite.Sysdatb());
  raw.WriteString(QStringLiteral("ADMIN"), QStringLiteral("ZutrittsSperre"),
                  raw.ReadString(QStringLiteral("ADMIN"), QStringLiteral("Vollname"), QString()));
  ASSERT_TRUE(raw.UpdateFile());
  EXPECT_FALSE(suite.Load());
  EXPECT_EQ(LastShownText(), QStringLiteral("Die Datei \"%1\" ist beschaedigt: der Eintrag \"ZutrittsSperre\" des "
                                            "Benutzers \"ADMIN\" ist unlesbar.").arg(suite.Sysdatb()));
}
