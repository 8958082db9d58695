#include "DiscountGroupPage.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>

#include "CompareWithStandard.h"
#include "DBAdressViewFrameUnit1.h"
#include "DBGrid.h"
#include "ExchangeFileDialog.h"
#include "PageButton.h"
#include "KSRabDatabase.h"
#include "Msgdlg.h"
#include "PricingFiles.h"
#include "StandardComparison.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "ULAGConfig.h"

namespace {
constexpr int kNoAddress = 0;  // also: a list that exists but cannot be opened
constexpr int kListMissing = 1;
constexpr int kListPresent = 2;
constexpr int kOwnColumns = 3;  // the table's columns; the comparison's follow

// A new list is built under a name of its own beside the final one, so that
// a list appears whole or not at all.
QString BuildingName(const QString& file) {
  return file + QStringLiteral(".new") + QUuid::createUuid().toString(QUuid::Id128).left(12);
}
}  // namespace

TDiscountGroupPage::TDiscountGroupPage(QWidget* sheet, const TDiscountGroupPageParts& parts,
                                       const TLagerConfig& lagerConfig)
    : QObject(sheet), parts_(parts), lagerConfig_(lagerConfig) {
  Store = std::make_unique<TKSRabDatabase>(&TLogHelper::LogError);
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(4, 4, 4, 4);
  Grid = new TDBGrid(QLatin1String(parts.grid), sheet);
  Compare = new TCompareWithStandard(sheet, Tr("Rabattgruppe"), true);
  std::vector<TDBGridColumn> columns{
      {.FieldName = QStringLiteral("RABATTGRP"), .Title = Tr("Rabattgruppe"), .ReadOnly = true, .DefaultWidth = 100},
      {.FieldName = QStringLiteral("BEZEICHNUNG"), .Title = Tr("Bezeichnung"), .DefaultWidth = 388},
      {.FieldName = QStringLiteral("RABATT"), .Title = Tr("Rabatt in %"), .DefaultWidth = 100}};
  for (TDBGridColumn& column : Compare->GridColumns(0, 2)) columns.push_back(std::move(column));
  Grid->SetColumns(std::move(columns));
  Grid->Bind(Store->Table);
  Grid->Model()->OnWriteError = [this](const std::exception&) { return FollowListFile(true); };
  Grid->SetGridActive(false);
  layout->addWidget(Grid, 1);
  layout->addWidget(Compare->CheckBox);
  layout->addWidget(Compare->OnlyStandardPanel);
  layout->addWidget(BuildButtonRow(sheet));
  SetUpComparison();
  ShowListState(kNoAddress);
}

// The standard tables' list of the same set is only read, never made.
void TDiscountGroupPage::SetUpComparison() {
  Compare->ReadStandard = [this](TStandardComparison& comparison) {
    const TSystemEinstellungen* system = SystemEinstellungen();
    SetStandardDiscountGroups(comparison, system ? PricingFilePath(system->AddressDir, QLatin1String(parts_.folder),
                                                                   QLatin1String(kDefaultAddressId), QStringLiteral(".TDBD"))
                                                 : QString());
  };
  Compare->ReadCustomerKeys = [this] {
    return Store->Opened ? ReadDiscountGroupKeys(*Store->Table) : std::vector<QString>{};
  };
  Grid->Model()->RowBackground = [this](const QVariantList& row) { return Compare->RowBackground(row.value(0).toString()); };
  Compare->OnShow = [this](bool on) { ShowComparison(on); };
  ShowComparison(false);
}

void TDiscountGroupPage::ShowComparison(bool on) {
  for (int c = 0; c < TCompareWithStandard::kColumns; ++c) Grid->setColumnHidden(kOwnColumns + c, !on);
  Grid->viewport()->update();
}

TDiscountGroupPage::~TDiscountGroupPage() {
  Grid->Bind(nullptr);  // the grid must not outlive its table's store
  Grid->Model()->OnWriteError = nullptr;  // the grid belongs to the sheet and may outlive the page
  Store->Close();
}

QWidget* TDiscountGroupPage::BuildButtonRow(QWidget* sheet) {
  auto* row = new QWidget(sheet);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  ListButton = AddPageButton(row, parts_.listButton, "Liste anlegen", &AddressFrame, [this] { ListButtonClick(); });
  ReimportButton = AddPageButton(row, parts_.reimportButton, "Rabattgruppen erneut importieren", &AddressFrame, [this] { Reimport(); });
  ExportButton = AddPageButton(row, parts_.exportButton, "Export", &AddressFrame, [this] { ExportClick(); });
  ImportButton = AddPageButton(row, parts_.importButton, "Import", &AddressFrame, [this] { ImportClick(); });
  CompressButton = AddPageButton(row, parts_.compressButton, "Rabattgruppen ohne Rabatt entfernen", &AddressFrame, [this] { CompressClick(); });
  AddButton = AddPageButton(row, parts_.addButton, "Rabattgruppe manuell hinzufuegen", &AddressFrame, [this] { AddClick(); });
  layout->addStretch();
  return row;
}

QString TDiscountGroupPage::FileName() const {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system ? PricingFilePath(system->AddressDir, QLatin1String(parts_.folder), addressId_, QStringLiteral(".TDBD"))
                : QString();
}

bool TDiscountGroupPage::ListOpen() const { return Store->Opened; }

void TDiscountGroupPage::ShowListState(int tag) {
  ListButton->setProperty("tag", tag);
  ListButton->setText(tag == kListPresent ? Tr("Liste loeschen") : Tr("Liste anlegen"));
  ListButton->setEnabled(tag != kNoAddress);
  Grid->SetGridActive(tag == kListPresent);
  Compare->Follow(addressId_);
}

// Opening reports its errors itself (the store's error callback).
bool TDiscountGroupPage::Open(const QString& file) {
  if (Store->Opened) return true;
  try {
    Store->OpenFile(file, false);
  } catch (const std::exception&) {
    Grid->Reload();
    return false;
  }
  Grid->Reload();
  return true;
}

// A list that exists but does not open is never taken for a missing one:
// creating it anew would build over it and lose its groups.
void TDiscountGroupPage::Load(const QString& addressId) {
  addressId_ = addressId;
  const QString file = FileName();
  if (file.isEmpty()) {
    ShowListState(kNoAddress);
  } else if (!QFileInfo::exists(file)) {
    ShowListState(kListMissing);
  } else {
    ShowListState(Open(file) ? kListPresent : kNoAddress);
  }
}

// After another workstation deleted or replaced the open list, the page
// shows what is there now; true when that happened.
bool TDiscountGroupPage::FollowListFile(bool lastChangeLost) {
  if (!Store->Opened || !Store->Database->FileGone()) return false;
  Store->Close();
  Grid->Reload();
  if (lastChangeLost)
    MessageDlg(Tr("Die Rabattliste dieser Adresse wurde an einem anderen Arbeitsplatz geloescht oder ersetzt. Ihre letzte Aenderung wurde nicht gespeichert."),
               TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  Load(addressId_);
  return true;
}

// Nothing of the previous address may stay usable: no table, no file name.
void TDiscountGroupPage::Reset() {
  Store->Close();
  Grid->Reload();
  addressId_.clear();
  ShowListState(kNoAddress);
}

void TDiscountGroupPage::ListButtonClick() {
  const int tag = ListButton->property("tag").toInt();
  if (tag == kListMissing) CreateList();
  if (tag == kListPresent) DeleteList();
}

// A new list starts with every predefined group at 0. It is filled under a
// name of its own and moved into place whole, so that a failure or a killed
// program never leaves an empty list that would hide the standard tables.
void TDiscountGroupPage::CreateList() {
  const QString file = FileName();
  if (file.isEmpty()) return;
  if (QFileInfo::exists(file)) return Load(addressId_);  // made elsewhere meanwhile
  const QString building = BuildingName(file);
  const bool filled = Open(building) && Reimport();
  Store->Close();
  Grid->Reload();
  if (filled && !QFile::rename(building, file) && !QFileInfo::exists(file))
    MessageDlgFmt(Tr("Die Liste \"%s\" konnte nicht angelegt werden."), {file}, TMsgDlgType::mtError,
                  {TMsgDlgBtn::mbOK});
  QFile::remove(building);
  Load(addressId_);
}

// Under the database lock, so that no other workstation works on the list
// while it goes.
void TDiscountGroupPage::DeleteList() {
  const QString file = FileName();  // the list the user is asked about
  if (MessageDlg(Tr("Moechten Sie die Rabatte fuer diese Adresse loeschen?"), TMsgDlgType::mtConfirmation,
                 {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes)
    return;
  TDBLock lock;
  try {
    lock = Store->LockDBInternal(BenutzerEinstellungen() ? BenutzerEinstellungen()->UserName : QString());
  } catch (const std::exception& e) {
    Store->LogError(e, QStringLiteral("LockDBInternal"));
  }
  if (!lock) return;
  Store->Close();
  Grid->Reload();
  const bool removed = file.isEmpty() || !QFileInfo::exists(file) || QFile::remove(file);
  Store->Unlock(lock);  // before the message: no other workstation waits on it
  if (!removed)
    MessageDlgFmt(Tr("Die Liste \"%s\" konnte nicht geloescht werden."), {file}, TMsgDlgType::mtError,
                  {TMsgDlgBtn::mbOK});
  Load(addressId_);
}

bool TDiscountGroupPage::Reimport() {
  if (!ListOpen()) return false;
  if (lagerConfig_.Rabattgruppen.IsEmpty()) {
    MessageDlg(Tr("Es sind keine Rabattgruppen vorgegeben.") + QLatin1Char('\n') + Tr("Siehe auch Lagereinstellungen."),
               TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    return true;
  }
  const bool done = Store->UpdateRabattListe(lagerConfig_.Rabattgruppen);
  if (!FollowListFile(false)) Compare->CustomerKeysChanged();
  return done;
}

void TDiscountGroupPage::CompressClick() {
  if (!ListOpen()) return;
  Store->CompressRabattListe();
  if (!FollowListFile(false)) Compare->CustomerKeysChanged();
}

void TDiscountGroupPage::AddClick() {
  if (!ListOpen()) return;
  QString key;
  if (!Dialogs().InputQuery(InputRequest{Tr("Neue Rabattgruppe"), Tr("Rabattgruppe"), QString()}, key)) return;
  if (!Store->RabattGrpExists(key)) Store->RabattGrpAppend(key);
  if (!FollowListFile(false)) Compare->CustomerKeysChanged();
}

void TDiscountGroupPage::ExportClick() {
  if (!Grid->isEnabled()) return;
  const QString file = Dialogs().SaveFileName(ExchangeFileDialog(false));
  if (!file.isEmpty()) Store->ExportToFile(file);
}

void TDiscountGroupPage::ImportClick() {
  if (!Grid->isEnabled()) return;
  const QString file = Dialogs().OpenFileName(ExchangeFileDialog(true));
  if (file.isEmpty()) return;
  Store->ImportFromFile(file);
  Store->RefreshTables();
  FollowListFile(false);  // an import changes values only: the columns follow by themselves
}

void TDiscountGroupPage::LoadColumnWidths(const TMemIniFile& ini, const QString& section) {
  Grid->LoadColumnWidths(ini, section);
}

void TDiscountGroupPage::SaveColumnWidths(TMemIniFile& ini, const QString& section) const {
  Grid->SaveColumnWidths(ini, section);
}
