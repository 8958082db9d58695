#pragma once
// The command line of suiteadm, callable in-process for tests.
#include <QStringList>
#include <QTextStream>

// args without the program name; returns the exit code.
int SuiteAdmMain(const QStringList& args, QTextStream& out, QTextStream& err);
QString SuiteAdmUsage();
