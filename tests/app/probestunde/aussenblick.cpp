#include "aussenblick.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>

namespace Aussenblick {

bool warten(const std::function<bool()> &bedingung, int ms, int takt)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!bedingung()) {
        if (uhr.elapsed() > ms)
            return false;
        QEventLoop schleife;
        QTimer::singleShot(takt, &schleife, &QEventLoop::quit);
        schleife.exec();
    }
    return true;
}

Last::Last()
{
    const unsigned kerne = std::max(1U, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < kerne; ++i) {
        m_schleifen.emplace_back([this]() {
            volatile unsigned long zaehler = 0;
            while (!m_halt.load(std::memory_order_relaxed))
                zaehler = zaehler + 1;
        });
    }
}

Last::~Last()
{
    m_halt = true;
    for (std::thread &schleife : m_schleifen)
        schleife.join();
}

Kind::Kind(const QString &programm, const QStringList &argumente, const QProcessEnvironment &umgebung)
{
    m_prozess.setProcessEnvironment(umgebung);
    m_prozess.setProcessChannelMode(QProcess::MergedChannels);
    // Ends with the rehearsal even when that is aborted, so no screen or program is left behind.
    m_prozess.setChildProcessModifier([]() { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QObject::connect(&m_prozess, &QProcess::readyRead, [this]() {
        // A chatty child must never fill memory: keep its last half megabyte.
        m_ausgabe.append(m_prozess.readAll());
        if (m_ausgabe.size() > 512 * 1024)
            m_ausgabe.remove(0, m_ausgabe.size() - 512 * 1024);
    });
    m_prozess.start(programm, argumente);
}

Kind::~Kind()
{
    if (m_prozess.state() == QProcess::NotRunning)
        return;
    m_prozess.terminate();
    if (!m_prozess.waitForFinished(10000)) {
        m_prozess.kill();
        m_prozess.waitForFinished(10000);
    }
}

QString Kind::ausgabe()
{
    m_ausgabe.append(m_prozess.readAll());
    return QString::fromLocal8Bit(m_ausgabe);
}

Bildschirm::Bildschirm(QSize groesse, QSize laptop)
    : m_groesse(groesse)
    , m_laptop(laptop)
{
    const auto masse = [](QSize s) {
        return QStringLiteral("%1x%2x24").arg(s.width()).arg(s.height());
    };
    // -displayfd names a free display itself, so parallel runs never meet.
    QStringList argumente = QStringLiteral("-displayfd 1 -nolisten tcp -screen 0").split(QLatin1Char(' '));
    argumente << masse(zweiSchirme() ? laptop : groesse);
    if (zweiSchirme())
        argumente << QStringLiteral("-screen") << QStringLiteral("1") << masse(groesse);
    m_xvfb = new Kind(QStringLiteral("Xvfb"), argumente, QProcessEnvironment::systemEnvironment());
    QString nummer;
    warten(
        [&]() {
            const QStringList zeilen = m_xvfb->ausgabe().split(QLatin1Char('\n'));
            for (const QString &zeile : zeilen) {
                bool zahl = false;
                zeile.trimmed().toInt(&zahl);
                if (zahl)
                    nummer = zeile.trimmed();
            }
            return !nummer.isEmpty() || m_xvfb->prozess().state() == QProcess::NotRunning;
        },
        60000);
    if (nummer.isEmpty())
        return;
    m_anzeige = QLatin1Char(':') + nummer;
    // A window manager looks after one screen: each screen has its own.
    for (const bool aufLaptop : zweiSchirme() ? QList<bool>{true, false} : QList<bool>{false}) {
        m_fensterverwaltung.push_back(std::make_unique<Kind>(
            QStringLiteral("openbox"), QStringList{QStringLiteral("--sm-disable")}, umgebung(aufLaptop)));
        // The window manager is there once it announces its desktops.
        if (!warten(
                [&]() {
                    return !xdotool({QStringLiteral("get_num_desktops")}, aufLaptop).trimmed().isEmpty();
                },
                60000))
            m_anzeige.clear();
    }
}

Bildschirm::~Bildschirm()
{
    m_fensterverwaltung.clear();
    delete m_xvfb;
}

QProcessEnvironment Bildschirm::umgebung() const
{
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("DISPLAY"), m_anzeige);
    umgebung.remove(QStringLiteral("WAYLAND_DISPLAY"));
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return umgebung;
}

QProcessEnvironment Bildschirm::umgebung(bool laptop) const
{
    QProcessEnvironment fuerSchirm = umgebung();
    // The display of one screen, ":7.1".
    if (zweiSchirme())
        fuerSchirm.insert(QStringLiteral("DISPLAY"), m_anzeige + QLatin1String(laptop ? ".0" : ".1"));
    return fuerSchirm;
}

QByteArray Bildschirm::ausfuehren(const QString &programm, const QStringList &argumente, bool laptop) const
{
    QProcess prozess;
    prozess.setProcessEnvironment(umgebung(laptop));
    prozess.start(programm, argumente);
    if (!prozess.waitForFinished(60000) || prozess.exitCode() != 0)
        return {};
    return prozess.readAllStandardOutput();
}

QString Bildschirm::xdotool(const QStringList &argumente, bool laptop) const
{
    return QString::fromLocal8Bit(ausfuehren(QStringLiteral("xdotool"), argumente, laptop));
}

QImage Bildschirm::foto(bool laptop) const
{
    const QStringList argumente = QStringLiteral("-silent -window root png:-").split(QLatin1Char(' '));
    return QImage::fromData(ausfuehren(QStringLiteral("import"), argumente, laptop), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

Seite::Seite(const QString &socketAdresse)
{
    QObject::connect(&m_socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
        const QJsonObject nachricht = QJsonDocument::fromJson(text.toUtf8()).object();
        if (nachricht.contains(QLatin1String("id")))
            m_antworten.insert(nachricht.value(QLatin1String("id")).toInt(), nachricht);
    });
    m_socket.open(QUrl(socketAdresse));
    warten([this]() { return m_socket.state() != QAbstractSocket::ConnectingState; }, 30000, 20);
}

QJsonValue Seite::auswerten(const QString &ausdruck, int ms)
{
    if (!verbunden())
        return {};
    const int id = m_naechsteId++;
    const QJsonObject anfrage{
        {QStringLiteral("id"), id},
        {QStringLiteral("method"), QStringLiteral("Runtime.evaluate")},
        {QStringLiteral("params"), QJsonObject{{QStringLiteral("expression"), ausdruck},
                                               {QStringLiteral("returnByValue"), true},
                                               {QStringLiteral("awaitPromise"), true}}}};
    m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(anfrage).toJson(QJsonDocument::Compact)));
    if (!warten([&]() { return m_antworten.contains(id) || !verbunden(); }, ms, 5))
        return {};
    const QJsonObject antwort = m_antworten.take(id).toObject();
    const QJsonObject ergebnis = antwort.value(QLatin1String("result")).toObject();
    if (ergebnis.contains(QLatin1String("exceptionDetails")))
        return {};
    return ergebnis.value(QLatin1String("result")).toObject().value(QLatin1String("value"));
}

QList<QPair<QString, QString>> seitenListe(quint16 port)
{
    QNetworkAccessManager netz;
    QNetworkReply *antwort =
        netz.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/json").arg(port))));
    warten([antwort]() { return antwort->isFinished(); }, 30000, 20);
    QList<QPair<QString, QString>> seiten;
    const QJsonArray liste = QJsonDocument::fromJson(antwort->readAll()).array();
    delete antwort;
    for (const QJsonValue &eintrag : liste) {
        const QJsonObject seite = eintrag.toObject();
        if (seite.value(QLatin1String("type")).toString() == QLatin1String("page"))
            seiten.append({seite.value(QLatin1String("url")).toString(),
                           seite.value(QLatin1String("webSocketDebuggerUrl")).toString()});
    }
    return seiten;
}

int unterschied(const QImage &a, const QImage &b, const QRect &rechteck)
{
    const QRect feld = rechteck & a.rect() & b.rect();
    if (feld.isEmpty())
        return 0;
    int anders = 0;
    for (int y = feld.top(); y <= feld.bottom(); ++y) {
        const auto *zeileA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *zeileB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = feld.left(); x <= feld.right(); ++x) {
            const QRgb p = zeileA[x];
            const QRgb q = zeileB[x];
            const int abstand = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                          std::abs(qBlue(p) - qBlue(q))});
            if (abstand > 40)
                ++anders;
        }
    }
    return anders;
}

} // namespace Aussenblick
