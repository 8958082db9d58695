#pragma once
// The article information page of a material catalogue article as HTML:
// picture, number, prices, unit and texts.
#include <QString>

class TKatalog1Artikel;

class TKatalog1ArtikelHelper {
 public:
  // Pictures are named relative to the catalogue directory.
  static QString ArtikelHtml(const TKatalog1Artikel& article);
  // The file of the article's first attached picture; empty without one.
  static QString PictureFile(const TKatalog1Artikel& article);
};
