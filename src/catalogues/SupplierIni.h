#pragma once
// SUPPLIER.INI, the description that lies beside every catalogue: its kind
// and name, the supplier it comes from, and the settings of its online update.
#include <QString>

class TMemIniFile;

namespace supplierini {
inline QString FileName() { return QStringLiteral("SUPPLIER.INI"); }
inline QString SectionCatalog() { return QStringLiteral("Catalog"); }
inline QString SectionSupplier() { return QStringLiteral("Supplier"); }
inline QString SectionOnline() { return QStringLiteral("Online"); }

// The file in a catalogue directory (with or without trailing separator).
QString PathIn(const QString& directory);
// The supplier number as stored, less everything from the first "_" on.
QString CutSupplierId(const QString& storedId);
}  // namespace supplierini

// The supplier of a catalogue (section "Supplier").
struct TKatalogLieferant {
  QString Nr;    // "ID", cut at the first "_" when read
  QString SubNr; // "SUBID"
  QString Info;  // "INFO"

  void Read(const TMemIniFile& ini);
  void Write(TMemIniFile& ini) const;
};

// The online update of a catalogue (section "Online"): carried, not used here.
struct TKatalogOnlineUpdate {
  bool Enabled = false;
  QString SimpleURL;
  bool SimpleLoginEnabled = false;
  QString SimpleLogin, SimplePassword;
  QString DNURL, DNParam1, DNParam2, DNParam3, DNParam1Txt, DNParam2Txt, DNParam3Txt;
  QString DNFileAccesstype, DNhtAccessUsername, DNhtAccessPassword;

  void Read(const TMemIniFile& ini);
  void Write(TMemIniFile& ini) const;
};
