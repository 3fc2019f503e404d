#pragma once

#include "handyserver.h"

#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>

// The window's side of voting with phones: starts and stops the server on its own thread, makes
// the join code of each game and passes the state of the game to the phones. All calls return at
// once; what the server does comes back as signals in this object's thread.
class HandyAbstimmung final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HandyAbstimmung)

public:
    explicit HandyAbstimmung(QObject *eltern = nullptr);
    ~HandyAbstimmung() override;

    // Times and sizes the server allows; they take effect with the next start.
    void grenzenSetzen(const HandyGrenzen &grenzen);
    // Listens on `adresse` (every interface when Any); port 0 picks a free one (tests).
    void starten(quint16 port, const QHostAddress &adresse = QHostAddress::Any);
    void stoppen();
    bool laeuft() const { return m_port != 0; }
    quint16 port() const { return m_port; }

    // A new game: a new code, and the devices of the last game must scan it.
    QString neuerCode();
    QString code() const { return m_code; }
    // The page address a phone opens, with the join code: what the QR code holds. The server
    // takes `rechner` as a name phones may use for it.
    QString seitenAdresse(const QString &rechner) const;

    void frageSetzen(bool offen, int frage, int runde = 1);
    // A game taken up again: its phones' numbers are not handed out anew.
    void nummernReservieren(const QSet<uint> &nummern);
    // Handset numbers one network address may take in a game.
    void nummernJeAdresseSetzen(int anzahl);
    void spracheSetzen(bool englisch);
    void vorlageSetzen(const QString &name);

    // Codes are short enough to type and free of look-alike characters (0/O, 1/I).
    static QString zufallsCode();

signals:
    void gestartet(quint16 port);
    void fehlgeschlagen(const QString &grund);
    void druck(uint klassensatz, uint buzzerNo, uint buttonNo);
    void beigetreten(uint nummer);
    void abgewiesen(quint64 anzahl);
    void gedrosselt(quint64 anzahl);

private:
    template<typename F>
    void imServer(F &&auftrag);

    QThread m_faden;
    HandyServer *m_server = nullptr;
    QString m_code;
    quint16 m_port = 0;
};
