#include "Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libintl.h>

extern "C" int _nl_msg_cat_cntr;  // glibc: bumping it invalidates gettext's cache

namespace {
const char* const kDomain = "mod00100";
QString g_language = QStringLiteral("de_DE");
QString g_catalogueDir;
bool g_bound = false;

QString ExecutableDir() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section('/', 0, -2);
}

QString FindCatalogueDir() {
  if (!g_catalogueDir.isEmpty()) return g_catalogueDir;
  const QString suite = QDir(ExecutableDir()).absoluteFilePath(QStringLiteral("../RSC/locale"));
  if (QFileInfo::exists(suite)) return QDir::cleanPath(suite);
  return QStringLiteral(SUITE_LOCALE_BUILD_DIR);
}

void BindCatalogue() {
  bindtextdomain(kDomain, QFile::encodeName(FindCatalogueDir()).constData());
  bind_textdomain_codeset(kDomain, "UTF-8");
  // gettext ignores LANGUAGE under the plain "C" locale; C.UTF-8 always exists.
  const char* current = std::setlocale(LC_MESSAGES, nullptr);
  if (!current || !std::strcmp(current, "C") || !std::strcmp(current, "POSIX"))
    std::setlocale(LC_MESSAGES, "C.UTF-8");
  g_bound = true;
}

bool IsGerman(const QString& lang) { return lang.isEmpty() || lang.startsWith(QLatin1String("de")); }

// Qt's own dialogs (file dialogs, input boxes, their buttons) speak the
// interface language too, from Qt's catalogue of it; English needs none.
void LoadQtTranslations(const QString& language) {
  static QPointer<QTranslator> installed;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  if (installed) {
    app->removeTranslator(installed);
    delete installed;
  }
  auto* translator = new QTranslator(app);
  if (translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app->installTranslator(translator);
    installed = translator;
  } else {
    delete translator;
  }
}
}  // namespace

void SetCatalogueDir(const QString& dir) {
  g_catalogueDir = dir;
  g_bound = false;
}

void SetInterfaceLanguage(const QString& name) {
  g_language = name.trimmed().isEmpty() ? QStringLiteral("de_DE") : name.trimmed();
  LoadQtTranslations(g_language);
  if (!IsGerman(g_language)) {
    BindCatalogue();
    setenv("LANGUAGE", g_language.toUtf8().constData(), 1);
    ++_nl_msg_cat_cntr;
  }
}

QString InterfaceLanguage() { return g_language; }

QString Tr(const char* german) {
  if (IsGerman(g_language) || !german || !*german) return QString::fromUtf8(german);
  if (!g_bound) BindCatalogue();
  return QString::fromUtf8(dgettext(kDomain, german));
}

QString Tr(const QString& german) { return Tr(german.toUtf8().constData()); }
