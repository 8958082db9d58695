#pragma once
// The suite's address program (MOD00200) after its start-up: a window with
// the address search frame, either to pick one address for another program
// (the address goes into the exchange file) or to show one address.
#include <QString>
#include <QStringList>
#include <memory>

#include "MakeDefaultForm.h"

class TAddressConfig;
class TDBAdressViewFrame1;

struct TAddressProgramOptions {
  QString Client, User;  // the first two arguments, unless they are switches
  QString TempFile;      // -TEMP <file>: pick one address into that file
  QString ShowId;        // -SA <id>: show that address
  QString Screenshot;    // --screenshot <file>: render the window and end

  bool Picking() const { return !TempFile.isEmpty(); }
  // arguments: without the program itself.
  static TAddressProgramOptions Parse(const QStringList& arguments);
};

class TAddressProgram {
 public:
  // Needs the start-up done (the address directory of the system settings).
  explicit TAddressProgram(const TAddressProgramOptions& options);
  ~TAddressProgram();
  TAddressProgram(const TAddressProgram&) = delete;
  TAddressProgram& operator=(const TAddressProgram&) = delete;

  TDefaultForm* Form() const { return parts_.Form.get(); }
  QPushButton* OkButton() const { return parts_.OkButton; }
  QPushButton* CancelButton() const { return parts_.CancelButton; }
  TDBAdressViewFrame1* Frame() const { return frame_; }

  // Once the window runs: selects the address and, when its record is
  // loaded, presses "Uebernehmen"; "cancel" presses "Abbrechen" instead.
  // For automatic runs and tests.
  void AutoChoose(const QString& idOrCancel);

  // Runs the window until it closes; in picking mode "Uebernehmen" writes
  // the chosen address. Returns the program's exit code: 1 when the chosen
  // address could not be written.
  int Exec();

  // Writes the frame's current address as a one-address list into the
  // exchange file; false when there is no address or the file could not be written.
  bool WriteChoice();
  bool HasChoice() const;  // the frame holds an address

 private:
  void BuildWindow();
  void OkClick();
  void WaitForRecord(const QString& id);
  void ScheduleScreenshot();

  TAddressProgramOptions options_;
  std::unique_ptr<TAddressConfig> config_;
  TDefaultFormParts parts_;
  TDBAdressViewFrame1* frame_ = nullptr;  // owned by the window
  bool acceptWhenLoaded_ = false;
  int exitCode_ = 0;
};
