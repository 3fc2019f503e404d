#include "bildpfad.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace BildPfad {

namespace {

const QString Hoch = QStringLiteral("..\\");

bool hatLaufwerk(const QString &pfad)
{
    return pfad.size() >= 2 && pfad.at(0).isLetter() && pfad.at(1) == QLatin1Char(':');
}

Quelle quelle(const QString &ordner, const QString &rest)
{
    QString lokal = ordner + rest;
    lokal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString praefix = hatLaufwerk(lokal) ? QStringLiteral("file:///") : QStringLiteral("file:");
    return {praefix + lokal, lokal};
}

} // namespace

bool istBilddatei(const QString &lokalerPfad)
{
    const QFileInfo info(lokalerPfad);
    if (!info.isFile())
        return false;
#ifdef Q_OS_UNIX
    // Qt counts FIFOs, sockets and devices as files too; opening one would wait for a writer.
    struct stat daten
    {
    };
    if (::stat(QFile::encodeName(info.absoluteFilePath()).constData(), &daten) != 0 ||
        !S_ISREG(daten.st_mode))
        return false;
#endif
    return true;
}

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
