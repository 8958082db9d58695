#include "PreisauskunftForm.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ArticleSources.h"
#include "KatalogDBClipBoard.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "PreisauskunftArtikel.h"
#include "PricingFiles.h"
#include "Translation.h"
#include "LagerServerObj.h"

namespace {
void ShowError(const QString& text) { MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}); }

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);  // Enter shows the entries wherever the focus is
  return button;
}

// "003/4711.TDBD": the pricing folder tells the kind; the whole path is the tool tip.
QString KurzerDateiname(const QString& path) {
  if (path.isEmpty()) return path;
  const QFileInfo info(path);
  return info.dir().dirName() + u'/' + info.fileName();
}

QLineEdit* Field(const char* name, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QLatin1String(name));
  return field;
}
}  // namespace

TPreisauskunftForm::TPreisauskunftForm(const QString& addressId, TKSPreisauskunft resolver, TQuellen quellen,
                                       QWidget* parent)
    : QDialog(parent), addressId_(addressId), resolver_(std::move(resolver)), quellen_(std::move(quellen)) {
  setObjectName(QStringLiteral("PreisauskunftForm"));
  setWindowTitle(Tr("Preisauskunft"));
  BuildLayout();
  resize(760, 480);
}

void TPreisauskunftForm::BuildLayout() {
  auto* layout = new QVBoxLayout(this);
  lbKunde = new QLabel(addressId_ == QLatin1String(kDefaultAddressId)
                           ? Tr("Standardtabellen")
                           : Tr("Kunde %1").arg(addressId_),
                       this);
  lbKunde->setObjectName(QStringLiteral("lbKunde"));
  layout->addWidget(lbKunde);
  layout->addWidget(BuildArticleRow());
  lbArtikel = new QLabel(this);
  lbArtikel->setObjectName(QStringLiteral("lbArtikel"));
  layout->addWidget(lbArtikel);

  lvEintraege = new QTableWidget(0, 4, this);
  lvEintraege->setObjectName(QStringLiteral("lvEintraege"));
  lvEintraege->setHorizontalHeaderLabels({Tr("Angabe"), Tr("Wert"), Tr("Herkunft"), Tr("Datei")});
  lvEintraege->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvEintraege->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvEintraege->verticalHeader()->hide();
  lvEintraege->setWordWrap(false);
  lvEintraege->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  lvEintraege->horizontalHeader()->setStretchLastSection(true);
  lvEintraege->setColumnWidth(0, 260);
  lvEintraege->setColumnWidth(1, 130);
  lvEintraege->setColumnWidth(2, 110);
  layout->addWidget(lvEintraege, 1);

  lbHinweis = new QLabel(
      Tr("Die Liste zeigt, welche Angaben der Preistabellen fuer diesen Artikel gelten. Den endgueltigen Preis eines Angebots berechnen die Auftragsmodule."),
      this);
  lbHinweis->setObjectName(QStringLiteral("lbHinweis"));
  lbHinweis->setWordWrap(true);
  layout->addWidget(lbHinweis);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  btAnzeigen = Button(Tr("Anzeigen"), "btAnzeigen", this);
  btAnzeigen->setDefault(true);
  btSchliessen = Button(Tr("Schliessen"), "btSchliessen", this);
  buttons->addWidget(btAnzeigen);
  buttons->addWidget(btSchliessen);
  layout->addLayout(buttons);
  connect(btAnzeigen, &QPushButton::clicked, this, &TPreisauskunftForm::AnzeigenClick);
  connect(btSchliessen, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* TPreisauskunftForm::BuildArticleRow() {
  auto* row = new QWidget(this);
  auto* grid = new QGridLayout(row);
  grid->setContentsMargins(0, 0, 0, 0);
  btKatalogArtikel = Button(Tr("Artikel aus Materialkatalog"), "btKatalogArtikel", row);
  btLagerArtikel = Button(Tr("Artikel aus Lagerkatalog"), "btLagerArtikel", row);
  edKatalog = Field("edKatalog", row);
  edArtikelNr = Field("edArtikelNr", row);
  edMenge = Field("edMenge", row);
  edMenge->setText(FormatGeneralNumber(1));
  grid->addWidget(btKatalogArtikel, 0, 0, 1, 2);
  grid->addWidget(btLagerArtikel, 0, 2, 1, 2);
  const auto labelled = [&](const QString& text, QLineEdit* field, int column) {
    auto* label = new QLabel(text, row);
    label->setBuddy(field);
    grid->addWidget(label, 1, column);
    grid->addWidget(field, 1, column + 1);
  };
  labelled(Tr("&Katalog"), edKatalog, 0);
  labelled(Tr("A&rtikel-Nr."), edArtikelNr, 2);
  labelled(Tr("&Menge"), edMenge, 4);
  connect(btKatalogArtikel, &QPushButton::clicked, this, &TPreisauskunftForm::KatalogArtikelClick);
  connect(btLagerArtikel, &QPushButton::clicked, this, &TPreisauskunftForm::LagerArtikelClick);
  return row;
}

void TPreisauskunftForm::KatalogArtikelClick() {
  if (!quellen_.Auswahl || !quellen_.Auswahl->SelectKatalogArtikel) return;
  TKatalogDBClipBoard clipboard;
  quellen_.Auswahl->SelectKatalogArtikel(clipboard, Tr("Preisauskunft"));
  TKSPreisauskunftArtikel artikel;
  if (clipboard.Count() > 0 && PreisauskunftArtikelAus(*clipboard.Items(0), artikel)) ArtikelGewaehlt(artikel);
}

void TPreisauskunftForm::LagerArtikelClick() {
  if (!quellen_.Auswahl || !quellen_.Auswahl->SelectLagerArtikel) return;
  TLagerServerObjObjectList result;
  TKSPreisauskunftArtikel artikel;
  if (quellen_.Auswahl->SelectLagerArtikel(result) && result.Count() > 0 &&
      PreisauskunftArtikelAus(*result.Items(0), artikel))
    ArtikelGewaehlt(artikel);
}

void TPreisauskunftForm::ArtikelGewaehlt(const TKSPreisauskunftArtikel& artikel) {
  artikel_ = artikel;
  edKatalog->setText(artikel.Katalog);
  edArtikelNr->setText(artikel.ArtikelNr);
  AnzeigenClick();
}

bool TPreisauskunftForm::ArtikelDerFelder() {
  const QString katalog = edKatalog->text().trimmed(), nr = edArtikelNr->text().trimmed();
  if (katalog.isEmpty() || nr.isEmpty()) {
    ShowError(Tr("Waehlen Sie einen Artikel aus oder geben Sie Katalog und Artikel-Nr. ein."));
    return false;
  }
  if (artikel_.Katalog == katalog && artikel_.ArtikelNr == nr && artikel_.ArtikeldatenBekannt) return true;
  artikel_ = TKSPreisauskunftArtikel{};
  artikel_.Katalog = katalog;
  artikel_.ArtikelNr = nr;
  if (quellen_.Suchen) quellen_.Suchen(katalog, nr, artikel_);
  return true;
}

void TPreisauskunftForm::AnzeigenClick() {
  double menge = 0;
  if (!ReadNumberStrict(edMenge->text(), menge) || menge <= 0) {
    ShowError(Tr("Geben Sie eine Menge groesser 0 an."));
    edMenge->setFocus();
    return;
  }
  if (!ArtikelDerFelder()) return;
  lbArtikel->setText(artikel_.ArtikeldatenBekannt ? artikel_.Bezeichnung
                                                  : Tr("Artikel nicht gefunden: nur die Preistabellen werden gelesen."));
  eintraege_ = resolver_.Resolve(addressId_, artikel_, menge);
  ZeigeEintraege();
}

void TPreisauskunftForm::ZeigeEintraege() {
  lvEintraege->setRowCount(int(eintraege_.size()));
  for (int row = 0; row < eintraege_.size(); ++row) {
    const TKSPreisauskunftEintrag& e = eintraege_[row];
    const QStringList cells{e.Was, e.Wert, QuelleText(e.Quelle), KurzerDateiname(e.Datei)};
    for (int column = 0; column < cells.size(); ++column)
      lvEintraege->setItem(row, column, new QTableWidgetItem(cells[column]));
    lvEintraege->item(row, 3)->setToolTip(e.Datei);
  }
}
