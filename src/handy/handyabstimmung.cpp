#include "handyabstimmung.h"

#include "handyserver.h"

#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>

HandyAbstimmung::HandyAbstimmung(QObject *eltern)
    : QObject(eltern)
{
    m_faden.setObjectName(QStringLiteral("Handys"));
    m_faden.start();
    // Built on its own thread, where its slots then run; its network has a thread of its own.
    QObject imFaden;
    imFaden.moveToThread(&m_faden);
    QMetaObject::invokeMethod(
        &imFaden, [this]() { m_server = new HandyServer; }, Qt::BlockingQueuedConnection);
    connect(m_server, &HandyServer::gestartet, this, [this](quint16 port) {
        m_port = port;
        emit gestartet(port);
    });
    connect(m_server, &HandyServer::fehlgeschlagen, this, [this](const QString &grund) {
        m_port = 0;
        emit fehlgeschlagen(grund);
    });
    connect(m_server, &HandyServer::druck, this, &HandyAbstimmung::druck);
    connect(m_server, &HandyServer::beigetreten, this, &HandyAbstimmung::beigetreten);
    connect(m_server, &HandyServer::abgewiesen, this, &HandyAbstimmung::abgewiesen);
    connect(m_server, &HandyServer::gedrosselt, this, &HandyAbstimmung::gedrosselt);
    neuerCode();
}

HandyAbstimmung::~HandyAbstimmung()
{
    QMetaObject::invokeMethod(
        m_server, [server = m_server]() { delete server; }, Qt::BlockingQueuedConnection);
    m_faden.quit();
    m_faden.wait();
}

template<typename F>
void HandyAbstimmung::imServer(F &&auftrag)
{
    QMetaObject::invokeMethod(m_server, std::forward<F>(auftrag), Qt::QueuedConnection);
}

void HandyAbstimmung::grenzenSetzen(const HandyGrenzen &grenzen)
{
    imServer([server = m_server, grenzen]() { server->grenzenSetzen(grenzen); });
}

void HandyAbstimmung::nummernJeAdresseSetzen(int anzahl)
{
    imServer([server = m_server, anzahl]() { server->nummernJeAdresseSetzen(anzahl); });
}

void HandyAbstimmung::starten(quint16 port, const QHostAddress &adresse)
{
    m_port = 0;
    imServer([server = m_server, adresse, port]() { server->starten(adresse, port); });
}

void HandyAbstimmung::stoppen()
{
    m_port = 0;
    imServer([server = m_server]() { server->stoppen(); });
}

QString HandyAbstimmung::neuerCode()
{
    m_code = zufallsCode();
    imServer([server = m_server, code = m_code]() { server->codeSetzen(code); });
    return m_code;
}

QString HandyAbstimmung::seitenAdresse(const QString &rechner) const
{
    // Whatever the QR code names, the server must answer to.
    QMetaObject::invokeMethod(
        m_server, [server = m_server, rechner]() { server->rechnerAnkuendigen(rechner); },
        Qt::QueuedConnection);
    QUrl adresse;
    adresse.setScheme(QStringLiteral("http"));
    adresse.setHost(rechner);
    adresse.setPort(m_port);
    adresse.setPath(QStringLiteral("/"));
    QUrlQuery abfrage;
    abfrage.addQueryItem(QStringLiteral("c"), m_code);
    adresse.setQuery(abfrage);
    return adresse.toString(QUrl::FullyEncoded);
}

void HandyAbstimmung::frageSetzen(bool offen, int frage, int runde)
{
    imServer([server = m_server, offen, frage, runde]() { server->frageSetzen(offen, frage, runde); });
}

void HandyAbstimmung::nummernReservieren(const QSet<uint> &nummern)
{
    imServer([server = m_server, nummern]() { server->nummernReservieren(nummern); });
}

void HandyAbstimmung::spracheSetzen(bool englisch)
{
    imServer([server = m_server, englisch]() { server->spracheSetzen(englisch); });
}

void HandyAbstimmung::vorlageSetzen(const QString &name)
{
    imServer([server = m_server, name]() { server->vorlageSetzen(name); });
}

QString HandyAbstimmung::zufallsCode()
{
    static const QLatin1String zeichen("ABCDEFGHJKLMNPQRSTUVWXYZ23456789");
    QString code;
    for (int i = 0; i < 6; ++i)
        code += zeichen.at(int(QRandomGenerator::system()->bounded(quint32(zeichen.size()))));
    return code;
}
