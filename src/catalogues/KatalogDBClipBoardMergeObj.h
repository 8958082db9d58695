#pragma once
// The uniform article record: one per article of a material catalogue, a
// supplier catalogue or the warehouse, from which the pricing editor takes
// catalogue key, article number, description and prices.
#include <QString>
#include <array>
#include <cstdint>

#include "CmnCustomObjectLists.h"
#include "CurrencyValue.h"

class TKatalog1Artikel;
class TKatalog2Artikel;
class TLagerServerObj;
class TSystemEinstellungen;

class TKatalogDBClipBoardMergeObj {
 public:
  TKatalogDBClipBoardMergeObj();
  TKatalogDBClipBoardMergeObj(const TKatalogDBClipBoardMergeObj&) = delete;
  TKatalogDBClipBoardMergeObj& operator=(const TKatalogDBClipBoardMergeObj&) = delete;

  QString ArtikelNr;
  QString EAN;
  QString Katalog;
  std::uint8_t KatalogTyp = 3;
  QString Beschreibung;
  TDoubleString Kurzzeilen;  // the two short lines of a material catalogue article
  double MwSt = 0;           // VAT rate in percent
  std::uint8_t MwStSatz = 0; // VAT code
  Currency PreisBasis = 0;
  double Rabatt = 0;  // percent
  QString Rabattgruppe;
  Currency EKPreis = 0;  // net purchase price
  double VKZuschlag = 1;  // sales factor
  qint32 PreisEinheit = 1;
  std::array<Currency, 5> VKPreis{};
  double MindestMenge = 1;
  QString ME;
  QString Kurztext;
  QString Langtext;
  double Arbeitszeit = 0;
  TDoubleStringListObjectList Anbindungen;  // attachments: key (+ description), file
  QString Text1, Text2;

  void Reset();
  // Each resets first.
  void AssignFromKatalog1Artikel(const TKatalog1Artikel& article);
  void AssignFromKatalog2Artikel(const TKatalog2Artikel& article);
  void AssignFromLagerServerObj(const TLagerServerObj& article);

 private:
  // Resets, then takes what every source gives alike.
  void Start(const QString& artikelNr, const QString& ean, const QString& katalog, std::uint8_t katalogTyp,
             const QString& beschreibung, std::uint8_t mwStSatz);
  // Prices per the special calculation unit: basis and sales prices 2 to 5
  // times the factor, purchase price the basis less the discount, sales
  // price 1 the purchase price times the sales factor; each rounded.
  void ApplySpecialUnit(const QString& unit, double factor);
  // Short text, else the description; long text, else the short text.
  void SetTexts(const QString& kurztext, const QString& langtext);
};

// The system settings prices are derived with: the process-wide ones, else
// those of a new settings object.
const TSystemEinstellungen& PriceSettings();

// The currency rounding of the system settings (two decimals, or four with
// FullCurrency; two when there are no settings) applied to an amount.
Currency RoundedCurrency(double amount);

// The description of a material catalogue article: both short lines, one blank between.
QString Katalog1Beschreibung(const TKatalog1Artikel& article);
