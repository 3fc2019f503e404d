#pragma once

#include "empfangsfilter.h"

#include <QAbstractHttpServer>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QJsonObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QWebSocket;

// The server the phones talk to: the voting page over HTTP and the presses over a WebSocket. It
// lives on a thread of its own (see HandyAbstimmung), so a class of phones, or someone flooding the
// port, never takes time from the window; presses leave it as queued signals.
//
// Only the join code of the current game admits a device. A device keeps its handset number for
// the game through a token its browser stores; only the page's own files are served, from the
// program's resources, never from the disk.
class HandyServer final : public QAbstractHttpServer
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HandyServer)

public:
    explicit HandyServer(QObject *eltern = nullptr);
    ~HandyServer() override;

    // Slots: called queued from the window's thread.
    Q_INVOKABLE void starten(const QHostAddress &adresse, quint16 port);
    Q_INVOKABLE void stoppen();
    // A new game: devices of the last one must scan the new code.
    Q_INVOKABLE void codeSetzen(const QString &code);
    Q_INVOKABLE void frageSetzen(bool offen, int frage);
    // Numbers a game taken up again already holds: new devices get others, so no phone continues
    // someone else's answers. A new code frees them.
    Q_INVOKABLE void nummernReservieren(const QSet<uint> &nummern);
    Q_INVOKABLE void spracheSetzen(bool englisch);
    Q_INVOKABLE void vorlageSetzen(const QString &name);

signals:
    void gestartet(quint16 port);
    void fehlgeschlagen(const QString &grund);
    void druck(uint klassensatz, uint buzzerNo, uint buttonNo);
    void beigetreten(uint nummer);
    // Requests and connections turned away for a missing or wrong code, counted since start.
    void abgewiesen(quint64 anzahl);
    void gedrosselt(quint64 anzahl);

protected:
    bool handleRequest(const QHttpServerRequest &anfrage, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &anfrage, QTcpSocket *socket) override;

private:
    class Empfang;
    struct Geraet
    {
        uint nummer = 0;
        QPointer<QWebSocket> socket;
    };

    void neueWebSockets();
    void anmelden(QWebSocket *socket);
    void nachricht(QWebSocket *socket, const QString &text);
    void getrennt(QWebSocket *socket);
    void senden(QWebSocket *socket, const QJsonObject &inhalt);
    void anAlle(const QJsonObject &inhalt);
    void abweisen();
    uint freieNummer() const;
    QJsonObject frageNachricht() const;

    Empfang *m_empfang = nullptr;
    QString m_code;
    bool m_offen = false;
    int m_frage = 0;
    bool m_englisch = false;
    QString m_vorlage;
    QHash<QString, Geraet> m_geraete; // by token
    QSet<uint> m_vergeben;
    QHash<QWebSocket *, QString> m_tokens; // live connections that have joined
    QSet<QWebSocket *> m_sockets;          // all live WebSocket connections
    EmpfangsFilter m_filter;
    QElapsedTimer m_uhr;
    quint64 m_abgewiesen = 0;
};
