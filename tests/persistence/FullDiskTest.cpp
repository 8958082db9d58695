// Writes on a full disk: the old file stays as it was, the write says it
// failed and why, and nothing is left beside the file. A small tmpfs is the
// full disk; where it cannot be mounted (not root) the test is skipped.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "CmnCustomObjectLists.h"
#include "DBXMLCore.h"
#include "MemIniFile.h"
#include "TableEngineError.h"
#include "TdbDatabase.h"
#include "TdbTable.h"
#include "TestSupport.h"
#include "TextFile.h"

namespace {
class TLongXml : public TDBXMLCoreObject {
 public:
  QString Text;
  void Clear() override { Text.clear(); }

 protected:
  void StartElement(const QString&, const QString&, const QString&, const SaxAttributes&) override {}
  void Characters(QStringView) override {}
  void EndElement(const QString&, const QString&, const QString&) override {}
  void WriteXML(bool) override { WriteLine(QStringLiteral("<lang>") + XMLEscape(Text) + QStringLiteral("</lang>")); }
};

class FullDisk : public testing::Test {
 protected:
  QTemporaryDir mountPoint;
  bool mounted = false;

  void SetUp() override {
    mounted = ::mount("tmpfs", QFile::encodeName(mountPoint.path()).constData(), "tmpfs", 0, "size=64k") == 0;
    if (!mounted) GTEST_SKIP() << "no tmpfs can be mounted here";
  }
  void TearDown() override {
    if (mounted) ::umount2(QFile::encodeName(mountPoint.path()).constData(), MNT_DETACH);
  }
  QString Path(const char* name) const { return mountPoint.filePath(QLatin1String(name)); }
  // Takes every free byte.
  void Fill() {
    QFile filler(Path("filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(1024, 'x');
    while (filler.write(block) == block.size()) {
    }
  }
};
}  // namespace

TEST_F(FullDisk, AFailedWriteKeepsTheOldFileAndSaysWhy) {
  // Less than Qt's write buffer, so that the failure shows only when the data is flushed.
  const QString longText(4000, u'y');
  const struct {
    const char* what;
    std::function<bool(const QString&, QString*)> write;
  } writers[] = {
      {"text file", [&](const QString& p, QString* why) { return WriteTextFile(p, longText, why); }},
      {"INI file",
       [&](const QString& p, QString* why) {
         TMemIniFile ini(p);
         ini.WriteString(QStringLiteral("Fenster"), QStringLiteral("Wert"), longText);
         return ini.UpdateFile(why);
       }},
      {"text list",
       [&](const QString& p, QString* why) {
         TDoubleStringListObjectList list;
         list.Add(QStringLiteral("10"), longText);
         return list.SaveToFile(p, why);
       }},
      {"XML file",
       [&](const QString& p, QString* why) {
         TLongXml xml;
         xml.Text = longText;
         return xml.SaveToFile(p, why);
       }},
  };
  const QString file = Path("MOD00100.INI");
  const QByteArray old = Utf16LeWithBom(QStringLiteral("[Fenster]\r\nWert=alt\r\n"));
  WriteFileBytes(file, old);
  Fill();
  for (const auto& w : writers) {
    QString why;
    EXPECT_FALSE(w.write(file, &why)) << w.what;
    EXPECT_FALSE(why.isEmpty()) << w.what;
    EXPECT_EQ(ReadFileBytes(file), old) << w.what;
    EXPECT_EQ(QDir(mountPoint.path()).entryList(QDir::Files).size(), 2) << w.what << ": nothing left beside";
  }
  QFile::remove(Path("filler"));
  EXPECT_TRUE(WriteTextFile(file, longText)) << "with room again";
}

// Rows are posted one by one until the disk is full: the failing post is told
// in German, and every row posted before it is there, whole, when read again.
TEST_F(FullDisk, TableRowsBeforeTheFullDiskStayWhole) {
  const QString file = Path("ZEILEN.TDBD");
  const QString row(400, u'z');
  int posted = 0;
  {
    TTdbDatabase db;
    db.SetDatabaseType(TTdbDatabase::FileDatabase);
    db.SetLocation(file);
    db.CreateDatabase();
    db.Connect();
    TTdbTable table(&db);
    table.SetTableName(QStringLiteral("ZEILEN"));
    table.FieldDefs().Add(QStringLiteral("TEXT"), TdbFieldKind::WideMemo);
    table.CreateTable();
    table.Open();
    try {
      for (;; ++posted) {
        table.Append();
        table.FieldByName(QStringLiteral("TEXT")).SetAsString(row);
        table.Post();
        ASSERT_LT(posted, 1000) << "the disk never filled up";
      }
    } catch (const ETableEngineError& e) {
      EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Die Festplatte ist voll."))) << e.Message().toStdString();
      table.Cancel();
    }
  }
  ASSERT_GT(posted, 0);
  TTdbDatabase db;
  db.SetDatabaseType(TTdbDatabase::FileDatabase);
  db.SetLocation(file);
  db.Connect();
  TTdbTable table(&db);
  table.SetTableName(QStringLiteral("ZEILEN"));
  table.Open();
  EXPECT_EQ(table.RecordCount(), posted);
  for (table.First(); !table.Eof(); table.Next()) ASSERT_EQ(table.FieldByName(QStringLiteral("TEXT")).AsString(), row);
}
