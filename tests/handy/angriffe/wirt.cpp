// Runs the phones' server alone, for the attack script beside it: on the loopback interface, with a
// fresh code and an open question, as during a game. It tells the script where to find it and what
// it reports, and ends when its standard input closes, so it never outlives the script.
//
// A line "SCHREIBEN <path>" on its standard input has it save a file as the program saves the
// user's (the path, a line of its own, is the content) and answer "GESCHRIEBEN" or "SCHREIBFEHLER
// <the system's reason>": whether the window could still save while the server is under attack.
// "--kopfzeit <ms>" sets how long a connection may take for its request head, so a flood of silent
// connections is held for as long as an attack needs.
#include "benutzerdatei.h"
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

void befehl(const QByteArray &text)
{
    const QByteArray schreiben("SCHREIBEN ");
    if (!text.startsWith(schreiben))
        return;
    const QByteArray pfad = text.mid(schreiben.size());
    const SchreibErgebnis ergebnis = BenutzerDatei::schreiben(QString::fromUtf8(pfad), pfad + '\n');
    zeile(ergebnis ? QByteArray("GESCHRIEBEN") : "SCHREIBFEHLER " + ergebnis.grund.toUtf8());
}

} // namespace

int main(int argc, char *argv[])
{
    // As the program does at start-up: the limit of open files is part of what the attacks test.
    Startregeln::dateienGrenzeAnheben();
    QCoreApplication app(argc, argv);

    HandyAbstimmung handys;
    const QStringList argumente = QCoreApplication::arguments();
    const qsizetype kopfZeit = argumente.indexOf(QStringLiteral("--kopfzeit"));
    if (kopfZeit > 0 && kopfZeit + 1 < argumente.size()) {
        HandyGrenzen grenzen;
        grenzen.kopfZeit = HandyGrenzen::ms(argumente.at(kopfZeit + 1).toInt());
        handys.grenzenSetzen(grenzen);
    }
    // The code and the open question are handed to the server before it starts, so they are in
    // force when it says it listens: an attack that joins at once finds them.
    handys.frageSetzen(true, 1);
    QObject::connect(&handys, &HandyAbstimmung::gestartet, &app, [&handys](quint16 port) {
        zeile("PORT " + QByteArray::number(port) + " CODE " + handys.code().toLatin1() + " PID " +
              QByteArray::number(QCoreApplication::applicationPid()));
    });
    QObject::connect(&handys, &HandyAbstimmung::fehlgeschlagen, &app, [](const QString &grund) {
        zeile("FEHLER " + grund.toUtf8());
        QCoreApplication::exit(1);
    });
    QObject::connect(&handys, &HandyAbstimmung::abgewiesen, &app,
                     [](quint64 anzahl) { zeile("ABGEWIESEN " + QByteArray::number(anzahl)); });

    QSocketNotifier eingabe(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray eingang;
    QObject::connect(&eingabe, &QSocketNotifier::activated, &app, [&eingabe, &eingang]() {
        char puffer[256];
        const auto n = ::read(STDIN_FILENO, puffer, sizeof puffer);
        if (n <= 0) {
            eingabe.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        eingang.append(puffer, n);
        for (qsizetype ende = eingang.indexOf('\n'); ende >= 0; ende = eingang.indexOf('\n')) {
            befehl(eingang.left(ende));
            eingang.remove(0, ende + 1);
        }
    });

    handys.starten(0, QHostAddress::LocalHost);
    return app.exec();
}
