#pragma once
// The view of a supplier catalogue: its articles with purchase price, sales
// factor and sales prices; the index follows the title of the number or the
// price column; the go-to field looks up article numbers, or EANs when the
// warehouse settings ask for that.
#include "KatalogViewFrame.h"

class TKatalog2DB;

class TUKAT2KatalogViewFrame : public TUKATKatalogViewFrame {
  Q_OBJECT

 public:
  // The database is the pool's (not owned).
  TUKAT2KatalogViewFrame(QWidget* parent, const QString& katalog, const QString& verzeichnis, TKatalog2DB& db,
                         bool searchByEAN);

  enum Column { kcID, kcDescription, kcEK, kcVKZuschlag, kcVKPreis2, kcVKPreis3, kcVKPreis4, kcVKPreis5, kcME };

  std::unique_ptr<TDBXMLCoreObject> LoadFocusedArticle() override;
  void SaveSettings(TMemIniFile& ini) const override;
  void LoadSettings(const TMemIniFile& ini) override;

  void edGotoChange(const QString& text) override;
  void edGotoEnter() override;
  // Number column: index SCATALOG001, purchase price column: SCATALOG003.
  void HeaderClick(int column) override;
  QString IndexName() const;

 protected:
  bool FindNearest(const QString& text) override;

 private:
  void SwitchIndex(const QString& indexName);

  TKatalog2DB& db_;
  bool searchByEAN_;
};
