#include "fragedatei.h"
#include "fuzzziele.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

const QStringList Felder = QStringLiteral("QuestionText Answer1 Answer2 Answer3 Answer4 PictureQuestionText "
                                          "PictureAnswer1 PictureAnswer2 PictureAnswer3 PictureAnswer4 "
                                          "AnswerDelay Solution Time Points")
                               .split(QLatin1Char(' '));

// What a save keeps of a question: its fields, elements, comments and processing instructions.
QString gestalt(const QDomNode &knoten)
{
    QString aus;
    for (QDomNode kind = knoten.firstChild(); !kind.isNull(); kind = kind.nextSibling()) {
        if (kind.isElement())
            aus += '<' + kind.nodeName() + '>' + gestalt(kind) + QLatin1String("</>");
        else if (kind.isComment() || kind.isProcessingInstruction())
            aus += '[' + kind.nodeName() + ' ' + kind.nodeValue() + ']';
    }
    for (const QString &feld : Felder)
        aus += QLatin1Char('|') + FrageDatei::feld(knoten.toElement(), feld);
    return aus;
}

} // namespace

void Fuzzziele::gebrochen(const char *ziel, const char *was)
{
    std::fprintf(stderr, "%s: %s\n", ziel, was);
    std::abort();
}

QString Fuzzziele::alsDatei(const char *name, const QByteArray &inhalt)
{
    static QTemporaryDir ordner;
    QFile datei(ordner.filePath(QLatin1String(name)));
    if (!ordner.isValid() || !datei.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        datei.write(inhalt) != inhalt.size())
        Fuzzziele::gebrochen("question file", "cannot write a temporary file");
    return datei.fileName();
}

void Fuzzziele::frageDatei(const std::uint8_t *daten, std::size_t laenge)
{
    const QByteArray inhalt(reinterpret_cast<const char *>(daten), qsizetype(laenge));
    const FrageDatei::LadeErgebnis ergebnis = FrageDatei::lesen(alsDatei("f.xml", inhalt));
    if (!ergebnis.ok()) {
        if (!ergebnis.fragen.isEmpty())
            Fuzzziele::gebrochen("question file", "a failed load that still hands out questions");
        if (ergebnis.beschreibung(false).isEmpty() || ergebnis.beschreibung(true).isEmpty())
            Fuzzziele::gebrochen("question file", "a failed load without a reason for the presenter");
        return;
    }
    if (ergebnis.fragen.isEmpty() || ergebnis.fragen.size() > FrageDatei::MaxFragen ||
        ergebnis.weggelassen < 0)
        Fuzzziele::gebrochen("question file", "a loaded file with no or too many questions");
    for (const QDomElement &frage : ergebnis.fragen) {
        for (const QString &feld : Felder)
            FrageDatei::zahl(frage, feld);
    }
    // What the program writes it must be able to read again.
    const QByteArray wieder = FrageDatei::serialisieren(ergebnis.fragen);
    const FrageDatei::LadeErgebnis zweites = FrageDatei::lesen(alsDatei("g.xml", wieder));
    if (!zweites.ok() || zweites.fragen.size() < ergebnis.fragen.size())
        Fuzzziele::gebrochen("question file", "a saved file does not load again with its questions");
    // Question in question are read twice; every other file comes back question by question.
    for (qsizetype i = 0; zweites.fragen.size() == ergebnis.fragen.size() && i < zweites.fragen.size(); ++i) {
        if (gestalt(zweites.fragen.at(i)) != gestalt(ergebnis.fragen.at(i)))
            Fuzzziele::gebrochen("question file",
                                 "a question comes back from a save with other fields or elements");
    }
    // Saving what was saved must not change a byte: otherwise every save of the same file adds
    // to it or takes from it.
    if (FrageDatei::serialisieren(zweites.fragen) != wieder)
        Fuzzziele::gebrochen("question file", "a second save differs from the first");
}
