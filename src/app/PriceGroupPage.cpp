#include "PriceGroupPage.h"

#include "PageButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "DBAdressViewFrameUnit1.h"
#include "KSPreisgruppe.h"
#include "Msgdlg.h"
#include "PricingFiles.h"
#include "TextFile.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
constexpr int kNoAddress = 0;  // also: a file that exists but cannot be read
constexpr int kListMissing = 1;
constexpr int kListPresent = 2;
constexpr int kGroupCount = 5;
constexpr int kGroupRole = Qt::UserRole;  // the node's price group

QString PriceGroupFolder() {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system ? system->AddressDir + QStringLiteral("006") : QString();
}

QString CatalogueAreaDir() {
  const TSystemEinstellungen* system = SystemEinstellungen();
  return system ? system->AreaDir(TAreaDir::Kataloge) : QString();
}

// Item index of a drop-down list for a group; none for a group outside 1 to 5.
int GroupIndex(qint32 group) { return group >= 1 && group <= kGroupCount ? group - 1 : -1; }

// The group chosen in a list; a list without a choice keeps the stored
// group, so a value the page cannot show is never turned into another.
qint32 ChosenGroup(const QComboBox* list, qint32 stored) {
  return list->currentIndex() >= 0 ? list->currentIndex() + 1 : stored;
}

QLabel* HeaderBar(const QString& caption, const char* name, QWidget* parent) {
  auto* bar = new QLabel(caption, parent);
  bar->setObjectName(QLatin1String(name));
  bar->setProperty("tag", 5);
  bar->setStyleSheet(QStringLiteral("color: white; font-weight: bold; padding: 3px;"));
  return bar;
}

QComboBox* GroupList(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QLatin1String(name));
  list->addItems({Tr("Verkaufspreis 1"), Tr("Verkaufspreis 2"), Tr("Verkaufspreis 3"), Tr("Verkaufspreis 4"),
                  Tr("Verkaufspreis 5")});
  return list;
}

// The tree's in-place editing goes through the page's handlers.
class TGroupChoiceDelegate : public QStyledItemDelegate {
 public:
  explicit TGroupChoiceDelegate(TPriceGroupPage* page, QTreeWidget* tree)
      : QStyledItemDelegate(tree), page_(page), tree_(tree) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    if (!page_->vstPgrpKatalogEditing(Node(index), index.column())) return nullptr;
    QComboBox* editor = page_->vstPgrpKatalogCreateEditor(parent);
    // A choice from the list counts at once, as a typed text would on Enter.
    auto* self = const_cast<TGroupChoiceDelegate*>(this);
    connect(editor, &QComboBox::activated, self, [self, editor] {
      emit self->commitData(editor);
      emit self->closeEditor(editor);
    });
    return editor;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* list = static_cast<QComboBox*>(editor);
    list->setCurrentIndex(list->findText(index.data().toString()));
  }
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    page_->vstPgrpKatalogNewText(Node(index), index.column(), static_cast<QComboBox*>(editor)->currentText());
    page_->vstPgrpKatalogEdited();
  }

 private:
  QTreeWidgetItem* Node(const QModelIndex& index) const { return tree_->topLevelItem(index.row()); }
  TPriceGroupPage* page_;
  QTreeWidget* tree_;
};
}  // namespace

TPriceGroupPage::TPriceGroupPage(QWidget* sheet) : QObject(sheet), PreisgruppeObj(std::make_unique<TKSPreisgruppe>()) {
  KatalogNamen = CatalogueDirectoryNames(CatalogueAreaDir());
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* panels = new QHBoxLayout;
  panels->addWidget(BuildKatalogPanel(sheet), 1);
  panels->addWidget(BuildLagerPanel(sheet), 1);
  layout->addLayout(panels, 1);
  auto* row = new QWidget(sheet);
  auto* rowLayout = new QHBoxLayout(row);
  rowLayout->setContentsMargins(0, 0, 0, 0);
  btPreisgrCreate = AddPageButton(row, "btPreisgrCreate", "Liste anlegen", &AddressFrame, [this] { btPreisgrCreateClick(); });
  rowLayout->addStretch();
  layout->addWidget(row);
  // The window's colour scheme was applied before the pages were made.
  ApplyColorScheme(sheet);
  InitNodes();
  ShowListState(kNoAddress);
}

TPriceGroupPage::~TPriceGroupPage() = default;

QWidget* TPriceGroupPage::BuildKatalogPanel(QWidget* sheet) {
  TntPanel5 = new QWidget(sheet);
  TntPanel5->setObjectName(QStringLiteral("TntPanel5"));
  auto* layout = new QVBoxLayout(TntPanel5);
  layout->setContentsMargins(0, 0, 0, 0);
  TntPanel6 = HeaderBar(Tr("Kataloge"), "TntPanel6", TntPanel5);
  layout->addWidget(TntPanel6);
  cbPgrpKatalog = new QCheckBox(Tr("Spezielle Preisgruppe fuer Artikel aus Katalogen"), TntPanel5);
  cbPgrpKatalog->setObjectName(QStringLiteral("cbPgrpKatalog"));
  connect(cbPgrpKatalog, &QCheckBox::clicked, this, &TPriceGroupPage::cbPgrpKatalogClick);
  layout->addWidget(cbPgrpKatalog);
  auto* choice = new QHBoxLayout;
  lbPgrpKatalog1 = new QLabel(Tr("Preisgruppe"), TntPanel5);
  lbPgrpKatalog1->setObjectName(QStringLiteral("lbPgrpKatalog1"));
  cbbPgrpKatalog = GroupList("cbbPgrpKatalog", TntPanel5);
  connect(cbbPgrpKatalog, &QComboBox::activated, this, &TPriceGroupPage::cbbPgrpKatalogSelect);
  choice->addWidget(lbPgrpKatalog1);
  choice->addWidget(cbbPgrpKatalog, 1);
  layout->addLayout(choice);
  TntLabel11 = new QLabel(Tr("Preisgruppe je Katalog festlegen"), TntPanel5);
  TntLabel11->setObjectName(QStringLiteral("TntLabel11"));
  layout->addWidget(TntLabel11);
  BuildTree(TntPanel5);
  layout->addWidget(vstPgrpKatalog, 1);
  return TntPanel5;
}

QWidget* TPriceGroupPage::BuildLagerPanel(QWidget* sheet) {
  TntPanel3 = new QWidget(sheet);
  TntPanel3->setObjectName(QStringLiteral("TntPanel3"));
  auto* layout = new QVBoxLayout(TntPanel3);
  layout->setContentsMargins(0, 0, 0, 0);
  TntPanel4 = HeaderBar(Tr("Lager"), "TntPanel4", TntPanel3);
  layout->addWidget(TntPanel4);
  cbPrgpLager = new QCheckBox(Tr("Spezielle Preisgruppe fuer Artikel aus dem Lager"), TntPanel3);
  cbPrgpLager->setObjectName(QStringLiteral("cbPrgpLager"));
  connect(cbPrgpLager, &QCheckBox::clicked, this, &TPriceGroupPage::cbPrgpLagerClick);
  layout->addWidget(cbPrgpLager);
  auto* choice = new QHBoxLayout;
  LbPrgpLager = new QLabel(Tr("Preisgruppe"), TntPanel3);
  LbPrgpLager->setObjectName(QStringLiteral("LbPrgpLager"));
  cbbPrgpLager = GroupList("cbbPrgpLager", TntPanel3);
  connect(cbbPrgpLager, &QComboBox::activated, this, &TPriceGroupPage::cbbPgrpKatalogSelect);
  choice->addWidget(LbPrgpLager);
  choice->addWidget(cbbPrgpLager, 1);
  layout->addLayout(choice);
  layout->addStretch(1);
  return TntPanel3;
}

// One row per catalogue directory, with a check box; the group is chosen in
// place in column 1 as soon as its cell gets the focus (the view never
// starts a second edit while one runs).
void TPriceGroupPage::BuildTree(QWidget* parent) {
  vstPgrpKatalog = new QTreeWidget(parent);
  vstPgrpKatalog->setObjectName(QStringLiteral("vstPgrpKatalog"));
  vstPgrpKatalog->setColumnCount(2);
  vstPgrpKatalog->setHeaderLabels({Tr("Katalog"), Tr("Preisgruppe")});
  vstPgrpKatalog->setColumnWidth(0, 150);
  vstPgrpKatalog->setColumnWidth(1, 150);
  vstPgrpKatalog->header()->setSectionsMovable(true);
  vstPgrpKatalog->header()->setStretchLastSection(false);
  vstPgrpKatalog->setRootIsDecorated(false);
  vstPgrpKatalog->setUniformRowHeights(true);
  vstPgrpKatalog->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked);
  vstPgrpKatalog->setStyleSheet(
      QStringLiteral("QTreeView::item { border-right: 1px solid #d4d0c8; border-bottom: 1px solid #d4d0c8; }"));
  vstPgrpKatalog->setItemDelegate(new TGroupChoiceDelegate(this, vstPgrpKatalog));
  for (const QString& name : KatalogNamen) {
    auto* node = new QTreeWidgetItem(vstPgrpKatalog);
    node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    node->setText(0, name);
  }
  connect(vstPgrpKatalog, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node, int column) {
    if (!filling_ && column == 0) vstPgrpKatalogChecked(node);
  });
}

QString TPriceGroupPage::FileName() const {
  return addressId_.isEmpty() ? QString() : TKSPreisgruppe::FileName(PriceGroupFolder(), addressId_);
}

void TPriceGroupPage::ShowListState(int tag) {
  btPreisgrCreate->setProperty("tag", tag);
  btPreisgrCreate->setText(tag == kListPresent ? Tr("Liste loeschen") : Tr("Liste anlegen"));
  btPreisgrCreate->setEnabled(tag != kNoAddress);
}

// A file that exists but cannot be read is never taken for a missing one:
// creating it anew would replace what it holds.
void TPriceGroupPage::Load(const QString& addressId) {
  addressId_ = addressId;
  const QString file = FileName();
  QString why;
  if (file.isEmpty()) {
    PreisgruppeObj->Clear();
    ShowListState(kNoAddress);
    EnablePreisgruppen(false);
    ClearPreisgruppen();
  } else if (!QFileInfo::exists(file)) {
    PreisgruppeObj->Clear();
    ShowListState(kListMissing);
    EnablePreisgruppen(false);
    ClearPreisgruppen();
  } else if (!PreisgruppeObj->Load(addressId_, PriceGroupFolder(), CatalogueAreaDir(), &why)) {
    ShowListState(kNoAddress);
    EnablePreisgruppen(false);
    ClearPreisgruppen();
    MessageDlgFmt(Tr("Die Preisgruppendatei \"%s\" kann nicht gelesen werden."), {file}, TMsgDlgType::mtError,
                  {TMsgDlgBtn::mbOK});
  } else {
    ShowListState(kListPresent);
    EnablePreisgruppen(true);
    ShowPreisgruppen();
  }
  PreisgruppeModified = false;
}

void TPriceGroupPage::Reset() {
  PreisgruppeModified = false;
  addressId_.clear();
  ShowListState(kNoAddress);
  EnablePreisgruppen(false);
}

// A failed write keeps the flag, so the next write-back tries again.
void TPriceGroupPage::WriteBack() {
  if (!PreisgruppeModified || addressId_.isEmpty()) return;
  CollectPreisgruppen();
  if (Save()) PreisgruppeModified = false;
}

bool TPriceGroupPage::Save() {
  QString why;
  if (PreisgruppeObj->Save(addressId_, PriceGroupFolder(), &why)) return true;
  MessageDlg(FileNotWrittenText(FileName(), why), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  return false;
}

void TPriceGroupPage::EnablePreisgruppen(bool on) {
  for (QWidget* control : std::initializer_list<QWidget*>{cbPrgpLager, cbbPrgpLager, LbPrgpLager, cbPgrpKatalog,
                                                          lbPgrpKatalog1, cbbPgrpKatalog, vstPgrpKatalog, TntLabel11})
    control->setEnabled(on);
}

void TPriceGroupPage::ShowPreisgruppen() {
  const TKSPreisgruppe& pg = *PreisgruppeObj;
  cbPrgpLager->setChecked(pg.LagerAktiv);
  cbbPrgpLager->setCurrentIndex(GroupIndex(pg.LagerPreisgruppe));
  cbPgrpKatalog->setChecked(pg.KatalogAktiv);
  cbbPgrpKatalog->setCurrentIndex(GroupIndex(pg.KatalogPreisgruppe));
  InitNodes();
  cbPrgpLagerClick();
  cbPgrpKatalogClick();
  PreisgruppeModified = false;
}

void TPriceGroupPage::ClearPreisgruppen() {
  cbPrgpLager->setChecked(false);
  cbPgrpKatalog->setChecked(false);
  cbbPrgpLager->setCurrentIndex(0);
  cbbPgrpKatalog->setCurrentIndex(0);
  InitNodes();
  PreisgruppeModified = false;
}

// Catalogues without a row (made after the start) keep their stored group:
// the clerk could not have changed it.
void TPriceGroupPage::CollectPreisgruppen() {
  TKSPreisgruppe& pg = *PreisgruppeObj;
  pg.LagerAktiv = cbPrgpLager->isChecked();
  pg.LagerPreisgruppe = ChosenGroup(cbbPrgpLager, pg.LagerPreisgruppe);
  pg.KatalogAktiv = cbPgrpKatalog->isChecked();
  pg.KatalogPreisgruppe = ChosenGroup(cbbPgrpKatalog, pg.KatalogPreisgruppe);
  TStringIntegerObjectList unseen;
  for (const TStringInteger& entry : pg.Kataloge)
    if (!KatalogNamen.contains(entry.String, Qt::CaseInsensitive)) unseen.Add(entry.String, entry.Value);
  pg.Kataloge.Clear();
  for (int i = 0; i < vstPgrpKatalog->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* node = vstPgrpKatalog->topLevelItem(i);
    if (node->checkState(0) == Qt::Checked) pg.Kataloge.Add(KatalogNamen[i], NodeGroup(node));
  }
  for (const TStringInteger& entry : unseen) pg.Kataloge.Add(entry.String, entry.Value);
}

void TPriceGroupPage::InitNodes() {
  filling_ = true;
  for (int i = 0; i < vstPgrpKatalog->topLevelItemCount(); ++i) vstPgrpKatalogInitNode(vstPgrpKatalog->topLevelItem(i));
  filling_ = false;
}

// A stored catalogue group shows checked whether or not the catalogue switch
// is on: the clerk sees it when turning the switch on, and it is kept.
void TPriceGroupPage::vstPgrpKatalogInitNode(QTreeWidgetItem* node) {
  const bool filling = std::exchange(filling_, true);
  node->setData(0, kGroupRole, 1);
  node->setCheckState(0, Qt::Unchecked);
  const int index = vstPgrpKatalog->indexOfTopLevelItem(node);
  if (PreisgruppeObj->Aktiv && index >= 0) {
    const qint32 group = PreisgruppeObj->KatalogEintrag(KatalogNamen[index]);
    if (group > 0) {
      node->setData(0, kGroupRole, group);
      node->setCheckState(0, Qt::Checked);
    }
  }
  ShowNodeText(node);
  filling_ = filling;
}

int TPriceGroupPage::NodeGroup(const QTreeWidgetItem* node) { return node->data(0, kGroupRole).toInt(); }

QString TPriceGroupPage::vstPgrpKatalogGetText(const QTreeWidgetItem* node, int column) const {
  const int index = vstPgrpKatalog->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(node));
  if (column == 0) return index >= 0 ? KatalogNamen[index] : QString();
  return node->checkState(0) == Qt::Unchecked ? QString() : QString::number(NodeGroup(node));
}

void TPriceGroupPage::ShowNodeText(QTreeWidgetItem* node) {
  const bool filling = std::exchange(filling_, true);
  for (int column : {0, 1}) node->setText(column, vstPgrpKatalogGetText(node, column));
  filling_ = filling;
}

// Only the group is edited, and only on a checked row: an unchecked one has none to show.
bool TPriceGroupPage::vstPgrpKatalogEditing(const QTreeWidgetItem* node, int column) const {
  return column == 1 && node && node->checkState(0) != Qt::Unchecked;
}

QComboBox* TPriceGroupPage::vstPgrpKatalogCreateEditor(QWidget* parent) const {
  auto* editor = new QComboBox(parent);
  editor->addItems(QStringLiteral("1,2,3,4,5").split(QLatin1Char(',')));
  return editor;
}

void TPriceGroupPage::vstPgrpKatalogEdited() { vstPgrpKatalog->viewport()->update(); }

void TPriceGroupPage::vstPgrpKatalogNewText(QTreeWidgetItem* node, int column, const QString& text) {
  if (column != 1 || node->checkState(0) == Qt::Unchecked) return;
  bool ok = false;
  const int group = text.trimmed().toInt(&ok);
  node->setData(0, kGroupRole, ok ? group : 1);
  PreisgruppeModified = true;
  ShowNodeText(node);
}

void TPriceGroupPage::vstPgrpKatalogChecked(QTreeWidgetItem* node) {
  ShowNodeText(node);
  PreisgruppeModified = true;
}

void TPriceGroupPage::cbPrgpLagerClick() {
  const bool on = cbPrgpLager->isChecked();
  LbPrgpLager->setEnabled(on);
  cbbPrgpLager->setEnabled(on);
  PreisgruppeModified = true;
}

void TPriceGroupPage::cbPgrpKatalogClick() {
  const bool on = cbPgrpKatalog->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{lbPgrpKatalog1, cbbPgrpKatalog, vstPgrpKatalog, TntLabel11})
    control->setEnabled(on);
  PreisgruppeModified = true;
}

void TPriceGroupPage::cbbPgrpKatalogSelect() { PreisgruppeModified = true; }

void TPriceGroupPage::btPreisgrCreateClick() {
  const int tag = btPreisgrCreate->property("tag").toInt();
  if (tag == kListMissing) CreateList();
  if (tag == kListPresent) DeleteList();
}

void TPriceGroupPage::CreateList() {
  if (QFileInfo::exists(FileName())) return Load(addressId_);  // made elsewhere meanwhile
  PreisgruppeObj->Clear();
  if (!Save()) return;
  ShowListState(kListPresent);
  EnablePreisgruppen(true);
  ShowPreisgruppen();
}

void TPriceGroupPage::DeleteList() {
  const QString file = FileName();  // the list the user is asked about
  if (MessageDlg(Tr("Moechten Sie die Preisgruppenangaben fuer diese Adresse loeschen?"), TMsgDlgType::mtConfirmation,
                 {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes)
    return;
  if (!file.isEmpty() && QFileInfo::exists(file) && !QFile::remove(file)) {
    MessageDlgFmt(Tr("Die Liste \"%s\" konnte nicht geloescht werden."), {file}, TMsgDlgType::mtError,
                  {TMsgDlgBtn::mbOK});
    return;
  }
  PreisgruppeObj->Clear();
  ShowListState(kListMissing);
  EnablePreisgruppen(false);
  ClearPreisgruppen();
}
