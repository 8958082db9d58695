#pragma once
// The view of a material catalogue (DATANORM): its articles with net price
// and sales prices, sales price 1 derived per shown row from the surcharge of
// the discount group or of the net-price band; details in the article
// information window.
#include "KatalogViewFrame.h"

class TKatalog1DB;

class TUKAT1KatalogViewFrame : public TUKATKatalogViewFrame {
  Q_OBJECT

 public:
  // The database is the pool's (not owned).
  TUKAT1KatalogViewFrame(QWidget* parent, const QString& katalog, const QString& verzeichnis, TKatalog1DB& db);

  enum Column { kcID, kcKurzzeile1, kcKurzzeile2, kcNetto, kcVKPreis1, kcVKPreis2, kcVKPreis3, kcVKPreis4,
                kcVKPreis5, kcME };

  QPushButton* btDetails = nullptr;

  std::unique_ptr<TDBXMLCoreObject> LoadFocusedArticle() override;
  // Shows the focused article in the article information window.
  void btDetailsClick();

 protected:
  bool FindNearest(const QString& text) override;
  bool TableReady() override;

 private:
  TKatalog1DB& db_;
};

// Sales price 1 of a material catalogue article: the net price raised by the
// surcharge in percent, rounded with the currency rounding of the settings.
double Katalog1VKPreis1(double netto, double verkaufszuschlag);
