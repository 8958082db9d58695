#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include "DemoSearchtext.h"
#include "Katalog2DB.h"
#include "TestSupport.h"
#include "UKAT2KatalogViewFrame.h"

namespace {
struct Article {
  const char* id;
  double ek;
  const char* description;
  const char* ean;
};
const Article kArticles[] = {
    {"R-200", 7.5, "Kupferrohr 22 mm", "4000000000022"},
    {"R-150", 12.25, "Kupferrohr 15 mm", "4000000000015"},
    {"S-8", 0.3, "Schraube M8", ""},
    {"F-1", 3.0, "Fitting Rohrbogen", "4000000000091"},
};

class SupplierView : public testing::Test {
 protected:
  void SetUp() override {
    db.Open(Dir());
    QList<QPair<QString, QString>> texts;
    for (const Article& a : kArticles) {
      TKatalog2Artikel article;
      article.ID = QLatin1String(a.id), article.EK = a.ek, article.VKZuschlag = 1.5;
      article.Description = QString::fromUtf8(a.description), article.EAN = QLatin1String(a.ean);
      ASSERT_EQ(db.SetObject(article), 0);
      texts << qMakePair(article.ID, article.Description);
    }
    ASSERT_TRUE(WriteDemoSearchtext(Dir(), texts, nullptr));
  }
  QString Dir() const { return dir.filePath(QStringLiteral("MEIER")); }
  TUKAT2KatalogViewFrame& View(bool searchByEAN = false) {
    if (!view) view = std::make_unique<TUKAT2KatalogViewFrame>(nullptr, QStringLiteral("MEIER"), Dir(), db, searchByEAN);
    return *view;
  }
  QStringList Shown() {
    QStringList ids;
    QAbstractItemModel* model = View().Grid->model();
    for (int row = 0; row < model->rowCount(); ++row) ids << model->index(row, 0).data().toString();
    return ids;
  }
  QString LastAlert() {
    for (auto it = TestDialogs().shown.rbegin(); it != TestDialogs().shown.rend(); ++it)
      if (it->kind == QStringLiteral("alert")) return it->text;
    return QString();
  }

  QTemporaryDir dir;
  TKatalog2DB db;
  std::unique_ptr<TUKAT2KatalogViewFrame> view;
};

TEST_F(SupplierView, SearchShowsTheHitsAsRowsAndReportsThem) {
  const struct {
    const char* text;
    const char* rows;  // empty: nothing found, the table stays
  } cases[] = {{"rohr", "F-1 R-150 R-200"}, {"rohr kupfer", "R-150 R-200"}, {"dachrinne", ""}};
  for (const auto& c : cases) {
    View().btSucheBeendenClick();
    View().edSuchtext->setText(QLatin1String(c.text));
    View().btSucheStartenClick();
    if (*c.rows) {
      EXPECT_TRUE(View().InSearchView()) << c.text;
      EXPECT_EQ(Shown().join(u' '), QLatin1String(c.rows)) << c.text;
      EXPECT_TRUE(LastAlert().contains(QStringLiteral(" Treffer in "))) << LastAlert().toStdString();
    } else {
      EXPECT_FALSE(View().InSearchView()) << c.text;
      EXPECT_EQ(LastAlert(), QStringLiteral("Nichts gefunden."));
    }
  }
  // A hit row reads its article: the sales factor with four decimals.
  View().edSuchtext->setText(QStringLiteral("schraube"));
  View().btSucheStartenClick();
  EXPECT_EQ(View().Grid->model()->index(0, TUKAT2KatalogViewFrame::kcVKZuschlag).data().toString(),
            QStringLiteral("1,5000"));  // the German default locale of the tests
}

TEST_F(SupplierView, GoToByNumberOrByEAN) {
  const struct {
    bool byEAN;
    const char* typed;
    const char* focused;
    const char* alert;
  } cases[] = {
      {false, "R-1", "R-150", ""},
      {false, "R-2", "R-200", ""},
      {true, "4000000000091", "F-1", ""},
      {true, "4000000000099", "F-1", "EAN \"4000000000099\" nicht gefunden."},
  };
  for (const auto& c : cases) {
    view.reset();
    TUKAT2KatalogViewFrame& v = View(c.byEAN);
    if (c.byEAN) v.GotoArtikelNr(QStringLiteral("F-1"));
    TestDialogs().shown.clear();
    v.edGoto->setText(QLatin1String(c.typed));
    v.edGotoEnter();
    EXPECT_EQ(v.FocusedArtikelNr(), QLatin1String(c.focused)) << c.typed;
    EXPECT_EQ(LastAlert(), QLatin1String(c.alert)) << c.typed;
  }
}

TEST_F(SupplierView, ColumnTitleSwitchesTheIndex) {
  View().GotoArtikelNr(QStringLiteral("R-150"));
  View().Grid->horizontalHeader()->sectionClicked(TUKAT2KatalogViewFrame::kcEK);
  EXPECT_EQ(View().IndexName(), QStringLiteral("SCATALOG003"));
  EXPECT_EQ(Shown().join(u' '), QStringLiteral("S-8 F-1 R-200 R-150"));
  EXPECT_EQ(View().FocusedArtikelNr(), QStringLiteral("R-150"));
  View().Grid->horizontalHeader()->sectionClicked(TUKAT2KatalogViewFrame::kcDescription);
  EXPECT_EQ(View().IndexName(), QStringLiteral("SCATALOG003"));
  View().Grid->horizontalHeader()->sectionClicked(TUKAT2KatalogViewFrame::kcID);
  EXPECT_EQ(Shown().join(u' '), QStringLiteral("F-1 R-150 R-200 S-8"));
}
}  // namespace
