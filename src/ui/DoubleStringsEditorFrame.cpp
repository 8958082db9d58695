#include "DoubleStringsEditorFrame.h"

#include "CmnCustomObjectLists.h"
#include "NumberText.h"
#include "Translation.h"

class TDoubleStringsEditorFrame::PairModel : public TValueListModel {
 public:
  explicit PairModel(TDoubleStringsEditorFrame& frame) : TValueListModel(2, nullptr), frame_(frame) {}

  TDoubleStringListObjectList* List = nullptr;

  bool HasList() const override { return List != nullptr; }
  int Count() const override { return List ? List->Count() : 0; }
  QString CellText(int row, int column) const override {
    const TDoubleString& entry = *List->Items(row);
    return column == 0 ? entry.First : entry.Second;
  }
  bool TakeText(int row, int column, const QString& text) override {
    return column == 0 ? TakeKey(row, text) : TakeValue(row, text);
  }
  void Exchange(int row, int other) override {
    std::swap(*List->Items(row), *List->Items(other));
  }
  void Remove(int row) override { List->Delete(row); }

 private:
  bool KeyElsewhere(int row, const QString& key) const {
    for (int i = 0; i < List->Count(); ++i)
      if (i != row && List->Items(i)->First == key) return true;
    return false;
  }

  bool TakeKey(int row, const QString& text) {
    QString key = text;
    if (frame_.KeyIsWholeNumber) {
      double number = 0;
      if (!ReadTypedNumber(text, true, number) || number < 0) return false;
      key = FormatGeneralNumber(number);
    } else if (frame_.CleanKey) {
      key.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    }
    if (frame_.UniqueKeys && !key.isEmpty() && KeyElsewhere(row, key)) {
      RefuseDuplicateKey();
      return false;
    }
    List->Items(row)->First = key;
    return true;
  }

  bool TakeValue(int row, const QString& text) {
    QString value = text;
    if (frame_.ValueIsWholeNumber || frame_.ValueIsNumber) {
      double number = 0;
      if (!ReadTypedNumber(text, frame_.ValueIsWholeNumber, number)) return false;
      if (frame_.ValueIsWholeNumber ? number < 0 : number <= -1) return false;
      value = FormatGeneralNumber(number);
    }
    List->Items(row)->Second = value;
    return true;
  }

  TDoubleStringsEditorFrame& frame_;
};

TDoubleStringsEditorFrame::TDoubleStringsEditorFrame(QWidget* parent, bool keyIsWholeNumber)
    : TValueListEditorFrame(parent, new PairModel(*this), {100, 200}), KeyIsWholeNumber(keyIsWholeNumber) {
  model_ = static_cast<PairModel*>(Model());
  setObjectName(QStringLiteral("TDoubleStringsEditorFrame"));
}

void TDoubleStringsEditorFrame::SetList(TDoubleStringListObjectList* list) {
  model_->List = list;
  model_->Refresh();
}

TDoubleStringListObjectList* TDoubleStringsEditorFrame::List() const { return model_->List; }

void TDoubleStringsEditorFrame::SetKeyEditable(bool on) { model_->SetEditable(0, on); }
void TDoubleStringsEditorFrame::SetValueEditable(bool on) { model_->SetEditable(1, on); }

void TDoubleStringsEditorFrame::SelectKey(const QString& key) {
  const int row = List() ? List()->IndexOfFirst(key) : -1;
  if (row >= 0) FocusRow(row, 1);
}

void TDoubleStringsEditorFrame::AddEntry() {
  TDoubleStringListObjectList& list = *List();
  const QString key = KeyIsWholeNumber ? QString::number(list.Count() + 1) : Tr("leer");
  const QString value = ValueIsNumber || ValueIsWholeNumber ? QStringLiteral("0") : Tr("leer");
  list.Add(key, value);
  model_->Refresh();
  FocusRow(list.Count() - 1, 0);
  Changed();
}

void TDoubleStringsEditorFrame::Notify(const PairCallback& callback, int row) const {
  if (callback && List() && row < List()->Count()) callback(List()->Items(row)->First, List()->Items(row)->Second);
}

void TDoubleStringsEditorFrame::RowSelected(int row) { Notify(OnSelect, row); }
void TDoubleStringsEditorFrame::RowDeleting(int row) { Notify(OnDelete, row); }
void TDoubleStringsEditorFrame::RowOpened(int row) { Notify(OnOpen, row); }
