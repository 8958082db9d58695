#include "AddressSpecialSearch.h"

namespace {
bool AnyIn(const QString& mark, const QStringList& criteria) {
  const QString trimmed = mark.trimmed();
  return !trimmed.isEmpty() && criteria.contains(trimmed, Qt::CaseInsensitive);
}

bool ContactMatches(const TCustomerContact& contact, const TSpecialSearchCriteria& c) {
  if (!c.ContactMarks.isEmpty() && AnyIn(contact.Name, c.ContactMarks)) return true;
  if (c.SpecialMarks.isEmpty()) return false;
  for (const TCustomerContactData& data : contact.Data)
    if (AnyIn(data.CdCaract, c.SpecialMarks)) return true;
  return false;
}
}  // namespace

bool TSpecialSearchCriteria::Matches(const TCustomerAddress& address) const {
  if (!AddressMarks.isEmpty())
    for (const QString& mark : address.Kz)
      if (AnyIn(mark, AddressMarks)) return true;
  for (const TCustomerContact& contact : address.Contacts)
    if (ContactMatches(contact, *this)) return true;
  return false;
}

QStringList SplitMarks(const QString& text) {
  QStringList marks;
  for (const QString& part : text.split(QLatin1Char(',')))
    if (!part.trimmed().isEmpty()) marks.append(part.trimmed());
  return marks;
}

void FindAddressBySpecial(TDBAdress& database, const TSpecialSearchCriteria& criteria,
                          TDBAdressSearchResultObjectList& results) {
  if (criteria.IsEmpty() || !database.Table) return;
  try {
    TTdbTable& table = *database.Table;
    TCustomerAddress scratch;
    qint32 recNo = 0;  // counted: the table is walked in index order without a filter
    for (table.First(); !table.Eof(); table.Next()) {
      ++recNo;
      database.ReadRow(scratch);
      if (!criteria.Matches(scratch)) continue;
      auto hit = std::make_unique<TDBAdressSearchResult>();
      hit->RecNo = recNo;
      hit->ID = scratch.Id;
      hit->DisplayText = scratch.At;
      hit->AddrGrp = scratch.AddrGrp;
      hit->WV = scratch.Wv;
      results.Add(std::move(hit));
    }
  } catch (const std::exception& e) {
    database.LogError(e, QStringLiteral("FindAddressBySpecial"));
  }
}
