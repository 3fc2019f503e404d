// The phones' server as a phone and as an intruder see it: over real sockets on the loopback
// interface, with the server on its own thread as in the program.
#include "geraetschluessel.h"
#include "handyabstimmung.h"
#include "handyprotokoll.h"
#include "handyseiten.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>
#include <QSignalSpy>
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
        const QByteArray k = koerper();
        for (int i = 0; i + 2 <= k.size();) {
            int laenge = quint8(k.at(i + 1)) & 0x7f;
            const int kopf = laenge == 126 ? 4 : 2;
            if (laenge == 126)
                laenge = (quint8(k.at(i + 2)) << 8) | quint8(k.at(i + 3));
            alle.append({quint8(k.at(i)) & 0x0f, k.mid(i + kopf, laenge)});
            i += kopf + laenge;
        }
        return alle;
    }
    // The close code the server sent, 0 when it sent none.
    int schlusscode() const
    {
        for (const auto &[art, inhalt] : rahmen()) {
            if (art == 8 && inhalt.size() >= 2)
                return (quint8(inhalt.at(0)) << 8) | quint8(inhalt.at(1));
        }
        return 0;
    }
};

// One request on a connection of its own; the server closes it after the answer, as asked.
QPair<int, QByteArray> holen(quint16 port, const QByteArray &ziel, const QHostAddress &von = {})
{
    Roh roh(port,
            "GET " + ziel + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
                "\r\nConnection: close\r\n\r\n",
            von);
    if (!QTest::qWaitFor([&]() { return roh.zu(); }, 10000))
        qWarning("%s: the connection stays open", ziel.constData());
    return {roh.status(), roh.koerper()};
}

// A client frame, masked as the protocol wants it.
QByteArray rahmen(quint8 erstes, const QByteArray &inhalt)
{
    QByteArray r(1, char(erstes));
    if (inhalt.size() < 126)
        r.append(char(0x80 | inhalt.size()));
    else
        r.append(char(0x80 | 126)).append(char(inhalt.size() >> 8)).append(char(inhalt.size() & 0xff));
    const char maske[4] = {0x12, 0x34, 0x56, 0x78};
    r.append(maske, 4);
    for (int i = 0; i < inhalt.size(); ++i)
        r.append(char(inhalt.at(i) ^ maske[i % 4]));
    return r;
}

// A WebSocket handshake for `ziel` ("CODE" for the game's code) on the server ("HOST"), from `herkunft`.
QByteArray handschlag(const QByteArray &ziel = "/ws?c=CODE",
                      const QByteArray &herkunft = "Origin: http://HOST\r\n")
{
    return "GET " + ziel + " HTTP/1.1\r\nHost: HOST\r\n" + herkunft +
           "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
           "Sec-WebSocket-Version: 13\r\n\r\n";
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
    // The field of the last message of the type; undefined before the first.
    QJsonValue letzte(const char *typ, const char *feld) const
    {
        for (auto it = nachrichten.crbegin(); it != nachrichten.crend(); ++it) {
            if (it->value("typ").toString() == QLatin1String(typ))
                return it->value(QLatin1String(feld));
        }
        return QJsonValue::Undefined;
    }
    int nummer() const { return letzte("willkommen", "nummer").toInt(); }
    QString token() const { return letzte("willkommen", "token").toString(); }
    void druecken(int knopf)
    {
        socket.sendTextMessage(QStringLiteral("{\"typ\":\"druck\",\"knopf\":%1}").arg(knopf));
    }
};

void seite(const char *name, bool englisch, const char *vorlage, const char *ziel, int status,
           const char *aussehen, const QString &text)
{
    QTest::newRow(name) << englisch << QString(vorlage) << QByteArray(ziel) << status << QString(aussehen)
                        << text;
}

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
    // Raw bytes with this server's address and code in place of HOST and CODE.
    QByteArray hier(QByteArray roh) const
    {
        return roh.replace("HOST", "127.0.0.1:" + QByteArray::number(m_port))
            .replace("CODE", m_handys->code().toLatin1());
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
        const QString falsch = "Falscher Beitrittscode – bitte den QR-Code neu scannen.";
        const QString fehlt = "Diese Seite gibt es hier nicht – bitte den QR-Code scannen.";
        seite("wrong code", false, "Morvane", "/?c=ZZZZZZ", 403, "vorlage-morvane", falsch);
        seite("code in lower case", false, "Morvane", "/?c=code", 403, "vorlage-morvane", falsch);
        seite("wrong code, English", true, "Tandrivelle", "/?c=ZZZZZZ", 403, "vorlage-tandrivelle",
              "Wrong join code – please scan the QR code again.");
        seite("no code", false, "<b>\"", "/", 403, "vorlage-kahoot", falsch);
        seite("not there", false, "Kahoot", "/nirgends", 404, "vorlage-kahoot", fehlt);
        seite("not there, English", true, "Kahoot", "/nirgends", 404, "vorlage-kahoot",
              "There is no such page here – please scan the QR code.");
        seite("voting page", false, "Morvane", "/?c=CODE", 200, "vorlage-morvane",
              "Bitte JavaScript einschalten.");
        seite("voting page, English", true, "Kahoot", "/?c=CODE", 200, "vorlage-kahoot",
              "Please enable JavaScript.");
        // The page's own files come without a code: they hold nothing of the game.
        seite("script", false, "", "/abstimmung.js", 200, "", "WebSocket");
        seite("style", false, "", "/abstimmung.css", 200, "", "body");
        // Nothing outside them, however the address is written.
        for (const char *ziel :
             {"/../../../../etc/passwd", "/%2e%2e/%2e%2e/etc/passwd", "/%252e%252e/etc/passwd",
              "/abstimmung.js/../../../etc/passwd", "/..\\..\\etc\\passwd", "/:/template/kahoot.html",
              "http://127.0.0.1/etc/passwd", "/template/kahoot.html", "/abstimmung.js%00.html"})
            seite(ziel, false, "", ziel, 404, "vorlage-kahoot", fehlt);
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
        const auto [status, koerper] =
            holen(m_port, ziel.replace("CODE", code).replace("code", code.toLower()));
        QTEST(status, "status");
        if (status == 404)
            QCOMPARE(koerper, QByteArray::fromStdString(HandySeiten::nichtGefunden(englisch, vorlage)));
        const QString seite = QString::fromUtf8(koerper);
        QVERIFY2(seite.contains(text), qPrintable(seite));
        if (aussehen.isEmpty())
            return;
        QVERIFY2(seite.startsWith("<!DOCTYPE html>"), qPrintable(seite));
        QVERIFY(seite.contains(QStringLiteral("<html lang=\"%1\">").arg(englisch ? "en" : "de")));
        QVERIFY(seite.contains("<link rel=\"stylesheet\" href=\"/abstimmung.css\">"));
        QVERIFY(seite.contains(QStringLiteral("<body class=\"%1\">").arg(aussehen)));
        QVERIFY2(!seite.contains('{') && !seite.contains("<b>"), qPrintable(seite));
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
        QCOMPARE(beitreten("0123456789abcdef0123456789abcdef")->nummer(), 4);
    }

    void neuesSpielNeuerCodeUndFreieNummern()
    {
        auto telefon = beitreten();
        QCOMPARE(telefon->nummer(), 1);
        const QString alt = m_handys->code();
        const QString neu = m_handys->neuerCode();
        QVERIFY(neu != alt);
        QTRY_COMPARE(telefon->schlusscode, int(HandyProtokoll::FalscherCode));
        QCOMPARE(holen(m_port, "/?c=" + alt.toLatin1()).first, 403);
        QCOMPARE(holen(m_port, "/?c=" + neu.toLatin1()).first, 200);
        // A game taken up again keeps the numbers it holds from new devices; a new game frees them.
        m_handys->nummernReservieren({1, 3});
        auto erstes = beitreten(telefon->token());
        auto zweites = beitreten();
        QCOMPARE(erstes->nummer(), 2);
        QCOMPARE(zweites->nummer(), 4);
        m_handys->neuerCode();
        QCOMPARE(beitreten(telefon->token())->nummer(), 1);
    }

    // Presses count only while a question is open; what is not a press never counts, and each
    // press is acknowledged either way.
    void druckeNurBeiOffenerFrage()
    {
        QSignalSpy druecke(m_handys.get(), &HandyAbstimmung::druck);
        auto telefon = beitreten();
        telefon->druecken(2);
        QTRY_VERIFY(!telefon->letzte("quittung", "gezaehlt").isUndefined());
        QCOMPARE(telefon->letzte("quittung", "gezaehlt").toBool(), false);

        m_handys->frageSetzen(true, 4);
        QTRY_COMPARE(telefon->letzte("frage", "offen").toBool(), true);
        QCOMPARE(telefon->letzte("frage", "frage").toInt(), 4);
        for (const char *text : {"kein json", "[1,2]", "{\"typ\":\"druck\"}",
                                 "{\"typ\":\"druck\",\"knopf\":5}", "{\"typ\":\"druck\",\"knopf\":2.5}",
                                 "{\"typ\":\"druck\",\"knopf\":\"1\"}", "{\"typ\":\"x\",\"knopf\":1}",
                                 "{\"typ\":\"druck\",\"knopf\":0}", "{\"typ\":\"druck\",\"knopf\":-1}"})
            telefon->socket.sendTextMessage(text);
        telefon->socket.sendBinaryMessage(QByteArray("{\"typ\":\"druck\",\"knopf\":1}"));
        // Proof that the ones before have been read: a good press after them arrives alone.
        telefon->druecken(3);
        QTRY_COMPARE(druecke.size(), 1);
        QCOMPARE(druecke.at(0), (QList<QVariant>{HandyKlassensatz, 1u, 3u}));
        QTRY_VERIFY(telefon->letzte("quittung", "gezaehlt").toBool());

        m_handys->frageSetzen(false, 4);
        QTRY_COMPARE(telefon->letzte("frage", "offen").toBool(), false);
        telefon->druecken(1);
        QTRY_COMPARE(telefon->letzte("quittung", "knopf").toInt(), 1);
        QCOMPARE(druecke.size(), 1);
    }

    // A press is a few dozen bytes; a message beyond the limit ends that connection, and everyone
    // else goes on.
    void nachrichtenGroesse()
    {
        QSignalSpy druecke(m_handys.get(), &HandyAbstimmung::druck);
        m_handys->frageSetzen(true, 1);
        auto telefon = beitreten();
        auto andere = beitreten();
        QByteArray druck = "{\"typ\":\"druck\",\"knopf\":2}";
        druck += QByteArray(HandyProtokoll::HoechsteNachricht - druck.size(), ' ');
        telefon->socket.sendTextMessage(QString::fromLatin1(druck));
        QTRY_COMPARE(druecke.size(), 1);
        QCOMPARE(druecke.at(0).at(2).toUInt(), 2u);
        // A byte beyond the limit.
        telefon->socket.sendTextMessage(QString::fromLatin1(druck + ' '));
        QTRY_COMPARE(telefon->schlusscode, 1009);
        andere->druecken(3);
        QTRY_COMPARE(druecke.size(), 2);
        QCOMPARE(druecke.last().at(1).toInt(), andere->nummer());
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
                                   [](const QJsonObject &n) { return n.value("typ") == "quittung"; }),
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
            flut.push_back(std::make_unique<QTcpSocket>());
            connect(flut.back().get(), &QTcpSocket::connected, this, [&verbunden]() { ++verbunden; });
            flut.back()->connectToHost(QHostAddress::LocalHost, m_port);
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
        QCOMPARE(holen(m_port, "/abstimmung.js").first, 0);
        QCOMPARE(holen(m_port, "/abstimmung.js", QHostAddress("127.0.0.2")).first, 200);
        QCOMPARE(offen(), qsizetype(HandyProtokoll::HoechstensJeAdresse));
        // Once the flood lets go, the address has its share back.
        flut.clear();
        QTRY_COMPARE(holen(m_port, "/abstimmung.js").first, 200);
        QCOMPARE(beitreten()->nummer(), 1);
    }

    // Requests and handshakes out of the rules; answered with the status, and the connection ends
    // unless it became a WebSocket (101) that was not closed at once with a code (`schluss`).
    void kaputteAnfragen_data()
    {
        QTest::addColumn<QByteArray>("anfrage");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("schluss");
        const QByteArray datei = "GET /abstimmung.js HTTP/1.1\r\nHost: HOST\r\n";
        const auto zeile = [](const char *erste, const char *host = "HOST") {
            return QByteArray(erste) + "\r\nHost: " + host + "\r\n\r\n";
        };
        // Oversized heads, two lengths, a negative one, a length beside chunks, HTTP/2.0 and a
        // foreign host name are among the attacks of tst_angriffe.
        QTest::newRow("body") << datei + "Content-Length: 5\r\n\r\nhallo" << 413 << 0;
        QTest::newRow("chunked body") << datei + "Transfer-Encoding: chunked\r\n\r\n5\r\nhallo\r\n0\r\n\r\n"
                                      << 413 << 0;
        QTest::newRow("HTTP/0.9") << zeile("GET /abstimmung.js HTTP/0.9") << 400 << 0;
        QTest::newRow("HTTP/1.2") << zeile("GET /abstimmung.js HTTP/1.2") << 400 << 0;
        QTest::newRow("another port") << zeile("GET /abstimmung.js HTTP/1.1", "127.0.0.1:1") << 421 << 0;
        QTest::newRow("no host") << QByteArray("GET /abstimmung.js HTTP/1.1\r\n\r\n") << 421 << 0;
        QTest::newRow("POST") << QByteArray("POST / HTTP/1.1\r\nHost: HOST\r\nConnection: close\r\n\r\n")
                              << 405 << 0;
        // Answered, and the connection ends as asked.
        QTest::newRow("HTTP/1.0") << zeile("GET /abstimmung.js HTTP/1.0") << 200 << 0;
        QTest::newRow("connection close") << datei + "Connection: close\r\n\r\n" << 200 << 0;
        // Only the page's own origin opens a WebSocket.
        QTest::newRow("own origin") << handschlag() << 101 << 0;
        QTest::newRow("origin of another port")
            << handschlag("/ws?c=CODE", "Origin: http://127.0.0.1:1\r\n") << 403 << 0;
        QTest::newRow("no origin") << handschlag("/ws?c=CODE", "") << 403 << 0;
        // Only the game's code opens one, and only at its place.
        const int falsch = HandyProtokoll::FalscherCode;
        QTest::newRow("no code") << handschlag("/ws") << 101 << falsch;
        QTest::newRow("wrong code") << handschlag("/ws?c=AAAAAA") << 101 << falsch;
        QTest::newRow("elsewhere") << handschlag("/x?c=CODE") << 404 << 0;
    }
    void kaputteAnfragen()
    {
        QFETCH(QByteArray, anfrage);
        QFETCH(int, status);
        QFETCH(int, schluss);
        QSignalSpy abgewiesen(m_handys.get(), &HandyAbstimmung::abgewiesen);
        Roh roh(m_port, hier(anfrage));
        QTRY_VERIFY(roh.empfangen.contains("\r\n\r\n"));
        QCOMPARE(roh.status(), status);
        if (status != 101 || schluss != 0)
            QTRY_VERIFY(roh.zu());
        if (schluss != 0) {
            // Closed before the welcome, and counted as a guess.
            QCOMPARE(roh.schlusscode(), schluss);
            QCOMPARE(roh.rahmen().size(), 1);
            QTRY_COMPARE(gemeldet(abgewiesen), 1u);
        }
    }

    // A connection ends at a limit: a message of endless continuations (closed with 1009), more
    // pings a second than any keep-alive sends (dropped without a code); on a server with short
    // times, idling after an answer, pings not answered, a close not answered.
    void grenzen_data()
    {
        QTest::addColumn<QByteArray>("anfrage");
        QTest::addColumn<QByteArray>("danach"); // written once welcomed
        QTest::addColumn<bool>("neuerCode");
        QTest::addColumn<int>("erwartet"); // status, close code (0: none), or a frame the server sent
        QByteArray fortsetzungen = rahmen(0x01, QByteArray(100, ' '));
        for (int i = 0; i < 10; ++i)
            fortsetzungen += rahmen(0x00, QByteArray(100, ' '));
        QTest::newRow("endless continuation") << handschlag() << fortsetzungen << false << 1009;
        QTest::newRow("ping flood") << handschlag() << rahmen(0x89, "").repeated(50) << false << 0;
        QTest::newRow("idle after an answer")
            << QByteArray("GET /abstimmung.js HTTP/1.1\r\nHost: HOST\r\n\r\n") << QByteArray() << false
            << 200;
        QTest::newRow("pings not answered") << handschlag() << QByteArray() << false << 9;
        QTest::newRow("close not answered") << handschlag() << QByteArray() << true << 8;
    }
    void grenzen()
    {
        QFETCH(QByteArray, anfrage);
        QFETCH(QByteArray, danach);
        QFETCH(bool, neuerCode);
        QFETCH(int, erwartet);
        HandyGrenzen kurz;
        kurz.kopfZeit = kurz.leerlauf = kurz.schlussZeit = std::chrono::milliseconds(400);
        kurz.pingZeit = neuerCode ? std::chrono::minutes(1) : std::chrono::milliseconds(600);
        if (danach.isEmpty())
            laufend(kurz);
        Roh roh(m_port, hier(anfrage));
        if (neuerCode || !danach.isEmpty())
            QTRY_VERIFY(!roh.rahmen().isEmpty()); // the welcome
        roh.socket.write(danach);
        if (neuerCode)
            m_handys->neuerCode();
        QTRY_VERIFY(roh.zu());
        const auto alle = roh.rahmen();
        if (!anfrage.contains("/ws"))
            QCOMPARE(roh.status(), erwartet);
        else if (!danach.isEmpty())
            QCOMPARE(roh.schlusscode(), erwartet);
        else
            QVERIFY(
                std::any_of(alle.cbegin(), alle.cend(), [&](const auto &r) { return r.first == erwartet; }));
    }

    // Too many wrong codes from one address: even the right one waits, unchecked; each guess is
    // counted, and told at most once a second.
    void rateUndWarte()
    {
        HandyGrenzen grenzen;
        grenzen.ersteSperre = std::chrono::minutes(10); // outlasts any delay of a busy machine
        laufend(grenzen);
        QSignalSpy abgewiesen(m_handys.get(), &HandyAbstimmung::abgewiesen);
        for (int i = 0; i < grenzen.freieFehlversuche; ++i)
            QCOMPARE(holen(m_port, "/?c=ZZZZZZ").first, 403);
        QCOMPARE(holen(m_port, "/?c=" + m_handys->code().toLatin1()).first, 429);
        Telefon telefon;
        telefon.oeffnen(m_port, "/ws?c=" + m_handys->code());
        QTRY_COMPARE(telefon.schlusscode, int(HandyProtokoll::FalscherCode));
        QTRY_COMPARE(gemeldet(abgewiesen), quint64(grenzen.freieFehlversuche));
        QVERIFY(quint64(abgewiesen.size()) < gemeldet(abgewiesen));
    }

    // The wait ends, and the next one lasts twice as long. Measured from before the guess that
    // starts it, a wait cannot look shorter than it is however slow the machine.
    void warteZeitVerdoppeltSich()
    {
        HandyGrenzen grenzen;
        grenzen.ersteSperre = std::chrono::milliseconds(400);
        grenzen.freieFehlversuche = 1;
        laufend(grenzen);
        const QByteArray richtig = "/?c=" + m_handys->code().toLatin1();
        for (const qint64 warten : {400, 800}) {
            QElapsedTimer seit;
            seit.start();
            QCOMPARE(holen(m_port, "/?c=ZZZZZZ").first, 403);
            QTRY_COMPARE_WITH_TIMEOUT(holen(m_port, richtig).first, 200, 15000);
            QVERIFY2(seit.elapsed() >= warten, qPrintable(QString::number(seit.elapsed())));
        }
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
        QVERIFY(QTest::qWaitFor([&]() { return (neu = beitreten())->nummer() == 1; }, 10000));
        // Its token is forgotten: a new device, and this address has its two.
        QCOMPARE(beitreten(token)->schlusscode, int(HandyProtokoll::KeineNummerFrei));
    }
};

QTEST_GUILESS_MAIN(TestHandyServer)
#include "tst_handyserver.moc"
