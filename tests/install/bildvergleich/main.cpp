// Compares pictures by what they show (see bildvergleich.h):
//   bildvergleich <folder> <other folder> <file below both> ...
// Prints "<file> (why)" for every file that does not show what the same file in the other folder
// shows, and then exits with 1.
#include "bildvergleich.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList argumente = app.arguments();
    if (argumente.size() < 3) {
        QTextStream(stderr) << "usage: bildvergleich <folder> <other folder> <file> ...\n";
        return 2;
    }
    const QDir neu(argumente.at(1));
    const QDir alt(argumente.at(2));
    QTextStream aus(stdout);
    int abweichend = 0;
    for (const QString &datei : argumente.mid(3)) {
        QString fehler;
        QString grund;
        const auto neueDatei = Bildvergleich::lesen(neu.filePath(datei), fehler);
        if (!fehler.isEmpty()) {
            grund = QStringLiteral("unreadable: %1").arg(fehler);
        } else {
            const auto alteDatei = Bildvergleich::lesen(alt.filePath(datei), fehler);
            grund = fehler.isEmpty() ? Bildvergleich::unterschied(neueDatei, alteDatei)
                                     : QStringLiteral("the committed file is unreadable: %1").arg(fehler);
        }
        if (!grund.isEmpty()) {
            aus << datei << " (" << grund << ")\n";
            ++abweichend;
        }
    }
    return abweichend > 0 ? 1 : 0;
}
