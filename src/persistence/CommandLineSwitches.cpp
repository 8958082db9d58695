#include "CommandLineSwitches.h"

#include <QCoreApplication>

namespace {
QStringList& CommandLineWithoutApplication() {
  static QStringList commandLine;
  return commandLine;
}

int IndexOfSwitch(const QString& name, const QStringList& arguments) {
  for (int i = 0; i < arguments.size(); ++i)
    if (arguments[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}
}  // namespace

bool SwitchPresent(const QString& name, const QStringList& arguments) { return IndexOfSwitch(name, arguments) >= 0; }

QString SwitchValue(const QString& name, const QStringList& arguments) {
  const int index = IndexOfSwitch(name, arguments);
  return index >= 0 ? arguments.value(index + 1) : QString();
}

bool SwitchPresent(const QString& name) { return SwitchPresent(name, ProcessArguments()); }

QString SwitchValue(const QString& name) { return SwitchValue(name, ProcessArguments()); }

QStringList ProcessArguments() {
  const QStringList commandLine =
      QCoreApplication::instance() ? QCoreApplication::arguments() : CommandLineWithoutApplication();
  return commandLine.mid(1);
}

void SetProcessCommandLine(const QStringList& commandLine) { CommandLineWithoutApplication() = commandLine; }
