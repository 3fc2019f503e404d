#pragma once

#include <QObject>

class QSocketNotifier;

// The system's requests to end: SIGTERM (a shutdown, a logout, a service manager), SIGINT (Ctrl+C
// in a terminal) and SIGHUP (the terminal closed). Left to themselves they end the process on the
// spot, past every destructor; here they arrive in the event loop as beendenVerlangt, so the
// program can end in order. A second request of the same kind ends the process as before, for a
// program that no longer answers. One object at a time; the system's handling comes back when it
// goes. Where there are no such signals the object does nothing.
class BeendenSignale final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BeendenSignale)

public:
    explicit BeendenSignale(QObject *eltern = nullptr);
    ~BeendenSignale() override;

signals:
    void beendenVerlangt(int signal);

private:
    QSocketNotifier *m_melder = nullptr;
};
