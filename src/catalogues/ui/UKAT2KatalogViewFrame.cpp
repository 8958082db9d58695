#include "UKAT2KatalogViewFrame.h"

#include <QLineEdit>

#include "Format.h"
#include "Katalog2DB.h"
#include "MemIniFile.h"
#include "Msgdlg.h"
#include "TdbTable.h"
#include "Translation.h"

namespace {
TKatalogViewLayout Katalog2Layout() {
  using K = TKatalogCellKind;
  TKatalogViewLayout layout;
  layout.Columns = {
      {QStringLiteral("ID"), Tr("Artikel-Nr."), K::Text, 110},
      {QStringLiteral("DESCRIPTION"), Tr("Beschreibung"), K::Text, 260},
      {QStringLiteral("EK"), Tr("Einkaufspreis"), K::Currency, 90},
      {QStringLiteral("VKZUSCHLAG"), Tr("VK-Preis 1"), K::Factor, 80},
      {QStringLiteral("VKPREIS2"), Tr("VK-Preis 2"), K::Currency, 80},
      {QStringLiteral("VKPREIS3"), Tr("VK-Preis 3"), K::Currency, 80},
      {QStringLiteral("VKPREIS4"), Tr("VK-Preis 4"), K::Currency, 80},
      {QStringLiteral("VKPREIS5"), Tr("VK-Preis 5"), K::Currency, 80},
      {QStringLiteral("ME"), Tr("Mengeneinheit"), K::Text, 90},
  };
  return layout;
}

const QString kIndexKey = QStringLiteral("Index");
}  // namespace

TUKAT2KatalogViewFrame::TUKAT2KatalogViewFrame(QWidget* parent, const QString& katalog, const QString& verzeichnis,
                                               TKatalog2DB& db, bool searchByEAN)
    : TUKATKatalogViewFrame(parent, katalog, verzeichnis, db.SCatalog, TKatalog2DB::kIndexID, Katalog2Layout()),
      db_(db),
      searchByEAN_(searchByEAN) {
  setObjectName(QStringLiteral("UKAT2KatalogViewFrame"));
  Build();
}

std::unique_ptr<TDBXMLCoreObject> TUKAT2KatalogViewFrame::LoadFocusedArticle() {
  auto article = std::make_unique<TKatalog2Artikel>();
  article->ID = FocusedArtikelNr();
  if (article->ID.isEmpty() || db_.GetObject(*article) != 0) return nullptr;
  article->Katalog = Katalog();
  return article;
}

bool TUKAT2KatalogViewFrame::FindNearest(const QString& text) { return db_.FindNextObj(text); }

void TUKAT2KatalogViewFrame::edGotoChange(const QString& text) {
  // With search by EAN, typing does not move the list: the EAN is looked up on Enter.
  if (!searchByEAN_) TUKATKatalogViewFrame::edGotoChange(text);
}

void TUKAT2KatalogViewFrame::edGotoEnter() {
  const QString ean = edGoto->text().trimmed();
  if (!searchByEAN_ || ean.isEmpty()) return;
  const QString focused = FocusedArtikelNr();
  // The lookup switches the index, which makes the list read itself afresh.
  const QString id = db_.GetIDByEAN(ean);
  if (!id.isEmpty() && GotoArtikelNr(id)) return;
  GotoArtikelNr(focused);
  DesktopAlert(AlertTitle(), FormatText(Tr("EAN \"%s\" nicht gefunden."), {ean}));
}

QString TUKAT2KatalogViewFrame::IndexName() const { return Table()->IndexName(); }

void TUKAT2KatalogViewFrame::HeaderClick(int column) {
  if (column == kcID) SwitchIndex(TKatalog2DB::kIndexID);
  else if (column == kcEK) SwitchIndex(TKatalog2DB::kIndexEK);
}

void TUKAT2KatalogViewFrame::SwitchIndex(const QString& indexName) {
  if (IndexName() == indexName) return;
  const QString focused = FocusedArtikelNr();
  try {
    Table()->SetIndexName(indexName);
  } catch (const std::exception& e) {
    db_.LogError(e, QStringLiteral("SwitchIndex"));
    return;
  }
  if (InSearchView()) return;  // the hits keep their order; the table follows when shown again
  ShowTable();
  GotoArtikelNr(focused);
}

void TUKAT2KatalogViewFrame::SaveSettings(TMemIniFile& ini) const {
  TUKATKatalogViewFrame::SaveSettings(ini);
  ini.WriteString(SettingsSection(), kIndexKey, IndexName());
}

void TUKAT2KatalogViewFrame::LoadSettings(const TMemIniFile& ini) {
  TUKATKatalogViewFrame::LoadSettings(ini);
  const QString index = ini.ReadString(SettingsSection(), kIndexKey, TKatalog2DB::kIndexID);
  SwitchIndex(index == TKatalog2DB::kIndexEK ? TKatalog2DB::kIndexEK : TKatalog2DB::kIndexID);
}
