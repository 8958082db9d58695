#include "ArtikelinfoForm.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "Katalog1ArtikelHelper.h"
#include "Katalog1DB.h"
#include "Msgdlg.h"
#include "Translation.h"

TArtikelinfoForm::TArtikelinfoForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ArtikelinfoForm"));
  setWindowTitle(Tr("Artikelinformation"));
  auto* layout = new QVBoxLayout(this);
  Browser = new QTextBrowser(this);
  Browser->setObjectName(QStringLiteral("Browser"));
  Browser->setOpenLinks(false);  // a local page: nothing to follow
  layout->addWidget(Browser, 1);
  auto* close = new QPushButton(Tr("Schliessen"), this);
  close->setObjectName(QStringLiteral("btSchliessen"));
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  resize(520, 600);
}

bool TArtikelinfoForm::ShowArtikel(TKatalog1DB& db, const QString& artikelNr, const QString& katalogDir) {
  TKatalog1Artikel article;
  article.ID = artikelNr;
  if (artikelNr.isEmpty() || db.Artikel_GetObject(article) != 0) {
    Browser->clear();
    MessageDlg(Tr("Fehler beim Laden der Seite."), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return false;
  }
  Browser->setSearchPaths({katalogDir});
  Browser->setHtml(TKatalog1ArtikelHelper::ArtikelHtml(article));
  return true;
}
