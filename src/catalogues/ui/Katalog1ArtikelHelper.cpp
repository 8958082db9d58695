#include "Katalog1ArtikelHelper.h"

#include <QStringList>

#include "Format.h"
#include "Katalog1Artikel.h"
#include "NumberText.h"
#include "Translation.h"

namespace {
QString Escaped(const QString& text) { return text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>")); }

QString Price(Currency amount) { return FormatText(QStringLiteral("%n"), {CurrencyToDouble(amount)}); }

QString Row(const char* label, const QString& value) {
  return QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td></tr>").arg(Tr(label).toHtmlEscaped(), Escaped(value));
}

bool IsPicture(const QString& extension) {
  static const QStringList kPictures = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),
                                        QStringLiteral("gif"), QStringLiteral("bmp")};
  return kPictures.contains(extension.trimmed().toLower());
}

QString Texts(const TKatalog1Artikel& a) {
  QString html;
  if (!a.Langtext.trimmed().isEmpty()) html += QStringLiteral("<p>%1</p>").arg(Escaped(a.Langtext));
  for (const TKatalog1Dimensionslangtext& text : a.Dimensionslangtexte)
    if (!text.Text.trimmed().isEmpty()) html += QStringLiteral("<p>%1</p>").arg(Escaped(text.Text));
  return html;
}
}  // namespace

QString TKatalog1ArtikelHelper::PictureFile(const TKatalog1Artikel& article) {
  for (const TKatalog1AnbindObj& object : article.AnbindObjekte)
    if (IsPicture(object.Erweiterung)) return object.Dateiname + u'.' + object.Erweiterung.trimmed();
  return QString();
}

QString TKatalog1ArtikelHelper::ArtikelHtml(const TKatalog1Artikel& a) {
  QString html = QStringLiteral("<html><body>");
  html += QStringLiteral("<h3>%1<br>%2</h3>").arg(Escaped(a.KURZZEILE1), Escaped(a.KURZZEILE2));
  const QString picture = PictureFile(a);
  if (!picture.isEmpty()) html += QStringLiteral("<p><img src=\"%1\" width=\"200\"></p>").arg(picture.toHtmlEscaped());
  html += QStringLiteral("<table cellspacing=\"2\" cellpadding=\"2\">");
  html += Row("Artikel-Nr.", a.ID);
  html += Row("Listenpreis", Price(a.LISTENPREIS));
  html += Row("Rabatt", FormatText(QStringLiteral("%s %%"), {FormatGeneralNumber(a.RABATT)}));
  html += Row("Nettopreis", Price(a.NETTO));
  html += Row("Preiseinheit", QString::number(a.PREISEINHEIT));
  const Currency vkPreise[] = {a.VKPREIS2, a.VKPREIS3, a.VKPREIS4, a.VKPREIS5};
  const char* vkLabels[] = {"VK-Preis 2", "VK-Preis 3", "VK-Preis 4", "VK-Preis 5"};
  for (int i = 0; i < 4; ++i) html += Row(vkLabels[i], Price(vkPreise[i]));
  html += Row("Mengeneinheit", a.ME);
  html += QStringLiteral("</table>");
  html += Texts(a);
  html += QStringLiteral("</body></html>");
  return html;
}
