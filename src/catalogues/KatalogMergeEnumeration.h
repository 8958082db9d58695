#pragma once
// Whole-catalogue enumeration: every article of a catalogue once, in the
// order of its active index, as a transfer record. One record is reused:
// the callback takes what it needs before it returns.
#include <QString>
#include <functional>

#include "KatalogDBClipBoardMergeObj.h"

class TKatalog1DB;
class TKatalog2DB;
class TKatalogDBPoolItem;

using TMergeObjCallback = std::function<void(TKatalogDBClipBoardMergeObj&)>;

// True when every article was passed (or the database is not open). A
// material catalogue article is read without its surcharge: sales price 1
// is its net price.
bool ForEachMergeObj(TKatalog1DB& db, const QString& katalog, const TMergeObjCallback& callback);
bool ForEachMergeObj(TKatalog2DB& db, const QString& katalog, const TMergeObjCallback& callback);
// By the item's kind, its database opened when needed (errors of GetDB are
// passed on). The warehouse is no catalogue here: nothing is passed, true.
bool ForEachMergeObj(TKatalogDBPoolItem& item, const TMergeObjCallback& callback);
