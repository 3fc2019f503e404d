#include "einstellungen.h"

#include "produkt.h"
#include "schluessel.h"

#include <QSettings>

namespace {

QSettings oeffnen()
{
    return QSettings(QString::fromLatin1(Produkt::Organisation), QString::fromLatin1(Produkt::WebDomain));
}

} // namespace

namespace Einstellungen {

QString text(const QString &schluessel)
{
    return oeffnen().value(schluessel).toString();
}

QStringList texte(const QStringList &schluessel)
{
    const QSettings store = oeffnen();
    QStringList werte;
    werte.reserve(schluessel.size());
    for (const QString &name : schluessel)
        werte.append(store.value(name).toString());
    return werte;
}

int zahl(const QString &schluessel)
{
    return text(schluessel).trimmed().toInt();
}

double reell(const QString &schluessel)
{
    return text(schluessel).trimmed().toDouble();
}

QStringList liste(const QString &schluessel)
{
    return oeffnen().value(schluessel).toStringList();
}

bool vorhanden(const QString &schluessel)
{
    return oeffnen().contains(schluessel);
}

bool ist(const QString &schluessel)
{
    return text(schluessel) == QLatin1String("true");
}

bool istEnglisch()
{
    return text(Schluessel::InstallerLanguage) == QLatin1String("1033");
}

QString meldung(const QString &deutsch, const QString &englisch)
{
    return istEnglisch() ? englisch : deutsch;
}

void setzen(const QString &schluessel, const QVariant &wert)
{
    setzen({{schluessel, wert}});
}

void setzen(const QList<QPair<QString, QVariant>> &werte)
{
    QSettings store = oeffnen();
    bool geaendert = false;
    for (const auto &[schluessel, wert] : werte) {
        // Most values written at every start are the ones stored: each write rewrites the file.
        if (store.contains(schluessel) && store.value(schluessel) == wert)
            continue;
        store.setValue(schluessel, wert);
        geaendert = true;
    }
    if (geaendert)
        store.sync();
}

} // namespace Einstellungen
