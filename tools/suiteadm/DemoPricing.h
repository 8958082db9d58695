#pragma once
// Demo data of the pricing editor: the warehouse settings with predefined
// discount groups, and discount tables of some customers and of the
// standard tables ("__DEFAULT__").
#include <QString>
#include <QStringList>

// The keys of the predefined discount groups, the article groups and the
// storage locations of the warehouse settings.
QStringList DemoDiscountGroupKeys();
QStringList DemoArticleGroups();
QStringList DemoStorageLocations();
// Writes CONFIG.XML of the warehouse directory with about 30 discount groups.
bool WriteDemoWarehouseConfig(const QString& warehouseDir, QString* error);
// Discount tables (quotes/orders "001" and commission orders "004") for the
// given address identifiers, in the address directory's pricing folders.
bool FillDemoDiscounts(const QString& addressDir, const QStringList& ids, QString* error);
// Quantity-discount lists ("002", ".MR") for the given address identifiers.
bool FillDemoQuantityDiscounts(const QString& addressDir, const QStringList& ids, QString* error);
