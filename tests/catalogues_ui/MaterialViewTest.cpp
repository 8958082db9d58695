#include <gtest/gtest.h>

#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "ArtikelinfoForm.h"
#include "Katalog1DB.h"
#include "TestSupport.h"
#include "UKAT1KatalogViewFrame.h"

namespace {
class MaterialView : public testing::Test {
 protected:
  void SetUp() override {
    db.Open(Dir());
    ASSERT_TRUE(db.Rabatt_SetGruppe(QStringLiteral("RG20"), QString(), 0, 20));
    ASSERT_TRUE(db.Rabatt_SetGruppe(QStringLiteral("RG0"), QString(), 0, 0));
    ASSERT_TRUE(db.Verkauf_SetAufschlag(50, 10));
    ASSERT_TRUE(db.Verkauf_SetAufschlag(1000, 5));
  }
  QString Dir() const { return dir.filePath(QStringLiteral("DN")); }
  void Store(const char* id, double netto, const char* group) {
    TKatalog1Artikel a;
    a.ID = QLatin1String(id), a.NETTO = CurrencyFromDouble(netto), a.RABATTGR = QLatin1String(group);
    a.KURZZEILE1 = QStringLiteral("Rohr <%1>").arg(a.ID), a.LISTENPREIS = CurrencyFromDouble(99.5);
    a.LANGTEXTNR = a.ID, a.Langtext = QStringLiteral("Kupfer & Zinn");
    ASSERT_TRUE(db.Artikel_SetObject(a));
  }

  QTemporaryDir dir;
  TKatalog1DB db;
};

TEST_F(MaterialView, SalesPrice1IsDerivedPerShownRow) {
  const struct {
    const char* id;
    double netto;
    const char* group;
    const char* vk1;
  } cases[] = {
      {"A1", 10, "RG20", "12,00"},   // the group's surcharge
      {"A2", 10, "RG0", "11,00"},    // group without surcharge: the band's
      {"A3", 100, "", "105,00"},     // no group: the band's
      {"A4", 2000, "RG0", "2.000,00"},  // above every band: none
  };
  for (const auto& c : cases) Store(c.id, c.netto, c.group);
  TUKAT1KatalogViewFrame view(nullptr, QStringLiteral("DN"), Dir(), db);
  QAbstractItemModel* model = view.Grid->model();
  ASSERT_EQ(model->rowCount(), 4);
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(model->index(row, TUKAT1KatalogViewFrame::kcID).data().toString(), QLatin1String(cases[row].id));
    EXPECT_EQ(model->index(row, TUKAT1KatalogViewFrame::kcVKPreis1).data().toString(), QLatin1String(cases[row].vk1))
        << cases[row].id;
  }
}

TEST_F(MaterialView, ArticleInformationShowsThePageOrSaysItCannot) {
  Store("A1", 10, "RG20");
  TArtikelinfoForm form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Artikelinformation"));
  ASSERT_TRUE(form.ShowArtikel(db, QStringLiteral("A1"), Dir()));
  const QString page = form.Browser->toPlainText();
  for (const char* text : {"Rohr <A1>", "Listenpreis", "99,50", "Nettopreis", "10,00", "Kupfer & Zinn"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(text))) << text;
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_FALSE(form.ShowArtikel(db, QStringLiteral("GIBTS-NICHT"), Dir()));
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Fehler beim Laden der Seite."));
}
}  // namespace
