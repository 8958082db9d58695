#pragma once
// Making suite trees: directories, the client's protected SYSDATA.INI, the
// suite's protected SYSDATB.INI with its users, and the user directories.
// suiteadm and the tests use the same code.
#include <QList>
#include <QString>

#include "DemoMaterialCatalogue.h"
#include "DemoWarehouse.h"

struct SuiteUser {
  QString name;
  QString password;
  QString fullName;
  bool barred = false;             // ZutrittsSperre
  QString barredClients;           // Auswahl: comma-separated clients the user may not open
  QString permissions = QStringLiteral("02,10,12");
};

struct SuiteLayout {
  QString root;
  QString client;
};

// The area directory values written into SYSDATA.INI, relative to [DATADIR];
// the client's folder keeps the name as given, as the directory tree does.
QString AreaDirValue(const QString& client, const QString& key);

// Creates (or completes) the tree for the client and admits the users.
// Existing files keep what they hold beyond the keys written here.
bool CreateSuiteTree(const SuiteLayout& layout, const QList<SuiteUser>& users, QString* error);

// The demo suite: client DEMO, user ADMIN and the barred user GAST, with
// addressCount demo addresses and the address configuration, and a
// warehouse of warehouseArticles articles, and a material catalogue of
// catalogueArticles articles.
constexpr int kDemoAddressCount = 150;
bool CreateDemoSuite(const QString& root, QString* error, int addressCount = kDemoAddressCount,
                     int warehouseArticles = kDemoWarehouseArticleCount,
                     int catalogueArticles = kDemoCatalogueArticleCount);
// The demo client's address directory: <root>/DATA/DEMO/A1/ADRESSEN/.
QString DemoAddressDir(const QString& root);

// Paths in a tree.
QString SysdataPath(const SuiteLayout& layout);
QString SysdatbPath(const QString& root);
QString UserDir(const QString& root, const QString& user);
