#pragma once
// Where the article-price page takes its articles from: the catalogue and
// warehouse selection windows, set by the main window (tests set fakes).
// An unset source offers nothing.
#include <QString>
#include <functional>

class TKatalogDBClipBoard;
class TKatalogDBClipBoardMergeObj;
class TLagerServerObj;
class TLagerServerObjObjectList;

struct TArticleSources {
  // The article selection window with its basket: fills the clipboard
  // (left empty when the user cancels).
  std::function<void(TKatalogDBClipBoard& clipboard, const QString& title)> SelectKatalogArtikel;
  // The catalogue choice without the warehouse: true with the chosen key.
  std::function<bool(QString& katalog)> ChooseKatalog;
  // Every article of the catalogue once as a transfer record.
  std::function<bool(const QString& katalog, const std::function<void(TKatalogDBClipBoardMergeObj&)>& callback)>
      ForEachArticle;
  // The warehouse selection window: true when the user confirmed.
  std::function<bool(TLagerServerObjObjectList& result)> SelectLagerArtikel;
  // Every warehouse article once.
  std::function<bool(const std::function<void(TLagerServerObj&)>& callback)> ForEachLagerArtikel;
};
