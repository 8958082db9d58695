// The price information resolver on real pricing files: own files, the
// standard files, both or none; the article's source; quantities around
// the steps of the scale and of the quantity discounts.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include "KSPRDatabase.h"
#include "KSRabDatabase.h"
#include "NumberText.h"
#include "Preisauskunft.h"
#include "TestSupport.h"

namespace {
const QString kOwn = QStringLiteral("4711");
const QString kStd = QStringLiteral("__DEFAULT__");

class PreisauskunftTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"001", "002", "003", "004", "006"}) ASSERT_TRUE(QDir().mkpath(Path(folder)));
    for (const char* name : {"K1", "K2"}) ASSERT_TRUE(QDir().mkpath(Catalogues() + QLatin1String(name)));
  }
  QString Path(const char* folder) const { return dir.path() + QStringLiteral("/ADR/") + QLatin1String(folder); }
  QString File(const char* folder, const QString& id, const char* ext) const {
    return Path(folder) + u'/' + id + QLatin1String(ext);
  }
  QString Catalogues() const { return dir.path() + QStringLiteral("/KAT/"); }

  void WritePriceGroups(const QString& id, const char* text) const {
    WriteFileBytes(File("006", id, ".PGRP"),
                   Utf16LeWithBom(QString::fromUtf8(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))));
  }
  // Article K1/A1 with price, discount and the scale 10 -> v+1 %, 50 -> v+2 %.
  void WriteArticlePrice(const QString& id, double v, const QString& nr = QStringLiteral("A1")) const {
    TKSPRDatabase db;
    db.OpenFile(File("003", id, ".TDBD"), false);
    TKSPRDatabaseObj entry;
    entry.Katalog = QStringLiteral("K1");
    entry.ArtikelNr = nr;
    entry.Preis = CurrencyFromDouble(v);
    entry.Rabatt = v;
    entry.Zeit = 90;
    entry.Mengenstaffel.Add(50, v + 2, 0);  // unsorted, as an edited list may be
    entry.Mengenstaffel.Add(10, v + 1, v / 2);
    ASSERT_TRUE(db.SetArtikel(&entry));
  }
  void WriteDiscount(const char* folder, const QString& id, double v) const {
    TKSRabDatabase db;
    db.OpenFile(File(folder, id, ".TDBD"), false);
    db.RabattGrpAppend(QStringLiteral("RG"));
    ASSERT_TRUE(db.RabattGrpExists(QStringLiteral("RG")));
    db.Table->Edit();
    db.Table->FieldByName(QStringLiteral("RABATT")).SetAsFloat(v);
    db.Table->Post();
  }
  void WriteQuantityDiscounts(const QString& id, double v) const {
    TDoubleStringListObjectList list;
    list.Add(FormatGeneralNumber(100), FormatGeneralNumber(v * 2));
    list.Add(FormatGeneralNumber(10), FormatGeneralNumber(v));
    ASSERT_TRUE(list.SaveToFile(File("002", id, ".MR")));
  }
  // Every kind of file for the address, its values derived from v.
  void WriteAll(const QString& id, double v) const {
    const QByteArray pgrp = QStringLiteral("[Katalog]\nAktiv=1\nPreisgruppe=1\n[Kataloge]\nK1=%1\n").arg(int(v) / 10).toUtf8();
    WritePriceGroups(id, pgrp.constData());
    WriteArticlePrice(id, v);
    WriteDiscount("001", id, v + 0.5);
    WriteDiscount("004", id, v + 0.25);
    WriteQuantityDiscounts(id, v);
  }
  QStringList Files() const {
    QStringList files;
    for (QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) files << it.next();
    files.sort();
    return files;
  }
  TKSPreisauskunftEintraege Resolve(const QString& id, const TKSPreisauskunftArtikel& a, double menge) const {
    return TKSPreisauskunft(dir.path() + QStringLiteral("/ADR/"), Catalogues()).Resolve(id, a, menge);
  }

  QTemporaryDir dir;
};

TKSPreisauskunftArtikel Article(const char* katalog, const char* nr = "A1") {
  TKSPreisauskunftArtikel a;
  a.Katalog = QLatin1String(katalog);
  a.ArtikelNr = QLatin1String(nr);
  a.Rabattgruppe = QStringLiteral("RG");
  for (int i = 0; i < 5; ++i) a.VKPreis[size_t(i)] = CurrencyFromDouble(i + 1);
  a.ArtikeldatenBekannt = true;
  return a;
}

// The first entry whose description starts with the text.
const TKSPreisauskunftEintrag& Row(const TKSPreisauskunftEintraege& entries, const char* was) {
  for (const TKSPreisauskunftEintrag& e : entries)
    if (e.Was.startsWith(QLatin1String(was))) return e;
  static const TKSPreisauskunftEintrag none{};
  ADD_FAILURE() << "no entry " << was;
  return none;
}
}  // namespace

TEST_F(PreisauskunftTest, EachFileIsTheOwnElseTheStandardElseMissingAndNothingIsCreated) {
  using Q = TKSPreisauskunftQuelle;
  const struct {
    bool own, standard;
    Q quelle;
    std::optional<double> v;  // the values' base: 10 own, 20 standard
  } cases[] = {{true, true, Q::EigeneTabelle, 10},
               {true, false, Q::EigeneTabelle, 10},
               {false, true, Q::Standardtabelle, 20},
               {false, false, Q::KeineDatei, std::nullopt}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "own " << c.own << " standard " << c.standard);
    QDir(dir.path()).removeRecursively();
    SetUp();
    if (c.own) WriteAll(kOwn, 10);
    if (c.standard) WriteAll(kStd, 20);
    const QStringList before = Files();
    const TKSPreisauskunftEintraege e = Resolve(kOwn, Article("K1"), 10);
    EXPECT_EQ(Files(), before);
    const auto expect = [&](const char* was, std::optional<double> value) {
      const TKSPreisauskunftEintrag& row = Row(e, was);
      EXPECT_EQ(row.Quelle, c.quelle) << was;
      EXPECT_EQ(row.Zahl, value) << was;
      if (!value) {
        EXPECT_EQ(row.Wert, TKSPreisauskunft::KeineAngabe()) << was;
      }
    };
    const auto v = [&](double offset) { return c.v ? std::optional<double>(*c.v + offset) : std::nullopt; };
    expect("Preisgruppe", c.v ? std::optional<double>(*c.v / 10) : std::nullopt);
    EXPECT_EQ(Row(e, "Verkaufspreis").Zahl, c.v ? std::optional<double>(*c.v / 10) : std::nullopt);
    expect("Artikelpreis", v(0));
    expect("Mengenstaffel", v(1));
    expect("Rabatt fuer Angebote", v(0.5));
    expect("Rabatt fuer Kommission", v(0.25));
    expect("Mengenrabatt", v(0));
    if (!c.v) {
      EXPECT_EQ(Row(e, "Artikelpreis").Wert, TKSPreisauskunft::KeineAngabe());
    }
  }
}

TEST_F(PreisauskunftTest, ArticlePricesFallBackPerArticle) {
  WriteArticlePrice(kOwn, 10, QStringLiteral("OTHER"));
  WriteArticlePrice(kStd, 20);
  const TKSPreisauskunftEintrag row = Row(Resolve(kOwn, Article("K1"), 1), "Artikelpreis");
  EXPECT_EQ(row.Quelle, TKSPreisauskunftQuelle::Standardtabelle);
  EXPECT_EQ(row.Zahl, 20);
}

TEST_F(PreisauskunftTest, PriceGroupFollowsTheArticleSource) {
  const struct {
    const char* file;
    const char* katalog;
    const char* was;
    std::optional<double> gruppe;
    const char* preis;  // the sales-price entry's description
  } cases[] = {
      {"[Lager]\nAktiv=1\nPreisgruppe=2\n", "LAGER", "Preisgruppe fuer Lagerartikel", 2, "Verkaufspreis 2"},
      {"[Lager]\nAktiv=0\nPreisgruppe=2\n", "LAGER", "Preisgruppe fuer Lagerartikel", std::nullopt, "Verkaufspreis"},
      {"[Katalog]\nAktiv=1\nPreisgruppe=4\n[Kataloge]\nK1=5\n", "K1", "Preisgruppe des Katalogs K1", 5, "Verkaufspreis 5"},
      {"[Katalog]\nAktiv=1\nPreisgruppe=4\n[Kataloge]\nK1=5\n", "K2", "Preisgruppe fuer alle Kataloge", 4, "Verkaufspreis 4"},
      {"[Katalog]\nAktiv=0\nPreisgruppe=4\n", "K2", "Preisgruppe fuer alle Kataloge", std::nullopt, "Verkaufspreis"},
      {"[Lager]\nAktiv=1\nPreisgruppe=7\n", "LAGER", "Preisgruppe fuer Lagerartikel", 7, "Verkaufspreis"},
      {"[Katalog]\nAktiv=1\nPreisgruppe=0\n", "K2", "Preisgruppe fuer alle Kataloge", 0, "Verkaufspreis"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.file << c.katalog);
    WritePriceGroups(kOwn, c.file);
    const TKSPreisauskunftEintraege e = Resolve(kOwn, Article(c.katalog), 1);
    ASSERT_GE(e.size(), 2);
    EXPECT_EQ(e[0].Was, QLatin1String(c.was));
    EXPECT_EQ(e[0].Zahl, c.gruppe);
    EXPECT_EQ(e[1].Was, QLatin1String(c.preis));
    const bool valid = c.gruppe && *c.gruppe >= 1 && *c.gruppe <= 5;
    EXPECT_EQ(e[1].Zahl, valid ? c.gruppe : std::nullopt);  // sales price n is n here
    if (c.gruppe && !valid) {
      EXPECT_TRUE(e[1].Wert.contains(QString::number(int(*c.gruppe))));
    }
  }
}

TEST_F(PreisauskunftTest, QuantityReachesTheStepAtOrBelowIt) {
  WriteArticlePrice(kOwn, 10);
  WriteQuantityDiscounts(kOwn, 3);
  const struct {
    double menge;
    std::optional<double> staffel, mengenrabatt;
  } cases[] = {{5, std::nullopt, std::nullopt}, {10, 11, 3}, {30, 11, 3}, {50, 12, 3},
               {99.5, 12, 3},                   {100, 12, 6}, {150, 12, 6}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.menge);
    const TKSPreisauskunftEintraege e = Resolve(kOwn, Article("K1"), c.menge);
    EXPECT_EQ(Row(e, "Mengenstaffel").Zahl, c.staffel);
    EXPECT_EQ(Row(e, "Mengenrabatt").Zahl, c.mengenrabatt);
  }
}

// A table file another program left without its table: reported, and not
// repaired behind the user's back.
TEST_F(PreisauskunftTest, AFileWithoutItsTableIsReportedAndLeftAlone) {
  WriteFileBytes(File("001", kOwn, ".TDBD"), QByteArray());
  const TKSPreisauskunftEintrag row = Row(Resolve(kOwn, Article("K1"), 1), "Rabatt fuer Angebote");
  EXPECT_EQ(row.Wert, QStringLiteral("Datei nicht lesbar"));
  EXPECT_EQ(row.Quelle, TKSPreisauskunftQuelle::EigeneTabelle);
  EXPECT_TRUE(ReadFileBytes(File("001", kOwn, ".TDBD")).isEmpty());
  EXPECT_EQ(Files().size(), 1);
}
