// Prints how the phones' server carries a class: 200 phones joined over WebSocket, each pressing 50
// times at 10 presses a second (2,000 a second in all), and the time from a press leaving a phone
// until the game engine has recorded it, with how many were lost.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_handys
//
// The phones are WebSocket clients in this process; the server runs on its own thread as in the
// program, and its presses reach the engine through the same queued signal.
#include "dialoge.h"
#include "handyabstimmung.h"
#include "spiel.h"
#include "uhr.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QNetworkRequest>
#include <QQueue>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QWebSocket>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int Telefone = 200;
constexpr int DrueckeJeTelefon = 50;

class StilleDialoge final : public Dialoge
{
public:
    void hinweis(const Meldung &) override {}
    bool frage(const Meldung &) override { return true; }
    Sichern sichern(const Meldung &) override { return Sichern::Verwerfen; }
    QString dateiZumOeffnen(const QString &, const QString &, const QString &) override { return {}; }
    QString dateiZumSpeichern(const QString &, const QString &, const QString &) override { return {}; }
};

double anteil(std::vector<double> werte, double p)
{
    if (werte.empty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const auto index = std::size_t(std::max(0.0, std::ceil(p * double(werte.size())) - 1));
    return werte.at(std::min(index, werte.size() - 1));
}

bool warten(const std::function<bool()> &fertig, int ms)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!fertig() && uhr.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return fertig();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("plenaro.*.debug=false"));
    QTextStream aus(stdout);

    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("fragen.xml"));
    QFile xml(datei);
    if (!xml.open(QIODevice::WriteOnly))
        return 1;
    xml.write(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ArrayOfQuestion><Question>"
        "<QuestionText>Eine Frage</QuestionText><Answer1>A</Answer1><Answer2>B</Answer2>"
        "<Answer3>C</Answer3><Answer4>D</Answer4><AnswerDelay>0</AnswerDelay>"
        "<Solution>Answer2</Solution><Time>3600</Time><Points>1</Points></Question></ArrayOfQuestion>\n");
    xml.close();
    StilleDialoge dialoge;
    spiel engine(Uhr::system(), dialoge);
    engine.ladeFragen(datei);
    engine.getNaechsteFrage();
    engine.qountdownStarten();

    QElapsedTimer uhr;
    uhr.start();
    HandyAbstimmung handys;
    // Every phone here comes from the loopback address.
    handys.nummernJeAdresseSetzen(Telefone);
    QHash<uint, QQueue<qint64>> gesendet; // per handset number: send times, oldest first
    std::vector<double> zeiten;
    zeiten.reserve(Telefone * DrueckeJeTelefon);
    int unbekannt = 0;
    QObject::connect(&handys, &HandyAbstimmung::druck, &app, [&](uint klassensatz, uint nummer, uint knopf) {
        engine.antwortErfassen(klassensatz, nummer, knopf);
        QQueue<qint64> &offen = gesendet[nummer];
        if (offen.isEmpty()) {
            ++unbekannt;
            return;
        }
        zeiten.push_back(double(uhr.nsecsElapsed() - offen.dequeue()) / 1e6);
    });
    quint16 port = 0;
    QObject::connect(&handys, &HandyAbstimmung::gestartet, &app, [&](quint16 p) { port = p; });
    handys.starten(0, QHostAddress::LocalHost);
    if (!warten([&]() { return port != 0; }, 5000)) {
        aus << "server did not start\n";
        return 1;
    }
    handys.frageSetzen(true, 1);

    struct Telefon
    {
        std::unique_ptr<QWebSocket> socket = std::make_unique<QWebSocket>();
        uint nummer = 0;
        int gedrueckt = 0;
        int gezaehlt = 0;
    };
    std::vector<Telefon> telefone(Telefone);
    for (Telefon &t : telefone) {
        QObject::connect(t.socket.get(), &QWebSocket::textMessageReceived, &app, [&t](const QString &text) {
            const QJsonObject o = QJsonDocument::fromJson(text.toUtf8()).object();
            const QString typ = o.value(QStringLiteral("typ")).toString();
            if (typ == QLatin1String("willkommen"))
                t.nummer = uint(o.value(QStringLiteral("nummer")).toInt());
            else if (typ == QLatin1String("quittung") && o.value(QStringLiteral("gezaehlt")).toBool())
                ++t.gezaehlt;
        });
        QNetworkRequest anfrage(
            QUrl(QStringLiteral("ws://127.0.0.1:%1/ws?c=%2").arg(port).arg(handys.code())));
        anfrage.setRawHeader("Origin", "http://127.0.0.1:" + QByteArray::number(port));
        t.socket->open(anfrage);
    }
    if (!warten(
            [&]() {
                return std::all_of(telefone.cbegin(), telefone.cend(),
                                   [](const Telefon &t) { return t.nummer != 0; });
            },
            30000)) {
        aus << "not every phone joined\n";
        return 1;
    }

    // Every 5 ms ten phones press, in turn: each phone every 100 ms.
    int naechstes = 0;
    QTimer takt;
    takt.setTimerType(Qt::PreciseTimer);
    QObject::connect(&takt, &QTimer::timeout, &app, [&]() {
        for (int i = 0; i < Telefone / 20; ++i) {
            Telefon &t = telefone[std::size_t(naechstes)];
            naechstes = (naechstes + 1) % Telefone;
            if (t.gedrueckt == DrueckeJeTelefon)
                continue;
            ++t.gedrueckt;
            gesendet[t.nummer].enqueue(uhr.nsecsElapsed());
            t.socket->sendTextMessage(QStringLiteral("{\"typ\":\"druck\",\"knopf\":%1}")
                                          .arg(1 + (t.gedrueckt + int(t.nummer)) % 4));
        }
    });
    QElapsedTimer lauf;
    lauf.start();
    takt.start(5);
    const int alle = Telefone * DrueckeJeTelefon;
    warten([&]() { return int(zeiten.size()) + unbekannt >= alle; }, 120000);
    const double dauer = lauf.elapsed() / 1000.0;
    takt.stop();
    warten(
        [&]() {
            return std::all_of(telefone.cbegin(), telefone.cend(),
                               [](const Telefon &t) { return t.gezaehlt == DrueckeJeTelefon; });
        },
        5000);
    int quittiert = 0;
    for (const Telefon &t : telefone)
        quittiert += t.gezaehlt;
    int imSpiel = 0;
    for (const Person &p : engine.getPersonen())
        imSpiel += p.findeAntwort(1) ? 1 : 0;

    aus << Telefone << " phones x " << DrueckeJeTelefon << " presses in " << QString::number(dauer, 'f', 1)
        << " s: " << zeiten.size() << " recorded by the engine, " << alle - int(zeiten.size()) << " lost, "
        << quittiert << " acknowledged as counted, " << imSpiel << " phones with an answer\n";
    aus << "press -> antwortErfassen: median " << QString::number(anteil(zeiten, 0.5), 'f', 2) << " ms, p99 "
        << QString::number(anteil(zeiten, 0.99), 'f', 2) << " ms, slowest "
        << QString::number(anteil(zeiten, 1.0), 'f', 2) << " ms\n";
    return 0;
}
