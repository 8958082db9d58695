// The INI readers: the in-memory INI file, the protected settings file and
// SUPPLIER.INI beside a catalogue.
#include <QDir>
#include <QFile>

#include "FuzzSupport.h"
#include "IniFilesSec.h"
#include "MemIniFile.h"
#include "NumberText.h"
#include "TextFile.h"
#include "UKAT.h"

namespace {
// Every typed read of every value; a value written back reads the same.
void CheckTypedReads(TMemIniFile& ini) {
  for (const QString& section : ini.ReadSections()) {
    for (const QString& ident : ini.ReadSection(section)) {
      const QString text = ini.ReadString(section, ident, QString());
      int number = 0;
      if (ParseIniInteger(text, number)) {
        TMemIniFile copy;
        copy.WriteInteger(section, ident, number);
        FUZZ_CHECK(copy.ReadInteger(section, ident, ~number) == number);
      }
      (void)ini.ReadBool(section, ident, false);
      const QString floatText = FormatGeneralNumber(ini.ReadFloat(section, ident, 0));
      FUZZ_CHECK(FormatGeneralNumber(ReadFloatLenient(floatText, -1)) == floatText);
    }
  }
}

void CheckMemIni(const QByteArray& bytes) {
  TMemIniFile ini(FuzzWriteTemp(QStringLiteral("fuzz.ini"), bytes));
  TMemIniFile fromText;
  fromText.SetText(DecodeText(bytes));
  const QString text = ini.Text();
  FUZZ_CHECK(fromText.Text() == text);
  // Written and read again: the same sections, idents and values.
  ini.Rename(FuzzTempPath(QStringLiteral("fuzz-copy.ini")), false);
  FUZZ_CHECK(ini.UpdateFile());
  const TMemIniFile again(ini.FileName());
  FUZZ_CHECK(again.Text() == text);
  CheckTypedReads(ini);
}

void CheckProtected(const QByteArray& bytes) {
  TIniFileSec ini(FuzzWriteTemp(QStringLiteral("SYSDATA.INI"), bytes));
  const QString copyPath = FuzzTempPath(QStringLiteral("SYSDATB.INI"));
  QFile::remove(copyPath);
  TIniFileSecWriter writer(copyPath);
  QList<QStringList> intact;  // section, ident, value
  for (const QString& section : ini.ReadSections()) {
    for (const QString& ident : ini.ReadSection(section)) {
      (void)ini.ReadInteger(section, ident, 0);
      (void)ini.ReadFloat(section, ident, 0);
      (void)ini.ReadBool(section, ident, false);
      if (!ini.ValueIntact(section, ident)) continue;
      const QString value = ini.ReadString(section, ident, QString());
      intact.append({section, ident, value});
      writer.WriteString(section, ident, value);
    }
  }
  FUZZ_CHECK(writer.UpdateFile());
  TIniFileSec again(copyPath);
  for (const QStringList& entry : intact) {
    FUZZ_CHECK(again.ValueIntact(entry[0], entry[1]));
    FUZZ_CHECK(again.ReadString(entry[0], entry[1], QString()) == entry[2]);
  }
}

bool SameItem(const TUKATKatalogAuswahlItem& a, const TUKATKatalogAuswahlItem& b) {
  const TKatalogOnlineUpdate& x = a.Online;
  const TKatalogOnlineUpdate& y = b.Online;
  return a.Beschreibung == b.Beschreibung && a.Lieferant.Nr == b.Lieferant.Nr &&
         a.Lieferant.SubNr == b.Lieferant.SubNr && a.Lieferant.Info == b.Lieferant.Info &&
         x.Enabled == y.Enabled && x.SimpleLoginEnabled == y.SimpleLoginEnabled && x.SimpleURL == y.SimpleURL &&
         x.SimpleLogin == y.SimpleLogin && x.SimplePassword == y.SimplePassword && x.DNURL == y.DNURL &&
         x.DNParam1 == y.DNParam1 && x.DNParam2 == y.DNParam2 && x.DNParam3 == y.DNParam3 &&
         x.DNParam1Txt == y.DNParam1Txt && x.DNParam2Txt == y.DNParam2Txt && x.DNParam3Txt == y.DNParam3Txt &&
         x.DNFileAccesstype == y.DNFileAccesstype && x.DNhtAccessUsername == y.DNhtAccessUsername &&
         x.DNhtAccessPassword == y.DNhtAccessPassword;
}

QString CatalogueDir(const QString& name) {
  const QString dir = FuzzTempPath(name);
  QDir().mkpath(dir);
  return dir + QLatin1Char('/');
}

void CheckSupplierIni(const QByteArray& bytes) {
  const QString dir = CatalogueDir(QStringLiteral("catalogue"));
  FuzzWriteTemp(QStringLiteral("catalogue/") + supplierini::FileName(), bytes);
  const std::uint8_t type = TUKATKatalogTypeHelper::GetCatalogType(dir);
  TUKATKatalogAuswahlItem item;
  item.ReadFromDirectory(QStringLiteral("K"), dir, type);
  const QString copyDir = CatalogueDir(QStringLiteral("catalogue-copy"));
  QFile::remove(supplierini::PathIn(copyDir));
  FUZZ_CHECK(item.WriteToDirectory(copyDir));
  TUKATKatalogAuswahlItem again;
  again.ReadFromDirectory(QStringLiteral("K"), copyDir, TUKATKatalogTypeHelper::GetCatalogType(copyDir));
  FUZZ_CHECK(again.KatalogTyp == type);
  FUZZ_CHECK(SameItem(item, again));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzDispatch(data, size, {CheckMemIni, CheckProtected, CheckSupplierIni});
}
