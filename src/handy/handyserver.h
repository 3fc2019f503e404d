#pragma once

#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QString>

#include <chrono>
#include <memory>

// What one connection, one address and a guesser may cost the server. The defaults are for the
// classroom; tests shorten the times instead of waiting them out.
struct HandyGrenzen
{
    using ms = std::chrono::milliseconds;
    ms kopfZeit{5000};     // request line and headers complete
    ms leerlauf{10000};    // a kept-alive HTTP connection without the next request
    ms schreibZeit{3000};  // an answer the client does not take (a page is a few kilobytes)
    ms pingZeit{30000};    // a WebSocket that answers no ping
    ms schlussZeit{5000};  // a close handshake the other side does not finish
    ms nummerFrei{600000}; // a device gone this long gives its number back
    ms ersteSperre{1000};  // the first wait after too many wrong codes; it doubles
    std::size_t kopfBytes = 8192;
    std::size_t wartendeBytes = 65536; // answers waiting for a client that does not read
    int pingsJeSekunde = 10;
    int freieFehlversuche = 10;
};

// The server the phones talk to: the voting page over HTTP and the presses over a WebSocket, on
// Boost.Beast. Its network runs on a thread of its own that the server owns (asio blocks in its
// loop, which a Qt event loop cannot share without polling), so a class of phones, or someone
// flooding the port, never takes time from the window; presses leave it as queued signals. The
// slots may be called from the thread the object lives in; they hand their work to the network
// thread.
//
// Only the join code of the current game admits a device. A device keeps its handset number for
// the game through a token its browser stores; only the page's own files are served, from the
// program's resources, never from the disk.
class HandyServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HandyServer)

public:
    explicit HandyServer(QObject *eltern = nullptr);
    ~HandyServer() override;

    // Slots: called queued from the window's thread.
    Q_INVOKABLE void starten(const QHostAddress &adresse, quint16 port);
    Q_INVOKABLE void stoppen();
    // Takes effect with the next start.
    Q_INVOKABLE void grenzenSetzen(const HandyGrenzen &grenzen);
    // A new game: devices of the last one must scan the new code.
    Q_INVOKABLE void codeSetzen(const QString &code);
    // `runde` 2: the question asked a second time.
    Q_INVOKABLE void frageSetzen(bool offen, int frage, int runde = 1);
    // Numbers a game taken up again already holds: new devices get others, so no phone continues
    // someone else's answers. A new code frees them.
    Q_INVOKABLE void nummernReservieren(const QSet<uint> &nummern);
    Q_INVOKABLE void nummernJeAdresseSetzen(int anzahl);
    Q_INVOKABLE void spracheSetzen(bool englisch);
    Q_INVOKABLE void vorlageSetzen(const QString &name);
    // The host name or address the QR code shows: requests naming another host are refused.
    Q_INVOKABLE void rechnerAnkuendigen(const QString &rechner);

signals:
    void gestartet(quint16 port);
    void fehlgeschlagen(const QString &grund);
    void druck(uint klassensatz, uint buzzerNo, uint buttonNo);
    void beigetreten(uint nummer);
    // Requests and connections turned away for a missing or wrong code, counted since start; at
    // most one signal a second.
    void abgewiesen(quint64 anzahl);
    void gedrosselt(quint64 anzahl);

private:
    class Netz;
    std::unique_ptr<Netz> m_netz;
};
