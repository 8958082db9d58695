#pragma once
// The catalogue choice: the catalogues below the catalogue area (and the
// warehouse) in a tree list, with the management of catalogues (new,
// delete, supplier address) for the programs that offer it.
#include <QFrame>
#include <functional>
#include <memory>

#include "DBAdressCore.h"
#include "MakeDefaultForm.h"
#include "UKAT.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// Bits of the catalogue-kind mask: 1 shifted left by the catalogue type.
namespace katalogmaske {
constexpr int Einfach = 1, Datanorm = 2, Eldanorm = 4, Lager = 16;
constexpr int Alle = Einfach | Datanorm | Eldanorm | Lager;
}  // namespace katalogmaske

class TUKATKatalogAuswahlFrame : public QFrame {
  Q_OBJECT

 public:
  // The areas come from the system settings.
  explicit TUKATKatalogAuswahlFrame(QWidget* parent = nullptr);

  QString KatalogDir;  // the catalogue area, with trailing separator
  QString LagerDir;    // the warehouse
  int KatalogMaske = katalogmaske::Alle;
  TUKATKatalogAuswahlItemObjectList Items;

  QTreeWidget* Tree = nullptr;
  QPushButton* btNeu = nullptr;
  QPushButton* btLoeschen = nullptr;
  QPushButton* btAdresse = nullptr;
  QLabel* lbAdresse = nullptr;  // "Adresse "%s" oeffnen." for the selected supplier

  // How a supplier address is picked and shown: in the address program unless set.
  std::function<std::unique_ptr<TCustomerAddress>()> PickAddress;
  std::function<void(const QString& addressId)> ShowAddress;

  // Reads the list afresh: the warehouse first (when the mask has it), then
  // every catalogue directory of a kind in the mask.
  void Fill();
  TUKATKatalogAuswahlItem* SelectedItem();
  bool Select(const QString& katalog);
  QString DirectoryOf(const TUKATKatalogAuswahlItem& item) const;

  // What the controls do; public so that the dialog and tests act as the user.
  void btNeuClick();
  void btLoeschenClick();
  void btAdresseClick();

 signals:
  void Confirmed();  // a double click on an entry

 private:
  void BuildControls();
  void AddRow(QTreeWidgetItem* root, int index);
  void ShowAddressLink();
  bool Permitted(const char* code, const char* refusal) const;
  bool AskNewName(QString& name);
};

class TUKATKatalogAuswahl : public TDefaultForm {
 public:
  explicit TUKATKatalogAuswahl(QWidget* parent = nullptr);

  TUKATKatalogAuswahlFrame* Frame = nullptr;
  QPushButton* btOeffnen = nullptr;
  QPushButton* btAbbrechen = nullptr;

  // The choice of this program: no management, the warehouse unless
  // excluded. True with the chosen key when the user confirmed.
  static bool Execute(QString& katalog, bool excludeWarehouse);

  // Confirming without an entry says so and keeps the dialog open.
  void accept() override;
};
