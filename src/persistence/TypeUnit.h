#pragma once
// The suite's start-up: directory tree from the program's place, the
// client's system settings, the user's settings, admission, colour scheme.
// The two settings objects are process-wide; only the start-up writes them.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <exception>
#include <memory>

#include "CurrencyValue.h"

class QWidget;
class QObject;
class TIniFileSec;
class TMemIniFile;

// The 12 area directories of section "System", in the order of their keys.
enum class TAreaDir {
  A1, Journale, Kleinrechnungen, Angebote, Wartung, Lager, Bestellwesen, Leistungsdatei, Kataloge, Auftraege,
  Briefe, Kommission
};
constexpr int kAreaDirCount = 12;
QString AreaDirKey(TAreaDir area);     // "A1", "Journale", ...
QString AreaDirLabel(TAreaDir area);   // label used in messages: "Allgemeine Daten", ...
bool AreaDirRequired(TAreaDir area);   // all but "Kommission"

struct TForeignCurrency {
  QString Name;
  QString Kurz;
  double FaktorIn = 1.0;
  double FaktorOut = 1.0;
  qint32 HausXIn = 1;
  qint32 HausXOut = 1;
};

struct TTextSettings {
  qint32 TextWidthMM = 80;
  QString StdFont = QStringLiteral("Arial");
  qint32 StdFontSize = 8;
};

// VAT kinds: 0 none, 1 normal, 2 separate/raised, 3 reduced.
enum TVatKind { vkOhne = 0, vkNormal = 1, vkGesondert = 2, vkReduziert = 3 };

class TSystemEinstellungen {
 public:
  TSystemEinstellungen();

  QString RootDir, BinDir, EtcDir, TmpDir, LogDir, DataDir, UsrDir, AllUsersDir, HlpDir, RscDir;
  QString ClientEtcDir, SysTempDir;
  QString Mandant;
  QString StdSprache = QStringLiteral("de_DE");
  std::array<QString, kAreaDirCount> AreaDirs;  // no trailing separator
  QString AddressDir, InvoiceDir, InvoiceDataDir, ImageDir;
  QString Hauswaehrung = QStringLiteral("EURO");
  QString HKurz = QStringLiteral("EUR");
  std::array<TForeignCurrency, 3> Waehrungen;
  double MwStRed = 0, MwStNorm = 0, MwStErh = 0;
  bool MwStMultiDisabled = false;
  quint8 MwStDefault = 1;
  TTextSettings StdTxt, EtTxt, VTNTTxt;
  bool FullCurrency = false;
  bool RoundCurrencyEnabled = false;
  bool ArtikelVKPreisIsBrutto = false;
  std::array<QString, 8> TemplateDirs;  // 102 .. 109

  const QString& AreaDir(TAreaDir area) const { return AreaDirs[static_cast<int>(area)]; }
  double GetMwSt(int vatKind) const;
  // Two decimals half away from zero, or four with FullCurrency.
  double RoundCurrency(double value) const;
  Currency RoundCurrency(Currency value) const;
  // "%n %s" (thousands separators, two decimals) or, with FullCurrency, "%.4f %s";
  // an empty currency name means the house currency's short name.
  QString FormatCurrencyText(Currency amount, const QString& currency = QString()) const;
  // Always "%n %s".
  QString FormatCurrencyTextN(Currency amount, const QString& currency = QString()) const;
};

class TBenutzerEinstellungen {
 public:
  QString UserName, Passwort, Vollname, KontaktTel, KontaktFax, KontaktEmail;
  double Provision = 0;
  QString KontaktTxt;
  QDateTime LoginTime;
  QString UserDir, UserEtcDir, UserClientEtcDir, UserTmpDir, UserDocDir, UserMsgDir;
  bool ZutrittsSperre = true;
  QString Auswahl;
  QStringList Berechtigungen;

  bool LacksPermission(const QString& code) const;
  bool IsClientBarred(const QString& client) const;
};

// Colours are Windows colour values: 0x00BBGGRR, or a system colour with the high bit set.
struct TColorScheme {
  QString Name;
  std::array<quint32, 6> Colors{};
  int ScreenResolution = 1;
};

struct TDefaultRect {
  bool set = false;
  int left = 0, top = 0, height = 0, width = 0;
};

// Permission codes used here.
inline const char* const kPermEditAddresses = "02";
inline const char* const kPermCreateCatalogues = "10";
inline const char* const kPermDeleteCatalogues = "12";

// Process-wide objects (null before InitSystem).
TSystemEinstellungen* SystemEinstellungen();
TBenutzerEinstellungen* BenutzerEinstellungen();
TMemIniFile* GlobalAppIni();  // EtcDir + APPLICATION.INI
TMemIniFile* UserAppIni();    // UserEtcDir + APPLICATION.INI, from InitMainForm on
const TColorScheme& ColorScheme();
const TDefaultRect& DefaultRect();

// Program kind 1: the program lies in BIN; kind 2: in RSC/UPDATE.
// Uses the running program's file; a second call does nothing.
void InitSystem(int programKind, bool hideTaskbarButton);
// The same for a given program file (tests, tools). Returns false when the
// program does not lie where its kind says; the caller ends the process.
bool InitSystemFor(const QString& programFile, int programKind);

bool LoadSystem(const QString& client, const QString& user, const QString& password, bool checkPassword);
// Reads SYSDATA.INI into the system settings; throws Exception listing every problem.
void LoadSystemSettings(TIniFileSec& ini);
void LoadUserSettings(TIniFileSec& ini, const QString& user);

void InitMainForm(QWidget* form, bool isMainWindow);
void InitChildForm(QWidget* form, bool useDefaultRect);
void InitFrame(QWidget* frame);
// Colours every widget below root whose "tag" property is 1..5 with that
// colour of the scheme and sets the tag to 0.
void ApplyColorScheme(QWidget* root);
QColor WindowsColorToQColor(quint32 color);

void FillUnits(QStringList& list);
void FillVatKinds(QStringList& list);
QString PasswordDigest(const QString& password);

// The error callback handed to the database objects: a report "Datenbankfehler."
// with the message received and the exception.
class TLogHelper {
 public:
  static void LogError(const std::exception* error, const QString& text);
};

// The process-wide handler for an exception that nothing else caught.
void ReportUnhandledException(const std::exception* e);

// Program end: frees the process-wide objects in their order.
void FinalizeSystem();
