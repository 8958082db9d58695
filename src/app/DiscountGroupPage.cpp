#include "DiscountGroupPage.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "DBAdressViewFrameUnit1.h"
#include "DBGrid.h"
#include "ExchangeFileDialog.h"
#include "KSRabDatabase.h"
#include "Msgdlg.h"
#include "PricingFiles.h"
#include "Translation.h"
#include "TypeUnit.h"
#include "ULAGConfig.h"

namespace {
constexpr int kNoAddress = 0;
constexpr int kListMissing = 1;
constexpr int kListPresent = 2;
}  // namespace

TDiscountGroupPage::TDiscountGroupPage(QWidget* sheet, const TDiscountGroupPageParts& parts,
                                       const TLagerConfig& lagerConfig)
    : QObject(sheet), parts_(parts), lagerConfig_(lagerConfig) {
  Store = std::make_unique<TKSRabDatabase>(&TLogHelper::LogError);
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(4, 4, 4, 4);
  Grid = new TDBGrid(QLatin1String(parts.grid), sheet);
  Grid->SetColumns({{.FieldName = QStringLiteral("RABATTGRP"), .Title = Tr("Rabattgruppe"), .ReadOnly = true,
                     .DefaultWidth = 100},
                    {.FieldName = QStringLiteral("BEZEICHNUNG"), .Title = Tr("Bezeichnung"), .DefaultWidth = 388},
                    {.FieldName = QStringLiteral("RABATT"), .Title = Tr("Rabatt in %"), .DefaultWidth = 100}});
  Grid->Bind(Store->Table);
  Grid->SetGridActive(false);
  layout->addWidget(Grid, 1);
  layout->addWidget(BuildButtonRow(sheet));
  ShowListState(kNoAddress);
}

TDiscountGroupPage::~TDiscountGroupPage() {
  Grid->Bind(nullptr);  // the grid must not outlive its table's store
  Store->Close();
}

QWidget* TDiscountGroupPage::BuildButtonRow(QWidget* sheet) {
  auto* row = new QWidget(sheet);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  ListButton = AddButtonTo(row, parts_.listButton, "Liste anlegen", &TDiscountGroupPage::ListButtonClick);
  ReimportButton = AddButtonTo(row, parts_.reimportButton, "Rabattgruppen erneut importieren", &TDiscountGroupPage::Reimport);
  ExportButton = AddButtonTo(row, parts_.exportButton, "Export", &TDiscountGroupPage::ExportClick);
  ImportButton = AddButtonTo(row, parts_.importButton, "Import", &TDiscountGroupPage::ImportClick);
  CompressButton = AddButtonTo(row, parts_.compressButton, "Rabattgruppen ohne Rabatt entfernen",
                               &TDiscountGroupPage::CompressClick);
  AddButton = AddButtonTo(row, parts_.addButton, "Rabattgruppe manuell hinzufuegen", &TDiscountGroupPage::AddClick);
  layout->addStretch();
  return row;
}

QPushButton* TDiscountGroupPage::AddButtonTo(QWidget* row, const char* name, const char* caption,
                                             void (TDiscountGroupPage::*click)()) {
  auto* button = new QPushButton(Tr(caption), row);
  button->setObjectName(QLatin1String(name));
  row->layout()->addWidget(button);
  connect(button, &QPushButton::clicked, this, [this, click] {
    const TSelectionHold hold(AddressFrame);
    (this->*click)();
  });
  return button;
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
  Grid->SetGridActive(tag == kListPresent);
}

bool TDiscountGroupPage::Open() {
  if (Store->Opened) return true;
  try {
    Store->OpenFile(FileName(), false);
  } catch (const std::exception& e) {
    Store->LogError(e, QStringLiteral("OpenFile"));
    return false;
  }
  Grid->Reload();
  return true;
}

void TDiscountGroupPage::Load(const QString& addressId) {
  addressId_ = addressId;
  const QString file = FileName();
  if (file.isEmpty()) {
    ShowListState(kNoAddress);
  } else if (QFileInfo(file).isFile() && Open()) {
    ShowListState(kListPresent);
  } else {
    ShowListState(kListMissing);
  }
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

void TDiscountGroupPage::CreateList() {
  if (FileName().isEmpty() || !Open()) return;
  ShowListState(kListPresent);
  Reimport();  // a new list starts with every predefined group at 0
}

void TDiscountGroupPage::DeleteList() {
  const QString file = FileName();  // the list the user is asked about
  if (MessageDlg(Tr("Moechten Sie die Rabatte fuer diese Adresse loeschen?"), TMsgDlgType::mtConfirmation,
                 {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes)
    return;
  Store->Close();
  Grid->Reload();
  if (!file.isEmpty() && QFileInfo::exists(file)) QFile::remove(file);
  ShowListState(kListMissing);
}

void TDiscountGroupPage::Reimport() {
  if (!ListOpen()) return;
  if (lagerConfig_.Rabattgruppen.IsEmpty()) {
    MessageDlg(Tr("Es sind keine Rabattgruppen vorgegeben.") + QLatin1Char('\n') + Tr("Siehe auch Lagereinstellungen."),
               TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    return;
  }
  Store->UpdateRabattListe(lagerConfig_.Rabattgruppen);
}

void TDiscountGroupPage::CompressClick() {
  if (ListOpen()) Store->CompressRabattListe();
}

void TDiscountGroupPage::AddClick() {
  if (!ListOpen()) return;
  QString key;
  if (!Dialogs().InputQuery(InputRequest{Tr("Neue Rabattgruppe"), Tr("Rabattgruppe"), QString()}, key)) return;
  if (!Store->RabattGrpExists(key)) Store->RabattGrpAppend(key);
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
  Store->Table->Refresh();
}

void TDiscountGroupPage::LoadColumnWidths(const TMemIniFile& ini, const QString& section) {
  Grid->LoadColumnWidths(ini, section);
}

void TDiscountGroupPage::SaveColumnWidths(TMemIniFile& ini, const QString& section) const {
  Grid->SaveColumnWidths(ini, section);
}
