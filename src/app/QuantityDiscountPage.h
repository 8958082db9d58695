#pragma once
// The quantity-discount page of the main window: the steps (from this
// quantity on, this discount in percent) of the current address, held in
// memory and written to its ".MR" file when the page or the address is left.
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

#include "CmnCustomObjectLists.h"

class QPushButton;
class TCompareWithStandard;
class QWidget;
class TDBAdressViewFrame1;
class TDoubleStringsEditorFrame;

class TQuantityDiscountPage : public QObject {
 public:
  explicit TQuantityDiscountPage(QWidget* sheet);  // page set-up
  ~TQuantityDiscountPage() override;                // page tear-down

  TDoubleStringListObjectList RabMengenStrings;
  TDoubleStringsEditorFrame* RabMengenEditor = nullptr;
  QPushButton* Button1 = nullptr;  // "Liste anlegen" / "Liste loeschen" by its tag
  QPushButton* Button2 = nullptr;  // "Export"
  QPushButton* Button3 = nullptr;  // "Import"
  QWidget* Panel2 = nullptr;
  TCompareWithStandard* Compare = nullptr;  // "Vergleich mit Standard"
  bool MengenModified = false;
  // The address picker: its selection waits while a command of this page
  // runs, so that a command acts on the address it was pressed for.
  QPointer<TDBAdressViewFrame1> AddressFrame;

  // LoadMengenrabatte: the list of the address, when its file exists.
  void Load(const QString& addressId);
  // Page reset: the list is emptied and no address is kept.
  void Reset();
  // Page write-back: the list goes to the address's file when it was changed.
  void WriteBack();
  // A value still open in the editor is taken (closing the window).
  void PostPendingEdit();
  QString FileName() const;

  void Button1Click();
  void Button2Click();  // export
  void Button3Click();  // import
  void SpeedButton3Click();  // add a step; also the numeric-keypad plus key

 private:
  QWidget* BuildButtonRow(QWidget* sheet);
  void SetUpComparison();
  void ShowComparison(bool on);
  void ShowListState(int tag);
  void CreateList();
  void DeleteList();
  bool Save(const QString& file);
  bool ReadQuantity(double& quantity);

  QString addressId_;
  int comparedSteps_ = -1;  // the step count the comparison last saw
};
