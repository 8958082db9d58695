#pragma once
// The special search of the address frame: addresses by their address
// marks, their contacts' marks and the special marks of contact data.
#include <QStringList>

#include "DBAdress.h"

struct TSpecialSearchCriteria {
  QStringList AddressMarks;
  QStringList ContactMarks;
  QStringList SpecialMarks;

  bool IsEmpty() const { return AddressMarks.isEmpty() && ContactMarks.isEmpty() && SpecialMarks.isEmpty(); }
  // Any one mark of any group is enough; a group without criteria is not tested.
  bool Matches(const TCustomerAddress& address) const;
};

// The marks typed into a comma-separated field, trimmed, empty ones dropped.
QStringList SplitMarks(const QString& text);

// Reads every row into a scratch record and adds a result for each match.
// Errors go to the database's error handler.
void FindAddressBySpecial(TDBAdress& database, const TSpecialSearchCriteria& criteria,
                          TDBAdressSearchResultObjectList& results);
