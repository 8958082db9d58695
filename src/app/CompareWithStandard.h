#pragma once
// "Vergleich mit Standard" on a page: a check box that adds read-only
// columns with the standard's value and the difference in percentage points
// beside the customer's value, marks the rows only the customer has, and
// lists under the page the rows only the standard has. It is off in the
// standard-tables mode; the clerk's choice is kept in the window settings file.
#include <QColor>
#include <QObject>
#include <functional>
#include <vector>

#include "DBGridModel.h"
#include "StandardComparison.h"

class QCheckBox;
class QTableView;
class QWidget;
class TMemIniFile;

class TCompareWithStandard : public QObject {
 public:
  static constexpr int kColumns = 3;  // standard, difference, mark

  // The settings key is "VergleichMitStandard." + the sheet's name; the list
  // of standard-only rows shows their key under keyTitle.
  TCompareWithStandard(QWidget* sheet, const QString& keyTitle, bool withDescription);

  QCheckBox* CheckBox = nullptr;
  QWidget* OnlyStandardPanel = nullptr;  // shown while comparing, when the standard has rows the customer lacks
  QTableView* OnlyStandardList = nullptr;
  TStandardComparison Comparison;

  // The page's two lists; reading them may throw.
  std::function<void(TStandardComparison&)> ReadStandard;
  std::function<std::vector<QString>()> ReadCustomerKeys;
  // The page shows or hides its comparison columns.
  std::function<void(bool comparing)> OnShow;

  bool Comparing() const { return wanted_ && !addressId_.isEmpty() && !StandardTables(); }
  // The page now shows this address ("" none, "__DEFAULT__" the standard tables).
  void Follow(const QString& addressId);
  // After a command added or removed keys of the customer's list.
  void CustomerKeysChanged();

  void ReadSetting(const TMemIniFile& ini);
  void WriteSetting(TMemIniFile& ini) const;

  // The comparison columns of a grid, after its own; keyColumn and
  // valueColumn are where its row values hold the key and the discount.
  std::vector<TDBGridColumn> GridColumns(int keyColumn, int valueColumn) const;
  static QStringList ColumnTitles();
  QString ColumnText(int column, const QString& key, const QVariant& customerValue) const;
  QVariant RowBackground(const QString& key) const;  // marks a row only the customer has
  static QColor OnlyCustomerColour() { return QColor(255, 228, 196); }
  static QColor OnlyStandardColour() { return QColor(204, 228, 255); }

 private:
  class OnlyStandardModel;
  bool StandardTables() const;
  QString SettingKey() const;
  void ShowChoice();
  void Toggled(bool on);
  void Refresh();
  void ShowOnlyStandard();
  bool ReadLists();

  QWidget* sheet_;
  bool wanted_ = false;  // the clerk's choice; kept while the standard tables are shown
  QString addressId_;
  OnlyStandardModel* model_;
};
