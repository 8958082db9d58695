#pragma once
// Editor of a number list (three numbers per row), such as a quantity scale.
#include <functional>

#include "ValueListEditorFrame.h"

class TFloatFloatFloatObjectList;

class TFloatFloatFloatEditorFrame : public TValueListEditorFrame {
 public:
  explicit TFloatFloatFloatEditorFrame(QWidget* parent);

  // Shows the list (none clears the grid); the frame does not own it.
  void SetList(TFloatFloatFloatObjectList* list);
  TFloatFloatFloatObjectList* List() const;

  bool UniqueFirstNumbers = false;
  // Focuses the entry's row for editing its discount.
  void FocusEntry(int row) { FocusRow(row, 1); }

  using NumbersCallback = std::function<void(double first, double second, double third)>;
  NumbersCallback OnSelect;
  NumbersCallback OnDelete;

 protected:
  void RowSelected(int row) override;
  void RowDeleting(int row) override;

 private:
  class NumbersModel;
  void Notify(const NumbersCallback& callback, int row) const;
  NumbersModel* model_;
};
