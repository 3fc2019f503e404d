#pragma once

#include <QImage>
#include <QJsonValue>
#include <QProcess>
#include <QWebSocket>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// The outside view of a lesson: a screen with a window manager, key presses, screenshots, the
// pages read through the web engine's remote debugging, and a busy machine. Nothing here knows the
// program's code; it sees what a pupil and a teacher see.
namespace Aussenblick {

// Runs the event loop until `bedingung` holds or `ms` have passed; asks every `takt` ms.
bool warten(const std::function<bool()> &bedingung, int ms, int takt = 100);

// One busy loop per core at normal priority, for as long as the object lives.
class Last final
{
public:
    Last();
    ~Last();
    Q_DISABLE_COPY_MOVE(Last)

private:
    std::atomic<bool> m_halt{false};
    std::vector<std::thread> m_schleifen;
};

// A child process that is always ended with the object.
class Kind final
{
public:
    Kind(const QString &programm, const QStringList &argumente, const QProcessEnvironment &umgebung);
    ~Kind();
    Q_DISABLE_COPY_MOVE(Kind)
    QProcess &prozess() { return m_prozess; }
    // What it printed so far, for a failure message.
    QString ausgabe();

private:
    QProcess m_prozess;
    QByteArray m_ausgabe;
};

// Xvfb with a window manager; the display every other child is started on. With a `laptop` size
// there are two screens, as when a projector is plugged in: the laptop's is the first, the
// projector's (`groesse`, where the class's page goes) the second; xdotool and the photos work on
// the projector's unless told otherwise.
class Bildschirm final
{
public:
    explicit Bildschirm(QSize groesse, QSize laptop = {});
    ~Bildschirm();
    Q_DISABLE_COPY_MOVE(Bildschirm)
    bool bereit() const { return !m_anzeige.isEmpty(); }
    QSize groesse() const { return m_groesse; }
    QProcessEnvironment umgebung() const;

    // xdotool with these arguments; its output, or an empty string on failure.
    QString xdotool(const QStringList &argumente, bool laptop = false) const;
    void taste(const QString &taste) const { xdotool({QStringLiteral("key"), taste}); }
    QImage foto(bool laptop = false) const;
    bool zweiSchirme() const { return m_laptop.isValid(); }
    QString aktivesFenster(bool laptop = false) const
    {
        return xdotool({QStringLiteral("getactivewindow")}, laptop).trimmed();
    }

private:
    // The environment of a child on one screen: the projector's unless `laptop`.
    QProcessEnvironment umgebung(bool laptop) const;
    // Runs `programm` on that screen; its output, or an empty one on failure.
    QByteArray ausfuehren(const QString &programm, const QStringList &argumente, bool laptop) const;

    QSize m_groesse;
    QSize m_laptop;
    QString m_anzeige;
    Kind *m_xvfb = nullptr;
    std::vector<std::unique_ptr<Kind>> m_fensterverwaltung;
};

// One page of the program, read through the DevTools protocol.
class Seite final
{
public:
    explicit Seite(const QString &socketAdresse);
    Q_DISABLE_COPY_MOVE(Seite)
    bool verbunden() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // Evaluates `ausdruck` in the page (promises are awaited); an invalid value on failure.
    QJsonValue auswerten(const QString &ausdruck, int ms = 30000);

private:
    QWebSocket m_socket;
    int m_naechsteId = 1;
    QHash<int, QJsonValue> m_antworten;
};

// The pages of the program listening on `port`: page address → WebSocket address.
QList<QPair<QString, QString>> seitenListe(quint16 port);

// How many pixels inside `rechteck` differ clearly between two screenshots.
int unterschied(const QImage &a, const QImage &b, const QRect &rechteck);

} // namespace Aussenblick
