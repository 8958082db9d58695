// suiteadm: makes suite trees and reads and writes protected settings files.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "SuiteAdmCommand.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  QStringList args = app.arguments();
  args.removeFirst();
  const int code = SuiteAdmMain(args, out, err);
  out.flush();
  err.flush();
  return code;
}
