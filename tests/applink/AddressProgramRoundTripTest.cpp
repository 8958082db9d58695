// The real address program, started by the link as the pricing editor does.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include "MOD00200Helper.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
// Sets an environment variable for the programs started while it lives.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value) : name_(name) { qputenv(name_, value.toUtf8()); }
  ~ScopedEnv() { qunsetenv(name_); }

 private:
  const char* name_;
};

class AddressProgramRoundTrip : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(suite_.Load());
    program_ = SystemEinstellungen()->BinDir + QStringLiteral("MOD00200");
    QFile::remove(program_);
    ASSERT_TRUE(QFile::copy(QStringLiteral(MOD00200_EXE), program_));
    QFile::setPermissions(program_, QFile::permissions(program_) | QFileDevice::ExeOwner);
  }

  std::unique_ptr<TCustomerAddress> Pick(const QString& autoChoose, const QString& user = QStringLiteral("ADMIN")) {
    ScopedEnv choose("SUITE_AUTOCHOOSE", autoChoose);
    ScopedEnv dialogs("SUITE_DIALOG_LOG", DialogLog());
    return TMOD00200Helper::StartAddressPicker(SystemEinstellungen()->BinDir, BenutzerEinstellungen()->UserTmpDir,
                                               {QStringLiteral("DEMO"), user});
  }

  QString DialogLog() const { return suite_.Root() + QStringLiteral("dialogs.log"); }

  TempSuite suite_;
  QString program_;
};
}  // namespace

TEST_F(AddressProgramRoundTrip, ChosenAddressComesBackAndCancelGivesNone) {
  std::unique_ptr<TCustomerAddress> chosen = Pick(QStringLiteral("10017"));
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(chosen->Id, QStringLiteral("10017"));
  EXPECT_FALSE(chosen->Anschriften.IsEmpty()) << "the whole record travels, not only its id";

  EXPECT_EQ(Pick(QStringLiteral("cancel")), nullptr);
  EXPECT_TRUE(QDir(BenutzerEinstellungen()->UserTmpDir).isEmpty());
  EXPECT_TRUE(ReadFileBytes(DialogLog()).isEmpty()) << ReadFileBytes(DialogLog()).toStdString();
  EXPECT_TRUE(TestDialogs().shown.isEmpty());
}

TEST_F(AddressProgramRoundTrip, BarredUserEndsTheProgramWithoutAnAddress) {
  EXPECT_EQ(Pick(QStringLiteral("10017"), QStringLiteral("GAST")), nullptr);
  EXPECT_TRUE(QString::fromUtf8(ReadFileBytes(DialogLog())).contains(QStringLiteral("verweigert")));
}

TEST_F(AddressProgramRoundTrip, ShowingRendersTheWindowWithTheAddress) {
  const QString shot = suite_.Root() + QStringLiteral("shot.png");
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("SUITE_DIALOG_LOG"), DialogLog());
  process.setProcessEnvironment(env);
  process.start(program_, {QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("-SA"),
                           QStringLiteral("10042"), QStringLiteral("--screenshot"), shot});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitCode(), 0);
  const QImage image(shot);
  ASSERT_FALSE(image.isNull());
  EXPECT_GE(image.width(), 900);
  EXPECT_GE(image.height(), 560);
  EXPECT_TRUE(ReadFileBytes(DialogLog()).isEmpty()) << ReadFileBytes(DialogLog()).toStdString();
}
