// Every German text that the sources pass to Tr() has an English entry, so
// a new caption cannot slip through untranslated.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "Translation.h"

namespace {
QSet<QString> CatalogueIds(const QString& poFile) {
  QFile file(poFile);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << poFile.toStdString();
  QSet<QString> ids;
  const QRegularExpression msgid(QStringLiteral("^msgid \"(.*)\"$"));
  for (const QByteArray& line : file.readAll().split('\n')) {
    const auto match = msgid.match(QString::fromUtf8(line));
    if (match.hasMatch()) ids.insert(match.captured(1));
  }
  return ids;
}

QStringList SourceTexts(const QString& root) {
  QStringList texts;
  const QRegularExpression call(QStringLiteral("\\bTr\\(\\s*\"((?:[^\"\\\\]|\\\\.)*)\""));
  QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString source = QString::fromUtf8(file.readAll());
    for (auto m = call.globalMatch(source); m.hasNext();) texts.append(m.next().captured(1));
  }
  return texts;
}
}  // namespace

TEST(TranslationCatalogue, EveryLiteralTextHasAnEnglishEntry) {
  const QSet<QString> ids = CatalogueIds(QStringLiteral(SUITE_SOURCE_DIR "/po/en_US.po"));
  const QStringList texts = SourceTexts(QStringLiteral(SUITE_SOURCE_DIR "/src"));
  ASSERT_GT(texts.size(), 20);
  QStringList missing;
  for (const QString& text : texts)
    if (!ids.contains(text)) missing.append(text);
  missing.removeDuplicates();
  EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

// Qt's own dialogs (file dialogs, input boxes) speak the interface language
// too: German from Qt's catalogue, English as Qt has them.
TEST(TranslationCatalogue, QtDialogTextsFollowTheInterfaceLanguage) {
  SetInterfaceLanguage(QStringLiteral("de_DE"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
  SetInterfaceLanguage(QStringLiteral("en_US"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
  SetInterfaceLanguage(QStringLiteral("de_DE"));
}
