#include "UKAT1KatalogViewFrame.h"

#include <QHash>
#include <QPushButton>

#include "ArtikelinfoForm.h"
#include "Katalog1DB.h"
#include "Msgdlg.h"
#include "NumberText.h"
#include "TdbTable.h"
#include "Translation.h"
#include "TypeUnit.h"

namespace {
const QString kNetto = QStringLiteral("NETTO");
const QString kRabattGr = QStringLiteral("RABATTGR");

// The surcharges of the shown rows, each looked up once per view.
class TVKPreis1Deriver {
 public:
  explicit TVKPreis1Deriver(TKatalog1DB& db) : db_(db) {}

  QVariant operator()(const TKatalogRowValue& row) {
    const QVariant netto = row(kNetto);
    if (netto.isNull()) return QVariant();
    return Katalog1VKPreis1(netto.toDouble(), Surcharge(row(kRabattGr).toString(), netto.toDouble()));
  }

 private:
  double Surcharge(const QString& group, double netto) {
    if (!group.isEmpty()) {
      auto it = groups_.constFind(group);
      if (it == groups_.constEnd()) it = groups_.insert(group, db_.Rabatt_GetVerkaufszuschlag(group));
      if (*it != 0) return *it;
    }
    const Currency key = CurrencyFromDouble(netto);
    auto it = bands_.constFind(key);
    if (it == bands_.constEnd()) it = bands_.insert(key, db_.Verkauf_GetAufschlag(netto));
    return *it;
  }

  TKatalog1DB& db_;
  QHash<QString, double> groups_;
  QHash<Currency, double> bands_;
};

TKatalogViewLayout Katalog1Layout(TKatalog1DB& db) {
  using K = TKatalogCellKind;
  TKatalogViewLayout layout;
  layout.Columns = {
      {QStringLiteral("ID"), Tr("Artikel-Nr."), K::Text, 110},
      {QStringLiteral("KURZZEILE1"), Tr("Kurzzeile 1"), K::Text, 200},
      {QStringLiteral("KURZZEILE2"), Tr("Kurzzeile 2"), K::Text, 200},
      {kNetto, Tr("EK-Preis"), K::Currency, 80},
      {kNetto, Tr("VK-Preis 1"), K::Derived, 80},
      {QStringLiteral("VKPREIS2"), Tr("VK-Preis 2"), K::Currency, 80},
      {QStringLiteral("VKPREIS3"), Tr("VK-Preis 3"), K::Currency, 80},
      {QStringLiteral("VKPREIS4"), Tr("VK-Preis 4"), K::Currency, 80},
      {QStringLiteral("VKPREIS5"), Tr("VK-Preis 5"), K::Currency, 80},
      {QStringLiteral("ME"), Tr("Mengeneinheit"), K::Text, 90},
  };
  layout.HelperFields = {kRabattGr};
  auto deriver = std::make_shared<TVKPreis1Deriver>(db);
  layout.Deriver = [deriver](const TKatalogRowValue& row) { return (*deriver)(row); };
  return layout;
}
}  // namespace

double Katalog1VKPreis1(double netto, double verkaufszuschlag) {
  const double amount = netto + netto / 100.0 * verkaufszuschlag;
  const TSystemEinstellungen* settings = SystemEinstellungen();
  return settings ? settings->RoundCurrency(amount) : RoundHalfAwayFromZero(amount, 2);
}

TUKAT1KatalogViewFrame::TUKAT1KatalogViewFrame(QWidget* parent, const QString& katalog, const QString& verzeichnis,
                                               TKatalog1DB& db)
    : TUKATKatalogViewFrame(parent, katalog, verzeichnis, db.Catalog, QStringLiteral("CATALOG001"),
                            Katalog1Layout(db)),
      db_(db) {
  setObjectName(QStringLiteral("UKAT1KatalogViewFrame"));
  Build();
  btDetails = new QPushButton(Tr("Details"));
  btDetails->setObjectName(QStringLiteral("btDetails"));
  btDetails->setAutoDefault(false);
  AddButton(btDetails);
  connect(btDetails, &QPushButton::clicked, this, &TUKAT1KatalogViewFrame::btDetailsClick);
}

bool TUKAT1KatalogViewFrame::TableReady() {
  if (db_.Catalog && db_.Catalog->Active()) return true;
  MessageDlg(Tr("Tabelle nicht gefunden - LoadKatalog1Index."), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  return false;
}

std::unique_ptr<TDBXMLCoreObject> TUKAT1KatalogViewFrame::LoadFocusedArticle() {
  auto article = std::make_unique<TKatalog1Artikel>();
  article->ID = FocusedArtikelNr();
  if (article->ID.isEmpty() || db_.Artikel_GetObject(*article) != 0) return nullptr;
  article->Katalog = Katalog();
  return article;
}

bool TUKAT1KatalogViewFrame::FindNearest(const QString& text) { return db_.Artikel_FindNextObj(text); }

void TUKAT1KatalogViewFrame::btDetailsClick() {
  const QString id = FocusedArtikelNr();
  if (id.isEmpty()) return;
  TArtikelinfoForm form(this);
  if (form.ShowArtikel(db_, id, Verzeichnis())) form.exec();
}
