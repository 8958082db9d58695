#pragma once
// The demo material catalogue: the articles of a heating and plumbing
// wholesaler, made from a fixed recipe (the same count gives the same
// catalogue), with long texts, discount groups, net-price bands, product
// groups, article sets, attached pictures and graduated prices.
#include <QList>
#include <QPair>
#include <QString>

class TKatalog1Artikel;

constexpr int kDemoCatalogueArticleCount = 5000;

// The index-th demo catalogue article (0-based), complete with long text,
// XMLDATA lists and, for the first of its kind, the attached objects.
void MakeDemoCatalogueArticle(int index, TKatalog1Artikel& article);

// Fills the material catalogue in dir with count articles and its other
// tables, in batches. indexTexts, when given, receives per article its
// number and its searchable text (both short lines and the long text).
bool FillDemoMaterialCatalogue(const QString& dir, int count, QString* error,
                               QList<QPair<QString, QString>>* indexTexts = nullptr);
