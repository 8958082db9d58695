#pragma once
// Editor of a pair list (key, value) in two columns.
#include <functional>

#include "ValueListEditorFrame.h"

class TDoubleStringListObjectList;

class TDoubleStringsEditorFrame : public TValueListEditorFrame {
 public:
  TDoubleStringsEditorFrame(QWidget* parent, bool keyIsWholeNumber);

  // Shows the list (none clears the grid); the frame does not own it.
  void SetList(TDoubleStringListObjectList* list);
  TDoubleStringListObjectList* List() const;
  // Focuses, scrolls to and selects the row with this key, on its value.
  void SelectKey(const QString& key);
  void SetKeyEditable(bool on);
  void SetValueEditable(bool on);

  bool KeyIsWholeNumber;
  bool ValueIsWholeNumber = false;
  bool ValueIsNumber = false;
  bool CleanKey = false;
  bool UniqueKeys = false;

  using PairCallback = std::function<void(const QString& first, const QString& second)>;
  PairCallback OnSelect;
  PairCallback OnDelete;
  PairCallback OnOpen;

 protected:
  void AddEntry() override;
  void RowSelected(int row) override;
  void RowDeleting(int row) override;
  void RowOpened(int row) override;

 private:
  class PairModel;
  void Notify(const PairCallback& callback, int row) const;
  PairModel* model_;
};
