#include "handyserver.h"

#include "geraetschluessel.h"
#include "handyprotokoll.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QWebSocket>

namespace {

Q_LOGGING_CATEGORY(lcHandy, "plenaro.handy")

using Status = QHttpServerResponder::StatusCode;

struct Datei
{
    const char *resource;
    const char *typ;
};

// Everything the server ever hands out. The address is compared as a whole; nothing of it is
// turned into a path, so no address reaches a file that is not in this list.
const QHash<QString, Datei> &dateien()
{
    static const QHash<QString, Datei> liste{
        {QStringLiteral("/"), {":/handy/abstimmung.html", "text/html; charset=utf-8"}},
        {QStringLiteral("/abstimmung.css"), {":/handy/abstimmung.css", "text/css; charset=utf-8"}},
        {QStringLiteral("/abstimmung.js"), {":/handy/abstimmung.js", "text/javascript; charset=utf-8"}},
    };
    return liste;
}

QString zufallsToken()
{
    QString token;
    for (int i = 0; i < 4; ++i)
        token += QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    return token;
}

void antworten(QHttpServerResponder &antwort, const QByteArray &inhalt, const QByteArray &typ, Status status)
{
    // The page address carries the join code: it must not leave in a referrer, and nothing is to
    // be cached on a phone that joins a different game tomorrow.
    antwort.write(
        inhalt,
        {{"Content-Type", typ},
         {"Cache-Control", "no-store"},
         {"X-Content-Type-Options", "nosniff"},
         {"Referrer-Policy", "no-referrer"},
         {"Content-Security-Policy",
          "default-src 'self'; connect-src 'self' ws: wss:; img-src 'self' data:; frame-ancestors 'none'"}},
        status);
}

} // namespace

// Accepts TCP connections up to a limit per address and in all, before any byte is read.
class HandyServer::Empfang final : public QTcpServer
{
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr deskriptor) override
    {
        auto *socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(deskriptor)) {
            delete socket;
            return;
        }
        aufraeumen();
        const QHostAddress von = socket->peerAddress();
        const auto vonDort =
            std::count_if(m_offen.cbegin(), m_offen.cend(),
                          [&](const QPointer<QTcpSocket> &s) { return s->peerAddress() == von; });
        if (vonDort >= HandyProtokoll::HoechstensJeAdresse ||
            m_offen.size() >= HandyProtokoll::HoechstensInsgesamt) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        m_offen.append(socket);
        addPendingConnection(socket);
    }

private:
    void aufraeumen()
    {
        m_offen.removeIf([](const QPointer<QTcpSocket> &s) {
            return !s || s->state() != QAbstractSocket::ConnectedState;
        });
    }

    QList<QPointer<QTcpSocket>> m_offen;
};

HandyServer::HandyServer(QObject *eltern)
    : QAbstractHttpServer(eltern)
{
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &HandyServer::neueWebSockets);
    m_uhr.start();
}

HandyServer::~HandyServer()
{
    stoppen();
}

void HandyServer::starten(const QHostAddress &adresse, quint16 port)
{
    stoppen();
    m_empfang = new Empfang(this);
    if (!m_empfang->listen(adresse, port)) {
        const QString grund = m_empfang->errorString();
        delete m_empfang;
        m_empfang = nullptr;
        qCWarning(lcHandy) << "Port" << port << "nicht geöffnet:" << grund;
        emit fehlgeschlagen(grund);
        return;
    }
    bind(m_empfang);
    qCInfo(lcHandy) << "Abstimmung mit Handys auf Port" << m_empfang->serverPort();
    emit gestartet(m_empfang->serverPort());
}

void HandyServer::stoppen()
{
    for (QWebSocket *socket : std::as_const(m_sockets)) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    m_sockets.clear();
    m_tokens.clear();
    for (Geraet &geraet : m_geraete)
        geraet.socket = nullptr;
    if (m_empfang) {
        m_empfang->close();
        // Its sockets (pages still loading) go with it.
        m_empfang->deleteLater();
        m_empfang = nullptr;
    }
}

void HandyServer::codeSetzen(const QString &code)
{
    if (code == m_code)
        return;
    m_code = code;
    // The devices of the last game joined with the old code: they scan the new one.
    const QList<QWebSocket *> alle = m_tokens.keys();
    m_tokens.clear();
    m_geraete.clear();
    m_vergeben.clear();
    for (QWebSocket *socket : alle)
        socket->close(QWebSocketProtocol::CloseCode(HandyProtokoll::FalscherCode));
}

void HandyServer::frageSetzen(bool offen, int frage)
{
    if (offen == m_offen && frage == m_frage)
        return;
    m_offen = offen;
    m_frage = frage;
    anAlle(frageNachricht());
}

void HandyServer::nummernReservieren(const QSet<uint> &nummern)
{
    m_vergeben.unite(nummern);
}

void HandyServer::spracheSetzen(bool englisch)
{
    if (englisch == m_englisch)
        return;
    m_englisch = englisch;
    anAlle({{QStringLiteral("typ"), QStringLiteral("sprache")},
            {QStringLiteral("sprache"), m_englisch ? QStringLiteral("en") : QStringLiteral("de")}});
}

void HandyServer::vorlageSetzen(const QString &name)
{
    m_vorlage = name;
}

bool HandyServer::handleRequest(const QHttpServerRequest &anfrage, QTcpSocket *socket)
{
    // The request that opens a WebSocket passes here first; saying yes without an answer lets the
    // handshake go on. The code is checked on the open socket, where the page can be told why.
    if (anfrage.value(QByteArrayLiteral("upgrade"))
            .compare(QByteArrayLiteral("websocket"), Qt::CaseInsensitive) == 0)
        return anfrage.url().path(QUrl::FullyEncoded) == QLatin1String("/ws");
    QHttpServerResponder antwort = makeResponder(anfrage, socket);
    const auto datei = dateien().constFind(anfrage.url().path(QUrl::FullyEncoded));
    if (anfrage.method() != QHttpServerRequest::Method::Get) {
        antworten(antwort, QByteArray(), "text/plain; charset=utf-8", Status::MethodNotAllowed);
        return true;
    }
    if (datei == dateien().constEnd()) {
        antworten(antwort, "Nicht gefunden / Not found\n", "text/plain; charset=utf-8", Status::NotFound);
        return true;
    }
    if (datei.key() == QLatin1String("/") &&
        (m_code.isEmpty() ||
         anfrage.query().queryItemValue(QStringLiteral("c"), QUrl::FullyDecoded) != m_code)) {
        abweisen();
        antworten(antwort,
                  "Falscher Beitrittscode - bitte den QR-Code neu scannen.\n"
                  "Wrong join code - please scan the QR code again.\n",
                  "text/plain; charset=utf-8", Status::Forbidden);
        return true;
    }
    QFile quelle(QString::fromLatin1(datei->resource));
    if (!quelle.open(QIODevice::ReadOnly)) {
        antworten(antwort, QByteArray(), "text/plain; charset=utf-8", Status::InternalServerError);
        return true;
    }
    antworten(antwort, quelle.readAll(), datei->typ, Status::Ok);
    return true;
}

void HandyServer::missingHandler(const QHttpServerRequest &anfrage, QTcpSocket *socket)
{
    QHttpServerResponder antwort = makeResponder(anfrage, socket);
    antworten(antwort, QByteArray(), "text/plain; charset=utf-8", Status::NotFound);
}

void HandyServer::neueWebSockets()
{
    while (hasPendingWebSocketConnections()) {
        QWebSocket *socket = nextPendingWebSocketConnection().release();
        if (!socket)
            continue;
        socket->setParent(this);
        anmelden(socket);
    }
}

void HandyServer::anmelden(QWebSocket *socket)
{
    socket->setMaxAllowedIncomingFrameSize(HandyProtokoll::HoechsteNachricht);
    socket->setMaxAllowedIncomingMessageSize(HandyProtokoll::HoechsteNachricht);
    m_sockets.insert(socket);
    connect(socket, &QWebSocket::disconnected, this, [this, socket]() { getrennt(socket); });

    const QUrl adresse = socket->requestUrl();
    const QUrlQuery abfrage(adresse);
    if (!m_empfang || adresse.path() != QLatin1String("/ws") || m_code.isEmpty() ||
        abfrage.queryItemValue(QStringLiteral("c"), QUrl::FullyDecoded) != m_code) {
        abweisen();
        socket->close(QWebSocketProtocol::CloseCode(HandyProtokoll::FalscherCode));
        return;
    }

    QString token = abfrage.queryItemValue(QStringLiteral("t"), QUrl::FullyDecoded);
    auto geraet = m_geraete.find(token);
    if (geraet == m_geraete.end()) {
        const uint nummer = freieNummer();
        if (nummer == 0) {
            socket->close(QWebSocketProtocol::CloseCode(HandyProtokoll::KeineNummerFrei));
            return;
        }
        token = zufallsToken();
        geraet = m_geraete.insert(token, Geraet{nummer, {}});
        m_vergeben.insert(nummer);
    } else if (geraet->socket && geraet->socket != socket) {
        // One device, one handset: the older connection of the same device gives way.
        QWebSocket *alt = geraet->socket;
        m_tokens.remove(alt);
        alt->close(QWebSocketProtocol::CloseCode(HandyProtokoll::Ersetzt));
    }
    geraet->socket = socket;
    m_tokens.insert(socket, token);
    connect(socket, &QWebSocket::textMessageReceived, this,
            [this, socket](const QString &text) { nachricht(socket, text); });

    QJsonObject willkommen = frageNachricht();
    willkommen.insert(QStringLiteral("typ"), QStringLiteral("willkommen"));
    willkommen.insert(QStringLiteral("nummer"), int(geraet->nummer));
    willkommen.insert(QStringLiteral("token"), token);
    willkommen.insert(QStringLiteral("sprache"), m_englisch ? QStringLiteral("en") : QStringLiteral("de"));
    willkommen.insert(QStringLiteral("vorlage"), m_vorlage);
    senden(socket, willkommen);
    emit beigetreten(geraet->nummer);
}

void HandyServer::nachricht(QWebSocket *socket, const QString &text)
{
    const auto token = m_tokens.constFind(socket);
    if (token == m_tokens.constEnd() || text.size() > HandyProtokoll::HoechsteNachricht)
        return;
    QJsonParseError fehler{};
    const QJsonDocument dokument = QJsonDocument::fromJson(text.toUtf8(), &fehler);
    if (fehler.error != QJsonParseError::NoError || !dokument.isObject())
        return;
    const QJsonObject inhalt = dokument.object();
    const QJsonValue knopfWert = inhalt.value(QStringLiteral("knopf"));
    if (inhalt.value(QStringLiteral("typ")).toString() != QLatin1String("druck") || !knopfWert.isDouble())
        return;
    const double knopf = knopfWert.toDouble();
    if (knopf != 1 && knopf != 2 && knopf != 3 && knopf != 4)
        return;
    const uint nummer = m_geraete.value(*token).nummer;
    bool gezaehlt = false;
    if (m_offen) {
        if (m_filter.zuSchnell(nummer, m_uhr.elapsed())) {
            emit gedrosselt(m_filter.gedrosselt());
        } else {
            emit druck(HandyKlassensatz, nummer, uint(knopf));
            gezaehlt = true;
        }
    }
    senden(socket, {{QStringLiteral("typ"), QStringLiteral("quittung")},
                    {QStringLiteral("knopf"), int(knopf)},
                    {QStringLiteral("gezaehlt"), gezaehlt}});
}

void HandyServer::getrennt(QWebSocket *socket)
{
    m_sockets.remove(socket);
    const QString token = m_tokens.take(socket);
    // The number stays with the device's token for this game: it comes back with it.
    if (!token.isEmpty()) {
        auto geraet = m_geraete.find(token);
        if (geraet != m_geraete.end() && geraet->socket == socket)
            geraet->socket = nullptr;
    }
    socket->deleteLater();
}

void HandyServer::senden(QWebSocket *socket, const QJsonObject &inhalt)
{
    socket->sendTextMessage(QString::fromUtf8(QJsonDocument(inhalt).toJson(QJsonDocument::Compact)));
}

void HandyServer::anAlle(const QJsonObject &inhalt)
{
    const QString text = QString::fromUtf8(QJsonDocument(inhalt).toJson(QJsonDocument::Compact));
    for (auto it = m_tokens.cbegin(); it != m_tokens.cend(); ++it)
        it.key()->sendTextMessage(text);
}

void HandyServer::abweisen()
{
    ++m_abgewiesen;
    emit abgewiesen(m_abgewiesen);
}

uint HandyServer::freieNummer() const
{
    for (uint nummer = 1; nummer <= HandyProtokoll::HoechsteNummer; ++nummer) {
        if (!m_vergeben.contains(nummer))
            return nummer;
    }
    return 0;
}

QJsonObject HandyServer::frageNachricht() const
{
    return {{QStringLiteral("typ"), QStringLiteral("frage")},
            {QStringLiteral("offen"), m_offen},
            {QStringLiteral("frage"), m_frage}};
}
