#include "ChildProcess.h"

#include <QCoreApplication>
#include <QMap>
#include <gtest/gtest.h>

#include "ScriptedDialogs.h"

namespace {
QMap<QString, ChildMain>& Registry() {
  static QMap<QString, ChildMain> registry;
  return registry;
}
}  // namespace

bool RegisterChildProcess(const char* name, ChildMain main) {
  Registry().insert(QString::fromLatin1(name), std::move(main));
  return true;
}

bool RunChildProcessIfAsked(int argc, char** argv, int& exitCode) {
  if (argc < 3 || QByteArray(argv[1]) != "--child") return false;
  const QString name = QString::fromLocal8Bit(argv[2]);
  QStringList args;
  for (int i = 3; i < argc; ++i) args.append(QString::fromLocal8Bit(argv[i]));
  SetDialogs(std::make_unique<ScriptedDialogs>());  // a child never waits for a person either
  const auto it = Registry().constFind(name);
  exitCode = it == Registry().constEnd() ? 127 : (*it)(args);
  return true;
}

std::unique_ptr<QProcess> StartChild(const QString& name, const QStringList& args) {
  auto process = std::make_unique<QProcess>();
  process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process->start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child"), name} + args);
  EXPECT_TRUE(process->waitForStarted(10000)) << name.toStdString();
  return process;
}

int RunChild(const QString& name, const QStringList& args, int timeoutMs) {
  auto process = StartChild(name, args);
  if (!process->waitForFinished(timeoutMs)) {
    process->kill();
    process->waitForFinished();
    return -1;
  }
  return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
}
