#include "FloatFloatFloatEditorFrame.h"

#include "CmnCustomObjectLists.h"
#include "NumberText.h"

namespace {
// The number of a column, for reading and for writing.
template <class Entry>
auto& Field(Entry& entry, int column) {
  return column == 0 ? entry.First : column == 1 ? entry.Second : entry.Third;
}
}  // namespace

class TFloatFloatFloatEditorFrame::NumbersModel : public TValueListModel {
 public:
  explicit NumbersModel(TFloatFloatFloatEditorFrame& frame) : TValueListModel(3, nullptr), frame_(frame) {}

  TFloatFloatFloatObjectList* List = nullptr;

  bool HasList() const override { return List != nullptr; }
  int Count() const override { return List ? List->Count() : 0; }
  QString CellText(int row, int column) const override { return FormatGeneralNumber(Field(*List->Items(row), column)); }
  bool TakeText(int row, int column, const QString& text) override {
    double number = 0;
    if (!ReadTypedNumber(text, false, number) || number <= -1) return false;
    if (column == 0 && frame_.UniqueFirstNumbers && FirstElsewhere(row, number)) {
      RefuseDuplicateKey();
      return false;
    }
    Field(*List->Items(row), column) = number;
    return true;
  }
  void Exchange(int row, int other) override { std::swap(*List->Items(row), *List->Items(other)); }
  void Remove(int row) override { List->Delete(row); }

 private:
  bool FirstElsewhere(int row, double number) const {
    for (int i = 0; i < List->Count(); ++i)
      if (i != row && List->Items(i)->First == number) return true;
    return false;
  }

  TFloatFloatFloatEditorFrame& frame_;
};

TFloatFloatFloatEditorFrame::TFloatFloatFloatEditorFrame(QWidget* parent)
    : TValueListEditorFrame(parent, new NumbersModel(*this), {90, 90, 90}) {
  model_ = static_cast<NumbersModel*>(Model());
  setObjectName(QStringLiteral("TFloatFloatFloatEditorFrame"));
}

void TFloatFloatFloatEditorFrame::SetList(TFloatFloatFloatObjectList* list) {
  model_->List = list;
  model_->Refresh();
}

TFloatFloatFloatObjectList* TFloatFloatFloatEditorFrame::List() const { return model_->List; }

void TFloatFloatFloatEditorFrame::Notify(const NumbersCallback& callback, int row) const {
  if (!callback || !List() || row >= List()->Count()) return;
  const TFloatFloatFloat& entry = *List()->Items(row);
  callback(entry.First, entry.Second, entry.Third);
}

void TFloatFloatFloatEditorFrame::RowSelected(int row) { Notify(OnSelect, row); }
void TFloatFloatFloatEditorFrame::RowDeleting(int row) { Notify(OnDelete, row); }
