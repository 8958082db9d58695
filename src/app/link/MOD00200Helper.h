#pragma once
// The link to the suite's address program MOD00200: let the user pick one
// address there, or show one address there. Also offers the standard small
// dialog frame (TMakeDefaultForm). Nothing here keeps state.
//
// The exchange with the program: "-ONE -GA -TEMP <file>" makes it write the
// chosen address into <file> as an address list; "-SA <id>" shows that address.
#include <QString>
#include <QStringList>
#include <memory>

#include "DBAdressCore.h"
#include "MakeDefaultForm.h"

class TMOD00200Helper {
 public:
  // Lets the user pick an address in the address program and waits for it.
  // None when the program or the temporary directory is missing, the user
  // chose nothing, or the exchange file held no address.
  static std::unique_ptr<TCustomerAddress> StartAddressPicker(const QString& programDir, const QString& tempDir,
                                                              const QStringList& furtherArgs);
  // Starts the address program on the address and returns at once; nothing
  // for an empty identifier or a missing program.
  static void ShowAddressInProgram(const QString& id, const QString& programDir, const QStringList& furtherArgs);

  // programDir (with a trailing separator added) + "MOD00200".
  static QString ProgramFile(const QString& programDir);
  // A name for the exchange file in tempDir, made of digits and "X" + ".$$$",
  // new for every call.
  static QString TemporaryFileName(const QString& tempDir);
};
