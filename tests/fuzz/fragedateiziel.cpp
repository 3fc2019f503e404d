#include "fragedatei.h"
#include "fuzzziele.h"

#include <QDomNamedNodeMap>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void gebrochen(const char *was)
{
    std::fprintf(stderr, "question file: %s\n", was);
    std::abort();
}

const QStringList Felder{
    QStringLiteral("QuestionText"),   QStringLiteral("Answer1"),        QStringLiteral("Answer2"),
    QStringLiteral("Answer3"),        QStringLiteral("Answer4"),        QStringLiteral("PictureQuestionText"),
    QStringLiteral("PictureAnswer1"), QStringLiteral("PictureAnswer2"), QStringLiteral("PictureAnswer3"),
    QStringLiteral("PictureAnswer4"), QStringLiteral("AnswerDelay"),    QStringLiteral("Solution"),
    QStringLiteral("Time"),           QStringLiteral("Points")};

// The whole tree as text: every node with its kind, name and value, attributes sorted.
QString baum(const QDomNode &wurzel)
{
    QString text;
    QDomNode knoten = wurzel.firstChild();
    while (!knoten.isNull()) {
        text += QString::number(int(knoten.nodeType())) + QLatin1Char(' ') + knoten.nodeName() +
                QLatin1Char('=') + knoten.nodeValue();
        if (knoten.isElement()) {
            const QDomNamedNodeMap attribute = knoten.attributes();
            QStringList liste;
            for (int i = 0; i < attribute.count(); ++i)
                liste << attribute.item(i).nodeName() + QLatin1Char('=') + attribute.item(i).nodeValue();
            liste.sort();
            text += QLatin1Char('[') + liste.join(QLatin1Char('|')) + QLatin1Char(']');
        }
        text += QLatin1Char('\n');
        if (!knoten.firstChild().isNull()) {
            text += QLatin1String("(\n");
            knoten = knoten.firstChild();
            continue;
        }
        while (!knoten.isNull() && knoten.nextSibling().isNull() && knoten.parentNode() != wurzel) {
            text += QLatin1String(")\n");
            knoten = knoten.parentNode();
        }
        knoten = knoten.nextSibling();
    }
    return text;
}

// Where each question stands in the tree, as the positions among its siblings from the top.
QString orte(const QVector<QDomElement> &fragen)
{
    QString text;
    for (const QDomElement &frage : fragen) {
        for (QDomNode knoten = frage; !knoten.parentNode().isNull(); knoten = knoten.parentNode()) {
            int stelle = 0;
            for (QDomNode davor = knoten.previousSibling(); !davor.isNull(); davor = davor.previousSibling())
                ++stelle;
            text += QString::number(stelle) + QLatin1Char('.');
        }
        text += QLatin1Char(' ');
    }
    return text;
}

// lesen() reads most files with a reader of its own and leaves the rest to the toolkit's:
// both must give the same result, down to the reason and the place of an error.
FrageDatei::LadeErgebnis lesenUndVergleichen(const QString &pfad)
{
    FrageDatei::LadeErgebnis ergebnis = FrageDatei::lesen(pfad);
    const FrageDatei::LadeErgebnis strom = FrageDatei::lesenMitStromleser(pfad);
    if (ergebnis.fehler != strom.fehler || ergebnis.grund != strom.grund || ergebnis.zeile != strom.zeile ||
        ergebnis.spalte != strom.spalte || ergebnis.weggelassen != strom.weggelassen ||
        ergebnis.groesse != strom.groesse || ergebnis.dokument.isNull() != strom.dokument.isNull())
        gebrochen("the file's own reader and the stream reader end differently");
    if (baum(ergebnis.dokument) != baum(strom.dokument))
        gebrochen("the file's own reader and the stream reader build different trees");
    if (ergebnis.fragen.size() != strom.fragen.size() || orte(ergebnis.fragen) != orte(strom.fragen))
        gebrochen("the file's own reader and the stream reader find different questions");
    return ergebnis;
}

QString schreiben(const QTemporaryDir &ordner, const QString &name, const QByteArray &inhalt)
{
    const QString pfad = ordner.filePath(name);
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate) || datei.write(inhalt) != inhalt.size())
        gebrochen("cannot write the temporary file");
    return pfad;
}

} // namespace

void Fuzzziele::frageDatei(const std::uint8_t *daten, std::size_t laenge)
{
    static QTemporaryDir ordner;
    if (!ordner.isValid())
        gebrochen("no temporary folder");
    const QByteArray inhalt(reinterpret_cast<const char *>(daten), qsizetype(laenge));
    const FrageDatei::LadeErgebnis ergebnis =
        lesenUndVergleichen(schreiben(ordner, QStringLiteral("f.xml"), inhalt));
    if (!ergebnis.ok()) {
        if (!ergebnis.fragen.isEmpty())
            gebrochen("a failed load that still hands out questions");
        if (ergebnis.beschreibung(false).isEmpty() || ergebnis.beschreibung(true).isEmpty())
            gebrochen("a failed load without a reason for the presenter");
        return;
    }
    if (ergebnis.fragen.isEmpty() || ergebnis.fragen.size() > FrageDatei::MaxFragen ||
        ergebnis.weggelassen < 0)
        gebrochen("a loaded file with no or too many questions");
    for (const QDomElement &frage : ergebnis.fragen) {
        for (const QString &feld : Felder) {
            FrageDatei::feld(frage, feld);
            FrageDatei::zahl(frage, feld);
        }
    }
    // What the program writes it must be able to read again.
    const QByteArray wieder = FrageDatei::serialisieren(ergebnis.fragen);
    const FrageDatei::LadeErgebnis zweites =
        lesenUndVergleichen(schreiben(ordner, QStringLiteral("g.xml"), wieder));
    if (!zweites.ok() || zweites.fragen.size() < std::min(int(ergebnis.fragen.size()), FrageDatei::MaxFragen))
        gebrochen("a saved file does not load again with its questions");
    // Saving what was saved must not change a byte: otherwise every save of the same file adds
    // to it or takes from it.
    if (FrageDatei::serialisieren(zweites.fragen) != wieder)
        gebrochen("a second save differs from the first");
}
