#pragma once
// The warehouse article selection window: the article list, a basket
// ("Speicher") of picked articles, and the functions for the focused
// article. It exists once per run and keeps its database open meanwhile.
#include <functional>
#include <memory>

#include "LagerServerObj.h"
#include "MakeDefaultForm.h"
#include "ULAGUnit1Core.h"

class QListWidget;
class QMenu;
class QPushButton;
class TLagerAnzeigenFrame;

class TLagerArtikelSelectForm1 : public TDefaultForm {
 public:
  // The database is opened by the caller and not owned.
  TLagerArtikelSelectForm1(IModLagerDBServerObj* database, const QString& lagerDir, QWidget* parent = nullptr);
  ~TLagerArtikelSelectForm1() override;
  // Opens the warehouse of the directory for a window that owns it; opening
  // errors are passed on.
  static std::unique_ptr<TLagerArtikelSelectForm1> Open(const QString& lagerDir);

  TLagerServerObjObjectList Speicher;  // the basket

  TLagerAnzeigenFrame* Frame = nullptr;
  QListWidget* lbSpeicher = nullptr;
  QPushButton* btAdd = nullptr;
  QPushButton* btClear = nullptr;
  QPushButton* btFunktionen = nullptr;
  QMenu* FunktionenMenu = nullptr;
  QPushButton* btUebernehmen = nullptr;
  QPushButton* btAbbrechen = nullptr;

  // Shows the window modally. Confirmed: true, and the basket's articles
  // (or, with an empty basket, the focused article) are added to the result
  // list unless their number is there already. Cancelled: the list is
  // cleared and false is returned.
  bool Execute(TLagerServerObjObjectList& result);
  // Every article once, in number order; true when there is no open
  // warehouse or every article was passed.
  bool ForEachLagerArtikel(const std::function<void(TLagerServerObj&)>& callback);

  IModLagerDBServerObj* Database() const { return database_; }

  // What the controls do; public so that tests act as the user.
  void AddFocusedToBasket();
  void ClearBasket();
  void ShowSerialNumbers();
  void ShowArticle();

 private:
  void BuildControls();
  QWidget* BuildBasket(QWidget* parent);
  bool KeyPreview(QKeyEvent* event);
  bool InBasket(const QString& lagerArtikelNr) const;
  void TakeOver(TLagerServerObjObjectList& result);
  std::unique_ptr<TLagerServerObj> LoadArticle(const QString& lagerArtikelNr);

  std::unique_ptr<IModLagerDBServerObj> ownedDatabase_;
  IModLagerDBServerObj* database_;
  QString lagerDir_;
};

// The one selection window of the run, made on first use for the warehouse
// directory (opening errors are passed on), and freed at program end.
TLagerArtikelSelectForm1& LagerArtikelSelectForm(const QString& lagerDir);
void FreeLagerArtikelSelectForm();
