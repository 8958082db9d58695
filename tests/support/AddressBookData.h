#pragma once
// Small address books for the tests of the address frame and the main
// window, and waiting on the event loop for the frame's selection delay.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

struct TestAddress {
  QString id;
  QString name;               // name1 of the main postal address
  QString group;
  QStringList marks;          // address marks
  QString contact;            // name of one contact, none when empty
  QString special;            // special mark of that contact's one datum
  double wv = 0;              // resubmission date
};

// Replaces the rows of the address table of the directory by the addresses.
bool StoreAddresses(const QString& addressDir, const QList<TestAddress>& addresses);

// Runs the event loop for the given time.
void RunEventsFor(int ms);
// Runs the event loop until done() or the timeout; returns done().
bool RunEventsUntil(const std::function<bool()>& done, int timeoutMs = 3000);
