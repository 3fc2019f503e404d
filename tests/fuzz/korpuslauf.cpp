// Feeds every file of the given folders through a fuzz target's entry function, so the corpus
// and every reproducer found so far are checked by the normal test suite.
//   fuzz_korpuslauf empfang|fragedatei|moodlexml|gift|aiken FOLDER...
#include "fuzzziele.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QHash<QByteArray, void (*)(const std::uint8_t *, std::size_t)> ziele{
        {"empfang", Fuzzziele::empfang},
        {"fragedatei", Fuzzziele::frageDatei},
        {"moodlexml", Fuzzziele::moodleXml},
        {"gift", Fuzzziele::gift},
        {"aiken", Fuzzziele::aiken}};
    const auto funktion = argc >= 3 ? ziele.value(argv[1]) : nullptr;
    if (!funktion) {
        std::fprintf(stderr, "usage: %s empfang|fragedatei|moodlexml|gift|aiken FOLDER...\n", argv[0]);
        return 2;
    }
    int anzahl = 0;
    for (int i = 2; i < argc; ++i) {
        for (const QFileInfo &info :
             QDir(QFile::decodeName(argv[i])).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
            QFile datei(info.filePath());
            if (!datei.open(QIODevice::ReadOnly))
                qFatal("cannot read %s: %s", qPrintable(info.filePath()), qPrintable(datei.errorString()));
            const QByteArray inhalt = datei.readAll();
            std::printf("%s\n", qPrintable(info.fileName()));
            std::fflush(stdout);
            funktion(reinterpret_cast<const std::uint8_t *>(inhalt.constData()), std::size_t(inhalt.size()));
            ++anzahl;
        }
    }
    // An empty or mistyped folder must not pass as a clean run.
    if (anzahl == 0) {
        std::fprintf(stderr, "no files in the corpus folders\n");
        return 1;
    }
    std::printf("%d files, all handled\n", anzahl);
    return 0;
}
