// The controls of the address frame and their wiring.
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "AddressGridModel.h"
#include "DBAdressViewFrameUnit1.h"
#include "Translation.h"

namespace {
constexpr int kRowHeight = 18;
constexpr int kAssistantWidth = 210;

QLabel* Caption(const char* german, QWidget* parent) { return new QLabel(Tr(german), parent); }

QLabel* KeyHint(const QString& text, QWidget* parent) {
  auto* hint = new QLabel(text, parent);
  hint->setStyleSheet(QStringLiteral("color: grey;"));
  return hint;
}

QListWidget* CheckList(const char* name, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QLatin1String(name));
  list->setUniformItemSizes(true);
  return list;
}

void FillCheckList(QListWidget* list, const QStringList& lines) {
  for (const QString& line : lines) {
    auto* item = new QListWidgetItem(line, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
}
}  // namespace

void TDBAdressViewFrame1::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  pcAdress = new QTabWidget(this);
  pcAdress->setObjectName(QStringLiteral("pcAdress"));
  tsAdressMain = new QWidget;
  tsAdressMain->setObjectName(QStringLiteral("tsAdressMain"));
  auto* mainRow = new QHBoxLayout(tsAdressMain);
  mainRow->setContentsMargins(2, 2, 2, 2);
  mainModel_ = new TAddressTableModel(Database ? Database->Table : nullptr, this);
  VDBGrid = NewGrid(tsAdressMain, mainModel_);
  VDBGrid->setObjectName(QStringLiteral("VDBGrid"));
  mainRow->addWidget(VDBGrid, 1);
  mainRow->addWidget(BuildAssistant());
  pcAdress->addTab(tsAdressMain, Tr("Adressenstamm"));
  layout->addWidget(pcAdress, 1);
  layout->addWidget(BuildButtonPages());
  connect(pcAdress, &QTabWidget::currentChanged, this, &TDBAdressViewFrame1::pcAdressChange);
}

QWidget* TDBAdressViewFrame1::BuildAssistant() {
  auto* panel = new QFrame(tsAdressMain);
  panel->setObjectName(QStringLiteral("pnSuchAssistent"));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFixedWidth(kAssistantWidth);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(2);
  QLabel* title = Caption("Such-Assistent", panel);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  column->addWidget(title);
  column->addWidget(Caption("Adresskennzeichen", panel));
  cbAK = CheckList("cbAK", panel);
  column->addWidget(cbAK, 1);
  edAK = new QLineEdit(panel);
  edAK->setObjectName(QStringLiteral("edAK"));
  column->addWidget(edAK);
  column->addWidget(Caption("Kontaktkennzeichen", panel));
  cbKK = CheckList("cbKK", panel);
  column->addWidget(cbKK, 1);
  column->addWidget(Caption("Spezielle Kontaktkennzeichen", panel));
  cbSKK = CheckList("cbSKK", panel);
  column->addWidget(cbSKK, 1);
  btSearchSpez = new QPushButton(Tr("Spezialsuche starten"), panel);
  btSearchSpez->setObjectName(QStringLiteral("btSearchSpez"));
  column->addWidget(btSearchSpez);
  connect(btSearchSpez, &QPushButton::clicked, this, &TDBAdressViewFrame1::btSearchSpezClick);
  return panel;
}

QWidget* TDBAdressViewFrame1::BuildButtonPages() {
  pcButtons = new QStackedWidget(this);
  pcButtons->setObjectName(QStringLiteral("pcButtons"));
  tsButtonStd = new QWidget(pcButtons);
  tsButtonStd->setObjectName(QStringLiteral("tsButtonStd"));
  auto* row = new QHBoxLayout(tsButtonStd);
  row->setContentsMargins(4, 2, 4, 2);
  row->addWidget(Caption("Gehe zu Adresse", tsButtonStd));
  edGoto = new QLineEdit(tsButtonStd);
  edGoto->setObjectName(QStringLiteral("edGoto"));
  edGoto->setFixedWidth(110);
  row->addWidget(edGoto);
  row->addWidget(KeyHint(QStringLiteral("F7"), tsButtonStd));
  row->addSpacing(12);
  row->addWidget(Caption("Adressgruppe", tsButtonStd));
  ComboBox1 = new QComboBox(tsButtonStd);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setMinimumWidth(140);
  row->addWidget(ComboBox1);
  row->addSpacing(12);
  row->addWidget(Caption("Suchtext", tsButtonStd));
  edSearchText = new QLineEdit(tsButtonStd);
  edSearchText->setObjectName(QStringLiteral("edSearchText"));
  row->addWidget(edSearchText, 1);
  row->addWidget(KeyHint(Tr("Umsch+F7"), tsButtonStd));
  btSucheStarten = new QPushButton(Tr("Suche starten"), tsButtonStd);
  btSucheStarten->setObjectName(QStringLiteral("btSucheStarten"));
  row->addWidget(btSucheStarten);
  pcButtons->addWidget(tsButtonStd);

  tsButtonSpezial = new QWidget(pcButtons);
  tsButtonSpezial->setObjectName(QStringLiteral("tsButtonSpezial"));
  auto* special = new QHBoxLayout(tsButtonSpezial);
  special->setContentsMargins(4, 2, 4, 2);
  btSucheClose = new QPushButton(Tr("Suchergebnis schliessen"), tsButtonSpezial);
  btSucheClose->setObjectName(QStringLiteral("btSucheClose"));
  special->addWidget(btSucheClose);
  special->addStretch();
  pcButtons->addWidget(tsButtonSpezial);
  pcButtons->setFixedHeight(tsButtonStd->sizeHint().height());

  connect(edGoto, &QLineEdit::textChanged, this, &TDBAdressViewFrame1::edGotoChange);
  connect(ComboBox1, &QComboBox::activated, this, &TDBAdressViewFrame1::ComboBox1Select);
  connect(btSucheStarten, &QPushButton::clicked, this, &TDBAdressViewFrame1::btSucheStartenClick);
  connect(btSucheClose, &QPushButton::clicked, this, &TDBAdressViewFrame1::btSucheCloseClick);
  return pcButtons;
}

// Main and result grids alike: fixed row height and column widths, so that
// nothing ever measures the rows of a large table.
QTableView* TDBAdressViewFrame1::NewGrid(QWidget* parent, TAddressRowsModel* model) {
  auto* grid = new QTableView(parent);
  grid->setModel(model);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->setTabKeyNavigation(false);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid->horizontalHeader()->setHighlightSections(false);
  for (int column = 0; column < kAddressGridColumns; ++column)
    grid->setColumnWidth(column, VDBGrid ? VDBGrid->columnWidth(column) : AddressGridDefaultWidth(column));
  connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TDBAdressViewFrame1::RestartSelectionTimer);
  connect(grid, &QAbstractItemView::doubleClicked, this, &TDBAdressViewFrame1::GridDoubleClick);
  return grid;
}

void TDBAdressViewFrame1::FillLists() {
  if (!AddressConfig) return;
  FillCheckList(cbAK, AddressConfig->AdressKz);
  FillCheckList(cbKK, AddressConfig->KontaktKz);
  FillCheckList(cbSKK, AddressConfig->SpezielleKontaktKz);
  ComboBox1->addItems(AddressConfig->AdressGrp);
  ComboBox1->setCurrentIndex(-1);
}
