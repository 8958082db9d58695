// The command-line switches: their presence and values, the address
// program's options, and the names from them that become parts of paths.
#include <QDir>
#include <QFileInfo>

#include "AddressProgram.h"
#include "CommandLineSwitches.h"
#include "FuzzSupport.h"
#include "PathUtils.h"
#include "PricingFiles.h"

namespace {
const QString kBase = QStringLiteral("/suite/DATA/");

QStringList ArgumentsOf(const QByteArray& bytes) {
  QStringList arguments;
  for (const QByteArray& argument : bytes.split('\0')) arguments.append(QString::fromUtf8(argument));
  return arguments;
}

void CheckSwitch(const QString& name, const QStringList& arguments) {
  qsizetype at = -1;
  for (qsizetype i = 0; i < arguments.size() && at < 0; ++i)
    if (arguments[i].compare(name, Qt::CaseInsensitive) == 0) at = i;
  FUZZ_CHECK(SwitchPresent(name, arguments) == (at >= 0));
  FUZZ_CHECK(SwitchValue(name, arguments) == (at >= 0 ? arguments.value(at + 1) : QString()));
}

// A name accepted as one part of a path names a place right below the folder.
void CheckPathPart(const QString& name) {
  if (!IsSafePathComponent(name)) return;
  const QFileInfo place(QDir::cleanPath(kBase + name));
  FUZZ_CHECK(place.fileName() == name);
  FUZZ_CHECK(place.path() + QLatin1Char('/') == kBase);
}

void CheckAddressFile(const QString& id) {
  const QString path = PricingFilePath(kBase, QStringLiteral("001"), id, QStringLiteral(".TDBD"));
  if (path.isEmpty()) return;
  const QFileInfo file(QDir::cleanPath(path));
  FUZZ_CHECK(file.fileName() == id + QStringLiteral(".TDBD"));
  FUZZ_CHECK(file.path() == kBase + QStringLiteral("001"));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  const QStringList arguments = ArgumentsOf(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  for (const char* name : {"-SA", "-TEMP", "--screenshot", "-ONE", "-GA"}) CheckSwitch(QString::fromLatin1(name), arguments);
  CheckSwitch(arguments.value(0), arguments);
  const TAddressProgramOptions options = TAddressProgramOptions::Parse(arguments);
  FUZZ_CHECK(!options.Client.startsWith(QLatin1Char('-')) && !options.User.startsWith(QLatin1Char('-')));
  FUZZ_CHECK(options.ShowId == SwitchValue(QStringLiteral("-SA"), arguments));
  FUZZ_CHECK(options.Picking() == !SwitchValue(QStringLiteral("-TEMP"), arguments).isEmpty());
  CheckPathPart(options.Client.trimmed());
  CheckPathPart(options.User.trimmed().toUpper());
  CheckAddressFile(options.ShowId.trimmed());
  CheckAddressFile(options.ShowId);
  return 0;
}
