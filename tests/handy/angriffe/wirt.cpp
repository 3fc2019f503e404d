// Runs the phones' server alone, for the attack script beside it: on the loopback interface, with a
// fresh code and an open question, as during a game. It tells the script where to find it and what
// it reports, and ends when its standard input closes, so it never outlives the script.
#include "handyabstimmung.h"
#include "startregeln.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>

#include <unistd.h>

namespace {

void zeile(const QByteArray &text)
{
    // The script reads line by line through a pipe: nothing may wait in a buffer.
    std::fputs(text.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    // As the program does at start-up: the limit of open files is part of what the attacks test.
    Startregeln::dateienGrenzeAnheben();
    QCoreApplication app(argc, argv);

    HandyAbstimmung handys;
    QObject::connect(&handys, &HandyAbstimmung::gestartet, &app, [&handys](quint16 port) {
        const QString code = handys.neuerCode();
        handys.frageSetzen(true, 1);
        zeile("PORT " + QByteArray::number(port) + " CODE " + code.toLatin1() + " PID " +
              QByteArray::number(QCoreApplication::applicationPid()));
    });
    QObject::connect(&handys, &HandyAbstimmung::fehlgeschlagen, &app, [](const QString &grund) {
        zeile("FEHLER " + grund.toUtf8());
        QCoreApplication::exit(1);
    });
    QObject::connect(&handys, &HandyAbstimmung::abgewiesen, &app,
                     [](quint64 anzahl) { zeile("ABGEWIESEN " + QByteArray::number(anzahl)); });

    QSocketNotifier eingabe(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&eingabe, &QSocketNotifier::activated, &app, [&eingabe]() {
        char puffer[256];
        if (::read(STDIN_FILENO, puffer, sizeof puffer) <= 0) {
            eingabe.setEnabled(false);
            QCoreApplication::quit();
        }
    });

    handys.starten(0, QHostAddress::LocalHost);
    return app.exec();
}
