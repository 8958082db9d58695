#pragma once
// The article information window: the page of one material catalogue
// article in a browser pane.
#include <QDialog>

class QTextBrowser;
class TKatalog1DB;

class TArtikelinfoForm : public QDialog {
 public:
  explicit TArtikelinfoForm(QWidget* parent = nullptr);

  QTextBrowser* Browser = nullptr;

  // Reads the article completely and shows its page; false, after
  // "Fehler beim Laden der Seite.", when it cannot be read.
  bool ShowArtikel(TKatalog1DB& db, const QString& artikelNr, const QString& katalogDir);
};
