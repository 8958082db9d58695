// The address program's window, run in this process on a demo suite.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include "AddressProgram.h"
#include "DBAdressViewFrameUnit1.h"
#include "Msgdlg.h"
#include "TempSuite.h"
#include "TestSupport.h"
#include "TypeUnit.h"

namespace {
class AddressProgramWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(suite_.Load());
    exchangeFile_ = BenutzerEinstellungen()->UserTmpDir + QStringLiteral("choice.$$$");
  }

  TAddressProgramOptions PickOptions() const {
    TAddressProgramOptions options;
    options.Client = QStringLiteral("DEMO");
    options.TempFile = exchangeFile_;
    return options;
  }

  // The id of the address written into the exchange file; empty when none.
  QString WrittenId() const {
    TCustomerAddressList list;
    list.LoadFromFile(exchangeFile_);
    return list.Items.Count() == 1 ? list.Items[0]->Id : QString();
  }

  // Runs the window; action acts once it shows. A failed step inside the
  // action leaves the window open, so a deadline closes it.
  static int ExecWith(TAddressProgram& program, const std::function<void()>& action) {
    QTimer::singleShot(0, program.Form(), action);
    QTimer::singleShot(15000, program.Form(), [&program] { program.Form()->reject(); });
    return program.Exec();
  }

  // Lets the event loop run until the frame has loaded the address.
  static bool WaitForRecord(TAddressProgram& program, const QString& id) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      if (program.Frame()->CurrentAddress->Id == id && !program.Frame()->SelectionTimer->isActive()) return true;
    }
    return false;
  }

  TempSuite suite_;
  QString exchangeFile_;
};
}  // namespace

TEST(AddressProgramOptions, ClientUserAndSwitchesComeFromTheCommandLine) {
  const TAddressProgramOptions pick = TAddressProgramOptions::Parse(
      {QStringLiteral("DEMO"), QStringLiteral("ADMIN"), QStringLiteral("-ONE"), QStringLiteral("-GA"),
       QStringLiteral("-TEMP"), QStringLiteral("/tmp/a b/1X2.$$$")});
  EXPECT_EQ(pick.Client, QStringLiteral("DEMO"));
  EXPECT_EQ(pick.User, QStringLiteral("ADMIN"));
  EXPECT_EQ(pick.TempFile, QStringLiteral("/tmp/a b/1X2.$$$"));
  EXPECT_TRUE(pick.Picking());

  const TAddressProgramOptions show = TAddressProgramOptions::Parse(
      {QStringLiteral("-SA"), QStringLiteral("10007"), QStringLiteral("--screenshot"), QStringLiteral("s.png")});
  EXPECT_TRUE(show.Client.isEmpty());
  EXPECT_TRUE(show.User.isEmpty());
  EXPECT_FALSE(show.Picking());
  EXPECT_EQ(show.ShowId, QStringLiteral("10007"));
  EXPECT_EQ(show.Screenshot, QStringLiteral("s.png"));
}

TEST_F(AddressProgramWindow, ApplyingRightAfterASelectionTakesTheNewAddress) {
  TAddressProgram program(PickOptions());
  const int result = ExecWith(program, [&] {
    ASSERT_TRUE(WaitForRecord(program, QStringLiteral("10000")));  // the first row loads at the start
    program.Frame()->GotoAddress(QStringLiteral("10012"));
    program.OkButton()->click();  // within the selection delay
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(WrittenId(), QStringLiteral("10012"));
}

TEST_F(AddressProgramWindow, DoubleClickedAddressIsTakenAsWithApply) {
  TAddressProgram program(PickOptions());
  ExecWith(program, [&] {
    program.Frame()->GotoAddress(QStringLiteral("10021"));
    ASSERT_TRUE(WaitForRecord(program, QStringLiteral("10021")));
    ASSERT_TRUE(program.Frame()->OnAddressChosen);
    program.Frame()->OnAddressChosen(program.Frame());
  });
  EXPECT_EQ(WrittenId(), QStringLiteral("10021"));
}

TEST_F(AddressProgramWindow, ShowingSelectsTheAddressAndOffersOnlyClosing) {
  TAddressProgramOptions options;
  options.ShowId = QStringLiteral("10033");
  TAddressProgram program(options);
  EXPECT_TRUE(program.OkButton()->isHidden());
  EXPECT_EQ(program.CancelButton()->text(), QStringLiteral("Schliessen"));
  EXPECT_FALSE(program.Frame()->OnAddressChosen);
  bool selected = false;
  const int result = ExecWith(program, [&] {
    selected = WaitForRecord(program, QStringLiteral("10033"));
    program.CancelButton()->click();
  });
  EXPECT_TRUE(selected);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(QDir(BenutzerEinstellungen()->UserTmpDir).isEmpty());
}

// The caller would take a missing exchange file for a cancel: the failure
// is said and the exit code is not 0.
TEST_F(AddressProgramWindow, AnExchangeFileThatCannotBeWrittenIsAFailure) {
  TAddressProgramOptions options = PickOptions();
  options.TempFile = BenutzerEinstellungen()->UserTmpDir + QStringLiteral("missing/choice.$$$");
  TAddressProgram program(options);
  program.AutoChoose(QStringLiteral("10004"));
  EXPECT_EQ(program.Exec(), 1);
  ASSERT_EQ(TestDialogs().shown.size(), 1);
  EXPECT_EQ(TestDialogs().shown[0].text,
            QStringLiteral("Die gewaehlte Adresse konnte nicht in die Datei \"%1\" geschrieben werden.").arg(options.TempFile));
}
