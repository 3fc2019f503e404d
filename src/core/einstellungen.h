#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// The one settings store of the program. Every access opens the store afresh, so a value written
// by one window is seen by every later read anywhere; there is no cache to get stale.
// Reads never pass a default: a missing key reads as empty, 0 or an empty list.
namespace Einstellungen {

QString text(const QString &schluessel);
// Several keys from one opening of the store, for reads that happen very often.
QStringList texte(const QStringList &schluessel);
int zahl(const QString &schluessel);
double reell(const QString &schluessel);
QStringList liste(const QString &schluessel);
bool vorhanden(const QString &schluessel);

// Flags are stored as the texts "true"/"false"; only the exact text "true" counts as on.
bool ist(const QString &schluessel);

// The interface is English exactly when "InstallerLanguage" is "1033".
bool istEnglisch();

// Picks the German or English literal of a message built in code, by the language test at the
// moment the message is shown.
QString meldung(const QString &deutsch, const QString &englisch);

// Writes and flushes at once, so a crash a moment later loses nothing.
void setzen(const QString &schluessel, const QVariant &wert);
void setzen(const QList<QPair<QString, QVariant>> &werte);

} // namespace Einstellungen
