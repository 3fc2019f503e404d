#include "announcement.h"
#include "log.h"
#include "options.h"
#include "simulator.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace {

void routeQtMessages(QtMsgType, const QMessageLogContext &, const QString &message)
{
    simulator::logEvent(QStringLiteral("Qt: ") + message);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("plenaro-simulator"));
    qInstallMessageHandler(routeQtMessages);

    const simulator::ParsedOptions parsed =
        simulator::parseOptions(app.arguments(), ::isatty(STDIN_FILENO) == 1);
    if (parsed.outcome == simulator::ParsedOptions::Outcome::Help ||
        parsed.outcome == simulator::ParsedOptions::Outcome::Version) {
        std::fputs(qPrintable(parsed.text), stdout);
        return 0;
    }
    if (parsed.outcome == simulator::ParsedOptions::Outcome::Error) {
        std::fprintf(stderr, "plenaro-simulator: %s\nTry 'plenaro-simulator --help'.\n",
                     qPrintable(parsed.text));
        return 2;
    }

    simulator::Simulator receiver(parsed.options);
    QString error;
    if (!receiver.openPort(&error)) {
        std::fprintf(stderr, "plenaro-simulator: %s\n", qPrintable(error));
        return 1;
    }
    // Declared after the receiver so that it is removed before the port goes away.
    simulator::Announcement announcement;
    if (parsed.options.announce) {
        if (!announcement.publish(receiver.slavePath(), &error)) {
            std::fprintf(stderr, "plenaro-simulator: %s\n", qPrintable(error));
            return 1;
        }
        simulator::logEvent(QStringLiteral("announced in %1").arg(announcement.path()));
    }
    std::printf("PTY %s\n", qPrintable(receiver.slavePath()));
    std::fflush(stdout);
    return receiver.run();
}
