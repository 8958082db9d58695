#include "AddressBookData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <memory>

#include "DBAdress.h"

namespace {
void Fill(TCustomerAddress& a, const TestAddress& t) {
  a.Clear();
  a.Id = t.id;
  a.AddrGrp = t.group;
  a.Kz = t.marks;
  a.Wv = t.wv;
  auto* anschrift = a.Anschriften.Add(std::make_unique<TCustomerAnschrift>());
  anschrift->Name1 = t.name;
  anschrift->Ort = QStringLiteral("Musterstadt");
  anschrift->Std = true;
  if (!t.contact.isEmpty()) {
    auto* contact = a.Contacts.Add(std::make_unique<TCustomerContact>());
    contact->Name = t.contact;
    auto* data = contact->Data.Add(std::make_unique<TCustomerContactData>());
    data->CdName = QStringLiteral("Telefon");
    data->CdValue = QStringLiteral("0123 456");
    data->CdCaract = t.special;
  }
  a.At = a.BuildDisplayText();
}
}  // namespace

bool StoreAddresses(const QString& addressDir, const QList<TestAddress>& addresses) {
  TDBAdress db([](const std::exception*, const QString&) {});
  db.Open(addressDir);
  if (!db.Table->IsEmpty()) db.Table->EmptyTable();
  TCustomerAddress record;
  for (const TestAddress& t : addresses) {
    Fill(record, t);
    if (db.SetCustomer(record) != 0) return false;
  }
  db.CloseDatabase();
  return true;
}

void RunEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return done();
}
