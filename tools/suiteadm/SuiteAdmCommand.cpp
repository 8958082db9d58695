#include "SuiteAdmCommand.h"

#include <QFileInfo>

#include "IniFilesSec.h"
#include "DemoWarehouse.h"
#include "SuiteTree.h"

namespace {
const char* const kUsage =
    "usage:\n"
    "  suiteadm init ROOT --client NAME --user NAME [--password P]\n"
    "      make a suite tree for the client and admit the user\n"
    "  suiteadm demo ROOT [--addresses N] [--warehouse-articles N] [--catalogue-articles N]\n"
    "      make the demo suite (client DEMO, user ADMIN, barred user GAST)\n"
    "      with N demo addresses (default 150), N warehouse articles (default 2000)\n"
    "      and N material catalogue articles (default 5000)\n"
    "  suiteadm ini get FILE SECTION IDENT\n"
    "  suiteadm ini set FILE SECTION IDENT VALUE\n"
    "  suiteadm ini dump FILE\n"
    "      read and write protected settings files (SYSDATA.INI, SYSDATB.INI)\n";

int UsageError(QTextStream& err, const QString& problem) {
  if (!problem.isEmpty()) err << "suiteadm: " << problem << "\n";
  err << kUsage;
  return 2;
}

// Reads "--name value" options after the positional arguments.
bool ParseOptions(const QStringList& args, qsizetype from, QMap<QString, QString>& options, QString& problem) {
  for (qsizetype i = from; i < args.size(); i += 2) {
    const QString& name = args[i];
    if (!name.startsWith(QLatin1String("--")) || i + 1 >= args.size()) {
      problem = QStringLiteral("unexpected argument: %1").arg(name);
      return false;
    }
    options.insert(name.mid(2), args[i + 1]);
  }
  return true;
}

int Init(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() < 2) return UsageError(err, QStringLiteral("init needs ROOT"));
  QMap<QString, QString> options;
  QString problem;
  if (!ParseOptions(args, 2, options, problem)) return UsageError(err, problem);
  for (const QString& key : options.keys())
    if (key != QLatin1String("client") && key != QLatin1String("user") && key != QLatin1String("password"))
      return UsageError(err, QStringLiteral("unknown option --%1").arg(key));
  if (options.value(QStringLiteral("client")).trimmed().isEmpty() ||
      options.value(QStringLiteral("user")).trimmed().isEmpty())
    return UsageError(err, QStringLiteral("init needs --client and --user"));
  SuiteUser user;
  user.name = options.value(QStringLiteral("user"));
  user.password = options.value(QStringLiteral("password"));
  QString error;
  if (!CreateSuiteTree({args[1], options.value(QStringLiteral("client"))}, {user}, &error)) {
    err << "suiteadm: " << error << "\n";
    return 1;
  }
  out << "suite tree ready: " << args[1] << "\n";
  return 0;
}

// A count of at most ten million; false for anything else.
bool ParseCount(const QString& text, int& count) {
  bool ok = false;
  count = text.toInt(&ok);
  return ok && count >= 0 && count <= 10'000'000;
}

int Demo(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() < 2 || args[1].startsWith(QLatin1String("--"))) return UsageError(err, QStringLiteral("demo needs ROOT"));
  QMap<QString, QString> options;
  QString problem;
  if (!ParseOptions(args, 2, options, problem)) return UsageError(err, problem);
  for (const QString& key : options.keys())
    if (key != QLatin1String("addresses") && key != QLatin1String("warehouse-articles") &&
        key != QLatin1String("catalogue-articles"))
      return UsageError(err, QStringLiteral("unknown option --%1").arg(key));
  int addresses = kDemoAddressCount;
  int articles = kDemoWarehouseArticleCount;
  int catalogueArticles = kDemoCatalogueArticleCount;
  for (const auto& [name, count] : {std::pair{QStringLiteral("addresses"), &addresses},
                                    std::pair{QStringLiteral("warehouse-articles"), &articles},
                                    std::pair{QStringLiteral("catalogue-articles"), &catalogueArticles}})
    if (options.contains(name) && !ParseCount(options.value(name), *count))
      return UsageError(err, QStringLiteral("--%1 needs a number from 0 to 10000000").arg(name));
  QString error;
  if (!CreateDemoSuite(args[1], &error, addresses, articles, catalogueArticles)) {
    err << "suiteadm: " << error << "\n";
    return 1;
  }
  out << "demo suite ready: " << args[1] << "\n";
  return 0;
}

int IniGet(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() != 5) return UsageError(err, QStringLiteral("ini get needs FILE SECTION IDENT"));
  if (!QFileInfo(args[2]).isFile()) {
    err << "suiteadm: file not found: " << args[2] << "\n";
    return 1;
  }
  TIniFileSec ini(args[2]);
  // Two different defaults tell a valid value from a missing or tampered one.
  const QString a = ini.ReadString(args[3], args[4], QStringLiteral("\x01"));
  const QString b = ini.ReadString(args[3], args[4], QStringLiteral("\x02"));
  if (a != b) {
    err << "suiteadm: no valid value for [" << args[3] << "] " << args[4] << "\n";
    return 1;
  }
  out << a << "\n";
  return 0;
}

int IniSet(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() != 6) return UsageError(err, QStringLiteral("ini set needs FILE SECTION IDENT VALUE"));
  TIniFileSecWriter ini(args[2]);
  ini.WriteString(args[3], args[4], args[5]);
  if (!ini.UpdateFile()) {
    err << "suiteadm: cannot write " << args[2] << "\n";
    return 1;
  }
  return 0;
}

int IniDump(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() != 3) return UsageError(err, QStringLiteral("ini dump needs FILE"));
  if (!QFileInfo(args[2]).isFile()) {
    err << "suiteadm: file not found: " << args[2] << "\n";
    return 1;
  }
  TIniFileSec ini(args[2]);
  for (const QString& section : ini.ReadSections()) {
    out << "[" << section << "]\n";
    for (const QString& ident : ini.ReadSection(section)) {
      const QString a = ini.ReadString(section, ident, QStringLiteral("\x01"));
      const QString b = ini.ReadString(section, ident, QStringLiteral("\x02"));
      out << ident << "=" << (a == b ? a : QStringLiteral("<invalid>")) << "\n";
    }
  }
  return 0;
}

int Ini(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QString verb = args.value(1);
  if (verb == QLatin1String("get")) return IniGet(args, out, err);
  if (verb == QLatin1String("set")) return IniSet(args, out, err);
  if (verb == QLatin1String("dump")) return IniDump(args, out, err);
  return UsageError(err, QStringLiteral("ini needs get, set or dump"));
}
}  // namespace

QString SuiteAdmUsage() { return QString::fromLatin1(kUsage); }

int SuiteAdmMain(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QString command = args.value(0);
  if (command == QLatin1String("init")) return Init(args, out, err);
  if (command == QLatin1String("demo")) return Demo(args, out, err);
  if (command == QLatin1String("ini")) return Ini(args, out, err);
  if (command == QLatin1String("--help") || command == QLatin1String("help")) {
    out << kUsage;
    return 0;
  }
  return UsageError(err, command.isEmpty() ? QString() : QStringLiteral("unknown command: %1").arg(command));
}
