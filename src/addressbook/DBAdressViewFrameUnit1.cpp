#include "DBAdressViewFrameUnit1.h"

#include <QApplication>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "AddressGridModel.h"
#include "AddressSpecialSearch.h"
#include "Format.h"
#include "MemIniFile.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "WindowSettings.h"

namespace {
// The hourglass while a search runs.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QStringList CheckedItems(const QListWidget* list) {
  QStringList checked;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->checkState() == Qt::Checked) checked.append(list->item(i)->text());
  return checked;
}

QString ColumnKey(const QTableView* grid, int column) { return grid->objectName() + QString::number(column); }

void Fire(const TDBAdressViewFrame1::TFrameEvent& event, TDBAdressViewFrame1* frame) {
  if (event) event(frame);
}
}  // namespace

TDBAdressViewFrame1::TDBAdressViewFrame1(QWidget* owner, TAddressConfig* addressConfig)
    : QFrame(owner), AddressConfig(addressConfig) {
  setObjectName(QStringLiteral("DBAdressViewFrame1"));
  if (owner && owner->layout()) owner->layout()->addWidget(this);
  CurrentAddress = std::make_unique<TCustomerAddress>();
  if (OwnsDatabase) {
    Database = std::make_unique<TDBAdress>(&TLogHelper::LogError);
    Database->Open(SystemEinstellungen()->AddressDir);
  }
  BuildControls();
  InitFrame(this);
  FillLists();
  ShowMainPages();
  SelectionTimer = new QTimer(this);
  SelectionTimer->setSingleShot(true);
  SelectionTimer->setInterval(kSelectionDelayMs);
  connect(SelectionTimer, &QTimer::timeout, this, &TDBAdressViewFrame1::SelectionTimerFired);
}

TDBAdressViewFrame1::~TDBAdressViewFrame1() { Close(); }

void TDBAdressViewFrame1::Close() {
  if (closed_) return;
  closed_ = true;
  delete SelectionTimer;
  SelectionTimer = nullptr;
  while (pcAdress->count() > 1) RemoveResultTab(pcAdress->count() - 1);
  SearchResults.Clear();
  mainModel_->Detach();
  CurrentAddress.reset();
  if (OwnsDatabase && Database) {
    Database->CloseDatabase();
    Database.reset();
  }
}

// ---- selection ----

void TDBAdressViewFrame1::RestartSelectionTimer() {
  if (SelectionTimer) SelectionTimer->start(kSelectionDelayMs);
}

void TDBAdressViewFrame1::HoldSelection() { ++selectionHolds_; }

void TDBAdressViewFrame1::ReleaseSelection() {
  if (selectionHolds_ == 0 || --selectionHolds_ > 0 || !selectionDue_) return;
  selectionDue_ = false;
  // Carried out from the event loop, after the host's command has returned.
  if (SelectionTimer) SelectionTimer->start(0);
}

void TDBAdressViewFrame1::SelectionTimerFired() {
  if (closed_) return;
  if (selectionHolds_ > 0) {
    selectionDue_ = true;
    return;
  }
  // Any other modal window of the host (a message of a grid, a selection
  // window) holds the selection too, until it has closed.
  const QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != window()) {
    RestartSelectionTimer();
    return;
  }
  SaveIfModified();
  if (!CurrentAddress->Id.isEmpty()) Fire(OnBeforeAddressChange, this);
  const QString id = SelectedId();
  if (id.isEmpty()) return;
  CurrentAddress->Clear();  // a row gone meanwhile must not leave the previous address's data
  CurrentAddress->Id = id;
  Database->GetCustomer(id, *CurrentAddress);
  ++recordsLoaded_;
  Fire(OnAddressChanged, this);
  if (DoubleClicked) {
    DoubleClicked = false;
    Fire(OnAddressChosen, this);
  }
}

QTableView* TDBAdressViewFrame1::GridOn(int tab) const {
  if (tab <= 0) return VDBGrid;
  QWidget* page = pcAdress->widget(tab);
  return page ? page->findChild<QTableView*>() : nullptr;
}

QTableView* TDBAdressViewFrame1::ActiveGrid() const { return GridOn(pcAdress->currentIndex()); }

QString TDBAdressViewFrame1::SelectedId() const {
  const QTableView* grid = ActiveGrid();
  const QModelIndex current = grid ? grid->currentIndex() : QModelIndex();
  if (!current.isValid()) return QString();
  return static_cast<const TAddressRowsModel*>(grid->model())->Row(current.row()).ID;
}

void TDBAdressViewFrame1::ShowMainPages() {
  pcAdress->setCurrentIndex(0);
  pcButtons->setCurrentWidget(tsButtonStd);
}

// Always restarts the timer, so that selecting the row already selected
// still loads it and tells the host.
void TDBAdressViewFrame1::SelectMainRow(int row) {
  const QModelIndex index = mainModel_->index(row, 0);
  if (!index.isValid()) return;
  VDBGrid->setCurrentIndex(index);
  VDBGrid->scrollTo(index);
  RestartSelectionTimer();
}

qint64 TDBAdressViewFrame1::CurrentRecNo() {
  try {
    return Database->Table->RecordNo();
  } catch (const std::exception& e) {
    Database->LogError(e, QStringLiteral("RecordNo"));
    return 0;
  }
}

void TDBAdressViewFrame1::GotoAddress(const QString& id) {
  if (closed_) return;
  ShowMainPages();
  qint32 recNo = Database->GetCustomerRecNo(id);
  if (recNo <= 0) {
    if (!id.isEmpty()) MessageDlgFmt(Tr("Adresse \"%s\" nicht gefunden."), {id}, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    if (mainModel_->rowCount() == 0) return;
    recNo = 1;
  }
  SelectMainRow(recNo - 1);
  VDBGrid->setFocus();
}

void TDBAdressViewFrame1::edGotoChange(const QString& text) {
  if (closed_) return;
  ShowMainPages();
  Database->FindID(text);
  const qint64 recNo = CurrentRecNo();
  if (recNo > 0) SelectMainRow(int(recNo - 1));
}

void TDBAdressViewFrame1::pcAdressChange(int index) {
  pcButtons->setCurrentWidget(index <= 0 ? tsButtonStd : tsButtonSpezial);
  RestartSelectionTimer();
}

void TDBAdressViewFrame1::GridDoubleClick() {
  DoubleClicked = true;
  RestartSelectionTimer();
}

// ---- keys ----

bool TDBAdressViewFrame1::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
  if (closed_) return false;
  const bool shift = modifiers & Qt::ShiftModifier;
  const bool ctrl = modifiers & Qt::ControlModifier;
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && edSearchText->hasFocus()) {
    btSucheStartenClick();
    return true;
  }
  if (key == Qt::Key_F7) {
    (shift ? edSearchText : edGoto)->setFocus();
    return true;
  }
  if (ctrl && (key == Qt::Key_Left || key == Qt::Key_Right)) {
    const int target = pcAdress->currentIndex() + (key == Qt::Key_Left ? -1 : 1);
    if (target < 0 || target >= pcAdress->count()) return false;
    pcAdress->setCurrentIndex(target);
    return true;
  }
  if (key == Qt::Key_Up || key == Qt::Key_Down) {
    QTableView* grid = ActiveGrid();
    const int rows = grid->model()->rowCount();
    if (rows == 0) return true;
    const int current = grid->currentIndex().isValid() ? grid->currentIndex().row() : -1;
    const int target = std::clamp(current + (key == Qt::Key_Up ? -1 : 1), 0, rows - 1);
    const QModelIndex index = grid->model()->index(target, 0);
    grid->setCurrentIndex(index);
    grid->scrollTo(index);
    return true;
  }
  return false;
}

// ---- storing ----

void TDBAdressViewFrame1::SaveIfModified() {
  if (!Modified || closed_) return;
  if (BenutzerEinstellungen()->LacksPermission(QString::fromLatin1(kPermEditAddresses))) {
    MessageDlg(Tr("Sie sind nicht berechtigt, Adressen zu bearbeiten!"), TMsgDlgType::mtInformation,
               {TMsgDlgBtn::mbOK});
    Modified = false;  // the record is reloaded next, so the refused change goes
    return;
  }
  TDBLock lock = Database->LockDB(BenutzerEinstellungen()->UserName);
  if (!lock) return;
  StoreCurrentAddress();
  Database->Unlock(lock);
}

void TDBAdressViewFrame1::StoreCurrentAddress() {
  Database->RefreshTables();
  CurrentAddress->At = CurrentAddress->BuildDisplayText();
  Fire(OnBeforeSave, this);
  if (Database->SetCustomer(*CurrentAddress) != 0)
    MessageDlg(Tr("Fehler beim Speichern der Daten."), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  Modified = false;
  if (pcAdress->currentIndex() == 0) mainModel_->Reload();
}

// ---- column widths ----

void TDBAdressViewFrame1::LoadColumnWidths(const TMemIniFile& ini, const QString& section) {
  for (int column = 0; column < kAddressGridColumns; ++column)
    VDBGrid->setColumnWidth(column,
                            ReadColumnWidth(ini, section, ColumnKey(VDBGrid, column), AddressGridDefaultWidth(column)));
}

void TDBAdressViewFrame1::SaveColumnWidths(TMemIniFile& ini, const QString& section) const {
  for (int column = 0; column < kAddressGridColumns; ++column)
    ini.WriteInteger(section, ColumnKey(VDBGrid, column), VDBGrid->columnWidth(column));
}

// ---- searches ----

void TDBAdressViewFrame1::btSucheStartenClick() {
  const QString text = edSearchText->text().trimmed();
  RunSearch(text, [&](TDBAdressSearchResultObjectList& results) { Database->FindAddress(text, results); });
}

void TDBAdressViewFrame1::ComboBox1Select(int index) {
  if (index < 0 || index >= ComboBox1->count()) return;
  const QString group = ComboBox1->itemText(index);
  RunSearch(Tr("Adressgruppe") + QStringLiteral(": ") + group,
            [&](TDBAdressSearchResultObjectList& results) { Database->FindAddressByAddrGrp(group, results); });
}

void TDBAdressViewFrame1::btSearchSpezClick() {
  TSpecialSearchCriteria criteria;
  criteria.AddressMarks = SplitMarks(edAK->text()) + CheckedItems(cbAK);
  criteria.ContactMarks = CheckedItems(cbKK);
  criteria.SpecialMarks = CheckedItems(cbSKK);
  RunSearch(Tr("Spezialsuche"),
            [&](TDBAdressSearchResultObjectList& results) { FindAddressBySpecial(*Database, criteria, results); });
}

void TDBAdressViewFrame1::RunSearch(const QString& caption,
                                    const std::function<void(TDBAdressSearchResultObjectList&)>& find) {
  if (closed_) return;
  SaveIfModified();
  auto results = std::make_unique<TDBAdressSearchResultObjectList>();
  {
    WaitCursor wait;
    find(*results);
  }
  const QString title = Tr("Adresssuche");
  if (results->IsEmpty()) {
    DesktopAlert(title, Tr("Nichts gefunden."));
    return;
  }
  DesktopAlert(title, FormatText(Tr("%d Treffer"), {results->Count()}));
  AddResultTab(caption, std::move(results));
}

void TDBAdressViewFrame1::AddResultTab(const QString& caption,
                                       std::unique_ptr<TDBAdressSearchResultObjectList> results) {
  const TDBAdressSearchResultObjectList* list = SearchResults.Add(std::move(results));
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tsSearchResult"));
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  QTableView* grid = NewGrid(page, new TSearchResultModel(*list, page));
  grid->setObjectName(QStringLiteral("ResultGrid"));
  layout->addWidget(grid);
  QString label = caption;
  pcAdress->addTab(page, label.replace(QLatin1Char('&'), QStringLiteral("&&")));
  pcAdress->setCurrentWidget(page);
  pcButtons->setCurrentWidget(tsButtonSpezial);
  grid->setCurrentIndex(grid->model()->index(0, 0));
  grid->setFocus();
}

void TDBAdressViewFrame1::btSucheCloseClick() {
  const int tab = pcAdress->currentIndex();
  if (closed_ || tab <= 0) return;
  const QTableView* grid = GridOn(tab);
  const QModelIndex current = grid->currentIndex();
  const qint32 recNo =
      current.isValid() ? static_cast<const TAddressRowsModel*>(grid->model())->Row(current.row()).RecNo : 0;
  ShowMainPages();
  if (recNo > 0) {
    SelectMainRow(recNo - 1);
    VDBGrid->setFocus();
  }
  RemoveResultTab(tab);
}

// The page owns its grid and model; the list they show goes after them.
void TDBAdressViewFrame1::RemoveResultTab(int tab) {
  QWidget* page = pcAdress->widget(tab);
  pcAdress->removeTab(tab);
  delete page;
  SearchResults.Delete(tab - 1);
}

TSelectionHold::TSelectionHold(TDBAdressViewFrame1* frame) : frame_(frame) {
  if (frame_) frame_->HoldSelection();
}

TSelectionHold::~TSelectionHold() {
  if (frame_) frame_->ReleaseSelection();
}
