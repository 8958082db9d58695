#include "CompareWithStandard.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "MemIniFile.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "PricingFiles.h"
#include "SelectionWindowParts.h"
#include "Translation.h"

namespace {
const char* const kSection = "MOD00100";
enum OnlyStandardColumn { ocKey, ocDescription, ocStandard, ocMark, ocCount };
}  // namespace

// The standard's rows that the customer's list lacks; read from the
// comparison only for the rows shown.
class TCompareWithStandard::OnlyStandardModel : public QAbstractTableModel {
 public:
  OnlyStandardModel(const TStandardComparison& comparison, const QString& keyTitle, QObject* parent)
      : QAbstractTableModel(parent), comparison_(comparison), keyTitle_(keyTitle) {}

  void Refresh() {
    beginResetModel();
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : comparison_.OnlyStandardCount();
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : ocCount; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    if (role == Qt::BackgroundRole) return OnlyStandardColour();
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
      case ocKey: return comparison_.OnlyStandardDetails(index.row()).Key;
      case ocDescription: return comparison_.OnlyStandardDetails(index.row()).Description;
      case ocStandard: {
        const QVariant& value = comparison_.OnlyStandardDetails(index.row()).Value;
        return value.isNull() ? QString() : FormatGeneralNumber(DiscountOf(value));
      }
      default: return Tr("nur Standard");
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
      case ocKey: return keyTitle_;
      case ocDescription: return Tr("Bezeichnung");
      case ocStandard: return Tr("Standard in %");
      default: return Tr("Vergleich");
    }
  }

 private:
  const TStandardComparison& comparison_;
  QString keyTitle_;
};

TCompareWithStandard::TCompareWithStandard(QWidget* sheet, const QString& keyTitle, bool withDescription)
    : QObject(sheet), sheet_(sheet), model_(new OnlyStandardModel(Comparison, keyTitle, this)) {
  CheckBox = new QCheckBox(Tr("&Vergleich mit Standard"), sheet);
  CheckBox->setObjectName(QStringLiteral("VergleichMitStandard"));
  connect(CheckBox, &QCheckBox::toggled, this, [this](bool on) { Toggled(on); });
  OnlyStandardPanel = new QWidget(sheet);
  OnlyStandardPanel->setObjectName(QStringLiteral("NurStandard"));
  auto* layout = new QVBoxLayout(OnlyStandardPanel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(new QLabel(Tr("Nur in der Standardtabelle:"), OnlyStandardPanel));
  OnlyStandardList = NewReadOnlyListView(OnlyStandardPanel, "NurStandardListe");
  OnlyStandardList->setModel(model_);
  OnlyStandardList->setColumnHidden(ocDescription, !withDescription);
  // A few rows under the page's own list, which keeps the room.
  OnlyStandardList->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  OnlyStandardList->setFixedHeight(OnlyStandardList->horizontalHeader()->sizeHint().height() +
                                   3 * OnlyStandardList->verticalHeader()->defaultSectionSize() + 4);
  layout->addWidget(OnlyStandardList);
  OnlyStandardPanel->hide();
}

bool TCompareWithStandard::StandardTables() const { return addressId_ == QLatin1String(kDefaultAddressId); }

QString TCompareWithStandard::SettingKey() const {
  return QStringLiteral("VergleichMitStandard.") + sheet_->objectName();
}

// In the standard tables there is nothing to compare with: the box is off
// and disabled there, and shows the clerk's choice again afterwards.
void TCompareWithStandard::ShowChoice() {
  const QSignalBlocker quiet(CheckBox);
  CheckBox->setEnabled(!StandardTables());
  CheckBox->setChecked(wanted_ && !StandardTables());
}

void TCompareWithStandard::Follow(const QString& addressId) {
  addressId_ = addressId;
  ShowChoice();
  Refresh();
}

void TCompareWithStandard::Toggled(bool on) {
  wanted_ = on;
  Refresh();
}

// A standard that cannot be read is reported and the comparison goes off:
// every row would otherwise look like one only the customer has.
bool TCompareWithStandard::ReadLists() {
  try {
    if (ReadStandard) ReadStandard(Comparison);
    Comparison.SetCustomerKeys(ReadCustomerKeys ? ReadCustomerKeys() : std::vector<QString>{});
    return true;
  } catch (const std::exception& e) {
    Comparison.Clear();
    wanted_ = false;
    ShowChoice();
    MessageDlg(Tr("Die Standardtabelle kann nicht gelesen werden.") + QLatin1Char('\n') + ReportException::Of(e).message,
               TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return false;
  }
}

void TCompareWithStandard::Refresh() {
  if (!Comparing() || !ReadLists()) Comparison.Clear();
  model_->Refresh();
  ShowOnlyStandard();
  if (OnShow) OnShow(Comparing());
}

// Shown only when the standard has rows the customer lacks.
void TCompareWithStandard::ShowOnlyStandard() {
  OnlyStandardPanel->setVisible(Comparing() && Comparison.OnlyStandardCount() > 0);
}

void TCompareWithStandard::CustomerKeysChanged() {
  if (!Comparing()) return;
  try {
    Comparison.SetCustomerKeys(ReadCustomerKeys ? ReadCustomerKeys() : std::vector<QString>{});
  } catch (const std::exception& e) {
    MessageDlg(ReportException::Of(e).message, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  }
  model_->Refresh();
  ShowOnlyStandard();
  if (OnShow) OnShow(true);
}

void TCompareWithStandard::ReadSetting(const TMemIniFile& ini) {
  wanted_ = ini.ReadInteger(QLatin1String(kSection), SettingKey(), 0) != 0;
  ShowChoice();
  Refresh();
}

void TCompareWithStandard::WriteSetting(TMemIniFile& ini) const {
  ini.WriteInteger(QLatin1String(kSection), SettingKey(), wanted_ ? 1 : 0);
}

QStringList TCompareWithStandard::ColumnTitles() {
  return {Tr("Standard in %"), Tr("Differenz in Prozentpunkten"), Tr("Vergleich")};
}

QString TCompareWithStandard::ColumnText(int column, const QString& key, const QVariant& customerValue) const {
  if (!Comparing()) return QString();
  switch (column) {
    case 0: return Comparison.StandardText(key);
    case 1: return Comparison.DifferenceText(key, customerValue);
    default: return Comparison.MarkText(key);
  }
}

QVariant TCompareWithStandard::RowBackground(const QString& key) const {
  return Comparing() && !Comparison.Contains(key) ? QVariant(OnlyCustomerColour()) : QVariant();
}

std::vector<TDBGridColumn> TCompareWithStandard::GridColumns(int keyColumn, int valueColumn) const {
  std::vector<TDBGridColumn> columns;
  const QStringList titles = ColumnTitles();
  for (int c = 0; c < kColumns; ++c)
    columns.push_back({.FieldName = QString(),
                       .Title = titles[c], .ReadOnly = true, .DefaultWidth = c == 1 ? 180 : 100,
                       .Alignment = c == 2 ? Qt::AlignLeft : Qt::AlignRight,
                       .RowText = [this, c, keyColumn, valueColumn](const QVariantList& row) {
                         return ColumnText(c, row.value(keyColumn).toString(), row.value(valueColumn));
                       }});
  return columns;
}
