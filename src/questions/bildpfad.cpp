#include "bildpfad.h"

#include <QStringList>

namespace BildPfad {

namespace {

const QString Hoch = QStringLiteral("..\\");

bool hatLaufwerk(const QString &pfad)
{
    return pfad.size() >= 2 && pfad.at(0).isLetter() && pfad.at(1) == QLatin1Char(':');
}

// Only characters that would end the URL early or break the statement it is put into.
QString urlMaskieren(const QString &url)
{
    QString ergebnis;
    for (const QChar c : url) {
        switch (c.unicode()) {
        case '%':
            ergebnis += QLatin1String("%25");
            break;
        case '#':
            ergebnis += QLatin1String("%23");
            break;
        case '?':
            ergebnis += QLatin1String("%3F");
            break;
        case '\'':
            ergebnis += QLatin1String("%27");
            break;
        case '"':
            ergebnis += QLatin1String("%22");
            break;
        case '\n':
            ergebnis += QLatin1String("%0A");
            break;
        case '\r':
            ergebnis += QLatin1String("%0D");
            break;
        default:
            ergebnis += c;
        }
    }
    return ergebnis;
}

Quelle quelle(const QString &ordner, const QString &rest)
{
    QString lokal = ordner + rest;
    lokal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString praefix = hatLaufwerk(lokal) ? QStringLiteral("file:///") : QStringLiteral("file:");
    return {praefix + urlMaskieren(lokal), lokal};
}

} // namespace

bool istAbsolut(const QString &pfad)
{
    return pfad.startsWith(QLatin1Char('/')) || pfad.startsWith(QLatin1Char('\\')) || hatLaufwerk(pfad);
}

QString relativerBildPfad(const QString &frageDatei, const QString &bild)
{
    qsizetype gemeinsam = 0;
    while (gemeinsam < frageDatei.size() && gemeinsam < bild.size() &&
           frageDatei.at(gemeinsam) == bild.at(gemeinsam))
        ++gemeinsam;
    const qsizetype k = frageDatei.left(gemeinsam).lastIndexOf(QLatin1Char('/')) + 1;

    // Nothing in common but the root: "..\" steps up to the root would break as soon as the
    // questions move, and across drives they could not be resolved at all.
    const QString gemeinsamerOrdner = frageDatei.left(k);
    const bool nurWurzel = gemeinsamerOrdner == QLatin1String("/") ||
                           (gemeinsamerOrdner.size() == 3 && hatLaufwerk(gemeinsamerOrdner));
    if (k == 0 || nurWurzel)
        return bild;

    QString ergebnis;
    const QStringList teile = frageDatei.mid(k).split(QLatin1Char('/'));
    for (qsizetype i = 0; i + 1 < teile.size(); ++i)
        ergebnis += Hoch;
    QString rest = bild.mid(k);
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return ergebnis + rest;
}

Quelle bildPfadAufloesen(const QString &gespeichert, const QString &frageDatei)
{
    if (gespeichert.isEmpty())
        return {};
    if (istAbsolut(gespeichert))
        return quelle(QString(), gespeichert);

    const qsizetype n = gespeichert.split(Hoch).size();
    const QStringList teile = frageDatei.split(QLatin1Char('/'));
    QString ordner;
    for (qsizetype i = 0; i < teile.size() - n; ++i)
        ordner += teile.at(i) + QLatin1Char('/');
    QString rest = gespeichert;
    rest.remove(Hoch);
    return quelle(ordner, rest);
}

} // namespace BildPfad
