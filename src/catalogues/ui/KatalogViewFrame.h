#pragma once
// What the two catalogue views share: the article list (the whole table in
// the order of its active index, or the hits of a word search), the go-to
// field, the search field, and the view settings kept per catalogue.
#include <QFrame>
#include <memory>

#include "KatalogViewModels.h"
#include "SearchtextManager.h"

class QLineEdit;
class QPushButton;
class QTableView;
class TDBXMLCoreObject;
class TMemIniFile;
class TTdbTable;

class TUKATKatalogViewFrame : public QFrame {
  Q_OBJECT

 public:
  ~TUKATKatalogViewFrame() override;

  const QString& Katalog() const { return katalog_; }
  const QString& Verzeichnis() const { return verzeichnis_; }

  QLineEdit* edGoto = nullptr;
  QLineEdit* edSuchtext = nullptr;
  QPushButton* btSucheStarten = nullptr;
  QPushButton* btSucheBeenden = nullptr;
  QTableView* Grid = nullptr;

  bool InSearchView() const { return hitModel_ != nullptr; }
  TKatalogTableModel* TableModel() const { return tableModel_; }
  TKatalogHitModel* HitModel() const { return hitModel_; }
  const TKatalogColumns& Columns() const { return layout_.Columns; }

  // Number of the focused article; empty without one.
  QString FocusedArtikelNr() const;
  // Focuses the article in the shown list; false when it is not there.
  bool GotoArtikelNr(const QString& artikelNr);
  // The focused article read completely, its catalogue key set; none without one.
  virtual std::unique_ptr<TDBXMLCoreObject> LoadFocusedArticle() = 0;

  // Column widths (and what a view adds) in the section of this catalogue.
  virtual void SaveSettings(TMemIniFile& ini) const;
  virtual void LoadSettings(const TMemIniFile& ini);
  QString SettingsSection() const;

  // What the controls do; public so that the window and tests act as the user.
  void btSucheStartenClick();
  void btSucheBeendenClick();
  virtual void edGotoChange(const QString& text);
  virtual void edGotoEnter() {}
  virtual void HeaderClick(int column) {}

 protected:
  // table: the article table of the open database (not owned).
  TUKATKatalogViewFrame(QWidget* parent, const QString& katalog, const QString& verzeichnis, TTdbTable* table,
                        const QString& idIndex, TKatalogViewLayout layout);
  // Builds the controls and shows the table; derived views call it once
  // their own parts are ready.
  void Build();
  // Another control for the row above the list (e.g. "Details").
  void AddButton(QPushButton* button);
  // Positions the table on the first article at or after the text; false without one.
  virtual bool FindNearest(const QString& text) = 0;
  // False, after its message, when the table cannot be shown or searched.
  virtual bool TableReady() { return true; }
  TTdbTable* Table() const { return table_; }
  void ShowTable();
  void SelectRow(int row);
  // The row of the table's current article in the table view; -1 without one.
  int CurrentTableRow() const;
  QString AlertTitle() const;

 private:
  QWidget* BuildSearchRow();
  void ShowHits(const QStringList& ids);
  void ApplyColumnWidths();

  QString katalog_;
  QString verzeichnis_;
  TTdbTable* table_;
  QString idIndex_;
  TKatalogViewLayout layout_;
  TSearchtextManager search_;
  QWidget* searchRow_ = nullptr;
  TKatalogTableModel* tableModel_ = nullptr;
  TKatalogHitModel* hitModel_ = nullptr;
  std::vector<int> widths_;
};
