#pragma once
// The warehouse article list: the whole warehouse in article-number order,
// or the rows of a search; a go-to field, the article groups of the
// warehouse settings and a free-text search.
#include <QFrame>
#include <memory>

#include "ULAGConfig.h"
#include "ULAGUnit1Core.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TLagerTableModel;
class TLagerSearchModel;

class TLagerAnzeigenFrame : public QFrame {
  Q_OBJECT

 public:
  // The database is not owned; the settings are read from CONFIG.XML in the
  // warehouse directory.
  TLagerAnzeigenFrame(QWidget* parent, IModLagerDBServerObj& database, const QString& lagerDir);
  ~TLagerAnzeigenFrame() override;

  TLagerConfig Config;
  // The flag tests of a search.
  bool SkipNotStock = false;
  bool OnlyStockTaking = false;

  QLineEdit* edGoto = nullptr;
  QComboBox* cbGruppe = nullptr;
  QLineEdit* edSuchtext = nullptr;
  QPushButton* btSucheStarten = nullptr;
  QPushButton* btSucheBeenden = nullptr;
  QLabel* lbWait = nullptr;
  QTableView* Grid = nullptr;

  bool InSearchView() const { return searchModel_ != nullptr; }
  TLagerTableModel* TableModel() const { return tableModel_; }
  TLagerSearchModel* SearchModel() const { return searchModel_; }

  // Number of the focused article; empty without one.
  QString FocusedArtikelNr() const;
  // Focuses the article in the full list; false when it is not there.
  bool GotoArtikelNr(const QString& lagerArtikelNr);

  // What the controls do; public so that the window and tests act as the user.
  void btSucheStartenClick();
  void btSucheBeendenClick();
  void cbGruppeSelect(int index);
  void edGotoChange(const QString& text);
  void HeaderClick(int column);

 private:
  void BuildControls();
  QWidget* BuildSearchRow();
  void ShowTable();
  void ShowSearch(std::unique_ptr<TDBLagerSearchResultObjectList> rows);
  void ApplyColumnWidths();
  void SelectRow(int row);
  int FirstRowStartingWith(const QString& text);
  void ColourGoto(const QString& text, const QString& found);

  IModLagerDBServerObj& database_;
  TLagerTableModel* tableModel_ = nullptr;
  TLagerSearchModel* searchModel_ = nullptr;
  std::unique_ptr<TDBLagerSearchResultObjectList> searchRows_;
};
