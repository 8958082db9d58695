#pragma once
// Demo data of the warehouse and of the article-specific price tables: the
// articles of a heating, plumbing and electrical firm, made from a fixed
// recipe (the same count gives the same warehouse), and prices with quantity
// scales that refer to them and to the demo catalogues.
#include <QString>
#include <QStringList>

class TLagerServerObj;

constexpr int kDemoWarehouseArticleCount = 2000;

// The index-th demo article (0-based), complete.
void MakeDemoArticle(int index, TLagerServerObj& article);
// Fills the warehouse in the directory (LAGER.DAT and LAGERSN.DAT) with count
// articles and the serial numbers of those that need them, in batches.
bool FillDemoWarehouse(const QString& warehouseDir, int count, QString* error);
// Article-specific price tables ("003") of the given address identifiers,
// referring to the first warehouseCount demo articles and to the demo catalogues.
bool FillDemoArticlePrices(const QString& addressDir, const QStringList& ids, int warehouseCount, QString* error);
