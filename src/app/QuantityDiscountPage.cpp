#include "QuantityDiscountPage.h"

#include "PageButton.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "CompareWithStandard.h"
#include "DBAdressViewFrameUnit1.h"
#include "DoubleStringsEditorFrame.h"
#include "ExchangeFileDialog.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "PricingFiles.h"
#include "StandardComparison.h"
#include "TextFile.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
constexpr int kNoAddress = 0;
constexpr int kListMissing = 1;
constexpr int kListPresent = 2;

void ShowError(const QString& text) { MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}); }

// A file that cannot be read is reported and gives no list, so that an
// empty one never takes its place.
bool ReadList(const QString& file, TDoubleStringListObjectList& list) {
  TDoubleStringListObjectList read;
  if (!read.LoadFromFile(file)) {
    MessageDlgFmt(Tr("Die Datei \"%s\" kann nicht gelesen werden."), {file}, TMsgDlgType::mtError,
                  {TMsgDlgBtn::mbOK});
    return false;
  }
  list = std::move(read);
  return true;
}
}  // namespace

TQuantityDiscountPage::TQuantityDiscountPage(QWidget* sheet) : QObject(sheet) {
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(4, 4, 4, 4);
  Panel2 = new QWidget(sheet);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Compare = new TCompareWithStandard(sheet, Tr("ab Menge"), false);
  layout->addWidget(Panel2, 1);
  layout->addWidget(Compare->CheckBox);
  layout->addWidget(Compare->OnlyStandardPanel);
  layout->addWidget(BuildButtonRow(sheet));
  RabMengenEditor = new TDoubleStringsEditorFrame(Panel2, true);
  RabMengenEditor->setObjectName(QStringLiteral("RabMengenEditor"));
  RabMengenEditor->ValueIsWholeNumber = false;
  RabMengenEditor->ValueIsNumber = true;
  RabMengenEditor->SetKeyEditable(false);
  RabMengenEditor->SetShowMoveButtons(false);
  RabMengenEditor->SetList(&RabMengenStrings);
  RabMengenEditor->OnAdd = [this] {
    const TSelectionHold hold(AddressFrame);
    SpeedButton3Click();
  };
  RabMengenEditor->OnChange = [this] {  // RabMengenStringsChange
    MengenModified = true;
    if (RabMengenStrings.Count() != comparedSteps_) Compare->CustomerKeysChanged();
  };
  RabMengenEditor->SetTitles({Tr("ab Menge"), Tr("Rabatt in %")}, {-1, -1});
  SetUpComparison();
  ShowListState(kNoAddress);
}

// The standard tables' steps are only read, never made.
void TQuantityDiscountPage::SetUpComparison() {
  Compare->ReadStandard = [](TStandardComparison& comparison) {
    TDoubleStringListObjectList standard;
    const TSystemEinstellungen* system = SystemEinstellungen();
    const QString file = system ? PricingFilePath(system->AddressDir, QStringLiteral("002"),
                                                  QLatin1String(kDefaultAddressId), QStringLiteral(".MR"))
                                : QString();
    if (QFileInfo(file).isFile() && !standard.LoadFromFile(file))
      throw std::runtime_error(file.toStdString());
    SetStandardQuantitySteps(comparison, standard);
  };
  Compare->ReadCustomerKeys = [this] {
    comparedSteps_ = RabMengenStrings.Count();
    return QuantityKeys(RabMengenStrings);
  };
  TValueListModel* model = RabMengenEditor->Model();
  model->SetExtraColumns(TCompareWithStandard::ColumnTitles(), [this](int row, int column) {
    const TDoubleString& step = *RabMengenStrings.Items(row);
    return Compare->ColumnText(column, QuantityKey(step.First), step.Second);
  });
  model->RowBackground = [this](int row) {
    return Compare->RowBackground(QuantityKey(RabMengenStrings.Items(row)->First));
  };
  Compare->OnShow = [this](bool on) { ShowComparison(on); };
  ShowComparison(false);
}

void TQuantityDiscountPage::ShowComparison(bool on) {
  for (int c = 0; c < TCompareWithStandard::kColumns; ++c) RabMengenEditor->Grid->setColumnHidden(2 + c, !on);
  RabMengenEditor->Grid->viewport()->update();
}

// The editor goes before the list it shows.
TQuantityDiscountPage::~TQuantityDiscountPage() {
  RabMengenEditor->SetList(nullptr);
  delete RabMengenEditor;
}

QWidget* TQuantityDiscountPage::BuildButtonRow(QWidget* sheet) {
  auto* row = new QWidget(sheet);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  Button1 = AddPageButton(row, "Button1", "Liste anlegen", &AddressFrame, [this] { Button1Click(); });
  Button2 = AddPageButton(row, "Button2", "Export", &AddressFrame, [this] { Button2Click(); });
  Button3 = AddPageButton(row, "Button3", "Import", &AddressFrame, [this] { Button3Click(); });
  layout->addStretch();
  return row;
}

QString TQuantityDiscountPage::FileName() const {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system && !addressId_.isEmpty()
             ? PricingFilePath(system->AddressDir, QStringLiteral("002"), addressId_, QStringLiteral(".MR"))
             : QString();
}

void TQuantityDiscountPage::ShowListState(int tag) {
  Button1->setProperty("tag", tag);
  Button1->setText(tag == kListPresent ? Tr("Liste loeschen") : Tr("Liste anlegen"));
  RabMengenEditor->SetList(&RabMengenStrings);
  RabMengenEditor->SetEditable(tag == kListPresent);
  Compare->Follow(addressId_);
}

void TQuantityDiscountPage::Load(const QString& addressId) {
  addressId_ = addressId;
  const QString file = FileName();
  if (file.isEmpty()) {
    ShowListState(kNoAddress);
  } else if (QFileInfo::exists(file)) {
    ShowListState(ReadList(file, RabMengenStrings) ? kListPresent : kNoAddress);
  } else {
    ShowListState(kListMissing);
  }
  MengenModified = false;
}

void TQuantityDiscountPage::Reset() {
  RabMengenStrings.Clear();
  addressId_.clear();
  ShowListState(kNoAddress);
  MengenModified = false;
}

// A failed write keeps the flag, so the list is offered to the next write-back.
bool TQuantityDiscountPage::Save(const QString& file) {
  QString why;
  if (RabMengenStrings.SaveToFile(file, &why)) return true;
  ShowError(FileNotWrittenText(file, why));
  return false;
}

void TQuantityDiscountPage::WriteBack() {
  const QString file = FileName();
  if (!MengenModified || file.isEmpty()) return;
  if (Save(file)) MengenModified = false;
}

void TQuantityDiscountPage::PostPendingEdit() { RabMengenEditor->PostPendingEdit(); }

void TQuantityDiscountPage::Button1Click() {
  const int tag = Button1->property("tag").toInt();
  if (tag == kListMissing) CreateList();
  if (tag == kListPresent) DeleteList();
}

void TQuantityDiscountPage::CreateList() {
  RabMengenStrings.Clear();
  if (Save(FileName())) ShowListState(kListPresent);
  else ShowListState(kListMissing);
}

// A deleted list is no longer changed: without clearing the flag the next
// write-back would bring it back as an empty file.
void TQuantityDiscountPage::DeleteList() {
  if (MessageDlg(Tr("Moechten Sie die Mengenrabatte fuer diese Adresse loeschen?"), TMsgDlgType::mtConfirmation,
                 {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes)
    return;
  const QString file = FileName();
  RabMengenStrings.Clear();
  MengenModified = false;
  if (QFileInfo::exists(file) && !QFile::remove(file))
    MessageDlgFmt(Tr("Die Liste \"%s\" konnte nicht geloescht werden."), {file}, TMsgDlgType::mtError,
                  {TMsgDlgBtn::mbOK});
  ShowListState(kListMissing);
}

// The quantity as typed: a plain number greater than 0, nothing guessed.
bool TQuantityDiscountPage::ReadQuantity(double& quantity) {
  QString text;
  if (!Dialogs().InputQuery(InputRequest{Tr("Neuer Mengenrabatt"), Tr("Menge"), QString()}, text)) return false;
  if (!ReadNumberStrict(text, quantity) || quantity <= 0) {
    ShowError(Tr("Geben Sie eine Menge groesser 0 an."));
    return false;
  }
  return true;
}

void TQuantityDiscountPage::SpeedButton3Click() {
  if (!RabMengenEditor->isEnabled()) return;
  double quantity = 0;
  if (!ReadQuantity(quantity)) return;
  const QString key = FormatGeneralNumber(quantity);
  if (RabMengenStrings.ContainsFirst(key)) {
    ShowError(Tr("Eine solche Menge ist bereits vorhanden."));
    return;
  }
  RabMengenStrings.AddSorted(quantity, QStringLiteral("0"));
  Compare->CustomerKeysChanged();
  RabMengenEditor->RowCountChanged();
  RabMengenEditor->SelectKey(key);
  MengenModified = true;
}

void TQuantityDiscountPage::Button2Click() {
  if (!RabMengenEditor->isEnabled()) return;
  const QString file = Dialogs().SaveFileName(ExchangeFileDialog(false));
  if (!file.isEmpty()) Save(file);
}

void TQuantityDiscountPage::Button3Click() {
  if (!RabMengenEditor->isEnabled()) return;
  const QString file = Dialogs().OpenFileName(ExchangeFileDialog(true));
  if (file.isEmpty()) return;
  if (!ReadList(file, RabMengenStrings)) return;
  RabMengenEditor->SetList(&RabMengenStrings);
  Compare->CustomerKeysChanged();
  MengenModified = true;
}
