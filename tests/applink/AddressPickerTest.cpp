// The link against a stand-in address program: a shell script that records
// its arguments and writes a prepared file where "-TEMP" says.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include "MOD00200Helper.h"
#include "TestSupport.h"

namespace {
class AddressPicker : public testing::Test {
 protected:
  // A folder name with a blank: each argument must arrive whole.
  QString ProgramDir() const { return dir_.path() + QStringLiteral("/Suite BIN/"); }
  QString TempDir() const { return dir_.path() + QStringLiteral("/Temp Files/"); }
  QString ArgsFile() const { return dir_.path() + QStringLiteral("/args.txt"); }
  QString Prepared() const { return dir_.path() + QStringLiteral("/prepared.xml"); }

  void SetUp() override {
    QDir().mkpath(ProgramDir());
    QDir().mkpath(TempDir());
  }

  // The stand-in writes its arguments, one a line, then runs action with
  // the exchange file in $TEMPFILE.
  void InstallProgram(const QString& action) const {
    const QString script = QStringLiteral(
                               "#!/bin/sh\n"
                               "printf '%s\\n' \"$@\" > '%1'\n"
                               "TEMPFILE=\n"
                               "while [ $# -gt 0 ]; do [ \"$1\" = -TEMP ] && TEMPFILE=\"$2\"; shift; done\n"
                               "%2\n")
                               .arg(ArgsFile(), action);
    const QString program = TMOD00200Helper::ProgramFile(ProgramDir());
    WriteFileBytes(program, script.toUtf8());
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
  }

  void PrepareList(const QStringList& ids) const {
    TCustomerAddressList list;
    for (const QString& id : ids) {
      TCustomerAddress* address = list.Items.Add(std::make_unique<TCustomerAddress>());
      address->Id = id;
      address->Info = QStringLiteral("Info ") + id;
    }
    ASSERT_TRUE(list.SaveToFile(Prepared()));
  }

  QStringList RecordedArgs() const {
    return QString::fromUtf8(ReadFileBytes(ArgsFile())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }

  std::unique_ptr<TCustomerAddress> Pick() const {
    return TMOD00200Helper::StartAddressPicker(ProgramDir(), TempDir(), {QStringLiteral("DEMO"),
                                                                         QStringLiteral("ADMIN")});
  }

  bool TempDirEmpty() const { return QDir(TempDir()).isEmpty(QDir::Files | QDir::NoDotAndDotDot); }

  QTemporaryDir dir_;
};

bool WaitForFile(const QString& path, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!QFileInfo::exists(path) && timer.elapsed() < timeoutMs) QThread::msleep(20);
  return QFileInfo::exists(path);
}
}  // namespace

TEST(AddressPickerNames, ProgramFileLiesInTheProgramDirectory) {
  EXPECT_EQ(TMOD00200Helper::ProgramFile(QStringLiteral("/suite/BIN")), QStringLiteral("/suite/BIN/MOD00200"));
  EXPECT_EQ(TMOD00200Helper::ProgramFile(QStringLiteral("/suite/Bin/")), QStringLiteral("/suite/Bin/MOD00200"));
}

TEST(AddressPickerNames, TemporaryFileIsDigitsAndXAndNewForEveryCall) {
  QTemporaryDir dir;
  const QString tempDir = dir.path();  // without trailing separator
  const QRegularExpression form(QStringLiteral("^[0-9X]+\\.\\$\\$\\$$"));
  QSet<QString> names;
  for (int i = 0; i < 200; ++i) {
    const QString name = TMOD00200Helper::TemporaryFileName(tempDir);
    ASSERT_TRUE(name.startsWith(tempDir + QLatin1Char('/'))) << name.toStdString();
    const QString fileName = name.mid(tempDir.size() + 1);
    EXPECT_TRUE(form.match(fileName).hasMatch()) << fileName.toStdString();
    EXPECT_FALSE(QFileInfo::exists(name));
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 200);
}

TEST_F(AddressPicker, MissingProgramOrTemporaryDirectoryGiveNoneWithoutMessage) {
  EXPECT_EQ(Pick(), nullptr);  // no program yet
  InstallProgram(QStringLiteral("cp '%1' \"$TEMPFILE\"").arg(Prepared()));
  PrepareList({QStringLiteral("10000")});
  EXPECT_EQ(TMOD00200Helper::StartAddressPicker(ProgramDir(), dir_.path() + QStringLiteral("/missing"), {}),
            nullptr);
  EXPECT_FALSE(QFileInfo::exists(ArgsFile())) << "the program must not have been started";
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(AddressPicker, FirstOfThreeAddressesIsReturnedAndTheFileDeleted) {
  PrepareList({QStringLiteral("10001"), QStringLiteral("10002"), QStringLiteral("10003")});
  InstallProgram(QStringLiteral("cp '%1' \"$TEMPFILE\"").arg(Prepared()));
  std::unique_ptr<TCustomerAddress> address = Pick();
  ASSERT_NE(address, nullptr);
  EXPECT_EQ(address->Id, QStringLiteral("10001"));
  EXPECT_EQ(address->Info, QStringLiteral("Info 10001"));
  EXPECT_TRUE(TempDirEmpty());
  EXPECT_TRUE(TestDialogs().shown.isEmpty());

  const QStringList args = RecordedArgs();
  ASSERT_EQ(args.size(), 6) << args.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(args.mid(0, 5), (QStringList{QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("-ONE"),
                                         QStringLiteral("-GA"), QStringLiteral("-TEMP")}));
  EXPECT_TRUE(args[5].startsWith(TempDir())) << args[5].toStdString();
  EXPECT_TRUE(args[5].endsWith(QStringLiteral(".$$$")));
}

// No choice, an empty list or a file that is no address list: none, and no
// file is left; only the broken file is reported (by its load).
TEST_F(AddressPicker, NoChoiceAnEmptyListOrABrokenFileGiveNone) {
  PrepareList({});
  const std::pair<QString, bool> runs[] = {{QStringLiteral("exit 0"), false},
                                           {QStringLiteral("cp '%1' \"$TEMPFILE\"").arg(Prepared()), false},
                                           {QStringLiteral("echo 'kein <XML' > \"$TEMPFILE\""), true}};
  for (const auto& [script, reported] : runs) {
    TestDialogs().shown.clear();
    InstallProgram(script);
    EXPECT_EQ(Pick(), nullptr) << script.toStdString();
    EXPECT_TRUE(TempDirEmpty()) << script.toStdString();
    EXPECT_EQ(!TestDialogs().shown.isEmpty(), reported) << script.toStdString();
  }
}

TEST_F(AddressPicker, ProgramThatCannotStartOrCrashesIsReported) {
  InstallProgram(QStringLiteral("kill -SEGV $$"));
  EXPECT_EQ(Pick(), nullptr);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  const QString program = TMOD00200Helper::ProgramFile(ProgramDir());
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Fehler beim Beenden von \"%1\".").arg(program));

  TestDialogs().shown.clear();
  QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(Pick(), nullptr);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Fehler beim Starten von \"%1\".").arg(program));
  EXPECT_EQ(TestDialogs().shown[0].type, TMsgDlgType::mtError);

  TestDialogs().shown.clear();
  TMOD00200Helper::ShowAddressInProgram(QStringLiteral("10007"), ProgramDir(), {});
  ASSERT_EQ(TestDialogs().shown.size(), 1) << "showing an address says so too";
  EXPECT_EQ(TestDialogs().shown[0].text, QStringLiteral("Fehler beim Starten von \"%1\".").arg(program));
}

TEST_F(AddressPicker, ShowAddressStartsTheProgramOnlyWithAnIdentifier) {
  InstallProgram(QStringLiteral("exit 0"));
  TMOD00200Helper::ShowAddressInProgram(QString(), ProgramDir(), {QStringLiteral("DEMO")});
  QThread::msleep(300);
  EXPECT_FALSE(QFileInfo::exists(ArgsFile()));

  TMOD00200Helper::ShowAddressInProgram(QStringLiteral("10 007"), ProgramDir(),
                                        {QStringLiteral("DEMO"), QStringLiteral("ADMIN")});
  ASSERT_TRUE(WaitForFile(ArgsFile(), 10000));
  QThread::msleep(100);  // the script may still be writing
  EXPECT_EQ(RecordedArgs(), (QStringList{QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("-SA"),
                                         QStringLiteral("10 007")}));
}
