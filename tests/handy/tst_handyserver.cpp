// The phones' server as a phone and as an intruder see it: over real sockets on the loopback
// interface, with the server on its own thread as in the program.
#include "geraetschluessel.h"
#include "handyabstimmung.h"
#include "handyprotokoll.h"
#include "handyseiten.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include <memory>
#include <vector>

namespace {

// Bytes exactly as written (no client tidies the address), from `von` if given; everything the
// server sends until it closes.
struct Roh
{
    QTcpSocket socket;
    QByteArray empfangen;

    Roh(quint16 port, const QByteArray &anfrage, const QHostAddress &von = {})
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                         [this]() { empfangen += socket.readAll(); });
        if (!von.isNull())
            socket.bind(von);
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(10000))
            socket.write(anfrage);
    }
    bool zu() const { return socket.state() == QAbstractSocket::UnconnectedState; }
    int status() const { return empfangen.left(empfangen.indexOf("\r\n")).split(' ').value(1).toInt(); }
    QByteArray koerper() const
    {
        const int ende = empfangen.indexOf("\r\n\r\n");
        return ende < 0 ? QByteArray() : empfangen.mid(ende + 4);
    }
    // The frames the server sent after its answer to the handshake: opcode and payload each.
    QList<QPair<int, QByteArray>> rahmen() const
    {
        QList<QPair<int, QByteArray>> alle;
        int i = empfangen.indexOf("\r\n\r\n");
        if (i < 0)
            return alle;
        for (i += 4; i + 2 <= empfangen.size();) {
            int laenge = quint8(empfangen.at(i + 1)) & 0x7f;
            int kopf = 2;
            if (laenge == 126) {
                laenge = (quint8(empfangen.at(i + 2)) << 8) | quint8(empfangen.at(i + 3));
                kopf = 4;
            }
            alle.append({quint8(empfangen.at(i)) & 0x0f, empfangen.mid(i + kopf, laenge)});
            i += kopf + laenge;
        }
        return alle;
    }
};

QByteArray anfrage(quint16 port, const QByteArray &ziel, const QByteArray &methode = "GET")
{
    return methode + ' ' + ziel + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
           "\r\nConnection: close\r\n\r\n";
}

struct Antwort
{
    int status = 0; // 0: no answer
    QByteArray koerper;
};

// One request on a connection of its own; the server closes it after the answer, as asked.
Antwort holen(quint16 port, const QByteArray &ziel, const QByteArray &methode = "GET",
              const QHostAddress &von = {})
{
    Roh roh(port, anfrage(port, ziel, methode), von);
    if (!QTest::qWaitFor([&]() { return roh.zu(); }, 10000))
        qWarning("%s: the connection stays open", ziel.constData());
    return {roh.status(), roh.koerper()};
}

// A client frame, masked as the protocol wants it.
QByteArray rahmen(quint8 erstes, const QByteArray &inhalt)
{
    QByteArray r(1, char(erstes));
    if (inhalt.size() < 126) {
        r.append(char(0x80 | inhalt.size()));
    } else {
        r.append(char(0x80 | 126));
        r.append(char(inhalt.size() >> 8));
        r.append(char(inhalt.size() & 0xff));
    }
    const char maske[4] = {0x12, 0x34, 0x56, 0x78};
    r.append(maske, 4);
    for (int i = 0; i < inhalt.size(); ++i)
        r.append(char(inhalt.at(i) ^ maske[i % 4]));
    return r;
}

QByteArray handschlag(quint16 port, const QString &code, const QByteArray &herkunft = "eigene")
{
    const QByteArray host = "127.0.0.1:" + QByteArray::number(port);
    return "GET /ws?c=" + code.toLatin1() + " HTTP/1.1\r\nHost: " + host +
           (herkunft.isEmpty() ? QByteArray()
                               : "\r\nOrigin: " + (herkunft == "eigene" ? "http://" + host : herkunft)) +
           "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
           "Sec-WebSocket-Version: 13\r\n\r\n";
}

// The close code in the frames the server sent, 0 when it sent none.
int schlusscode(const Roh &roh)
{
    for (const auto &[art, inhalt] : roh.rahmen()) {
        if (art == 8 && inhalt.size() >= 2)
            return (quint8(inhalt.at(0)) << 8) | quint8(inhalt.at(1));
    }
    return 0;
}

// The last count a counting signal told, 0 before the first.
quint64 gemeldet(const QSignalSpy &spy)
{
    return spy.isEmpty() ? 0 : spy.last().at(0).toULongLong();
}

// One phone: its socket and every message it got.
struct Telefon
{
    QWebSocket socket;
    QList<QJsonObject> nachrichten;
    int schlusscode = -1;

    Telefon()
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, &socket, [this](const QString &text) {
            nachrichten.append(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        QObject::connect(&socket, &QWebSocket::disconnected, &socket,
                         [this]() { schlusscode = int(socket.closeCode()); });
    }

    // As a browser does: with the page's own origin.
    void oeffnen(quint16 port, const QString &ziel)
    {
        QNetworkRequest anfrage(QUrl(QStringLiteral("ws://127.0.0.1:%1%2").arg(port).arg(ziel)));
        anfrage.setRawHeader("Origin", "http://127.0.0.1:" + QByteArray::number(port));
        socket.open(anfrage);
    }

    QJsonObject letzte(const QString &typ) const
    {
        for (auto it = nachrichten.crbegin(); it != nachrichten.crend(); ++it) {
            if (it->value(QStringLiteral("typ")).toString() == typ)
                return *it;
        }
        return {};
    }
    int nummer() const
    {
        return letzte(QStringLiteral("willkommen")).value(QStringLiteral("nummer")).toInt();
    }
    QString token() const
    {
        return letzte(QStringLiteral("willkommen")).value(QStringLiteral("token")).toString();
    }
    void druecken(int knopf)
    {
        socket.sendTextMessage(QStringLiteral("{\"typ\":\"druck\",\"knopf\":%1}").arg(knopf));
    }
};

} // namespace

class TestHandyServer final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<HandyAbstimmung> m_handys;
    quint16 m_port = 0;

    void laufend(const HandyGrenzen &grenzen = {}, bool englisch = false, const QString &vorlage = {})
    {
        m_handys = std::make_unique<HandyAbstimmung>();
        m_handys->grenzenSetzen(grenzen);
        // Before the start, so the first request already finds them.
        m_handys->spracheSetzen(englisch);
        m_handys->vorlageSetzen(vorlage);
        // One test machine stands in for a class.
        m_handys->nummernJeAdresseSetzen(int(HandyProtokoll::HoechsteNummer));
        QSignalSpy gestartet(m_handys.get(), &HandyAbstimmung::gestartet);
        m_handys->starten(0, QHostAddress::LocalHost);
        QVERIFY(gestartet.wait(10000));
        m_port = m_handys->port();
        QVERIFY(m_port != 0);
    }

    // A phone that has been welcomed or turned away.
    std::unique_ptr<Telefon> beitreten(const QString &token = {})
    {
        auto telefon = std::make_unique<Telefon>();
        telefon->oeffnen(m_port, QStringLiteral("/ws?c=%1&t=%2").arg(m_handys->code(), token));
        if (!QTest::qWaitFor([&]() { return telefon->nummer() != 0 || telefon->schlusscode >= 0; }, 10000))
            qWarning("no welcome");
        return telefon;
    }

private slots:
    void init() { laufend(); }
    void cleanup() { m_handys.reset(); }

    // Every page a phone gets is in the interface language and in the voting page's look; the
    // template's name is no way into it. Only the game's code opens the voting page.
    void seiten_data()
    {
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QString>("vorlage");
        QTest::addColumn<QByteArray>(
            "ziel"); // "CODE" stands for the game's code, "code" for it in lower case
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("aussehen"); // empty: not a page of HTML
        QTest::addColumn<QString>("text");
        const QString falsch = QStringLiteral("Falscher Beitrittscode – bitte den QR-Code neu scannen.");
        QTest::newRow("wrong code") << false << "Morvane" << QByteArray("/?c=ZZZZZZ") << 403
                                    << "vorlage-morvane" << falsch;
        QTest::newRow("code in lower case")
            << false << "Morvane" << QByteArray("/?c=code") << 403 << "vorlage-morvane" << falsch;
        QTest::newRow("wrong code, English")
            << true << "Tandrivelle" << QByteArray("/?c=ZZZZZZ") << 403 << "vorlage-tandrivelle"
            << "Wrong join code – please scan the QR code again.";
        QTest::newRow("no code") << false << "<b>\"" << QByteArray("/") << 403 << "vorlage-kahoot" << falsch;
        QTest::newRow("not there") << false << "Kahoot" << QByteArray("/nirgends") << 404 << "vorlage-kahoot"
                                   << "Diese Seite gibt es hier nicht – bitte den QR-Code scannen.";
        QTest::newRow("not there, English")
            << true << "Kahoot" << QByteArray("/nirgends") << 404 << "vorlage-kahoot"
            << "There is no such page here – please scan the QR code.";
        QTest::newRow("voting page") << false << "Morvane" << QByteArray("/?c=CODE") << 200
                                     << "vorlage-morvane"
                                     << "Bitte JavaScript einschalten.";
        QTest::newRow("voting page, English")
            << true << "Kahoot" << QByteArray("/?c=CODE") << 200 << "vorlage-kahoot"
            << "Please enable JavaScript.";
        // The page's own files come without a code: they hold nothing of the game.
        QTest::newRow("script") << false << "" << QByteArray("/abstimmung.js") << 200 << ""
                                << "WebSocket";
        QTest::newRow("style") << false << "" << QByteArray("/abstimmung.css") << 200 << ""
                               << "body";
    }
    void seiten()
    {
        QFETCH(bool, englisch);
        QFETCH(QString, vorlage);
        QFETCH(QByteArray, ziel);
        QFETCH(QString, aussehen);
        QFETCH(QString, text);
        laufend({}, englisch, vorlage);
        const QByteArray code = m_handys->code().toLatin1();
        const Antwort antwort = holen(m_port, ziel.replace("CODE", code).replace("code", code.toLower()));
        QTEST(antwort.status, "status");
        const QString seite = QString::fromUtf8(antwort.koerper);
        QVERIFY2(seite.contains(text), qPrintable(seite));
        if (aussehen.isEmpty())
            return;
        QVERIFY2(seite.startsWith(QLatin1String("<!DOCTYPE html>")), qPrintable(seite));
        QVERIFY(seite.contains(QStringLiteral("<html lang=\"%1\">").arg(englisch ? "en" : "de")));
        QVERIFY(seite.contains(QLatin1String("<link rel=\"stylesheet\" href=\"/abstimmung.css\">")));
        QVERIFY(seite.contains(QStringLiteral("<body class=\"%1\">").arg(aussehen)));
        QVERIFY2(!seite.contains(QLatin1Char('{')) && !seite.contains(QLatin1String("<b>")),
                 qPrintable(seite));
    }

    void nieEtwasAusserhalbDerSeite_data()
    {
        QTest::addColumn<QByteArray>("ziel");
        QTest::newRow("up") << QByteArray("/../../../../etc/passwd");
        QTest::newRow("encoded") << QByteArray("/%2e%2e/%2e%2e/etc/passwd");
        QTest::newRow("double encoded") << QByteArray("/%252e%252e/etc/passwd");
        QTest::newRow("after a file") << QByteArray("/abstimmung.js/../../../etc/passwd");
        QTest::newRow("backslash") << QByteArray("/..\\..\\etc\\passwd");
        QTest::newRow("resource") << QByteArray("/:/template/kahoot.html");
        QTest::newRow("absolute") << QByteArray("http://127.0.0.1/etc/passwd");
        QTest::newRow("another page") << QByteArray("/template/kahoot.html");
        QTest::newRow("nul") << QByteArray("/abstimmung.js%00.html");
    }
    void nieEtwasAusserhalbDerSeite()
    {
        QFETCH(QByteArray, ziel);
        const Antwort antwort = holen(m_port, ziel);
        QVERIFY2(antwort.status == 404 || antwort.status == 400 || antwort.status == 0,
                 qPrintable(QString::number(antwort.status)));
        // Nothing but the server's own page for an address that is not there.
        if (antwort.status == 404)
            QCOMPARE(antwort.koerper, QByteArray::fromStdString(HandySeiten::nichtGefunden(false, {})));
        else
            QVERIFY(!antwort.koerper.contains("root:") && !antwort.koerper.contains("<html"));
    }

    void beitretenNummernUndWiederkehr()
    {
        QSignalSpy beigetreten(m_handys.get(), &HandyAbstimmung::beigetreten);
        auto eins = beitreten();
        auto zwei = beitreten();
        QCOMPARE(eins->nummer(), 1);
        QCOMPARE(zwei->nummer(), 2);
        QVERIFY(!eins->token().isEmpty());
        QVERIFY(eins->token() != zwei->token());
        QTRY_COMPARE(beigetreten.size(), 2);

        // A phone that loses the network comes back with its token and keeps its number; a new
        // device gets the lowest number no device holds.
        const QString token = eins->token();
        eins->socket.close();
        QTRY_VERIFY(eins->schlusscode >= 0);
        QCOMPARE(beitreten()->nummer(), 3);
        auto wieder = beitreten(token);
        QCOMPARE(wieder->nummer(), 1);
        QCOMPARE(wieder->token(), token);

        // The same device twice: the older connection gives way, the number stays one.
        QCOMPARE(beitreten(token)->nummer(), 1);
        QTRY_COMPARE(wieder->schlusscode, int(HandyProtokoll::Ersetzt));

        // An invented token is a new device, not someone else's number.
        QCOMPARE(beitreten(QStringLiteral("0123456789abcdef0123456789abcdef"))->nummer(), 4);
    }

    void ohneRichtigenCodeKeinWebSocket()
    {
        QSignalSpy abgewiesen(m_handys.get(), &HandyAbstimmung::abgewiesen);
        Telefon ohne;
        ohne.oeffnen(m_port, QStringLiteral("/ws"));
        Telefon falsch;
        falsch.oeffnen(m_port, QStringLiteral("/ws?c=AAAAAA"));
        Telefon anderswo;
        anderswo.oeffnen(m_port, QStringLiteral("/x?c=%1").arg(m_handys->code()));
        QTRY_COMPARE(ohne.schlusscode, int(HandyProtokoll::FalscherCode));
        QTRY_COMPARE(falsch.schlusscode, int(HandyProtokoll::FalscherCode));
        QTRY_COMPARE(gemeldet(abgewiesen), 2u);
        // Elsewhere there is no WebSocket at all: the handshake is refused.
        QTRY_VERIFY(anderswo.socket.state() == QAbstractSocket::UnconnectedState);
        QVERIFY(ohne.nachrichten.isEmpty() && falsch.nachrichten.isEmpty() && anderswo.nachrichten.isEmpty());
    }

    void neuesSpielNeuerCodeUndFreieNummern()
    {
        auto telefon = beitreten();
        QCOMPARE(telefon->nummer(), 1);
        const QString alt = m_handys->code();
        const QString neu = m_handys->neuerCode();
        QVERIFY(neu != alt);
        QTRY_COMPARE(telefon->schlusscode, int(HandyProtokoll::FalscherCode));
        QCOMPARE(holen(m_port, "/?c=" + alt.toLatin1()).status, 403);
        QCOMPARE(holen(m_port, "/?c=" + neu.toLatin1()).status, 200);
        // A game taken up again keeps the numbers it holds from new devices; a new game frees them.
        m_handys->nummernReservieren({1, 3});
        auto erstes = beitreten(telefon->token());
        auto zweites = beitreten();
        QCOMPARE(erstes->nummer(), 2);
        QCOMPARE(zweites->nummer(), 4);
        m_handys->neuerCode();
        QCOMPARE(beitreten(telefon->token())->nummer(), 1);
    }

    void druckeNurBeiOffenerFrage()
    {
        QSignalSpy druecke(m_handys.get(), &HandyAbstimmung::druck);
        auto telefon = beitreten();
        telefon->druecken(2);
        QTRY_VERIFY(!telefon->letzte(QStringLiteral("quittung")).isEmpty());
        QCOMPARE(telefon->letzte(QStringLiteral("quittung")).value(QStringLiteral("gezaehlt")).toBool(),
                 false);
        QCOMPARE(druecke.size(), 0);

        m_handys->frageSetzen(true, 4);
        QTRY_COMPARE(telefon->letzte(QStringLiteral("frage")).value(QStringLiteral("offen")).toBool(), true);
        QCOMPARE(telefon->letzte(QStringLiteral("frage")).value(QStringLiteral("frage")).toInt(), 4);
        telefon->druecken(3);
        QTRY_COMPARE(druecke.size(), 1);
        QCOMPARE(druecke.at(0).at(0).toUInt(), HandyKlassensatz);
        QCOMPARE(druecke.at(0).at(1).toUInt(), 1u);
        QCOMPARE(druecke.at(0).at(2).toUInt(), 3u);
        QTRY_VERIFY(telefon->letzte(QStringLiteral("quittung")).value(QStringLiteral("gezaehlt")).toBool());

        m_handys->frageSetzen(false, 4);
        QTRY_COMPARE(telefon->letzte(QStringLiteral("frage")).value(QStringLiteral("offen")).toBool(), false);
        telefon->druecken(1);
        QTRY_COMPARE(telefon->letzte(QStringLiteral("quittung")).value(QStringLiteral("knopf")).toInt(), 1);
        QCOMPARE(druecke.size(), 1);
    }

    void kaputteNachrichtenZaehlenNicht()
    {
        QSignalSpy druecke(m_handys.get(), &HandyAbstimmung::druck);
        m_handys->frageSetzen(true, 1);
        auto telefon = beitreten();
        for (const QString &text :
             {QStringLiteral("kein json"), QStringLiteral("[1,2]"), QStringLiteral("{\"typ\":\"druck\"}"),
              QStringLiteral("{\"typ\":\"druck\",\"knopf\":5}"),
              QStringLiteral("{\"typ\":\"druck\",\"knopf\":2.5}"),
              QStringLiteral("{\"typ\":\"druck\",\"knopf\":\"1\"}"),
              QStringLiteral("{\"typ\":\"x\",\"knopf\":1}"),
              QStringLiteral("{\"typ\":\"druck\",\"knopf\":0}"),
              QStringLiteral("{\"typ\":\"druck\",\"knopf\":-1}")})
            telefon->socket.sendTextMessage(text);
        telefon->socket.sendBinaryMessage(QByteArray("{\"typ\":\"druck\",\"knopf\":1}"));
        // Proof that the ones before have been read: a good press after them arrives alone.
        telefon->druecken(4);
        QTRY_COMPARE(druecke.size(), 1);
        QCOMPARE(druecke.at(0).at(2).toUInt(), 4u);
    }

    // A press is a few dozen bytes; a message beyond the limit ends that connection, and everyone
    // else goes on.
    void nachrichtenGroesse_data()
    {
        QTest::addColumn<int>("groesse");
        QTest::newRow("at the limit") << HandyProtokoll::HoechsteNachricht;
        QTest::newRow("a byte beyond") << HandyProtokoll::HoechsteNachricht + 1;
    }
    void nachrichtenGroesse()
    {
        QFETCH(int, groesse);
        const bool erlaubt = groesse <= HandyProtokoll::HoechsteNachricht;
        QSignalSpy druecke(m_handys.get(), &HandyAbstimmung::druck);
        m_handys->frageSetzen(true, 1);
        auto telefon = beitreten();
        auto andere = beitreten();
        QByteArray druck = "{\"typ\":\"druck\",\"knopf\":2}";
        druck += QByteArray(groesse - druck.size(), ' ');
        telefon->socket.sendTextMessage(QString::fromLatin1(druck));
        if (erlaubt) {
            QTRY_COMPARE(druecke.size(), 1);
            QCOMPARE(druecke.at(0).at(2).toUInt(), 2u);
        } else {
            QTRY_COMPARE(telefon->schlusscode, 1009);
        }
        andere->druecken(3);
        QTRY_COMPARE(druecke.size(), erlaubt ? 2 : 1);
        QCOMPARE(druecke.last().at(1).toInt(), andere->nummer());
        QCOMPARE(telefon->schlusscode, erlaubt ? -1 : 1009);
    }

    void zuSchnelleDrueckeFallenWeg()
    {
        QSignalSpy druecke(m_handys.get(), &HandyAbstimmung::druck);
        QSignalSpy gedrosselt(m_handys.get(), &HandyAbstimmung::gedrosselt);
        m_handys->frageSetzen(true, 1);
        auto telefon = beitreten();
        for (int i = 0; i < 60; ++i)
            telefon->druecken(1 + i % 4);
        // Each press is acknowledged, counted or not: after the 60th receipt all have been judged.
        QTRY_COMPARE(std::count_if(telefon->nachrichten.cbegin(), telefon->nachrichten.cend(),
                                   [](const QJsonObject &n) {
                                       return n.value(QStringLiteral("typ")) == QStringLiteral("quittung");
                                   }),
                     60);
        QVERIFY2(druecke.size() >= 1 && druecke.size() <= 20, qPrintable(QString::number(druecke.size())));
        QTRY_VERIFY(!gedrosselt.isEmpty());
    }

    // One machine cannot take more connections than its share: the rest are closed at once, while
    // another address still gets through.
    void eineAdresseNimmtNurIhrenTeil()
    {
        HandyGrenzen grenzen;
        grenzen.kopfZeit = std::chrono::minutes(2); // the silent connections stay until counted
        laufend(grenzen);
        const int anzahl = HandyProtokoll::HoechstensJeAdresse + 20;
        std::vector<std::unique_ptr<QTcpSocket>> flut;
        int verbunden = 0;
        for (int i = 0; i < anzahl; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            connect(socket.get(), &QTcpSocket::connected, this, [&verbunden]() { ++verbunden; });
            socket->connectToHost(QHostAddress::LocalHost, m_port);
            flut.push_back(std::move(socket));
        }
        const auto offen = [&flut]() {
            return std::count_if(flut.cbegin(), flut.cend(), [](const std::unique_ptr<QTcpSocket> &s) {
                return s->state() == QAbstractSocket::ConnectedState;
            });
        };
        // Counted only once every connection has been made: before that none is open yet.
        QTRY_COMPARE_WITH_TIMEOUT(verbunden, anzahl, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(offen(), qsizetype(HandyProtokoll::HoechstensJeAdresse), 30000);
        // One more from the same address is closed without an answer; another address is served.
        QCOMPARE(holen(m_port, "/abstimmung.js").status, 0);
        QCOMPARE(holen(m_port, "/abstimmung.js", "GET", QHostAddress(QStringLiteral("127.0.0.2"))).status,
                 200);
        QCOMPARE(offen(), qsizetype(HandyProtokoll::HoechstensJeAdresse));

        // Once the flood lets go, the address has its share back.
        flut.clear();
        QTRY_COMPARE(holen(m_port, "/abstimmung.js").status, 200);
        QCOMPARE(beitreten()->nummer(), 1);
    }

    void kaputteAnfragen_data()
    {
        QTest::addColumn<QByteArray>("anfrage");
        QTest::addColumn<int>("status");
        const QByteArray datei = "GET /abstimmung.js HTTP/1.1\r\nHost: HOST\r\n";
        // Oversized heads, two lengths, a negative one, a length beside chunks and HTTP/2.0 are among
        // the attacks of tst_angriffe.
        QTest::newRow("body") << datei + "Content-Length: 5\r\n\r\nhallo" << 413;
        QTest::newRow("chunked body") << datei + "Transfer-Encoding: chunked\r\n\r\n5\r\nhallo\r\n0\r\n\r\n"
                                      << 413;
        QTest::newRow("chunked and length")
            << datei + "Transfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n0\r\n\r\n"
            << 400;
        QTest::newRow("HTTP/0.9") << QByteArray("GET /abstimmung.js HTTP/0.9\r\nHost: HOST\r\n\r\n") << 400;
        QTest::newRow("HTTP/1.2") << QByteArray("GET /abstimmung.js HTTP/1.2\r\nHost: HOST\r\n\r\n") << 400;
        QTest::newRow("another host")
            << QByteArray("GET /abstimmung.js HTTP/1.1\r\nHost: plenaro.example\r\n\r\n") << 421;
        QTest::newRow("another port")
            << QByteArray("GET /abstimmung.js HTTP/1.1\r\nHost: 127.0.0.1:1\r\n\r\n") << 421;
        QTest::newRow("no host") << QByteArray("GET /abstimmung.js HTTP/1.1\r\n\r\n") << 421;
        QTest::newRow("POST") << QByteArray("POST / HTTP/1.1\r\nHost: HOST\r\nConnection: close\r\n\r\n")
                              << 405;
        // Answered, and the connection ends as asked.
        QTest::newRow("HTTP/1.0") << QByteArray("GET /abstimmung.js HTTP/1.0\r\nHost: HOST\r\n\r\n") << 200;
        QTest::newRow("connection close") << datei + "Connection: close\r\n\r\n" << 200;
    }
    void kaputteAnfragen()
    {
        QFETCH(QByteArray, anfrage);
        QFETCH(int, status);
        Roh roh(m_port, anfrage.replace("HOST", "127.0.0.1:" + QByteArray::number(m_port)));
        QTRY_VERIFY(roh.zu());
        QCOMPARE(roh.status(), status);
    }

    void nurDieEigeneHerkunft_data()
    {
        QTest::addColumn<QByteArray>("herkunft");
        QTest::addColumn<int>("status");
        QTest::newRow("own") << QByteArray("eigene") << 101;
        QTest::newRow("another port") << QByteArray("http://127.0.0.1:1") << 403;
        QTest::newRow("none") << QByteArray() << 403;
    }
    void nurDieEigeneHerkunft()
    {
        QFETCH(QByteArray, herkunft);
        QFETCH(int, status);
        Roh roh(m_port, handschlag(m_port, m_handys->code(), herkunft));
        QTRY_VERIFY(roh.empfangen.contains("\r\n\r\n"));
        QCOMPARE(roh.status(), status);
    }

    void webSocketGrenzen_data()
    {
        QTest::addColumn<QByteArray>("rahmen");
        QTest::addColumn<int>("schlusscode"); // 0: dropped without one
        QByteArray fortsetzungen = rahmen(0x01, QByteArray(100, ' '));
        for (int i = 0; i < 10; ++i)
            fortsetzungen += rahmen(0x00, QByteArray(100, ' '));
        QTest::newRow("endless continuation") << fortsetzungen << 1009;
        // More pings a second than any keep-alive sends.
        QByteArray pings;
        for (int i = 0; i < 50; ++i)
            pings += rahmen(0x89, "");
        QTest::newRow("ping flood") << pings << 0;
    }
    void webSocketGrenzen()
    {
        QFETCH(QByteArray, rahmen);
        Roh roh(m_port, handschlag(m_port, m_handys->code()));
        QTRY_VERIFY(!roh.rahmen().isEmpty()); // the welcome
        roh.socket.write(rahmen);
        QTRY_VERIFY(roh.zu());
        QTEST(schlusscode(roh), "schlusscode");
    }

    void zeitGrenzen_data()
    {
        QTest::addColumn<QByteArray>("anfrage");
        QTest::addColumn<bool>("neuerCode");
        QTest::addColumn<int>("erwartet"); // status, or a frame the server sent before it closed
        QTest::newRow("idle after an answer")
            << QByteArray("GET /abstimmung.js HTTP/1.1\r\nHost: HOST\r\n\r\n") << false << 200;
        QTest::newRow("pings not answered") << QByteArray() << false << 9;
        QTest::newRow("close not answered") << QByteArray() << true << 8;
    }
    void zeitGrenzen()
    {
        QFETCH(QByteArray, anfrage);
        QFETCH(bool, neuerCode);
        QFETCH(int, erwartet);
        HandyGrenzen kurz;
        kurz.kopfZeit = std::chrono::milliseconds(400);
        kurz.leerlauf = std::chrono::milliseconds(400);
        kurz.schlussZeit = std::chrono::milliseconds(400);
        kurz.pingZeit = neuerCode ? std::chrono::minutes(1) : std::chrono::milliseconds(600);
        laufend(kurz);
        Roh roh(m_port, anfrage.isEmpty()
                            ? handschlag(m_port, m_handys->code())
                            : anfrage.replace("HOST", "127.0.0.1:" + QByteArray::number(m_port)));
        if (neuerCode) {
            QTRY_VERIFY(!roh.rahmen().isEmpty());
            m_handys->neuerCode();
        }
        QTRY_VERIFY(roh.zu());
        if (!anfrage.isEmpty()) {
            QCOMPARE(roh.status(), erwartet);
            return;
        }
        const auto alle = roh.rahmen();
        QVERIFY(std::any_of(alle.cbegin(), alle.cend(), [&](const auto &r) { return r.first == erwartet; }));
    }

    void rateUndWarte()
    {
        HandyGrenzen grenzen;
        // Long enough that a busy machine still asks within it.
        grenzen.ersteSperre = std::chrono::seconds(2);
        laufend(grenzen);
        QSignalSpy abgewiesen(m_handys.get(), &HandyAbstimmung::abgewiesen);
        const QByteArray richtig = "/?c=" + m_handys->code().toLatin1();
        for (int i = 0; i < grenzen.freieFehlversuche; ++i)
            QCOMPARE(holen(m_port, "/?c=ZZZZZZ").status, 403);
        // Now even the right code waits, unchecked and untold.
        QCOMPARE(holen(m_port, richtig).status, 429);
        Telefon telefon;
        telefon.oeffnen(m_port, QStringLiteral("/ws?c=%1").arg(m_handys->code()));
        QTRY_COMPARE(telefon.schlusscode, int(HandyProtokoll::FalscherCode));
        QTRY_COMPARE(gemeldet(abgewiesen), quint64(grenzen.freieFehlversuche));
        // Counted each, told at most once a second.
        QVERIFY(quint64(abgewiesen.size()) < gemeldet(abgewiesen));
        QTRY_COMPARE_WITH_TIMEOUT(holen(m_port, richtig).status, 200, 15000);
        QCOMPARE(gemeldet(abgewiesen), quint64(grenzen.freieFehlversuche));
        // One more wrong guess: the wait starts again, twice as long.
        QCOMPARE(holen(m_port, "/?c=ZZZZZZ").status, 403);
        QCOMPARE(holen(m_port, richtig).status, 429);
    }

    void nummernJeAdresseUndVergessene()
    {
        HandyGrenzen grenzen;
        grenzen.nummerFrei = std::chrono::milliseconds(200);
        laufend(grenzen);
        m_handys->nummernJeAdresseSetzen(2);
        auto eins = beitreten();
        auto zwei = beitreten();
        QCOMPARE(zwei->nummer(), 2);
        QCOMPARE(beitreten()->schlusscode, int(HandyProtokoll::KeineNummerFrei));
        // A device that comes back is no new one.
        const QString token = eins->token();
        eins.reset();
        QCOMPARE(beitreten(token)->nummer(), 1);
        // Once it has been gone long enough, its number is someone else's.
        std::unique_ptr<Telefon> neu;
        QVERIFY(QTest::qWaitFor(
            [&]() {
                neu = beitreten();
                return neu->nummer() == 1;
            },
            10000));
        // Its token is forgotten: a new device, and this address has its two.
        QCOMPARE(beitreten(token)->schlusscode, int(HandyProtokoll::KeineNummerFrei));
    }

    void lauschtNurWennEingeschaltet()
    {
        m_handys->stoppen();
        QTRY_COMPARE(holen(m_port, "/abstimmung.js").status, 0);
        QSignalSpy gestartet(m_handys.get(), &HandyAbstimmung::gestartet);
        m_handys->starten(m_port, QHostAddress::LocalHost);
        QVERIFY(gestartet.wait(10000));
        QCOMPARE(holen(m_port, "/abstimmung.js").status, 200);

        // A port someone else holds: the reason is told.
        QTcpServer belegt;
        QVERIFY(belegt.listen(QHostAddress::LocalHost));
        HandyAbstimmung zweite;
        QSignalSpy fehlgeschlagen(&zweite, &HandyAbstimmung::fehlgeschlagen);
        zweite.starten(belegt.serverPort(), QHostAddress::LocalHost);
        QVERIFY(fehlgeschlagen.wait(10000));
        QVERIFY(!fehlgeschlagen.at(0).at(0).toString().isEmpty());
        QVERIFY(!zweite.laeuft());
    }

    void codesUndAdresse()
    {
        QSet<QString> codes;
        for (int i = 0; i < 200; ++i) {
            const QString code = HandyAbstimmung::zufallsCode();
            QCOMPARE(code.size(), 6);
            for (QChar c : code)
                QVERIFY(!QStringLiteral("01OI").contains(c));
            codes.insert(code);
        }
        QVERIFY(codes.size() > 190);
        QCOMPARE(m_handys->seitenAdresse(QStringLiteral("192.168.1.20")),
                 QStringLiteral("http://192.168.1.20:%1/?c=%2").arg(m_port).arg(m_handys->code()));
    }
};

QTEST_GUILESS_MAIN(TestHandyServer)
#include "tst_handyserver.moc"
