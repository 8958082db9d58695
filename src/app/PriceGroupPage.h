#pragma once
// The price-group page of the main window: which of the five sales prices
// applies to the current address, for warehouse articles, for catalogue
// articles in general and per catalogue. The settings are edited in the
// controls and written back when the page or the address is left.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TDBAdressViewFrame1;
class TKSPreisgruppe;

class TPriceGroupPage : public QObject {
 public:
  // Page set-up: builds the controls on the sheet and lists the catalogues.
  explicit TPriceGroupPage(QWidget* sheet);
  ~TPriceGroupPage() override;  // page tear-down

  std::unique_ptr<TKSPreisgruppe> PreisgruppeObj;
  bool PreisgruppeModified = false;
  QStringList KatalogNamen;  // catalogue directories at start; one tree row each
  // The address picker: its selection waits while the list button's command runs.
  QPointer<TDBAdressViewFrame1> AddressFrame;

  QPushButton* btPreisgrCreate = nullptr;  // tag 0: no address, 1: create, 2: delete
  QWidget* TntPanel5 = nullptr;
  QLabel* TntPanel6 = nullptr;
  QCheckBox* cbPgrpKatalog = nullptr;
  QLabel* lbPgrpKatalog1 = nullptr;
  QComboBox* cbbPgrpKatalog = nullptr;
  QLabel* TntLabel11 = nullptr;
  QTreeWidget* vstPgrpKatalog = nullptr;
  QWidget* TntPanel3 = nullptr;
  QLabel* TntPanel4 = nullptr;
  QCheckBox* cbPrgpLager = nullptr;
  QLabel* LbPrgpLager = nullptr;
  QComboBox* cbbPrgpLager = nullptr;

  // LoadPreisgruppen: the address's own file, when it has one.
  void Load(const QString& addressId);
  // Page reset: nothing of the previous address stays usable.
  void Reset();
  // Page write-back: saves when the controls were changed.
  void WriteBack();
  QString FileName() const;

  void ShowPreisgruppen();
  void CollectPreisgruppen();
  void ClearPreisgruppen();
  void EnablePreisgruppen(bool on);

  void btPreisgrCreateClick();
  void cbPrgpLagerClick();
  void cbPgrpKatalogClick();
  void cbbPgrpKatalogSelect();
  void vstPgrpKatalogInitNode(QTreeWidgetItem* node);
  QString vstPgrpKatalogGetText(const QTreeWidgetItem* node, int column) const;
  bool vstPgrpKatalogEditing(const QTreeWidgetItem* node, int column) const;
  QComboBox* vstPgrpKatalogCreateEditor(QWidget* parent) const;
  void vstPgrpKatalogEdited();
  void vstPgrpKatalogNewText(QTreeWidgetItem* node, int column, const QString& text);
  void vstPgrpKatalogChecked(QTreeWidgetItem* node);

 private:
  QWidget* BuildKatalogPanel(QWidget* sheet);
  QWidget* BuildLagerPanel(QWidget* sheet);
  void BuildTree(QWidget* parent);
  void ShowListState(int tag);
  void InitNodes();
  void ShowNodeText(QTreeWidgetItem* node);
  static int NodeGroup(const QTreeWidgetItem* node);
  void CreateList();
  void DeleteList();
  bool Save();

  QString addressId_;
  bool filling_ = false;  // the page itself changes the tree: no user change
};
