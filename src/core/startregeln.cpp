#include "startregeln.h"

#include "einstellungen.h"
#include "schluessel.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <csignal>
#include <limits>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace Startregeln {

QString beispielVerzeichnis(const QString &anwendungsVerzeichnis)
{
    QStringList teile = anwendungsVerzeichnis.split(QLatin1Char('/'));
    const QString gesucht =
        teile.contains(QLatin1String("debug")) ? QStringLiteral("debug") : QStringLiteral("bin");
    const int index = teile.lastIndexOf(gesucht);
    if (index >= 0)
        teile[index] = QStringLiteral("examples");
    return teile.join(QLatin1Char('/'));
}

QString installierteDaten(const QString &anwendungsVerzeichnis)
{
    return QDir::cleanPath(anwendungsVerzeichnis + QLatin1String("/../share/plenaro"));
}

QString beispielVerzeichnisSuchen(const QString &anwendungsVerzeichnis)
{
    const QString nebenan = beispielVerzeichnis(anwendungsVerzeichnis);
    if (QFileInfo(nebenan).isDir())
        return nebenan;
    const QString installiert = installierteDaten(anwendungsVerzeichnis) + QLatin1String("/examples");
    return QFileInfo(installiert).isDir() ? installiert : nebenan;
}

QString begleitDatei(const QString &anwendungsVerzeichnis, const QString &name)
{
    const QString nebenan = anwendungsVerzeichnis + QLatin1Char('/') + name;
    if (QFileInfo::exists(nebenan))
        return nebenan;
    const QString installiert = installierteDaten(anwendungsVerzeichnis) + QLatin1Char('/') + name;
    return QFileInfo::exists(installiert) ? installiert : nebenan;
}

QString beispielDatei(const QString &beispielVerzeichnis, bool englisch)
{
    return beispielVerzeichnis +
           (englisch ? QStringLiteral("/EN/BspFragen.xml") : QStringLiteral("/DE/BspFragen.xml"));
}

StartDatei startDatei(const QString &anwendungsVerzeichnis)
{
    if (Einstellungen::ist(Schluessel::BereitsGestartet))
        return {Einstellungen::text(Schluessel::FrageFile), false};
    return {beispielDatei(beispielVerzeichnisSuchen(anwendungsVerzeichnis), Einstellungen::istEnglisch()),
            true};
}

void ersterStartAbschliessen(const QString &frageDatei)
{
    const QString wahr = QStringLiteral("true");
    const QString falsch = QStringLiteral("false");
    Einstellungen::setzen(Schluessel::FrageFile, frageDatei);
    Einstellungen::setzen({
        {Schluessel::BereitsGestartet, wahr},
        {Schluessel::TemplateAutomatischErkennen, wahr},
        {Schluessel::FilePathPDFRangliste, QString()},
        {Schluessel::FilePathCSVRangliste, QString()},
        {Schluessel::EmpfaengerAutomatischFinden, wahr},
        {Schluessel::LoesungAnzeigen, wahr},
        {Schluessel::QuizProzentAntwortenAnzeigen, wahr},
        {Schluessel::UmfrageProzentAntwortenAnzeigen, falsch},
        {Schluessel::Konferenzmodus, falsch},
        {Schluessel::SteuerungUeberMaster, falsch},
        {Schluessel::AutomatisierungAktiviert, falsch},
        {Schluessel::ToeneBuzzerLautlos, falsch},
        {Schluessel::ToeneCountdownLautlos, falsch},
        {Schluessel::ToeneAutomatisierungLautlos, falsch},
        {Schluessel::FragetextFett, falsch},
    });
}

void jederStart(const QSize &bildschirm)
{
    QList<QPair<QString, QVariant>> werte{
        {Schluessel::EmpfaengerVerbunden, QStringLiteral("false")},
        {Schluessel::ZoomFaktorTemplateTandrivelle, QStringLiteral("1.2")},
    };
    const auto vorgabe = [&werte](const QString &schluessel, const QString &wert) {
        if (Einstellungen::text(schluessel).isEmpty())
            werte.append({schluessel, wert});
    };
    vorgabe(Schluessel::DefaultPfadFrageFileOeffnen, QStringLiteral("/"));
    vorgabe(Schluessel::SoundFileToeneBuzzer, QStringLiteral("bell.wav"));
    vorgabe(Schluessel::SoundFileToeneCountdown, QStringLiteral("ring.wav"));
    vorgabe(Schluessel::SoundFileToeneAutomatisierung, QStringLiteral("bell.wav"));
    werte.append({Schluessel::DesktopHeight, bildschirm.height()});
    werte.append({Schluessel::DesktopWidth, bildschirm.width()});
    Einstellungen::setzen(werte);
}

bool softwareZeichnen(const QString &renderer)
{
    static const QRegularExpression emuliert(
        QStringLiteral("llvmpipe|softpipe|swrast|swiftshader|software rasterizer"),
        QRegularExpression::CaseInsensitiveOption);
    return renderer.trimmed().isEmpty() || emuliert.match(renderer).hasMatch();
}

void dateigrenzeAlsSchreibfehler()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

quint64 dateienGrenzeAnheben()
{
#ifdef Q_OS_UNIX
    rlimit grenze{};
    if (::getrlimit(RLIMIT_NOFILE, &grenze) != 0)
        return 0;
    if (grenze.rlim_cur < grenze.rlim_max) {
        rlimit angehoben = grenze;
        angehoben.rlim_cur = grenze.rlim_max;
        if (::setrlimit(RLIMIT_NOFILE, &angehoben) == 0)
            grenze = angehoben;
    }
    return grenze.rlim_cur == RLIM_INFINITY ? std::numeric_limits<quint64>::max() : quint64(grenze.rlim_cur);
#else
    return 0;
#endif
}

} // namespace Startregeln
