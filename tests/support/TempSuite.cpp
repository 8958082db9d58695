#include "TempSuite.h"

#include <QFile>
#include <gtest/gtest.h>

#include "PathUtils.h"
#include "TypeUnit.h"

TempSuite::TempSuite() : TempSuite(kDemoAddressCount, kDemoWarehouseArticleCount, kDemoCatalogueArticleCount) {}

TempSuite::TempSuite(int addressCount, int warehouseArticles, int catalogueArticles) {
  QString error;
  EXPECT_TRUE(CreateDemoSuite(dir_.path(), &error, addressCount, warehouseArticles, catalogueArticles))
      << error.toStdString();
}

TempSuite::~TempSuite() { FinalizeSystem(); }

QString TempSuite::Root() const { return NormalizePath(dir_.path(), true); }
QString TempSuite::ProgramFile() const { return Root() + QStringLiteral("BIN/MOD00100"); }
QString TempSuite::Sysdata() const { return SysdataPath({Root(), QStringLiteral("DEMO")}); }
QString TempSuite::Sysdatb() const { return SysdatbPath(Root()); }

bool TempSuite::Init() {
  FinalizeSystem();
  return InitSystemFor(ProgramFile(), 1);
}

bool TempSuite::Load(const QString& client, const QString& user) {
  return Init() && LoadSystem(client, user, QString(), false);
}

QString TempSuite::InstallProgram() const {
  const QString target = ProgramFile();
  QFile::remove(target);
  EXPECT_TRUE(QFile::copy(QStringLiteral(MOD00100_EXE), target));
  QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ExeOwner);
  return target;
}
