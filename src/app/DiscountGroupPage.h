#pragma once
// One discount-group page of the main window: the table of one set of
// discount groups (quotes and orders, or commission orders) of the current
// address in a grid, with its six commands. The two pages differ only in
// their folder and the names of their parts.
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QPushButton;
class QWidget;
class TDBAdressViewFrame1;
class TCompareWithStandard;
class TDBGrid;
class TKSRabDatabase;
class TLagerConfig;
class TMemIniFile;

struct TDiscountGroupPageParts {
  const char* folder;  // "001" or "004"
  const char* grid;
  const char* listButton;
  const char* reimportButton;
  const char* exportButton;
  const char* importButton;
  const char* compressButton;
  const char* addButton;
};

class TDiscountGroupPage : public QObject {
 public:
  // Page set-up: builds the grid and the button row on the sheet.
  TDiscountGroupPage(QWidget* sheet, const TDiscountGroupPageParts& parts, const TLagerConfig& lagerConfig);
  ~TDiscountGroupPage() override;  // page tear-down

  std::unique_ptr<TKSRabDatabase> Store;  // RabDB or KommRabDB
  TDBGrid* Grid = nullptr;
  QPushButton* ListButton = nullptr;  // tag 0: no address, 1: create, 2: delete
  QPushButton* ReimportButton = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* ImportButton = nullptr;
  QPushButton* CompressButton = nullptr;
  QPushButton* AddButton = nullptr;
  TCompareWithStandard* Compare = nullptr;  // "Vergleich mit Standard"
  // The address picker: its selection waits while a command of this page
  // runs, so that a command acts on the address it was given for.
  QPointer<TDBAdressViewFrame1> AddressFrame;

  // Shows the list of the address: opened when its file exists.
  void Load(const QString& addressId);
  // Page reset: the table is closed.
  void Reset();
  QString FileName() const;

  void ListButtonClick();
  // False when the list is not open or its groups could not be set.
  bool Reimport();
  void ExportClick();
  void ImportClick();
  void CompressClick();
  void AddClick();

  void LoadColumnWidths(const TMemIniFile& ini, const QString& section);
  void SaveColumnWidths(TMemIniFile& ini, const QString& section) const;

 private:
  QWidget* BuildButtonRow(QWidget* sheet);
  void SetUpComparison();
  void ShowComparison(bool on);
  bool Open(const QString& file);
  bool FollowListFile(bool lastChangeLost);
  void ShowListState(int tag);
  void CreateList();
  void DeleteList();
  bool ListOpen() const;

  const TDiscountGroupPageParts parts_;
  const TLagerConfig& lagerConfig_;
  QString addressId_;
};
