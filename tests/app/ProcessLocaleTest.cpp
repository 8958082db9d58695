// Numbers under the process's real locale, which the application object sets
// from the environment (LC_NUMERIC too): this executable runs once under
// de_DE.UTF-8 and once under C.UTF-8.
#include <gtest/gtest.h>

#include "TempSuite.h"
#include "TestSupport.h"
#include "TextFile.h"

namespace {
QStringList LinesOf(const QString& file) {
  QStringList lines;
  EXPECT_TRUE(ReadTextLines(file, lines)) << file.toStdString();
  return lines;
}
}  // namespace

// The real program, driven through its buttons and scripted dialogs:
// re-import the predefined groups, export, import a file, add a group, export again.
TEST(ProcessLocale, RealProgramExportsAndReadsBackInTheLocalesForm) {
  TempSuite suite;
  const QString program = suite.InstallProgram();
  const QString first = suite.Root() + QStringLiteral("first.txt");
  const QString incoming = suite.Root() + QStringLiteral("incoming.txt");
  const QString second = suite.Root() + QStringLiteral("second.txt");
  ASSERT_TRUE(WriteTextLines(incoming, {QStringLiteral("CU=") + ProcessLocaleNumber("7", "25")}));
  const ProgramRun run = RunProgram(
      program,
      {QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("-SA"), QStringLiteral("10000"),
       QStringLiteral("--click"), QStringLiteral("Button6"), QStringLiteral("--click"), QStringLiteral("TntButton1"),
       QStringLiteral("--click"), QStringLiteral("TntButton2"), QStringLiteral("--click"), QStringLiteral("TntButton10"),
       QStringLiteral("--click"), QStringLiteral("TntButton1")},
      suite.Root(),
      {{QStringLiteral("SUITE_DIALOG_FILES"), QStringList{first, incoming, second}.join(u'|')},
       {QStringLiteral("SUITE_DIALOG_INPUTS"), QStringLiteral("ZZ")}});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.dialogs.size(), 4) << run.dialogs.join(u'\n').toStdString();
  const QString discount = QStringLiteral("DA=") + ProcessLocaleNumber("17", "5");
  EXPECT_TRUE(LinesOf(first).contains(discount)) << "the re-import kept the discount";
  const QStringList after = LinesOf(second);
  EXPECT_TRUE(after.contains(discount));
  EXPECT_TRUE(after.contains(QStringLiteral("CU=") + ProcessLocaleNumber("7", "25")));
  EXPECT_TRUE(after.contains(QStringLiteral("ZZ=0"))) << "the group from the input box";
}
