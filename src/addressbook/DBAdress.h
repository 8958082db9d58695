#pragma once
// The address book: table "ADDRESS" of the address directory, one row per
// address with the whole record as XML plus the columns lists and searches need.
#include <QString>
#include <QStringView>

#include "DBAdressCore.h"
#include "OwningObjectList.h"
#include "TDBCore.h"

struct TDBAdressSearchResult {
  qint32 RecNo = 0;  // record number of the row in index order
  QString ID, DisplayText, AddrGrp;
  TDateTime WV = 0;
};

class TDBAdressSearchResultObjectList : public TOwningObjectList<TDBAdressSearchResult> {};

class TDBAdress : public TDatabaseWrapper {
 public:
  explicit TDBAdress(TDBLogCallback onLog = {});
  ~TDBAdress() override;

  TTdbTable* Table = nullptr;  // "ADDRESS", owned by Tables

  // Opens the address directory as a directory database; errors are passed on.
  void Open(const QString& addressDir);

  // 0 stored, -1 on an error.
  int SetCustomer(TCustomerAddress& address);
  // Appends the record as a new row without looking for its id first: for
  // bulk fills of ids known to be new (a duplicate id fails). 0 or -1.
  int AppendCustomer(TCustomerAddress& address);
  // 0 found and read, 1 no such row, -1 on an error.
  int GetCustomer(const QString& id, TCustomerAddress& address);
  QString GetCurrentID();
  // Positions on the row with the id or on the next greater key.
  void FindID(const QString& id);
  // Record number of the row (of the first row for an empty id); 0 when none.
  qint32 GetCustomerRecNo(const QString& id);
  // Free-text search over every row: each blank-separated word must occur in
  // the row's columns or in its XML; a word starting with "." must stand as
  // a word of its own. The table is left after the last row.
  void FindAddress(const QString& text, TDBAdressSearchResultObjectList& results);
  // Every row whose address group equals the group ignoring case.
  void FindAddressByAddrGrp(const QString& group, TDBAdressSearchResultObjectList& results);
  TDBLock LockDB(const QString& user);

  // Adds WV, WVTXT and WVUSER (before XMLDATA) to tables that lack them.
  int AlterTables() override;

  // Search keys: upper case with Ä Ö Ü ß spelled AE OE UE SS ...
  static QString NormalizePlain(QStringView text);
  // ... and with the XML escapes (and &#2; &#3; for the control characters 2 and 3).
  static QString NormalizeEscaped(QStringView text);

  // Row <-> record.
  void ReadRow(TCustomerAddress& address);
  void WriteRow(TCustomerAddress& address);

 protected:
  void CreateTableDefs(TTdbTable& table) override;
  void CreateTables() override;
  void PrepareTables() override;

 private:
  bool PositionOn(const QString& id);
  void StartNewRow(const TCustomerAddress& address);
};
