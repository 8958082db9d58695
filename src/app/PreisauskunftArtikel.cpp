#include "PreisauskunftArtikel.h"

#include "Katalog1Artikel.h"
#include "Katalog1DB.h"
#include "Katalog2Artikel.h"
#include "Katalog2DB.h"
#include "KatalogDBClipBoardMergeObj.h"
#include "KatalogDBPool.h"
#include "LagerServerObj.h"
#include "ULAGUnit1Core.h"

namespace {
void Uebernehmen(const TKatalogDBClipBoardMergeObj& record, const QString& rabattgruppe,
                 TKSPreisauskunftArtikel& artikel) {
  artikel.Katalog = record.Katalog;
  artikel.ArtikelNr = record.ArtikelNr;
  artikel.Bezeichnung = record.Beschreibung;
  artikel.Rabattgruppe = rabattgruppe;
  artikel.VKPreis = record.VKPreis;
  artikel.ArtikeldatenBekannt = true;
}

// The article of an open catalogue database with exactly this number.
std::unique_ptr<TDBXMLCoreObject> Lesen(TDatabaseWrapper& db, const QString& katalog, const QString& artikelNr) {
  if (auto* k1 = dynamic_cast<TKatalog1DB*>(&db)) {
    auto article = std::make_unique<TKatalog1Artikel>();
    article->ID = artikelNr;
    article->Katalog = katalog;
    return k1->Artikel_GetObject(*article) == 0 ? std::move(article) : nullptr;
  }
  if (auto* k2 = dynamic_cast<TKatalog2DB*>(&db)) {
    auto article = std::make_unique<TKatalog2Artikel>();
    article->ID = artikelNr;
    article->Katalog = katalog;
    return k2->GetObject(*article) == 0 ? std::move(article) : nullptr;
  }
  if (auto* lager = dynamic_cast<IModLagerDBServerObj*>(&db)) {
    auto article = std::make_unique<TLagerServerObj>();
    article->LagerArtikelNr = artikelNr;
    return lager->GetLagerArtikel(*article) == 0 ? std::move(article) : nullptr;
  }
  return nullptr;
}
}  // namespace

bool PreisauskunftArtikelAus(const TDBXMLCoreObject& object, TKSPreisauskunftArtikel& artikel) {
  TKatalogDBClipBoardMergeObj record;
  if (const auto* k1 = dynamic_cast<const TKatalog1Artikel*>(&object)) {
    record.AssignFromKatalog1Artikel(*k1);
    Uebernehmen(record, k1->RABATTGR, artikel);
  } else if (const auto* k2 = dynamic_cast<const TKatalog2Artikel*>(&object)) {
    record.AssignFromKatalog2Artikel(*k2);
    Uebernehmen(record, k2->RabattGruppe, artikel);
  } else if (const auto* lager = dynamic_cast<const TLagerServerObj*>(&object)) {
    record.AssignFromLagerServerObj(*lager);
    Uebernehmen(record, lager->Rabattgruppen, artikel);
  } else {
    return false;
  }
  return true;
}

bool PreisauskunftArtikelSuchen(TKatalogDBPool& pool, const QString& katalog, const QString& artikelNr,
                                TKSPreisauskunftArtikel& artikel) {
  artikel = TKSPreisauskunftArtikel{};
  artikel.Katalog = katalog.trimmed();
  artikel.ArtikelNr = artikelNr.trimmed();
  if (artikel.Katalog.isEmpty() || artikel.ArtikelNr.isEmpty()) return false;
  std::unique_ptr<TDBXMLCoreObject> object;
  try {
    TKatalogDBPoolItem* item = pool.GetItemByName(artikel.Katalog, true);
    if (!item) return false;
    artikel.Katalog = item->Katalog;  // as the catalogue's directory spells it
    object = Lesen(*item->GetDB(), item->Katalog, artikel.ArtikelNr);
  } catch (const std::exception&) {
    return false;  // a catalogue that cannot be opened offers no article
  }
  return object && PreisauskunftArtikelAus(*object, artikel);
}
