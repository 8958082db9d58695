#pragma once
// A suite tree in a temporary folder, made with the same code as suiteadm,
// and the start-up run on it as if the program lay in its BIN folder.
#include <QString>
#include <QTemporaryDir>

#include "SuiteTree.h"

class TempSuite {
 public:
  // Creates client DEMO with user ADMIN (admitted) and GAST (barred).
  TempSuite();
  // The same with smaller (or larger) demo data.
  TempSuite(int addressCount, int warehouseArticles, int catalogueArticles);
  ~TempSuite();  // frees the process-wide settings

  QString Root() const;           // ends with "/"
  QString ProgramFile() const;    // Root() + "BIN/MOD00100"
  QString Sysdata() const;
  QString Sysdatb() const;
  // InitSystemFor(ProgramFile(), 1); true on success.
  bool Init();
  // Init() and LoadSystem(client, user, "", false).
  bool Load(const QString& client = QStringLiteral("DEMO"), const QString& user = QStringLiteral("ADMIN"));
  // Copies the built MOD00100 into BIN (for tests that start it).
  QString InstallProgram() const;

 private:
  QTemporaryDir dir_;
};
