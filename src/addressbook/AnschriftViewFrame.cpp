#include "AnschriftViewFrame.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Format.h"
#include "Msgdlg.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
// One picture per kind of postal address, the same kind always the same.
QIcon KindIcon(const QString& kind, bool main) {
  static const QStyle::StandardPixmap kKinds[] = {QStyle::SP_FileIcon, QStyle::SP_DirIcon,
                                                  QStyle::SP_DriveNetIcon, QStyle::SP_ComputerIcon};
  QStyle* style = QApplication::style();
  if (main) return style->standardIcon(QStyle::SP_DirHomeIcon);
  return style->standardIcon(kKinds[qHash(kind.trimmed().toUpper()) % std::size(kKinds)]);
}

bool IsReturn(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}
}  // namespace

TAnschriftViewFrame::TAnschriftViewFrame(QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("AnschriftViewFrame"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Tree = new QTreeWidget(this);
  Tree->setObjectName(QStringLiteral("VST"));
  Tree->setColumnCount(1);
  Tree->setHeaderLabels({Tr("Anschriften")});
  Tree->setRootIsDecorated(false);
  Tree->header()->setStretchLastSection(true);
  layout->addWidget(Tree);
  InitFrame(this);
}

void TAnschriftViewFrame::Fill(const TCustomerAddress& address) {
  Tree->clear();
  for (int i = 0; i < address.Anschriften.Count(); ++i) {
    const TCustomerAnschrift& anschrift = *address.Anschriften[i];
    auto* item = new QTreeWidgetItem(Tree, {address.BuildAnschriftText(i)});
    item->setIcon(0, KindIcon(anschrift.Aart, anschrift.Std));
    if (anschrift.Std) {
      QFont bold = Tree->font();
      bold.setBold(true);
      item->setFont(0, bold);
    }
  }
}

int TAnschriftViewFrame::SelectedIndex() const {
  QTreeWidgetItem* item = Tree->currentItem();
  return item && item->isSelected() ? Tree->indexOfTopLevelItem(item) : -1;
}

int TAnschriftViewFrame::ChooseAnschrift(const TCustomerAddress& address, const QString& name, QWidget* parent,
                                         int left, int top) {
  TAnschriftViewForm form(address, name, parent);
  if (left >= 0 && top >= 0) form.move(left, top);
  else InitChildForm(&form, false);
  return form.exec() == mrOk ? form.Chosen : -1;
}

TAnschriftViewForm::TAnschriftViewForm(const TCustomerAddress& address, const QString& name, QWidget* parent)
    : TDefaultForm(parent), prompt_(FormatText(Tr("Waehlen Sie eine Anschrift fuer \"%s\"."), {name})) {
  setObjectName(QStringLiteral("AnschriftViewForm"));
  Controls = TMakeDefaultForm::Furnish(*this, TFormBorderStyle::bsSizeable);
  setWindowTitle(prompt_);
  setModal(true);
  auto* layout = new QVBoxLayout(Controls.Panel);
  layout->setContentsMargins(4, 4, 4, 0);
  Frame = new TAnschriftViewFrame(Controls.Panel);
  Frame->Fill(address);
  layout->addWidget(Frame);
  Frame->Tree->installEventFilter(this);
  connect(Frame->Tree, &QTreeWidget::itemDoubleClicked, this, &TAnschriftViewForm::TryAccept);
  // "Uebernehmen" takes only a selected entry.
  disconnect(Controls.OkButton, &QPushButton::clicked, this, nullptr);
  connect(Controls.OkButton, &QPushButton::clicked, this, &TAnschriftViewForm::TryAccept);
}

void TAnschriftViewForm::TryAccept() {
  const int index = Frame->SelectedIndex();
  if (index < 0) {
    MessageDlg(prompt_, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
    return;
  }
  Chosen = index;
  done(mrOk);
}

bool TAnschriftViewForm::eventFilter(QObject* watched, QEvent* event) {
  if (Frame && watched == Frame->Tree && IsReturn(event)) {
    TryAccept();
    return true;
  }
  return TDefaultForm::eventFilter(watched, event);
}

void TAnschriftViewForm::keyPressEvent(QKeyEvent* event) {
  if (IsReturn(event)) return TryAccept();
  TDefaultForm::keyPressEvent(event);
}
