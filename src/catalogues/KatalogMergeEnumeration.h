#pragma once
// Whole-catalogue enumeration: every article of a catalogue once, in the
// order of its active index, as a transfer record. One record is reused:
// the callback takes what it needs before it returns.
#include <QString>
#include <functional>

#include "KatalogDBClipBoardMergeObj.h"

class TKatalog2DB;
class TKatalogDBPoolItem;

using TMergeObjCallback = std::function<void(TKatalogDBClipBoardMergeObj&)>;

// True when every article was passed (or the database is not open).
bool ForEachMergeObj(TKatalog2DB& db, const QString& katalog, const TMergeObjCallback& callback);
// By the item's kind, its database opened when needed (errors of GetDB are
// passed on). The warehouse is no catalogue here: nothing is passed, true.
bool ForEachMergeObj(TKatalogDBPoolItem& item, const TMergeObjCallback& callback);
