#pragma once
// "Preisauskunft": for the current customer (or the standard tables), an
// article from any source and a quantity, the list of every pricing entry
// that applies, with its value and where it comes from. Computes no final
// price; the order modules do that.
#include <QDialog>
#include <functional>

#include "Preisauskunft.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
struct TArticleSources;

class TPreisauskunftForm : public QDialog {
  Q_OBJECT

 public:
  struct TQuellen {
    // The catalogue and warehouse selection windows (those of the article page).
    const TArticleSources* Auswahl = nullptr;
    // A typed catalogue key and article number; false when there is no such article.
    std::function<bool(const QString& katalog, const QString& artikelNr, TKSPreisauskunftArtikel& artikel)> Suchen;
  };

  // addressId "__DEFAULT__": the standard tables only.
  TPreisauskunftForm(const QString& addressId, TKSPreisauskunft resolver, TQuellen quellen, QWidget* parent = nullptr);

  QLabel* lbKunde = nullptr;
  QPushButton* btKatalogArtikel = nullptr;
  QPushButton* btLagerArtikel = nullptr;
  QLineEdit* edKatalog = nullptr;
  QLineEdit* edArtikelNr = nullptr;
  QLineEdit* edMenge = nullptr;
  QLabel* lbArtikel = nullptr;
  QPushButton* btAnzeigen = nullptr;
  QPushButton* btSchliessen = nullptr;
  QTableWidget* lvEintraege = nullptr;
  QLabel* lbHinweis = nullptr;

  void KatalogArtikelClick();
  void LagerArtikelClick();
  // Enter: resolves the article in the fields for the quantity and lists the entries.
  void AnzeigenClick();
  const TKSPreisauskunftEintraege& Eintraege() const { return eintraege_; }

 private:
  void BuildLayout();
  QWidget* BuildArticleRow();
  void ArtikelGewaehlt(const TKSPreisauskunftArtikel& artikel);
  // The article of the fields: the chosen one, or the typed key and number looked up.
  bool ArtikelDerFelder();
  void ZeigeEintraege();

  QString addressId_;
  TKSPreisauskunft resolver_;
  TQuellen quellen_;
  TKSPreisauskunftArtikel artikel_;
  TKSPreisauskunftEintraege eintraege_;
};
