#pragma once
// Demo and benchmark data of the address book.
#include <QString>
#include <QStringList>

struct DemoAddressOptions {
  bool fullSized = false;  // every address with two postal addresses and two contacts
};

// Writes count varied addresses with ids "10000", "10001", ... into the
// address table of the directory; the same count gives the same data.
bool FillDemoAddresses(const QString& addressDir, int count, QString* error,
                       const DemoAddressOptions& options = {});
// The identifier of the demo address with the given index ("10000" for 0).
QString DemoAddressId(int index);
// The identifiers of the first suppliers (group "LIEFERANT") among addressCount demo addresses, at most `most`.
QStringList DemoSupplierAddressIds(int addressCount, int most);
// CONFIG.XML with address marks, kinds of postal address, groups and contact marks.
bool WriteDemoAddressConfig(const QString& addressDir, QString* error);
