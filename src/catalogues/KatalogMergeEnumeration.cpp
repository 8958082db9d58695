#include "KatalogMergeEnumeration.h"

#include "Katalog1DB.h"
#include "Katalog2DB.h"
#include "KatalogDBPool.h"
#include "KatalogTypes.h"

bool ForEachMergeObj(TKatalog1DB& db, const QString& katalog, const TMergeObjCallback& callback) {
  TKatalogDBClipBoardMergeObj record;
  // A transfer record takes nothing from the XMLDATA lists.
  return db.ForEachArtikel(
      [&](TKatalog1Artikel& article) {
        article.Katalog = katalog;
        record.AssignFromKatalog1Artikel(article);
        callback(record);
      },
      false);
}

bool ForEachMergeObj(TKatalog2DB& db, const QString& katalog, const TMergeObjCallback& callback) {
  TKatalogDBClipBoardMergeObj record;
  return db.ForEachArtikel([&](TKatalog2Artikel& article) {
    article.Katalog = katalog;
    record.AssignFromKatalog2Artikel(article);
    callback(record);
  });
}

bool ForEachMergeObj(TKatalogDBPoolItem& item, const TMergeObjCallback& callback) {
  if (item.KatalogTyp == katalogtyp::Lager) return true;
  TDatabaseWrapper* db = item.GetDB();
  if (auto* k1 = dynamic_cast<TKatalog1DB*>(db)) return ForEachMergeObj(*k1, item.Katalog, callback);
  if (auto* k2 = dynamic_cast<TKatalog2DB*>(db)) return ForEachMergeObj(*k2, item.Katalog, callback);
  return true;
}
