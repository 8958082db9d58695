#include "KatalogViewFrame.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "DBXMLCore.h"
#include "Format.h"
#include "MemIniFile.h"
#include "SelectionWindowParts.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "TdbTable.h"
#include "Translation.h"
#include "WindowSettings.h"

namespace {
QLabel* KeyLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(Tr(text), parent);
  label->setEnabled(false);  // a hint, drawn grey
  return label;
}

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

TUKATKatalogViewFrame::TUKATKatalogViewFrame(QWidget* parent, const QString& katalog, const QString& verzeichnis,
                                             TTdbTable* table, const QString& idIndex, TKatalogViewLayout layout)
    : QFrame(parent),
      katalog_(katalog),
      verzeichnis_(verzeichnis),
      table_(table),
      idIndex_(idIndex),
      layout_(std::move(layout)),
      search_(verzeichnis, SearchtextSynonymPath()) {
  for (const TKatalogColumn& column : layout_.Columns) widths_.push_back(column.Width);
}

TUKATKatalogViewFrame::~TUKATKatalogViewFrame() {
  // The models let go of the table before the pool closes its database.
  if (tableModel_) tableModel_->SetTable(nullptr);
  delete hitModel_;
  hitModel_ = nullptr;
}

void TUKATKatalogViewFrame::Build() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BuildSearchRow());
  Grid = NewReadOnlyListView(this, "KatalogGrid");
  layout->addWidget(Grid, 1);
  tableModel_ = new TKatalogTableModel(layout_, this);
  connect(Grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) { HeaderClick(column); });
  ShowTable();
}

QWidget* TUKATKatalogViewFrame::BuildSearchRow() {
  searchRow_ = new QWidget(this);
  auto* h = new QHBoxLayout(searchRow_);
  h->setContentsMargins(2, 2, 2, 2);
  h->addWidget(new QLabel(Tr("Gehe zu"), searchRow_));
  edGoto = new QLineEdit(searchRow_);
  edGoto->setObjectName(QStringLiteral("edGoto"));
  edGoto->setFixedWidth(130);
  h->addWidget(edGoto);
  h->addWidget(KeyLabel("F7", searchRow_));
  h->addSpacing(12);
  h->addWidget(new QLabel(Tr("Suchtext"), searchRow_));
  edSuchtext = new QLineEdit(searchRow_);
  edSuchtext->setObjectName(QStringLiteral("edSuchtext"));
  h->addWidget(edSuchtext, 1);
  h->addWidget(KeyLabel("Umsch+F7", searchRow_));
  btSucheStarten = NewSelectionButton(searchRow_, "btSucheStarten", "Suche starten");
  h->addWidget(btSucheStarten);
  btSucheBeenden = NewSelectionButton(searchRow_, "btSucheBeenden", "Suche beenden");
  btSucheBeenden->setEnabled(false);
  h->addWidget(btSucheBeenden);
  connect(edGoto, &QLineEdit::textChanged, this, [this](const QString& text) { edGotoChange(text); });
  connect(edGoto, &QLineEdit::returnPressed, this, [this] { edGotoEnter(); });
  connect(btSucheStarten, &QPushButton::clicked, this, &TUKATKatalogViewFrame::btSucheStartenClick);
  connect(btSucheBeenden, &QPushButton::clicked, this, &TUKATKatalogViewFrame::btSucheBeendenClick);
  return searchRow_;
}

void TUKATKatalogViewFrame::AddButton(QPushButton* button) {
  button->setParent(searchRow_);
  static_cast<QHBoxLayout*>(searchRow_->layout())->addWidget(button);
}

QString TUKATKatalogViewFrame::AlertTitle() const { return katalog_; }

// ---- the two lists

void TUKATKatalogViewFrame::ApplyColumnWidths() {
  for (int column = 0; column < int(widths_.size()); ++column) Grid->setColumnWidth(column, widths_[size_t(column)]);
  for (int column = int(widths_.size()); column < Grid->model()->columnCount(); ++column)
    Grid->setColumnHidden(column, true);
}

void TUKATKatalogViewFrame::ShowTable() {
  if (Grid->model())
    for (int column = 0; column < int(widths_.size()); ++column) widths_[size_t(column)] = Grid->columnWidth(column);
  Grid->setModel(tableModel_);
  if (tableModel_->Table() != table_) tableModel_->SetTable(table_);
  else tableModel_->Reload();
  ApplyColumnWidths();
  delete hitModel_;
  hitModel_ = nullptr;
  btSucheBeenden->setEnabled(false);
  SelectRow(0);
}

void TUKATKatalogViewFrame::ShowHits(const QStringList& ids) {
  for (int column = 0; column < int(widths_.size()); ++column) widths_[size_t(column)] = Grid->columnWidth(column);
  auto* model = new TKatalogHitModel(ids, *table_, idIndex_, layout_, this);
  Grid->setModel(model);
  ApplyColumnWidths();
  delete hitModel_;
  hitModel_ = model;
  btSucheBeenden->setEnabled(true);
  SelectRow(0);
}

void TUKATKatalogViewFrame::SelectRow(int row) {
  const QModelIndex index = Grid->model()->index(row, 0);
  if (!index.isValid()) return;
  Grid->setCurrentIndex(index);
  Grid->scrollTo(index);
}

int TUKATKatalogViewFrame::CurrentTableRow() const {
  try {
    if (!table_ || !table_->Active() || table_->RowId() == 0) return -1;
    return int(table_->RecordNo() - 1);
  } catch (const std::exception&) {
    return -1;
  }
}

QString TUKATKatalogViewFrame::FocusedArtikelNr() const {
  const QModelIndex current = Grid->currentIndex();
  if (!current.isValid()) return QString();
  if (hitModel_) return hitModel_->ArtikelNr(current.row());
  return tableModel_->StoredValue(current.row(), 0).toString();
}

bool TUKATKatalogViewFrame::GotoArtikelNr(const QString& artikelNr) {
  if (artikelNr.isEmpty()) return false;
  if (hitModel_) {
    const int row = int(hitModel_->Ids().indexOf(artikelNr));
    if (row >= 0) SelectRow(row);
    return row >= 0;
  }
  int row = -1;
  try {
    if (table_->Locate(layout_.Columns.front().Field, artikelNr)) row = CurrentTableRow();
  } catch (const std::exception&) {
  }
  if (row >= 0) SelectRow(row);
  return row >= 0;
}

// ---- search

void TUKATKatalogViewFrame::btSucheStartenClick() {
  if (!TableReady()) return;
  bool found = false;
  {
    WaitCursor wait;
    found = search_.Search(edSuchtext->text(), true);
  }
  if (!found) return;  // no index (told) or no word
  if (search_.ResultList.isEmpty()) {
    DesktopAlert(AlertTitle(), Tr("Nichts gefunden."));
    return;
  }
  const QString seconds = FormatGeneralNumber(search_.Duration);
  DesktopAlert(AlertTitle(), FormatText(Tr("%d Treffer in %s Sekunden"), {search_.ResultList.size(), seconds}));
  ShowHits(search_.ResultList);
}

void TUKATKatalogViewFrame::btSucheBeendenClick() {
  if (!InSearchView()) return;
  const QString focused = FocusedArtikelNr();
  ShowTable();
  GotoArtikelNr(focused);
}

// ---- go to

void TUKATKatalogViewFrame::edGotoChange(const QString& text) {
  if (text.isEmpty()) return;
  if (hitModel_) {
    for (int row = 0; row < hitModel_->rowCount(); ++row)
      if (hitModel_->ArtikelNr(row).startsWith(text)) return SelectRow(row);
    return;
  }
  if (FindNearest(text)) SelectRow(CurrentTableRow());
}

// ---- settings

QString TUKATKatalogViewFrame::SettingsSection() const { return QStringLiteral("KatalogView_") + katalog_; }

void TUKATKatalogViewFrame::SaveSettings(TMemIniFile& ini) const {
  for (int column = 0; column < int(layout_.Columns.size()); ++column)
    ini.WriteInteger(SettingsSection(), QStringLiteral("Width%1").arg(column), Grid->columnWidth(column));
}

void TUKATKatalogViewFrame::LoadSettings(const TMemIniFile& ini) {
  for (int column = 0; column < int(layout_.Columns.size()); ++column)
    widths_[size_t(column)] = ReadColumnWidth(ini, SettingsSection(), QStringLiteral("Width%1").arg(column),
                                              layout_.Columns[size_t(column)].Width);
  ApplyColumnWidths();
}
