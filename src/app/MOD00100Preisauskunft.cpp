// The main window's "Preisauskunft" command, kept beside the window's unit
// so that the window itself only holds its button.
#include <QLineEdit>

#include "ArticlePricePage.h"
#include "KatalogDBPool.h"
#include "MOD00100Unit1.h"
#include "PreisauskunftArtikel.h"
#include "PreisauskunftForm.h"
#include "TypeUnit.h"

void TMOD00100Form1::PreisauskunftClick() {
  const QString id = CurrentAddressId();
  if (id.isEmpty() || !SystemEinstellungen()) return;
  SaveAddressData();  // what the pages hold in memory applies too
  const TSystemEinstellungen& system = *SystemEinstellungen();
  TPreisauskunftForm::TQuellen quellen;
  quellen.Auswahl = ArtPage ? &ArtPage->Sources : nullptr;
  quellen.Suchen = [this](const QString& katalog, const QString& nr, TKSPreisauskunftArtikel& artikel) {
    return KatalogPool && PreisauskunftArtikelSuchen(*KatalogPool, katalog, nr, artikel);
  };
  auto* form = new TPreisauskunftForm(id, TKSPreisauskunft(system.AddressDir, system.AreaDir(TAreaDir::Kataloge)),
                                      std::move(quellen), this);
  form->setAttribute(Qt::WA_DeleteOnClose);
  // Window-modal: the customer cannot change under the open information.
  form->setWindowModality(Qt::WindowModal);
  form->show();
  form->edKatalog->setFocus();
}
