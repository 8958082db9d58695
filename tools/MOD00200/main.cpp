// The suite's address program.
//
//   MOD00200 <client> <user> -ONE -GA -TEMP <file>
//       The user picks one address; "Uebernehmen" (or a double click on an
//       address) writes it into <file> as an address list with one address.
//       "Abbrechen" or closing the window writes nothing. When the file cannot
//       be written the user is told so and the program ends with exit code 1.
//   MOD00200 <client> <user> -SA <id>
//       Shows the address book with that address selected.
//   --screenshot <file>
//       Renders the window into a PNG file and ends (nothing is written).
//
// The start-up is that of every suite program: the suite root from the
// program's place (it must lie in BIN/), then the client's settings and
// the user. Programs that start this one pass their client and user first.
//
// For automatic runs and tests:
//   SUITE_AUTOCHOOSE=<id>    selects the address, waits until its record is
//                            loaded and presses "Uebernehmen" by itself;
//   SUITE_AUTOCHOOSE=cancel  presses "Abbrechen";
//   SUITE_DIALOG_LOG=<file>  records message dialogs into the file instead of showing them.
#include "AddressProgram.h"
#include "SuiteApplication.h"
#include "TypeUnit.h"

namespace {
int Run(SuiteApplication& app) {
  InitSystem(1, true);
  const TAddressProgramOptions options = TAddressProgramOptions::Parse(app.arguments().mid(1));
  if (!LoadSystem(options.Client, options.User, QString(), false)) return 1;  // refused: its message was shown
  TAddressProgram program(options);
  const QString autoChoose = qEnvironmentVariable("SUITE_AUTOCHOOSE");
  if (!autoChoose.isEmpty()) program.AutoChoose(autoChoose);
  return program.Exec();
}
}  // namespace

int main(int argc, char** argv) { return RunSuiteProgram(argc, argv, Run); }
