#include "KatalogDBClipBoard.h"

#include "Katalog1Artikel.h"
#include "Katalog2Artikel.h"
#include "LagerServerObj.h"

namespace {
// The texts a catalogue article is known by in the list.
struct CatalogueTexts {
  QString id, katalog, description;
};

CatalogueTexts TextsOf(const TDBXMLCoreObject& object) {
  if (const auto* k1 = dynamic_cast<const TKatalog1Artikel*>(&object))
    return {k1->ID, k1->Katalog, Katalog1Beschreibung(*k1)};
  if (const auto* k2 = dynamic_cast<const TKatalog2Artikel*>(&object)) return {k2->ID, k2->Katalog, k2->Description};
  return {};
}
}  // namespace

bool TKatalogDBClipBoard::ContainsID(const QString& id) const {
  if (id.isEmpty()) return false;
  return FindIndex([&](const TDBXMLCoreObject& object) { return TextsOf(object).id == id; }) >= 0;
}

QString TKatalogDBClipBoard::GetID(int index) const { return TextsOf(*Items(index)).id; }
QString TKatalogDBClipBoard::GetKatalog(int index) const { return TextsOf(*Items(index)).katalog; }
QString TKatalogDBClipBoard::GetDescription(int index) const { return TextsOf(*Items(index)).description; }

std::unique_ptr<TKatalogDBClipBoardMergeObj> TKatalogDBClipBoard::GetMergeObj(int index) const {
  auto record = std::make_unique<TKatalogDBClipBoardMergeObj>();
  const TDBXMLCoreObject* object = Items(index);
  if (const auto* k1 = dynamic_cast<const TKatalog1Artikel*>(object))
    record->AssignFromKatalog1Artikel(*k1);
  else if (const auto* k2 = dynamic_cast<const TKatalog2Artikel*>(object))
    record->AssignFromKatalog2Artikel(*k2);
  else if (const auto* lager = dynamic_cast<const TLagerServerObj*>(object))
    record->AssignFromLagerServerObj(*lager);
  return record;
}
