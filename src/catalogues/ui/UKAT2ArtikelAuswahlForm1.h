#pragma once
// The article selection window: one page per opened catalogue, a basket
// ("Speicher") that shows the clipboard it fills, and the run over a whole
// catalogue. It exists once per run; its pages stay open between calls.
#include <QString>
#include <functional>

#include "KatalogDBClipBoard.h"
#include "KatalogMergeEnumeration.h"
#include "MakeDefaultForm.h"
#include "ULAGConfig.h"

class QKeyEvent;
class QListWidget;
class QPushButton;
class QTabWidget;
class TKatalogDBPool;
class TUKATKatalogViewFrame;

class TUKAT2ArtikelAuswahlForm1 : public TDefaultForm {
 public:
  // The pool is not owned; the view settings are kept in the INI file.
  TUKAT2ArtikelAuswahlForm1(TKatalogDBPool& pool, const QString& iniPath, QWidget* parent = nullptr);
  // Writes the view settings of every open page.
  ~TUKAT2ArtikelAuswahlForm1() override;

  QTabWidget* Pages = nullptr;
  QListWidget* lbSpeicher = nullptr;
  QPushButton* btKatalogOeffnen = nullptr;
  QPushButton* btKatalogSchliessen = nullptr;
  QPushButton* btAdd = nullptr;
  QPushButton* btClear = nullptr;
  QPushButton* btUebernehmen = nullptr;
  QPushButton* btAbbrechen = nullptr;

  // How the catalogue to open is chosen: the catalogue choice without the
  // warehouse unless set.
  std::function<bool(QString& katalog)> ChooseKatalog;

  // Shows the window modally, filling the clipboard. Confirmed: true and the
  // picked articles stay in it; cancelled: false and what this call added is
  // taken out again.
  bool Execute(TKatalogDBClipBoard& clipboard, const QString& title);
  // Every article of the catalogue once as a transfer record; false (after
  // its message, if any) when nothing could be run: the warehouse, an
  // unknown key, a kind without database.
  bool ForEachArticle(const QString& katalog, const TMergeObjCallback& callback);

  // The focused article of the current page, read completely, into the
  // clipboard unless its number is there already.
  void UebertrageInZwischenablage();
  void ClearBasket();
  // The page of the catalogue, opened when needed; false when it cannot be.
  bool OpenKatalog(const QString& katalog);
  void btKatalogOeffnenClick();
  void btKatalogSchliessenClick();

  TUKATKatalogViewFrame* CurrentView() const;
  TUKATKatalogViewFrame* ViewOf(const QString& katalog) const;
  const TKatalogDBClipBoard& Clipboard() const { return *clipboard_; }

 private:
  void BuildControls();
  QWidget* BuildBasket(QWidget* parent);
  bool KeyPreview(QKeyEvent* event);
  TUKATKatalogViewFrame* MakeView(const QString& katalog);
  void RefreshBasket();
  void SaveViewSettings() const;
  void LoadViewSettings(TUKATKatalogViewFrame& view) const;

  TKatalogDBPool& pool_;
  QString iniPath_;
  TLagerConfig lagerConfig_;  // search by EAN
  TKatalogDBClipBoard ownClipboard_;  // between calls
  TKatalogDBClipBoard* clipboard_ = &ownClipboard_;
};
