#include "TableEngineError.h"

#include <sqlite3.h>

#include "Translation.h"

QString EngineErrorText(int extendedCode) {
  switch (extendedCode) {
    case TdbErrorCode::RowChanged:
      return Tr("Der Datensatz wurde inzwischen anderswo geaendert oder geloescht.") + QLatin1Char(' ') +
             Tr("Ihre Aenderung wurde nicht ausgefuehrt.");
    case TdbErrorCode::FileGone:
      return Tr("Die Datei wurde an einem anderen Arbeitsplatz geloescht oder ersetzt. Die letzte Aenderung wurde nicht gespeichert.");
    case TdbErrorCode::TransactionLost:
      return Tr("Der Vorgang wurde nach einem Fehler ganz zurueckgenommen: keine seiner Aenderungen wurde gespeichert.");
    case SQLITE_READONLY_DIRECTORY:
      return Tr("In diesem Ordner darf nicht geschrieben werden. Die Datei wurde nicht angelegt oder geaendert.");
    case TdbErrorCode::OpenBusy:
      return Tr("Die Datei wird von einem anderen Programm benutzt und konnte nicht geoeffnet werden. Bitte versuchen Sie es spaeter noch einmal.");
    default: break;
  }
  switch (extendedCode & 0xFF) {
    case SQLITE_FULL: return Tr("Die Festplatte ist voll. Die letzte Aenderung wurde nicht gespeichert.");
    case SQLITE_READONLY: return Tr("Die Datei ist schreibgeschuetzt. Die letzte Aenderung wurde nicht gespeichert.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Tr("Die Datei wird gerade von einem anderen Programm benutzt. Die letzte Aenderung wurde nicht gespeichert; bitte versuchen Sie es gleich noch einmal.");
    case SQLITE_IOERR:
      return Tr("Beim Lesen oder Schreiben der Datei ist ein Fehler des Datentraegers oder des Netzwerks aufgetreten. Die letzte Aenderung wurde nicht gespeichert.");
    case SQLITE_NOMEM: return Tr("Der Arbeitsspeicher reicht nicht aus. Die letzte Aenderung wurde nicht gespeichert.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Tr("Die Datei ist beschaedigt oder keine Datenbank dieses Programms.");
    case SQLITE_CANTOPEN: return Tr("Die Datei fehlt oder kann nicht geoeffnet werden.");
    case SQLITE_PERM:
    case SQLITE_AUTH: return Tr("Es fehlt die Berechtigung fuer diese Datei. Die letzte Aenderung wurde nicht gespeichert.");
    case SQLITE_CONSTRAINT:
      return Tr("Dieser Eintrag ist schon vorhanden, oder ein Pflichtfeld ist leer. Die Aenderung wurde nicht gespeichert.");
    case SQLITE_MISMATCH: return Tr("Der Wert passt nicht in dieses Feld. Die Aenderung wurde nicht gespeichert.");
    default: return Tr("Die Datenbank meldet einen Fehler.");
  }
}

ETableEngineError::ETableEngineError(const QString& technical, int errorCode, int extendedCode)
    : Exception(EngineErrorText(extendedCode) + QStringLiteral("\n(") + technical + QLatin1Char(')')),
      technical_(technical),
      errorCode_(errorCode),
      extendedCode_(extendedCode) {}

void ThrowEngineError(sqlite3* db, const QString& context) {
  const int extended = db ? sqlite3_extended_errcode(db) : SQLITE_ERROR;
  const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no database");
  throw ETableEngineError(context.isEmpty() ? message : context + QStringLiteral(": ") + message, extended & 0xFF,
                          extended);
}

void ThrowEngineError(int code, const QString& message) {
  throw ETableEngineError(message, code & 0xFF, code);
}
