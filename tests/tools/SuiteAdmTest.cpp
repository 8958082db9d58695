#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

#include "IniFilesSec.h"
#include "MemIniFile.h"
#include "PathUtils.h"
#include "SuiteAdmCommand.h"
#include "SuiteTree.h"
#include "TextFile.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
struct CommandResult {
  int code;
  QString out;
  QString err;
};

CommandResult RunSuiteAdm(const QStringList& args) {
  QString out, err;
  QTextStream outStream(&out), errStream(&err);
  const int code = SuiteAdmMain(args, outStream, errStream);
  outStream.flush();
  errStream.flush();
  return {code, out, err};
}
}  // namespace

TEST(SuiteAdmInit, MakesATreeThatTheStartUpAccepts) {
  QTemporaryDir dir;
  const QString root = dir.path() + QStringLiteral("/suite");
  const CommandResult r = RunSuiteAdm({QStringLiteral("init"), root, QStringLiteral("--client"), QStringLiteral("Firma"),
                               QStringLiteral("--user"), QStringLiteral("meier"), QStringLiteral("--password"),
                               QStringLiteral("geheim")});
  ASSERT_EQ(r.code, 0) << r.err.toStdString();
  ASSERT_TRUE(InitSystemFor(root + QStringLiteral("/BIN/MOD00100"), 1));
  EXPECT_TRUE(LoadSystem(QStringLiteral("Firma"), QStringLiteral("MEIER"), QStringLiteral("geheim"), true));
  EXPECT_FALSE(LoadSystem(QStringLiteral("Firma"), QStringLiteral("MEIER"), QStringLiteral("falsch"), true));
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
  EXPECT_EQ(BenutzerEinstellungen()->UserClientEtcDir,
            NormalizePath(root, true) + QStringLiteral("USR/MEIER/ETC/FIRMA/"));
  EXPECT_TRUE(QFileInfo(BenutzerEinstellungen()->UserClientEtcDir).isDir());
  // The area values name the client's folder as it was made.
  EXPECT_EQ(SystemEinstellungen()->AddressDir, NormalizePath(root, true) + QStringLiteral("DATA/Firma/A1/ADRESSEN/"));
  EXPECT_TRUE(QFileInfo(SystemEinstellungen()->AddressDir).isDir());
  FinalizeSystem();
}

// suiteadm as a process of its own, whose application object set LC_NUMERIC.
TEST(SuiteAdmProcess, WritesRatesInTheProcessLocalesForm) {
  QTemporaryDir dir;
  QProcess suiteadm;
  suiteadm.start(QStringLiteral(SUITEADM_EXE), {QStringLiteral("init"), dir.path(), QStringLiteral("--client"),
                                                QStringLiteral("DEMO"), QStringLiteral("--user"), QStringLiteral("meier")});
  ASSERT_TRUE(suiteadm.waitForFinished(30000));
  ASSERT_EQ(suiteadm.exitCode(), 0) << suiteadm.readAllStandardError().toStdString();
  TIniFileSec ini(SysdataPath({NormalizePath(dir.path(), true), QStringLiteral("DEMO")}));
  EXPECT_EQ(ini.ReadString(QStringLiteral("System"), QStringLiteral("MwStErh"), QString()),
            ProcessLocaleNumber("10", "7"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("System"), QStringLiteral("WaehrFaktor2In"), QString()),
            ProcessLocaleNumber("0", "94"));
}

TEST(SuiteAdmDemo, AFailureIsReportedAsOne) {
  QTemporaryDir dir;
  const QString root = dir.path() + QStringLiteral("/suite");
  const QStringList demo = {QStringLiteral("demo"), root, QStringLiteral("--addresses"), QStringLiteral("3")};
  ASSERT_EQ(RunSuiteAdm(demo).code, 0);
  // A discount list that refuses to be re-filled.
  const QString list = root + QStringLiteral("/DATA/DEMO/A1/ADRESSEN/001/__DEFAULT__.TDBD");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(list).constData(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, "CREATE TRIGGER refuse BEFORE DELETE ON KSR BEGIN SELECT RAISE(ABORT, 'refused'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  const CommandResult r = RunSuiteAdm(demo);
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.err.contains(list)) << r.err.toStdString();
  EXPECT_FALSE(r.out.contains(QStringLiteral("ready"))) << r.out.toStdString();
}

TEST(SuiteAdmIni, SetGetAndDumpProtectedValues) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/SYSDATA.INI");
  ASSERT_EQ(RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("set"), file, QStringLiteral("System"),
                 QStringLiteral("MwStNorm"), QStringLiteral("19")})
                .code,
            0);
  CommandResult get = RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("get"), file, QStringLiteral("System"),
                           QStringLiteral("MwStNorm")});
  EXPECT_EQ(get.code, 0);
  EXPECT_EQ(get.out, QStringLiteral("19\n"));
  EXPECT_EQ(TIniFileSec(file).ReadInteger(QStringLiteral("System"), QStringLiteral("MwStNorm"), 0), 19);

  // A value moved to another ident is refused.
  TMemIniFile raw(file);
  raw.WriteString(QStringLiteral("System"), QStringLiteral("MwStRed"),
                  raw.ReadString(QStringLiteral("System"), QStringLiteral("MwStNorm"), QString()));
  ASSERT_TRUE(raw.UpdateFile());
  get = RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("get"), file, QStringLiteral("System"), QStringLiteral("MwStRed")});
  EXPECT_EQ(get.code, 1);
  const CommandResult dump = RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("dump"), file});
  EXPECT_EQ(dump.code, 0);
  EXPECT_EQ(dump.out, QStringLiteral("[System]\nMwStNorm=19\nMwStRed=<invalid>\n"));
}

TEST(SuiteAdmUsage, BadArgumentsGiveUsageAndNonZeroExit) {
  for (const QStringList& args :
       {QStringList{}, QStringList{QStringLiteral("frobnicate")}, QStringList{QStringLiteral("init")},
        QStringList{QStringLiteral("init"), QStringLiteral("/tmp/x"), QStringLiteral("--client")},
        QStringList{QStringLiteral("init"), QStringLiteral("/tmp/x"), QStringLiteral("--client"), QStringLiteral("A")},
        QStringList{QStringLiteral("ini"), QStringLiteral("get"), QStringLiteral("f")},
        QStringList{QStringLiteral("demo")}}) {
    const CommandResult r = RunSuiteAdm(args);
    EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << args.join(' ').toStdString();
  }
  EXPECT_EQ(RunSuiteAdm({QStringLiteral("ini"), QStringLiteral("dump"), QStringLiteral("/nonexistent/file")}).code, 1);
}

// Quantity lists of the standard tables and some customers, in the process
// locale's number form, as the text files of the suite are written.
TEST(SuiteAdmProcess, DemoWritesQuantityListsInTheProcessLocalesForm) {
  QTemporaryDir dir;
  QProcess suiteadm;
  suiteadm.start(QStringLiteral(SUITEADM_EXE), {QStringLiteral("demo"), dir.path(), QStringLiteral("--addresses"),
                                                QStringLiteral("3")});
  ASSERT_TRUE(suiteadm.waitForFinished(60000));
  ASSERT_EQ(suiteadm.exitCode(), 0) << suiteadm.readAllStandardError().toStdString();
  const QString folder = dir.path() + QStringLiteral("/DATA/DEMO/A1/ADRESSEN/002/");
  const QByteArray bytes = ReadFileBytes(folder + QStringLiteral("__DEFAULT__.MR"));
  EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
  QStringList lines;
  ASSERT_TRUE(ReadTextLines(folder + QStringLiteral("__DEFAULT__.MR"), lines));
  EXPECT_EQ(lines.first(), QStringLiteral("10=2"));
  EXPECT_EQ(lines.last(), ProcessLocaleNumber("1000", "5") + QLatin1Char('=') + ProcessLocaleNumber("12", "5"));
  EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.MR")}).size(), 4);
}
