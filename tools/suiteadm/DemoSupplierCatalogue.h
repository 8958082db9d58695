#pragma once
// Demo data of a supplier catalogue: the articles of a sanitary and
// installation wholesaler ("Meier"), made from a fixed recipe (the same count
// gives the same catalogue). It holds the articles the demo article-price
// tables refer to.
#include <QList>
#include <QPair>
#include <QString>

class TKatalog2Artikel;

constexpr int kDemoSupplierCatalogueArticleCount = 3000;

// The index-th article of the catalogue (0-based), complete.
void MakeDemoSupplierArticle(int index, TKatalog2Artikel& article);

// Fills the supplier catalogue in the directory (SCATALOG.DAT) with count
// articles in batches. indexTexts, when given, receives per article its
// number and DESCRIPTION + " " + KURZTEXT, for the word index.
bool FillDemoSupplierCatalogue(const QString& dir, int count, QString* error,
                               QList<QPair<QString, QString>>* indexTexts = nullptr);
