// In-memory INI files and the protected settings files.
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <functional>
#include <QTemporaryDir>

#include "IniFilesSec.h"
#include "MemIniFile.h"
#include "TestSupport.h"

namespace {
class IniFolder : public testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
};

QByteArray Utf16Le(const QString& text) { return Utf16LeWithBom(text).mid(2); }

// Base64-decoded bytes of a stored value (the test's own standard decoder).
QByteArray StoredBytes(const QString& stored) { return QByteArray::fromBase64(stored.toLatin1()); }
}  // namespace

// ---------------------------------------------------------------- TMemIniFile

using IniMemFile = IniFolder;

TEST_F(IniMemFile, LooksUpIgnoringCaseAndKeepsCaseAndOrder) {
  TMemIniFile ini;
  ini.SetText("[Zeta]\nBeta=2\nalpha=1\n[Alpha]\nX=y\n");
  EXPECT_TRUE(ini.SectionExists("ZETA"));
  EXPECT_TRUE(ini.ValueExists("zeta", "ALPHA"));
  EXPECT_FALSE(ini.ValueExists("Alpha", "alpha"));
  EXPECT_EQ(ini.ReadString("zEtA", "BETA", "-"), "2");
  EXPECT_EQ(ini.ReadSections(), QStringList({"Zeta", "Alpha"}));
  EXPECT_EQ(ini.ReadSection("ZETA"), QStringList({"Beta", "alpha"}));
  EXPECT_EQ(ini.ReadSectionValues("zeta"), QStringList({"Beta=2", "alpha=1"}));
  EXPECT_TRUE(ini.ReadSection("missing").isEmpty());
}

TEST_F(IniMemFile, ParsesLinesLikeTheSuiteWritesThem) {
  TMemIniFile ini;
  ini.SetText(
      "orphan=before any section\r\n"
      "; [Commented]\r\n"
      "\r\n"
      "  [ Main ]  \r\n"
      "  Key  =  some value  \r\n"
      "no equals sign here\r\n"
      "Formula=a=b=c\r\n"
      "=no ident\r\n"
      "key=second value is ignored\r\n"
      "[Other]\r\n"
      "One=1\r\n"
      "[MAIN]\r\n"
      "Later=more\r\n");
  EXPECT_EQ(ini.ReadSections(), QStringList({"Main", "Other"}));
  EXPECT_EQ(ini.ReadString("Main", "Key", "-"), "some value");
  EXPECT_EQ(ini.ReadString("Main", "Formula", "-"), "a=b=c");
  EXPECT_EQ(ini.ReadSection("Main"), QStringList({"Key", "Formula", "Later"}));
  EXPECT_FALSE(ini.SectionExists("Commented"));
  EXPECT_FALSE(ini.ValueExists("Main", "orphan"));
}

TEST_F(IniMemFile, WritesReplaceInPlaceAndAppendNewNames) {
  TMemIniFile ini;
  ini.SetText("[A]\nFirst=1\nSecond=2\n");
  ini.WriteString("a", "FIRST", "one");
  ini.WriteString("A", "Third", "3");
  ini.WriteInteger("New", "Count", -7);
  ini.WriteBool("New", "Flag", true);
  ini.WriteBool("New", "Off", false);
  EXPECT_EQ(ini.ReadSectionValues("A"), QStringList({"First=one", "Second=2", "Third=3"}));
  EXPECT_EQ(ini.ReadSectionValues("New"), QStringList({"Count=-7", "Flag=1", "Off=0"}));
  EXPECT_EQ(ini.ReadSections(), QStringList({"A", "New"}));
}

TEST_F(IniMemFile, DeletingKeepsTheRemainingLookupsRight) {
  TMemIniFile ini;
  ini.SetText("[S1]\na=1\nb=2\nc=3\n[S2]\nx=9\n[S3]\ny=8\n");
  ini.DeleteKey("s1", "A");
  EXPECT_FALSE(ini.ValueExists("S1", "a"));
  EXPECT_EQ(ini.ReadString("S1", "c", "-"), "3");
  ini.WriteString("S1", "c", "33");
  EXPECT_EQ(ini.ReadSectionValues("S1"), QStringList({"b=2", "c=33"}));

  ini.EraseSection("s2");
  EXPECT_FALSE(ini.SectionExists("S2"));
  EXPECT_EQ(ini.ReadString("S3", "y", "-"), "8");
  ini.WriteString("S3", "z", "7");
  EXPECT_EQ(ini.ReadSections(), QStringList({"S1", "S3"}));

  ini.DeleteKey("missing", "a");
  ini.EraseSection("missing");
  ini.Clear();
  EXPECT_TRUE(ini.ReadSections().isEmpty());
  EXPECT_FALSE(ini.ValueExists("S1", "b"));
}

TEST_F(IniMemFile, ReadsIntegersInDecimalAndHex) {
  TMemIniFile ini;
  ini.SetText(
      "[N]\ndec=-42\nplus=+5\ndollar=$1F\nzerox=0x1f\nhighbit=$8000000F\nallbits=0xFFFFFFFF\n"
      "min=-2147483648\ntoobig=2147483648\nwidehex=$100000000\nletters=12a\nbare=$\nfloat=1.5\n");
  const std::pair<const char*, int> good[] = {{"dec", -42},   {"plus", 5},    {"dollar", 31},
                                              {"zerox", 31},  {"highbit", static_cast<int>(0x8000000Fu)},
                                              {"allbits", -1}, {"min", -2147483647 - 1}};
  for (auto [ident, value] : good) EXPECT_EQ(ini.ReadInteger("N", ident, 0), value) << ident;
  for (const char* bad : {"toobig", "widehex", "letters", "bare", "float", "missing"})
    EXPECT_EQ(ini.ReadInteger("N", bad, 99), 99) << bad;
}

// Floats are written in the general format and read leniently (both pinned
// in the number tests); booleans are written as 1 and 0.
TEST_F(IniMemFile, FloatsAndBoolsFollowTheLocale) {
  ScopedLocale german(GermanLocale());
  TMemIniFile ini;
  ini.WriteFloat("F", "half", 1.5);
  EXPECT_EQ(ini.ReadString("F", "half", ""), "1,5");
  EXPECT_DOUBLE_EQ(ini.ReadFloat("F", "half", 0), 1.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("F", "missing", 2.5), 2.5);
  ini.WriteBool("B", "on", true);
  ini.WriteBool("B", "off", false);
  EXPECT_EQ(ini.ReadString("B", "on", ""), "1");
  EXPECT_TRUE(ini.ReadBool("B", "on", false));
  EXPECT_FALSE(ini.ReadBool("B", "off", true));
}

TEST_F(IniMemFile, UpdateFileWritesUtf16WithCrLfAndReadsBack) {
  const QString path = Path("MOD00100.INI");
  TMemIniFile ini(path);
  ini.WriteString("Fenster", "Titel", QString::fromUtf8("Größe €"));
  ini.WriteInteger("Zweite", "Breite", 800);
  ASSERT_TRUE(ini.UpdateFile());

  const QString expected = QString::fromUtf8("[Fenster]\r\nTitel=Größe €\r\n\r\n[Zweite]\r\nBreite=800\r\n");
  EXPECT_EQ(ReadFileBytes(path), Utf16LeWithBom(expected));

  const TMemIniFile reloaded(path);
  EXPECT_EQ(reloaded.ReadString("FENSTER", "titel", ""), QString::fromUtf8("Größe €"));
  EXPECT_EQ(reloaded.ReadInteger("Zweite", "Breite", 0), 800);
  EXPECT_EQ(reloaded.Text(), expected);
}

TEST_F(IniMemFile, UpdateFileFailsWithoutAUsableName) {
  TMemIniFile unnamed;
  unnamed.WriteString("S", "k", "v");
  EXPECT_FALSE(unnamed.UpdateFile());
  TMemIniFile nowhere(Path("no/such/folder/X.INI"));
  nowhere.WriteString("S", "k", "v");
  EXPECT_FALSE(nowhere.UpdateFile());
}

TEST_F(IniMemFile, RenameReloadsOnlyWhenAsked) {
  WriteFileBytes(Path("B.INI"), "[B]\r\nk=from b\r\n");
  TMemIniFile ini(Path("A.INI"));
  ini.WriteString("A", "k", "kept");
  ini.Rename(Path("B.INI"), false);
  EXPECT_EQ(ini.FileName(), Path("B.INI"));
  EXPECT_EQ(ini.ReadString("A", "k", "-"), "kept");
  ini.Rename(Path("B.INI"), true);
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_EQ(ini.ReadString("B", "k", "-"), "from b");
}

TEST_F(IniMemFile, DamagedOrMissingFilesGiveWhatCanBeRead) {
  const TMemIniFile missing(Path("missing.ini"));
  EXPECT_TRUE(missing.ReadSections().isEmpty());

  WriteFileBytes(Path("empty.ini"), QByteArray());
  EXPECT_TRUE(TMemIniFile(Path("empty.ini")).ReadSections().isEmpty());

  QByteArray garbage;
  quint32 seed = 12345;
  for (int i = 0; i < 65536; ++i) {
    seed = seed * 1103515245u + 12345u;
    garbage.append(char(seed >> 24));
  }
  garbage.append("\n[After]\nk=v\n");
  WriteFileBytes(Path("garbage.ini"), garbage);
  const TMemIniFile noise(Path("garbage.ini"));
  EXPECT_EQ(noise.ReadString("After", "k", ""), "v");

  // A directory in place of the file cannot be read.
  QDir(dir_.path()).mkdir("folder.ini");
  EXPECT_TRUE(TMemIniFile(Path("folder.ini")).ReadSections().isEmpty());
}

// A settings file that cannot be read, or is far too large to be one, gives
// the defaults at once, says why in German, and is never written over.
TEST_F(IniMemFile, UnreadableOrHugeFileIsRefusedAndKeptAsItIs) {
  const struct {
    const char* what;
    std::function<void(const QString&)> make;
    QString why;
  } cases[] = {
      {"50 MB",
       [](const QString& p) {
         WriteFileBytes(p, QByteArray("[Fenster]\r\nSeite=2\r\n") + QByteArray(50 << 20, 'x'));
       },
       QStringLiteral("ist groesser als 16 MB und wird nicht gelesen.")},
      {"a folder", [](const QString& p) { QDir().mkpath(p + QStringLiteral("/inhalt")); },
       QStringLiteral("kann nicht gelesen werden.")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString file = Path(QString::fromLatin1(c.what) + QStringLiteral(".INI"));
    c.make(file);
    const QFileInfo before(file);
    QElapsedTimer timer;
    timer.start();
    TMemIniFile ini(file);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(ini.ReadInteger("Fenster", "Seite", 0), 0);
    EXPECT_TRUE(ini.LoadError().endsWith(c.why)) << ini.LoadError().toStdString();
    ini.WriteInteger("Fenster", "Seite", 3);
    QString why;
    EXPECT_FALSE(ini.UpdateFile(&why));
    EXPECT_EQ(why, ini.LoadError());
    const QFileInfo after(file);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.lastModified(), before.lastModified());
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("50 MB.INI")}) << "nothing beside";
  }
}

// ---------------------------------------------------------- protected files

using IniFileSec = IniFolder;

namespace {
// Writes a protected file whose lines are given as raw stored text.
void WriteRawLines(const QString& path, const QString& section, const QList<QPair<QString, QString>>& lines) {
  TMemIniFile raw(path);
  for (const auto& [ident, stored] : lines) raw.WriteString(section, ident, stored);
  raw.UpdateFile();
}
}  // namespace

TEST_F(IniFileSec, DigestIsMd5OfUtf16TextOfSectionIdentAndValue) {
  const QString section = "System", ident = QString::fromUtf8("Währung"), value = QString::fromUtf8("€");
  const QByteArray md5 = QCryptographicHash::hash(Utf16Le(section + ident + value), QCryptographicHash::Md5);
  EXPECT_EQ(ProtectedDigest(section, ident, value), QString::fromLatin1(md5.toHex().toUpper()));
}

TEST_F(IniFileSec, EveryValueStartsTheKeyStreamAfresh) {
  // With one key stream per value, two texts of equal length enciphered give
  // ciphertexts whose XOR is the XOR of the plain texts.
  const QString first = "AAAA", second = "Bz9%";
  const QByteArray c1 = StoredBytes(EncipherProtectedText(first));
  const QByteArray c2 = StoredBytes(EncipherProtectedText(second));
  const QByteArray p1 = Utf16Le(first), p2 = Utf16Le(second);
  ASSERT_EQ(c1.size(), p1.size());
  ASSERT_EQ(c2.size(), p2.size());
  for (int i = 0; i < c1.size(); ++i) EXPECT_EQ(c1[i] ^ c2[i], p1[i] ^ p2[i]) << i;
  EXPECT_NE(c1, p1);

  const QString stored = EncodeProtectedValue("S", "I", "abc");
  EXPECT_EQ(stored, EncodeProtectedValue("S", "I", "abc"));
  EXPECT_EQ(StoredBytes(stored).size(), 2 * (32 + 3));
}

TEST_F(IniFileSec, WriterAndReaderRoundTripAllTypes) {
  ScopedLocale german(GermanLocale());
  const QString path = Path("SYSDATA.INI");
  TIniFileSecWriter writer(path);
  writer.WriteString("Mandant", "Name", QString::fromUtf8("Müller & Söhne = GmbH"));
  writer.WriteInteger("Mandant", "Nummer", -123456);
  writer.WriteFloat("Mandant", "Satz", 19.25);
  writer.WriteBool("Mandant", "Aktiv", true);
  writer.WriteBool("Mandant", "Gesperrt", false);
  // One, two and three characters end the Base64 text in each possible group size.
  for (const char* text : {"a", "ab", "abc"}) writer.WriteString("Laengen", text, text);
  ASSERT_TRUE(writer.UpdateFile());
  EXPECT_TRUE(ReadFileBytes(path).startsWith("\xFF\xFE"));

  TIniFileSec ini(path);
  EXPECT_EQ(ini.ReadString("Mandant", "Name", ""), QString::fromUtf8("Müller & Söhne = GmbH"));
  EXPECT_EQ(ini.ReadInteger("Mandant", "Nummer", 0), -123456);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("Mandant", "Satz", 0), 19.25);
  EXPECT_TRUE(ini.ReadBool("Mandant", "Aktiv", false));
  EXPECT_FALSE(ini.ReadBool("Mandant", "Gesperrt", true));
  for (const char* text : {"a", "ab", "abc"}) EXPECT_EQ(ini.ReadString("Laengen", text, "-"), text);
  EXPECT_EQ(ini.ReadSections(), QStringList({"Mandant", "Laengen"}));
  EXPECT_EQ(ini.ReadSection("Laengen"), QStringList({"a", "ab", "abc"}));
  EXPECT_TRUE(ini.SectionExists("MANDANT"));
  EXPECT_TRUE(ini.ValueExists("mandant", "NAME"));
}

TEST_F(IniFileSec, WriterKeepsOtherValuesAndRemovesOnRequest) {
  const QString path = Path("SYSDATB.INI");
  {
    TIniFileSecWriter writer(path);
    writer.WriteString("A", "keep", "1");
    writer.WriteString("A", "drop", "2");
    writer.WriteString("B", "gone", "3");
    ASSERT_TRUE(writer.UpdateFile());
  }
  TIniFileSecWriter writer(path);
  writer.DeleteKey("A", "drop");
  writer.EraseSection("B");
  writer.WriteString("A", "new", "4");
  ASSERT_TRUE(writer.UpdateFile());

  TIniFileSec ini(path);
  EXPECT_EQ(ini.ReadString("A", "keep", ""), "1");
  EXPECT_EQ(ini.ReadString("A", "new", ""), "4");
  EXPECT_FALSE(ini.ValueExists("A", "drop"));
  EXPECT_FALSE(ini.SectionExists("B"));
}

TEST_F(IniFileSec, ForgedOrMisplacedValuesReadAsDefault) {
  const QString path = Path("SYSDATA.INI");
  const QString digest = ProtectedDigest("S", "Limit", "100");
  const QString valid = EncodeProtectedValue("S", "Limit", "100");
  WriteRawLines(path, "S",
                {{"Limit", EncipherProtectedText(digest + "100")},
                 {"Tampered", EncipherProtectedText(ProtectedDigest("S", "Tampered", "100") + "999")},
                 {"LowerDigest", EncipherProtectedText(ProtectedDigest("S", "LowerDigest", "7").toLower() + "7")},
                 {"OnlyDigest", EncipherProtectedText(ProtectedDigest("S", "OnlyDigest", ""))},
                 {"Renamed", valid}});
  WriteRawLines(path, "Other", {{"Limit", valid}});

  TIniFileSec ini(path);
  EXPECT_EQ(ini.ReadInteger("S", "Limit", -1), 100);
  EXPECT_EQ(ini.ReadInteger("S", "Tampered", -1), -1);
  EXPECT_EQ(ini.ReadString("S", "LowerDigest", "default"), "default");
  EXPECT_EQ(ini.ReadString("S", "OnlyDigest", "default"), "default");
  EXPECT_EQ(ini.ReadString("S", "Renamed", "default"), "default");
  EXPECT_EQ(ini.ReadString("Other", "Limit", "default"), "default");
  // The names enter the digest as the caller writes them.
  EXPECT_TRUE(ini.ValueExists("s", "LIMIT"));
  EXPECT_EQ(ini.ReadInteger("s", "Limit", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "LIMIT", -1), -1);
}

// The verified text goes through the lenient readers (their rules are pinned
// in NumberLenientReading): one value per kind.
TEST_F(IniFileSec, ConvertsNumbersLeniently) {
  ScopedLocale german(GermanLocale());
  const QString path = Path("SYSDATA.INI");
  TIniFileSecWriter writer(path);
  for (const char* text : {"12a3", "1,5", "false"}) writer.WriteString("N", text, text);
  ASSERT_TRUE(writer.UpdateFile());
  TIniFileSec ini(path);
  EXPECT_EQ(ini.ReadInteger("N", "12a3", 0), 123);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "1,5", 0), 1.5);
  EXPECT_FALSE(ini.ReadBool("N", "false", true));
}

TEST_F(IniFileSec, SkipsCharactersOutsideTheBase64Alphabet) {
  QString noisy = EncodeProtectedValue("S", "Key", "Wert");
  noisy.remove('=');
  noisy.insert(40, " \t=*");
  noisy.insert(10, QString::fromUtf8("ä=-_."));
  noisy.insert(1, "==");
  const QString path = Path("SYSDATA.INI");
  WriteRawLines(path, "S", {{"Key", noisy}});
  TIniFileSec ini(path);
  EXPECT_EQ(ini.ReadString("S", "Key", ""), "Wert");
}

TEST_F(IniFileSec, DamagedValuesAndFilesGiveDefaults) {
  const QString valid = EncodeProtectedValue("S", "cut", "a longer value");
  const QString path = Path("SYSDATA.INI");
  WriteRawLines(path, "S",
                {{"empty", ""},
                 {"garbage", "!!!!????"},
                 {"random", QString::fromLatin1(QByteArray(200, 'Q').toBase64())},
                 {"cut", valid.left(valid.size() - 9)},
                 {"short", EncodeProtectedValue("S", "short", "v").left(40)}});
  TIniFileSec ini(path);
  for (const char* ident : {"empty", "garbage", "random", "cut", "short", "missing"}) {
    EXPECT_EQ(ini.ReadString("S", ident, "d"), "d") << ident;
    EXPECT_EQ(ini.ReadInteger("S", ident, 5), 5) << ident;
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", ident, 0.5), 0.5) << ident;
    EXPECT_TRUE(ini.ReadBool("S", ident, true)) << ident;
  }

  WriteFileBytes(Path("empty.ini"), QByteArray());
  TIniFileSec empty(Path("empty.ini"));
  EXPECT_FALSE(empty.SectionExists("S"));
  EXPECT_EQ(empty.ReadString("S", "k", "d"), "d");

  TIniFileSec missing(Path("missing.ini"));
  EXPECT_TRUE(missing.ReadSections().isEmpty());
  EXPECT_EQ(missing.ReadInteger("S", "k", 3), 3);
}
