#include "LagerAnzeigenFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "SelectionWindowParts.h"
#include "Format.h"
#include "LagerGridModels.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "Translation.h"

namespace {
const QString kNrField = QStringLiteral("LagerArtikelNr");

QString AlertTitle() { return Tr("Lagerartikel auswaehlen"); }

QLabel* KeyLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(Tr(text), parent);
  label->setEnabled(false);  // a hint, drawn grey
  return label;
}

template <class Work>
void Engine(IModLagerDBServerObj& db, const char* place, Work&& work) {
  try {
    work();
  } catch (const std::exception& e) {
    db.LogError(e, QString::fromLatin1(place));
  }
}

class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

TLagerAnzeigenFrame::TLagerAnzeigenFrame(QWidget* parent, IModLagerDBServerObj& database, const QString& lagerDir)
    : QFrame(parent), database_(database) {
  setObjectName(QStringLiteral("LagerAnzeigenFrame"));
  Config.LoadFromFile(QDir(lagerDir).filePath(QStringLiteral("CONFIG.XML")));
  BuildControls();
  ShowTable();
}

TLagerAnzeigenFrame::~TLagerAnzeigenFrame() {
  // The table model follows the table: it lets go before the database goes.
  if (tableModel_) tableModel_->SetTable(nullptr);
}

void TLagerAnzeigenFrame::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(BuildSearchRow());
  Grid = NewReadOnlyListView(this, "LagerGrid");
  layout->addWidget(Grid, 1);
  tableModel_ = new TLagerTableModel(this);
  connect(Grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TLagerAnzeigenFrame::HeaderClick);
}

QWidget* TLagerAnzeigenFrame::BuildSearchRow() {
  auto* row = new QWidget(this);
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(2, 2, 2, 2);
  h->addWidget(new QLabel(Tr("Gehe zu"), row));
  edGoto = new QLineEdit(row);
  edGoto->setObjectName(QStringLiteral("edGoto"));
  edGoto->setFixedWidth(130);
  h->addWidget(edGoto);
  h->addWidget(KeyLabel("F7", row));
  h->addSpacing(12);
  cbGruppe = new QComboBox(row);
  cbGruppe->setObjectName(QStringLiteral("cbGruppe"));
  cbGruppe->addItem(Tr("Alle"));
  cbGruppe->addItems(Config.Artikelgruppen);
  h->addWidget(cbGruppe);
  h->addWidget(new QLabel(Tr("Suchtext"), row));
  edSuchtext = new QLineEdit(row);
  edSuchtext->setObjectName(QStringLiteral("edSuchtext"));
  h->addWidget(edSuchtext, 1);
  h->addWidget(KeyLabel("Umsch+F7", row));
  btSucheStarten = new QPushButton(Tr("Suche starten"), row);
  btSucheStarten->setObjectName(QStringLiteral("btSucheStarten"));
  btSucheStarten->setAutoDefault(false);
  h->addWidget(btSucheStarten);
  btSucheBeenden = new QPushButton(Tr("Suche beenden"), row);
  btSucheBeenden->setObjectName(QStringLiteral("btSucheBeenden"));
  btSucheBeenden->setAutoDefault(false);
  btSucheBeenden->setEnabled(false);
  h->addWidget(btSucheBeenden);
  lbWait = new QLabel(Tr("Bitte warten ..."), row);
  lbWait->setObjectName(QStringLiteral("lbWait"));
  lbWait->hide();
  h->addWidget(lbWait);
  connect(edGoto, &QLineEdit::textChanged, this, &TLagerAnzeigenFrame::edGotoChange);
  connect(cbGruppe, &QComboBox::activated, this, &TLagerAnzeigenFrame::cbGruppeSelect);
  connect(btSucheStarten, &QPushButton::clicked, this, &TLagerAnzeigenFrame::btSucheStartenClick);
  connect(btSucheBeenden, &QPushButton::clicked, this, &TLagerAnzeigenFrame::btSucheBeendenClick);
  return row;
}

// ---- the two views

void TLagerAnzeigenFrame::ShowTable() {
  Grid->setModel(tableModel_);
  if (tableModel_->Table() != database_.Lager) tableModel_->SetTable(database_.Lager);
  else tableModel_->Reload();
  Grid->setColumnHidden(TLagerTableModel::kColorColumn, true);
  ApplyColumnWidths();
  delete searchModel_;
  searchModel_ = nullptr;
  searchRows_.reset();
  btSucheBeenden->setEnabled(false);
  SelectRow(0);
}

void TLagerAnzeigenFrame::ShowSearch(std::unique_ptr<TDBLagerSearchResultObjectList> rows) {
  auto* model = new TLagerSearchModel(*rows, database_, this);
  Grid->setModel(model);
  ApplyColumnWidths();
  delete searchModel_;
  searchModel_ = model;
  searchRows_ = std::move(rows);
  btSucheBeenden->setEnabled(true);
  SelectRow(0);
}

// A new model brings new header sections with their default widths.
void TLagerAnzeigenFrame::ApplyColumnWidths() {
  for (int column = 0; column < lcColumnCount; ++column) Grid->setColumnWidth(column, LagerColumnWidth(column));
}

void TLagerAnzeigenFrame::SelectRow(int row) {
  const QModelIndex index = Grid->model()->index(row, 0);
  if (!index.isValid()) return;
  Grid->setCurrentIndex(index);
  Grid->scrollTo(index);
}

QString TLagerAnzeigenFrame::FocusedArtikelNr() const {
  const QModelIndex current = Grid->currentIndex();
  if (!current.isValid()) return QString();
  return Grid->model()->index(current.row(), lcNr).data().toString();
}

bool TLagerAnzeigenFrame::GotoArtikelNr(const QString& lagerArtikelNr) {
  int row = -1;
  Engine(database_, "GotoArtikelNr", [&] {
    if (!lagerArtikelNr.isEmpty() && database_.Lager->Locate(kNrField, lagerArtikelNr))
      row = int(database_.Lager->RecordNo() - 1);
  });
  if (row < 0) return false;
  SelectRow(row);
  return true;
}

// ---- searching

void TLagerAnzeigenFrame::btSucheStartenClick() {
  const QString group = cbGruppe->currentIndex() > 0 ? cbGruppe->currentText() : QString();
  auto rows = std::make_unique<TDBLagerSearchResultObjectList>();
  QElapsedTimer clock;
  clock.start();
  {
    WaitCursor wait;
    lbWait->show();
    lbWait->repaint();
    database_.Search(edSuchtext->text(), group, *rows, SkipNotStock, OnlyStockTaking);
    lbWait->hide();
  }
  if (rows->IsEmpty()) {
    DesktopAlert(AlertTitle(), Tr("Nichts gefunden."));
    return;
  }
  const QString seconds = FormatGeneralNumber(RoundHalfAwayFromZero(double(clock.elapsed()) / 1000.0, 2));
  DesktopAlert(AlertTitle(), FormatText(Tr("%d Treffer in %s Sekunden"), {rows->Count(), seconds}));
  ShowSearch(std::move(rows));
}

void TLagerAnzeigenFrame::cbGruppeSelect(int index) {
  if (index >= 0) btSucheStartenClick();
}

void TLagerAnzeigenFrame::btSucheBeendenClick() {
  if (!InSearchView()) return;
  const QString focused = FocusedArtikelNr();
  ShowTable();
  if (!focused.isEmpty() && !GotoArtikelNr(focused))
    DesktopAlert(AlertTitle(), FormatText(Tr("Artikel \"%s\" nicht gefunden."), {focused}));
}

void TLagerAnzeigenFrame::HeaderClick(int column) {
  if (!InSearchView()) {
    DesktopAlert(AlertTitle(), Tr("Keine Sortierung moeglich."));
    return;
  }
  const QString focused = FocusedArtikelNr();
  QHeaderView* header = Grid->horizontalHeader();
  const bool again = header->isSortIndicatorShown() && header->sortIndicatorSection() == column &&
                     header->sortIndicatorOrder() == Qt::AscendingOrder;
  const Qt::SortOrder order = again ? Qt::DescendingOrder : Qt::AscendingOrder;
  searchModel_->sort(column, order);
  header->setSortIndicatorShown(true);
  header->setSortIndicator(column, order);
  for (int row = 0; row < searchModel_->rowCount(); ++row)
    if (searchModel_->Row(row).LagerArtikelNr == focused) return SelectRow(row);
}

// ---- go to

// The first row whose number begins with the text, case-sensitive; -1 for none.
int TLagerAnzeigenFrame::FirstRowStartingWith(const QString& text) {
  if (InSearchView()) {
    for (int row = 0; row < searchModel_->rowCount(); ++row)
      if (searchModel_->Row(row).LagerArtikelNr.startsWith(text)) return row;
    return -1;
  }
  int row = -1;
  Engine(database_, "FindNearest", [&] {
    TTdbTable& t = *database_.Lager;
    t.FindNearest({text});
    if (t.RowId() != 0 && !t.Eof() && t.FieldByName(kNrField).AsString().startsWith(text))
      row = int(t.RecordNo() - 1);
  });
  return row;
}

void TLagerAnzeigenFrame::edGotoChange(const QString& text) {
  // With EAN search on, typing does not move the list.
  if (Config.SpEAN) return;
  if (text.isEmpty()) return ColourGoto(text, QString());
  const int row = FirstRowStartingWith(text);
  if (row >= 0) SelectRow(row);
  ColourGoto(text, row >= 0 ? FocusedArtikelNr() : QString());
}

void TLagerAnzeigenFrame::ColourGoto(const QString& text, const QString& found) {
  if (text.isEmpty()) {
    edGoto->setPalette(QPalette());
    return;
  }
  QPalette palette = edGoto->palette();
  const bool exact = !found.isEmpty() && found.compare(text, Qt::CaseInsensitive) == 0;
  palette.setColor(QPalette::Base, exact ? QColor(Qt::green) : QColor(Qt::red));
  edGoto->setPalette(palette);
}
