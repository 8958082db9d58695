#pragma once
// The article-specific prices page of the main window: the article-price
// table of the current address in a grid, the quantity scale of the current
// row beside it, and the commands that take articles over from the
// catalogues and the warehouse, delete them, and copy the table as text.
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "ArticleSources.h"
#include "KSPRDatabase.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QWidget;
class TDBAdressViewFrame1;
class TDBGrid;
class TFloatFloatFloatEditorFrame;
class TMemIniFile;
class TArticleTakeOver;
class TTakeOverProgress;

// The table's scroll handlers wait while rows are walked or taken over in bulk.
class TQuietScroll {
 public:
  explicit TQuietScroll(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~TQuietScroll() { flag_ = was_; }
  TQuietScroll(const TQuietScroll&) = delete;
  TQuietScroll& operator=(const TQuietScroll&) = delete;

 private:
  bool& flag_;
  bool was_;
};

class TArticlePricePage : public QObject {
 public:
  explicit TArticlePricePage(QWidget* sheet);  // page set-up, first half
  ~TArticlePricePage() override;                // page tear-down, second half

  std::unique_ptr<TKSPRDatabase> KSPRDB;
  TKSPRDatabaseObj KSPRObj;  // the entry of the table's current row as last read
  bool ArtMengenModified = false;
  int OverwriteMode = 0;
  TArticleSources Sources;
  // The window's write-back of pending changes; the scale of the row being
  // left is written there. Unset: this page's own write-back.
  std::function<void()> SaveAddressData;
  QPointer<TDBAdressViewFrame1> AddressFrame;
  // Rows per commit of a whole take-over.
  int BatchRows = TKSPRDatabase::kBatchRows;

  TDBGrid* DBGrid2 = nullptr;
  QPushButton* Button7 = nullptr;  // "Liste anlegen" / "Liste loeschen" by its tag
  QPushButton* Button8 = nullptr;  // "Artikel hinzufuegen"
  QPushButton* Button9 = nullptr;  // "Artikel loeschen"
  QLabel* TntLabel1 = nullptr;
  QComboBox* cbImpPreis = nullptr;
  QWidget* TntPanel1 = nullptr;
  QLabel* lbArtikelBez = nullptr;
  TFloatFloatFloatEditorFrame* KSArtPMengenRab = nullptr;
  QMenu* BarPopupMenu1 = nullptr;
  QMenu* pmKSPR = nullptr;
  // The progress window while a whole take-over runs.
  QPointer<TTakeOverProgress> Progress;

  // LoadArtikelpreise.
  void Load(const QString& addressId);
  void Reset();      // page reset
  void WriteBack();  // page write-back
  void PostPendingEdit();
  QString FileName() const;

  void Button7Click();
  void Button8Click();
  void Button9Click();
  void OnArtAddClick(int tag);
  void OnKSPRClick();
  void ShowCurrentArtikel();
  void LeaveCurrentArtikel();
  void KSArtPMengenRabChange();
  void AddArtMengenrabatt();

  void LoadColumnWidths(const TMemIniFile& ini, const QString& section);
  void SaveColumnWidths(TMemIniFile& ini, const QString& section) const;

 private:
  QWidget* BuildButtonRow(QWidget* sheet);
  QWidget* BuildScalePanel(QWidget* sheet);
  void BuildMenus();
  void BuildColumns();
  void ShowListState(int tag);
  bool Open(const QString& file);
  void CreateList();
  void DeleteList();
  bool TableOpen() const;
  int PriceChoice() const;
  QString ClipboardText();

  void TakeKatalogArtikel(bool whole);
  void TakeLagerArtikel(bool whole);
  // A whole catalogue or the warehouse: batches, progress, no scrolling views.
  void RunWholeTakeOver(const std::function<void(TArticleTakeOver&)>& run);
  void RunSelectionTakeOver(const std::function<void(TArticleTakeOver&)>& run);
  // source: the catalogue named in the question for an existing article; empty for picked ones.
  void AddKatalogArtikel(TArticleTakeOver& run, const TKatalogDBClipBoardMergeObj& record, const QString& source);
  void AddLagerArtikel(TArticleTakeOver& run, const TLagerServerObj& article, const QString& source);
  void EndTakeOver();

  QString addressId_;
  bool quiet_ = false;  // the scroll handlers wait while rows are walked or taken over
};
