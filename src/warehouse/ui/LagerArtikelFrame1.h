#pragma once
// The warehouse article editor frame and the article form around it. The
// pricing editor only shows an article with them: every control is read-only.
#include <QDialog>
#include <QFrame>

#include "LagerServerObj.h"
#include "ULAGConfig.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

// One minimum-stock line as shown: "Vom 01.01. bis 31.03. : 2,5 - 10";
// empty when the line does not read.
QString MinBestandText(const QString& line);

class TLagerArtikelFrame1 : public QFrame {
 public:
  explicit TLagerArtikelFrame1(QWidget* parent = nullptr);

  // Fills the controls; the discount-group choice offers the predefined groups.
  void ShowArticle(const TLagerServerObj& article, const TLagerConfig& config);

  QLineEdit* edNr = nullptr;
  QLineEdit* edKatalog = nullptr;
  QLineEdit* edBezeichnung = nullptr;
  QLineEdit* edME = nullptr;
  QLineEdit* edEAN = nullptr;
  QLineEdit* edGruppe = nullptr;
  QLineEdit* edLagerort = nullptr;
  QComboBox* cbRabattgruppe = nullptr;
  QLineEdit* edEKPreis = nullptr;
  QLineEdit* edVKZuschlag = nullptr;
  QLineEdit* edPE = nullptr;
  QTableWidget* tbPreise = nullptr;  // five sales prices: net, VAT, gross
  QListWidget* lbMinBestand = nullptr;
  QListWidget* lbLieferanten = nullptr;
  QListWidget* lbZusatzfelder = nullptr;

 private:
  QLineEdit* AddField(QFormLayout* form, const char* name, const char* label);
  void ShowPrices(const TLagerServerObj& article);
  void ShowExtras(const TLagerServerObj& article);
};

// The warehouse article form, here only for looking at one article.
class TMOD00300Form2 : public QDialog {
 public:
  TMOD00300Form2(const TLagerServerObj& article, const TLagerConfig& config, QWidget* parent = nullptr);

  TLagerArtikelFrame1* Frame = nullptr;
  QPushButton* btSchliessen = nullptr;
};
