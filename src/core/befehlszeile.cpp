#include "befehlszeile.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace Befehlszeile {

namespace {

const char *const Beschreibung =
    "Presents multiple-choice questions full screen for classroom and conference voting and\n"
    "collects the answers from wireless four-button handsets and from phones.";

const char *const Nachwort =
    "\n"
    "The question file is opened as the menu's Open opens it and stays the file of later starts;\n"
    "a file that does not load is reported and the previous one is used.\n"
    "Qt's own options (-platform, -style, -reverse ...) are understood as well. Options for the\n"
    "web engine follow --webEngineArgs or go into QTWEBENGINE_CHROMIUM_FLAGS.\n"
    "With --import, the questions of SOURCE (Moodle XML, GIFT, Aiken or a spreadsheet's CSV) are\n"
    "written to the new question file FILE, never over an existing one, and the report is printed.\n"
    "Exit status: 0 after a normal end or a conversion, 1 when a conversion wrote no file, 2 for\n"
    "arguments that are refused.\n";

// Options of the web engine follow this word; they are none of this program's business.
const QLatin1String WebEngineGrenze("--webEngineArgs");

struct Optionen
{
    QCommandLineOption hilfe{{QStringLiteral("h"), QStringLiteral("help")},
                             QStringLiteral("Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and exit.")};
    QCommandLineOption importieren{QStringLiteral("import"),
                                   QStringLiteral("Convert the question bank SOURCE into the question file "
                                                  "FILE without opening a window, and exit."),
                                   QStringLiteral("SOURCE")};

    explicit Optionen(QCommandLineParser &parser)
    {
        parser.setApplicationDescription(QString::fromLatin1(Beschreibung));
        // Qt's options are words after a single dash: "-reverse" must not read as -r -e -v ...
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({hilfe, version, importieren});
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QStringLiteral("A question file (.xml) to open at start."),
                                     QStringLiteral("[FILE]"));
    }
};

Auswertung abgelehnt(const QString &grund)
{
    Auswertung auswertung;
    auswertung.art = Art::Fehler;
    auswertung.fehler = grund;
    return auswertung;
}

} // namespace

Auswertung auswerten(const QStringList &argumente)
{
    QCommandLineParser parser;
    const Optionen optionen(parser);
    const qsizetype grenze = argumente.indexOf(WebEngineGrenze);
    const bool gelesen = parser.parse(grenze < 0 ? argumente : argumente.mid(0, grenze));

    Auswertung auswertung;
    if (parser.isSet(optionen.hilfe)) {
        auswertung.art = Art::Hilfe;
        return auswertung;
    }
    if (parser.isSet(optionen.version)) {
        auswertung.art = Art::Version;
        return auswertung;
    }
    if (!gelesen) {
        auswertung = abgelehnt(parser.errorText());
        auswertung.ohneFenster = parser.isSet(optionen.importieren);
        return auswertung;
    }
    const QStringList dateien = parser.positionalArguments();
    if (dateien.size() > 1)
        return abgelehnt(QStringLiteral("One question file at a time, not %1.").arg(dateien.size()));
    if (!dateien.isEmpty()) {
        if (dateien.first().isEmpty())
            return abgelehnt(QStringLiteral("The name of the question file is empty."));
        auswertung.datei = QFileInfo(dateien.first()).absoluteFilePath();
    }
    if (parser.isSet(optionen.importieren)) {
        const QString quelle = parser.value(optionen.importieren);
        if (quelle.isEmpty() || auswertung.datei.isEmpty()) {
            auswertung = abgelehnt(QStringLiteral("--import needs a source and a new question file: "
                                                  "--import SOURCE FILE.xml"));
            auswertung.ohneFenster = true;
            return auswertung;
        }
        auswertung.art = Art::Importieren;
        auswertung.quelle = QFileInfo(quelle).absoluteFilePath();
    }
    return auswertung;
}

QString hilfe()
{
    QCommandLineParser parser;
    const Optionen optionen(parser);
    return parser.helpText() + QString::fromLatin1(Nachwort);
}

QString versionsText()
{
    return QStringLiteral("plenaro " PLENARO_VERSION "\n");
}

} // namespace Befehlszeile
