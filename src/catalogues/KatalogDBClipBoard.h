#pragma once
// The result of an article selection: the chosen article objects of the
// material catalogues, the supplier catalogues and the warehouse, owned.
#include <QString>
#include <memory>

#include "DBXMLCore.h"
#include "KatalogDBClipBoardMergeObj.h"
#include "OwningObjectList.h"

class TKatalogDBClipBoard : public TOwningObjectList<TDBXMLCoreObject> {
 public:
  // Whether a catalogue article (not a warehouse one) has exactly this number.
  bool ContainsID(const QString& id) const;
  // Number, catalogue key and description of a catalogue article; empty for others.
  QString GetID(int index) const;
  QString GetKatalog(int index) const;
  QString GetDescription(int index) const;
  // A new transfer record of the object; an object of an unknown kind gives a reset record.
  std::unique_ptr<TKatalogDBClipBoardMergeObj> GetMergeObj(int index) const;
};
