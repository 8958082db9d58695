#include "TypeUnit.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "CommaText.h"
#include "Format.h"
#include "IniFilesSec.h"
#include "MemIniFile.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "PathUtils.h"
#include "SuiteException.h"
#include "TextFile.h"
#include "TypeUnitState.h"
#include "Translation.h"

namespace {
TypeUnitState& State() { return TypeUnitGlobals(); }

const char* const kAreaKeys[kAreaDirCount] = {"A1",      "Journale",     "Kleinrechnungen", "Angebote",
                                              "Wartung", "Lager",        "Bestellwesen",    "Leistungsdatei",
                                              "Kataloge", "Auftraege",   "Briefe",          "Kommission"};
const char* const kAreaLabels[kAreaDirCount] = {
    "Allgemeine Daten", "Journale", "Kleinauftraege", "Angebote", "Wartung", "Lager", "Bestellwesen",
    "Leistungskataloge", "Materialkataloge", "Auftraege", "Briefe", "Kommission"};

const QString kSystem = QStringLiteral("System");

void ShowError(const QString& format, const QVariantList& args) {
  MessageDlgFmt(Tr(format), args, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

QString ProgramDirSuffix(int kind) {
  if (kind == 1) return QStringLiteral("BIN/");
  if (kind == 2) return QStringLiteral("RSC/UPDATE/");
  return QString();
}

const QString kAccessKey = QStringLiteral("ZutrittsSperre");

// A settings file that exists but cannot be read is said to be so, with the
// system's reason, rather than taken for an empty one.
bool CheckReadable(const QString& file) {
  QFile probe(file);
  if (probe.open(QIODevice::ReadOnly)) return true;
  MessageDlgFmt(Tr("Die Datei \"%s\" kann nicht gelesen werden.") + QStringLiteral("\n\n%s"),
                {file, probe.errorString()}, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  return false;
}

// A settings file refused as a whole (far too large) is said to be so, not
// taken for one without entries.
bool CheckLoaded(const TIniFileSec& ini) {
  if (ini.LoadError().isEmpty()) return true;
  MessageDlg(ini.LoadError(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  return false;
}

// An admission entry that fails its digest reads as "barred"; the user is
// told that the file is damaged, not that access was refused.
void ShowDamagedUserEntry(const QString& file, const QString& user) {
  MessageDlgFmt(Tr("Die Datei \"%s\" ist beschaedigt: der Eintrag \"%s\" des Benutzers \"%s\" ist unlesbar."),
                {file, kAccessKey, user}, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

void MakeStandardDirectory(const QString& dir) {
  if (!EnsureDirectory(dir)) ShowError(QStringLiteral("Kann Verzeichnis nicht anlegen: %s"), {dir});
}

void OpenGlobalAppIni(TSystemEinstellungen& s) {
  State().globalAppIni = std::make_unique<TMemIniFile>(s.EtcDir + QStringLiteral("APPLICATION.INI"));
  SetInterfaceLanguage(
      State().globalAppIni->ReadString(QStringLiteral("Language"), QStringLiteral("Name"), QStringLiteral("de_DE")));
}

bool IsStarterProgram() {
  const QString name = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  return name.compare(QLatin1String("STARTQZ.EXE"), Qt::CaseInsensitive) == 0 ||
         name.compare(QLatin1String("STARTQZ"), Qt::CaseInsensitive) == 0;
}

void ReadCurrencies(TIniFileSec& ini, TSystemEinstellungen& s) {
  s.Hauswaehrung = ini.ReadString(kSystem, QStringLiteral("Hauswaehrung"), QStringLiteral("EURO"));
  s.HKurz = ini.ReadString(kSystem, QStringLiteral("HKurz"), QStringLiteral("EUR"));
  for (int i = 0; i < 3; ++i) {
    const QString n = QString::number(i + 1);
    TForeignCurrency& w = s.Waehrungen[i];
    w.Name = ini.ReadString(kSystem, QStringLiteral("Waehrung") + n, i == 0 ? QStringLiteral("EURO") : QString());
    w.Kurz = ini.ReadString(kSystem, QStringLiteral("W%1Kurz").arg(n), i == 0 ? QStringLiteral("EUR") : QString());
    w.FaktorIn = ini.ReadFloat(kSystem, QStringLiteral("WaehrFaktor%1In").arg(n), 1.0);
    w.FaktorOut = ini.ReadFloat(kSystem, QStringLiteral("WaehrFaktor%1Out").arg(n), 1.0);
    w.HausXIn = ini.ReadInteger(kSystem, QStringLiteral("HausX%1In").arg(n), 1);
    w.HausXOut = ini.ReadInteger(kSystem, QStringLiteral("HausX%1Out").arg(n), 1);
  }
}

TTextSettings ReadTextSettings(TIniFileSec& ini, const QString& section, int defaultWidth) {
  TTextSettings t;
  t.TextWidthMM = ini.ReadInteger(section, QStringLiteral("TextWidthMM"), defaultWidth);
  t.StdFont = ini.ReadString(section, QStringLiteral("StdFont"), QStringLiteral("Arial"));
  t.StdFontSize = ini.ReadInteger(section, QStringLiteral("StdFontSize"), 8);
  return t;
}

QString CurrencyName(const TSystemEinstellungen& s, const QString& currency) {
  return currency.isEmpty() ? s.HKurz : currency;
}
}  // namespace

// ---- area directories ----

QString AreaDirKey(TAreaDir area) { return QString::fromLatin1(kAreaKeys[static_cast<int>(area)]); }
QString AreaDirLabel(TAreaDir area) { return Tr(kAreaLabels[static_cast<int>(area)]); }
bool AreaDirRequired(TAreaDir area) { return area != TAreaDir::Kommission; }

// ---- system settings ----

TSystemEinstellungen::TSystemEinstellungen() {
  Waehrungen[0].Name = QStringLiteral("EURO");
  Waehrungen[0].Kurz = QStringLiteral("EUR");
  VTNTTxt.TextWidthMM = 175;
}

double TSystemEinstellungen::GetMwSt(int vatKind) const {
  switch (vatKind) {
    case vkNormal: return MwStNorm;
    case vkGesondert: return MwStErh;
    case vkReduziert: return MwStRed;
    default: return 0;
  }
}

double TSystemEinstellungen::RoundCurrency(double value) const {
  return RoundHalfAwayFromZero(value, FullCurrency ? 4 : 2);
}

Currency TSystemEinstellungen::RoundCurrency(Currency value) const {
  if (FullCurrency) return value;
  const Currency rest = value % 100;
  Currency rounded = value - rest;
  if (rest >= 50) rounded += 100;
  if (rest <= -50) rounded -= 100;
  return rounded;
}

QString TSystemEinstellungen::FormatCurrencyText(Currency amount, const QString& currency) const {
  if (!FullCurrency) return FormatCurrencyTextN(amount, currency);
  return FormatText(QStringLiteral("%.4f %s"), {CurrencyToDouble(amount), CurrencyName(*this, currency)});
}

QString TSystemEinstellungen::FormatCurrencyTextN(Currency amount, const QString& currency) const {
  return FormatText(QStringLiteral("%n %s"), {CurrencyToDouble(amount), CurrencyName(*this, currency)});
}

// ---- user settings ----

bool TBenutzerEinstellungen::LacksPermission(const QString& code) const { return !Berechtigungen.contains(code); }

bool TBenutzerEinstellungen::IsClientBarred(const QString& client) const {
  if (client.isEmpty()) return false;
  return SplitCommaText(Auswahl).contains(client, Qt::CaseInsensitive);
}

// ---- process-wide access ----

TSystemEinstellungen* SystemEinstellungen() { return State().system.get(); }
TBenutzerEinstellungen* BenutzerEinstellungen() { return State().user.get(); }
TMemIniFile* GlobalAppIni() { return State().globalAppIni.get(); }
TMemIniFile* UserAppIni() { return State().userAppIni.get(); }
const TColorScheme& ColorScheme() { return State().scheme; }
const TDefaultRect& DefaultRect() { return State().defaultRect; }

TypeUnitState& TypeUnitGlobals() {
  static TypeUnitState state;
  return state;
}

void FinalizeSystem() {
  TypeUnitState& s = State();
  s.system.reset();
  s.user.reset();
  s.userAppIni.reset();
  s.globalAppIni.reset();
  s.scheme = TColorScheme();
  s.defaultRect = TDefaultRect();
}

// ---- start-up ----

void InitSystem(int programKind, bool hideTaskbarButton) {
  // The taskbar button belongs to the main window here; there is no separate
  // application window to hide.
  Q_UNUSED(hideTaskbarButton);
  if (State().system) return;
  // A program that cannot start is a failure for whoever started it.
  if (!InitSystemFor(QCoreApplication::applicationFilePath(), programKind)) std::exit(1);
}

bool InitSystemFor(const QString& programFile, int programKind) {
  if (State().system) return true;
  State().system = std::make_unique<TSystemEinstellungen>();
  TSystemEinstellungen& s = *State().system;
  const QString programDir = NormalizePath(QFileInfo(programFile).absolutePath(), true);
  const QString suffix = ProgramDirSuffix(programKind);
  if (suffix.isEmpty() || !programDir.endsWith(suffix, Qt::CaseInsensitive) || programDir.size() == suffix.size()) {
    Report(rlFatalError, QStringLiteral("Initst-") + programDir);
    return false;
  }
  s.RootDir = programDir.left(programDir.size() - suffix.size());
  s.BinDir = s.RootDir + QStringLiteral("BIN/");
  State().user = std::make_unique<TBenutzerEinstellungen>();
  s.EtcDir = NormalizePath(s.RootDir + QStringLiteral("ETC"), true);
  s.TmpDir = NormalizePath(s.RootDir + QStringLiteral("TMP"), true);
  s.LogDir = NormalizePath(s.TmpDir + QStringLiteral("LOG"), true);
  s.DataDir = NormalizePath(s.RootDir + QStringLiteral("DATA"), true);
  s.UsrDir = NormalizePath(s.RootDir + QStringLiteral("USR"), true);
  s.AllUsersDir = NormalizePath(s.UsrDir + QStringLiteral("ALLUSERS"), true);
  s.HlpDir = NormalizePath(s.RootDir + QStringLiteral("HLP"), true);
  s.RscDir = NormalizePath(s.RootDir + QStringLiteral("RSC"), true);
  const QString temp = QDir::tempPath();
  s.SysTempDir = NormalizePath(temp.isEmpty() ? s.TmpDir : temp, true);

  MakeStandardDirectory(s.EtcDir);
  OpenGlobalAppIni(s);
  for (const QString& dir : {s.TmpDir, s.LogDir, s.DataDir, s.UsrDir, s.AllUsersDir, s.HlpDir, s.RscDir})
    MakeStandardDirectory(dir);
  return true;
}

bool LoadSystem(const QString& client, const QString& user, const QString& password, bool checkPassword) {
  TSystemEinstellungen* s = SystemEinstellungen();
  if (!s) return false;
  try {
    const QString clientEtcDir = NormalizePath(s->DataDir + client.trimmed() + QStringLiteral("/ETC"), true);
    const QString userName = user.trimmed().toUpper();
    if (userName.isEmpty()) return false;
    // Client and user name folders; a name that could leave them is refused.
    if (!IsSafePathComponent(client.trimmed())) {
      ShowError(QStringLiteral("Der Mandantenname \"%s\" taugt nicht als Verzeichnisname."), {client});
      return false;
    }
    if (!IsSafePathComponent(userName)) {
      ShowError(QStringLiteral("Der Benutzername \"%s\" taugt nicht als Verzeichnisname."), {user});
      return false;
    }
    if (!QFileInfo(clientEtcDir).isDir()) {
      ShowError(QStringLiteral("Verzeichnis \"%s\" nicht gefunden."), {clientEtcDir});
      return false;
    }
    const QString sysdata = clientEtcDir + QStringLiteral("SYSDATA.INI");
    const QString sysdatb = s->EtcDir + QStringLiteral("SYSDATB.INI");
    for (const QString& file : {sysdata, sysdatb}) {
      if (!QFileInfo(file).isFile()) {
        ShowError(QStringLiteral("Datei \"%s\" nicht gefunden."), {file});
        return false;
      }
      if (!CheckReadable(file)) return false;
    }
    s->ClientEtcDir = clientEtcDir;
    s->Mandant = client;
    try {
      TIniFileSec systemIni(sysdata);
      if (!CheckLoaded(systemIni)) return false;
      LoadSystemSettings(systemIni);
    } catch (const std::exception& e) {
      Report(rlFatalError, Tr("Mandant") + QLatin1Char(' ') + sysdata, nullptr, e);
      return false;
    }
    TIniFileSec userIni(sysdatb);
    if (!CheckLoaded(userIni)) return false;
    if (!userIni.SectionExists(userName)) {
      ShowError(QStringLiteral("Der Benutzer \"%s\" wurde nicht in der Konfigurationsdatei \"%s\" gefunden."),
                {userName, sysdatb});
      return false;
    }
    LoadUserSettings(userIni, userName);
    TBenutzerEinstellungen* u = BenutzerEinstellungen();
    if (u->ZutrittsSperre && userIni.ValueExists(userName, kAccessKey) && !userIni.ValueIntact(userName, kAccessKey)) {
      ShowDamagedUserEntry(sysdatb, userName);
      return false;
    }
    if (u->ZutrittsSperre || u->IsClientBarred(client.trimmed())) {
      ShowError(QStringLiteral("Ihnen wurde der Zugriff zur Anwendung verweigert."), {});
      return false;
    }
    if (!QFileInfo(u->UserDir).isDir()) {
      ShowError(QStringLiteral("Das Benutzerverzeichnis \"%s\" wurde nicht gefunden."), {u->UserDir});
      return false;
    }
    if (checkPassword && PasswordDigest(password) != u->Passwort) {
      if (!password.isEmpty()) return false;
      QString entered;
      if (!Dialogs().InputQuery(InputRequest{Tr("Anmeldung"), Tr("Passwort"), QString()}, entered)) return false;
      if (PasswordDigest(entered) != u->Passwort) return false;
    }
    return true;
  } catch (const std::exception& e) {
    Report(rlFatalError, QStringLiteral("LoadSystem"), nullptr, e);
    return false;
  }
}

void LoadSystemSettings(TIniFileSec& ini) {
  TSystemEinstellungen& s = *SystemEinstellungen();
  QStringList problems;
  const QString missingKey = FormatText(Tr("Fehlerhafte Datei \"%s\""), {ini.FileName()});
  for (int i = 0; i < kAreaDirCount; ++i) {
    const auto area = static_cast<TAreaDir>(i);
    if (AreaDirRequired(area) && !ini.ValueExists(kSystem, AreaDirKey(area))) problems.append(missingKey);
  }
  for (int i = 0; i < kAreaDirCount; ++i) {
    const QString raw = ini.ReadString(kSystem, AreaDirKey(static_cast<TAreaDir>(i)), QString());
    s.AreaDirs[i] = ExpandDataDir(raw, QStringLiteral("[DATADIR]"), s.DataDir);
  }
  // A required area that is empty or damaged would put every path of it at
  // the file-system root (or below the working directory).
  for (int i = 0; i < kAreaDirCount; ++i) {
    const auto area = static_cast<TAreaDir>(i);
    if (AreaDirRequired(area) && ini.ValueExists(kSystem, AreaDirKey(area)) && !QDir::isAbsolutePath(s.AreaDirs[i]))
      problems.append(FormatText(Tr("Der Eintrag \"%s\" (%s) in \"%s\" ist leer oder beschaedigt."),
                                 {AreaDirKey(area), AreaDirLabel(area), ini.FileName()}));
  }
  const bool starter = IsStarterProgram();
  if (starter) {
    // The starter checks in this order, which differs from the key order.
    for (TAreaDir area : {TAreaDir::A1, TAreaDir::Journale, TAreaDir::Kleinrechnungen, TAreaDir::Angebote,
                          TAreaDir::Wartung, TAreaDir::Bestellwesen, TAreaDir::Lager, TAreaDir::Leistungsdatei,
                          TAreaDir::Kataloge, TAreaDir::Auftraege, TAreaDir::Briefe, TAreaDir::Kommission})
      if (!QFileInfo(s.AreaDir(area)).isDir())
        problems.append(FormatText(Tr("Verzeichnis \"%s\" nicht gefunden.") + QStringLiteral(" (%s)"),
                                   {s.AreaDir(area), AreaDirLabel(area)}));
  }
  s.AddressDir = NormalizePath(s.AreaDir(TAreaDir::A1) + QStringLiteral("/ADRESSEN"), true);
  s.InvoiceDir = NormalizePath(s.AreaDir(TAreaDir::Journale) + QStringLiteral("/RECHNUNGEN"), true);
  s.InvoiceDataDir = NormalizePath(s.AreaDir(TAreaDir::Journale) + QStringLiteral("/RECHNUNGEN/DATA"), true);
  s.ImageDir = NormalizePath(s.AreaDir(TAreaDir::Lager) + QStringLiteral("/IMAGES"), true);
  ReadCurrencies(ini, s);
  s.StdSprache = ini.ReadString(kSystem, QStringLiteral("StdSprache"), QStringLiteral("de_DE"));
  s.MwStRed = ini.ReadFloat(kSystem, QStringLiteral("MwStRed"), 0);
  s.MwStNorm = ini.ReadFloat(kSystem, QStringLiteral("MwStNorm"), 0);
  s.MwStErh = ini.ReadFloat(kSystem, QStringLiteral("MwStErh"), 0);
  s.MwStMultiDisabled = ini.ReadBool(kSystem, QStringLiteral("MwStMultiDisabled"), false);
  s.MwStDefault = static_cast<quint8>(ini.ReadInteger(kSystem, QStringLiteral("MwStDefault"), 1));
  s.StdTxt = ReadTextSettings(ini, QStringLiteral("StdTxt"), 80);
  s.EtTxt = ReadTextSettings(ini, QStringLiteral("EtTxt"), 80);
  s.VTNTTxt = ReadTextSettings(ini, QStringLiteral("VTNTTxt"), 175);
  s.FullCurrency = ini.ReadBool(kSystem, QStringLiteral("FullCurrency"), false);
  s.RoundCurrencyEnabled = ini.ReadBool(kSystem, QStringLiteral("RoundCurrencyEnabled"), false);
  s.ArtikelVKPreisIsBrutto = ini.ReadBool(kSystem, QStringLiteral("ArtikelVKPreisIsBrutto"), false);
  for (int i = 0; i < 8; ++i)
    s.TemplateDirs[i] = s.ClientEtcDir + QStringLiteral("TEMPLATES/VTNT/%1/").arg(102 + i);
  if (starter) {
    QStringList toMake;
    for (int number : {107, 103, 104, 106, 102, 108, 105, 109}) toMake.append(s.TemplateDirs[number - 102]);
    toMake << s.AddressDir << s.InvoiceDir << s.InvoiceDataDir << s.ImageDir;
    for (const QString& dir : toMake)
      if (!EnsureDirectory(dir)) problems.append(FormatText(Tr("Verzeichnis \"%s\" nicht gefunden."), {dir}));
  }
  if (!problems.isEmpty()) throw Exception(problems.join(QLatin1Char('\n')));
}

void LoadUserSettings(TIniFileSec& ini, const QString& user) {
  TSystemEinstellungen& s = *SystemEinstellungen();
  TBenutzerEinstellungen& u = *BenutzerEinstellungen();
  const QString section = user.trimmed().toUpper();
  u.UserName = section;
  u.Passwort = ini.ReadString(section, QStringLiteral("Passwort"), PasswordDigest(QString()));
  u.Vollname = ini.ReadString(section, QStringLiteral("Vollname"), section);
  if (u.Vollname.trimmed().isEmpty()) u.Vollname = section;
  u.KontaktTel = ini.ReadString(section, QStringLiteral("KontaktTel"), QString());
  u.KontaktFax = ini.ReadString(section, QStringLiteral("KontaktFax"), QString());
  u.KontaktEmail = ini.ReadString(section, QStringLiteral("KontaktEmail"), QString());
  u.Provision = ini.ReadFloat(section, QStringLiteral("Provision"), 0);
  u.KontaktTxt = ini.ReadString(section, QStringLiteral("KontaktTxt"), QString());
  u.LoginTime = QDateTime::currentDateTime();
  u.UserDir = NormalizePath(s.UsrDir + section, true);
  u.UserEtcDir = u.UserDir + QStringLiteral("ETC/");
  u.UserClientEtcDir = u.UserEtcDir + s.Mandant.trimmed().toUpper() + QLatin1Char('/');
  u.UserTmpDir = u.UserDir + QStringLiteral("TMP/");
  u.UserDocDir = u.UserDir + QStringLiteral("DOC/");
  u.UserMsgDir = u.UserDir + QStringLiteral("MSG/");
  if (IsStarterProgram())
    for (const QString& dir : {u.UserDir, u.UserEtcDir, u.UserClientEtcDir, u.UserTmpDir, u.UserDocDir, u.UserMsgDir})
      EnsureDirectory(dir);
  u.ZutrittsSperre = ini.ReadBool(section, kAccessKey, true);
  u.Auswahl = ini.ReadString(section, QStringLiteral("Auswahl"), QString());
  u.Berechtigungen = SplitCommaText(ini.ReadString(section, QStringLiteral("Berechtigungen"), QString()));
}

// ---- helpers for other parts ----

void FillUnits(QStringList& list) {
  const TSystemEinstellungen* s = SystemEinstellungen();
  if (s) {
    const QString file = s->EtcDir + QStringLiteral("UNITS.TXT");
    QStringList lines;
    if (QFileInfo(file).isFile() && ReadTextLines(file, lines)) {
      list.append(lines);
      return;
    }
  }
  for (const char* unit : {"Stck (Stueck)", "Stg (Stange)", "mm (Millimeter)", "qmm (Quadratmillimeter)",
                           "cm (Zentimeter)", "cm2 (Quadratzentimeter)", "cm3 (Kubikzentimeter)",
                           "lfm (laufender Meter)", "m (Meter)", "m2 (Quadratmeter)", "m3 (Kubikmeter)",
                           "psch (Pauschal)", "ohne", "Min (Minuten)", "Std (Stunden)", "g (Gramm)",
                           "kg (Kilogramm)", "t (Tonne)", "l (Liter)"})
    list.append(Tr(unit));
}

void FillVatKinds(QStringList& list) {
  for (const char* kind : {"ohne MwSt.", "normaler MwSt-Satz", "gesonderter MwSt-Satz", "reduzierter MwSt-Satz"})
    list.append(Tr(kind));
}

QString PasswordDigest(const QString& password) {
  const QByteArray utf16(reinterpret_cast<const char*>(password.utf16()), password.size() * 2);
  return QString::fromLatin1(QCryptographicHash::hash(utf16, QCryptographicHash::Md5).toHex().toUpper());
}

void TLogHelper::LogError(const std::exception* error, const QString& text) {
  const QString message = Tr("Datenbankfehler.") + QLatin1Char('\n') + text;
  if (error) {
    Report(rlError, message, nullptr, *error);
  } else {
    Report(rlError, message);
  }
}

void ReportUnhandledException(const std::exception* e) {
  if (e) {
    Report(rlFatalError, Tr("Unbehandelte Ausnahme."), nullptr, *e);
  } else {
    Report(rlFatalError, Tr("Unbehandelte Ausnahme."));
  }
}
