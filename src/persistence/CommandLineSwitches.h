#pragma once
// Command-line switches such as "-SA <id>", names compared ignoring case.
// The process-wide forms look at the arguments after the program itself:
// the program's path is never a switch, and a path that happened to equal a
// switch name would otherwise pass the first real argument off as its value.
#include <QString>
#include <QStringList>

// True when one of the arguments equals the name.
bool SwitchPresent(const QString& name, const QStringList& arguments);
// The argument after the first one equal to the name; empty when there is
// none or when that one is the last.
QString SwitchValue(const QString& name, const QStringList& arguments);

bool SwitchPresent(const QString& name);
QString SwitchValue(const QString& name);

// The process's arguments without the program: the application's when one
// exists, else those set below (for code that runs without an application).
QStringList ProcessArguments();
// Program first, as QCoreApplication::arguments() gives them.
void SetProcessCommandLine(const QStringList& commandLine);
