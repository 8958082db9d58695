#pragma once
// The price information of one article for one customer: every entry of the
// customer pricing data that applies to the article and a quantity, with
// its value and the file it comes from (the customer's own, else the
// standard one). It lists what applies; the final price of a quote is the
// order modules' business. Reads only: a missing file stays missing.
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "CurrencyValue.h"

class TFloatFloatFloatObjectList;

// What the resolver needs of an article, from whichever source it came.
struct TKSPreisauskunftArtikel {
  QString Katalog;  // catalogue key; "LAGER" for the warehouse
  QString ArtikelNr;
  QString Bezeichnung;
  QString Rabattgruppe;
  std::array<Currency, 5> VKPreis{};
  // False when only key and number are known (the article was not found in
  // its catalogue): then its own data count as missing, not as 0.
  bool ArtikeldatenBekannt = false;

  bool IstLager() const;
};

enum class TKSPreisauskunftQuelle {
  KeineDatei,       // neither the own nor the standard file exists
  EigeneTabelle,    // the customer's own file
  Standardtabelle,  // the "__DEFAULT__" file
  Artikeldaten,     // the article itself
};
QString QuelleText(TKSPreisauskunftQuelle quelle);

struct TKSPreisauskunftEintrag {
  QString Was;
  QString Wert;                // the value as shown, or "keine Angabe"
  std::optional<double> Zahl;  // the value as a number, when there is one
  TKSPreisauskunftQuelle Quelle = TKSPreisauskunftQuelle::KeineDatei;
  QString Datei;               // the file it was read from (empty for the article's own data)
};
using TKSPreisauskunftEintraege = QList<TKSPreisauskunftEintrag>;

class TKSPreisauskunft {
 public:
  // addressDir: the address area (with the folders "001" to "006");
  // catalogueDir: the catalogue area, whose directories the price-group
  // file's per-catalogue entries must name.
  TKSPreisauskunft(const QString& addressDir, const QString& catalogueDir);

  // The entries for the address ("__DEFAULT__": the standard tables only),
  // in this order: price group and the sales price it selects, the
  // article-specific entry with its scale step, the discount group with its
  // discount in both sets, the quantity discount.
  TKSPreisauskunftEintraege Resolve(const QString& addressId, const TKSPreisauskunftArtikel& artikel,
                                    double menge) const;

  static QString KeineAngabe();

 private:
  struct TDateiWahl {
    QString Datei;
    TKSPreisauskunftQuelle Quelle = TKSPreisauskunftQuelle::KeineDatei;
  };
  // Own file when it exists, else the standard one, else none.
  TDateiWahl WaehleDatei(const QString& addressId, const QString& folder, const QString& extension) const;
  QString Pfad(const QString& folder, const QString& id, const QString& extension) const;

  void Preisgruppe(const QString& addressId, const TKSPreisauskunftArtikel& artikel,
                   TKSPreisauskunftEintraege& out) const;
  void Artikelpreis(const QString& addressId, const TKSPreisauskunftArtikel& artikel, double menge,
                    TKSPreisauskunftEintraege& out) const;
  // The step of the article's scale that the quantity reaches.
  static void Staffelstufe(const TFloatFloatFloatObjectList& staffel, double menge, const QString& fehlt,
                           const TDateiWahl& fund, TKSPreisauskunftEintraege& out);
  void Rabattgruppe(const QString& addressId, const TKSPreisauskunftArtikel& artikel,
                    TKSPreisauskunftEintraege& out) const;
  void Mengenrabatt(const QString& addressId, double menge, TKSPreisauskunftEintraege& out) const;

  QString addressDir_;
  QString catalogueDir_;
};
