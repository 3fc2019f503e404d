#include "gift.h"

#include "fragedatei.h"
#include "fremdtext.h"

#include <QRegularExpression>

namespace Gift {

namespace {

using Fremdformat::text;

const QString Sonderzeichen = QStringLiteral("~=#{}:");

// A paragraph of the file: its lines joined, and where it starts.
struct Absatz
{
    QString text;
    int zeile = 0;
};

// Which characters a backslash took their meaning from.
QVector<bool> maskiert(const QString &s)
{
    QVector<bool> maske(s.size(), false);
    for (qsizetype i = 0; i + 1 < s.size(); ++i) {
        if (s.at(i) == QLatin1Char('\\')) {
            maske[i + 1] = true;
            ++i;
        }
    }
    return maske;
}

qsizetype finden(const QString &s, const QVector<bool> &maske, const QString &was, qsizetype ab)
{
    for (qsizetype i = s.indexOf(was, ab); i >= 0; i = s.indexOf(was, i + 1)) {
        if (!maske.at(i))
            return i;
    }
    return -1;
}

QString entmaskieren(const QString &s)
{
    QString ergebnis;
    ergebnis.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar n = s.at(i + 1);
            if (Sonderzeichen.contains(n) || n == QLatin1Char('\\')) {
                ergebnis += n;
                ++i;
                continue;
            }
            if (n == QLatin1Char('n')) {
                ergebnis += QLatin1Char('\n');
                ++i;
                continue;
            }
        }
        ergebnis += c;
    }
    return ergebnis;
}

QString textFuerFrage(const QString &roh, FremdText::Quelle quelle)
{
    return FremdText::fuerFrageDatei(FremdText::klartext(entmaskieren(roh.trimmed()), quelle).trimmed());
}

QVector<Absatz> absaetze(const QString &datei)
{
    QString text = datei;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList zeilen = text.split(QLatin1Char('\n'));
    QVector<Absatz> ergebnis;
    Absatz aktuell;
    const auto abschliessen = [&]() {
        if (!aktuell.text.isEmpty())
            ergebnis.append(aktuell);
        aktuell = {};
    };
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QString &zeile = zeilen.at(i);
        const QString ohneRand = zeile.trimmed();
        if (ohneRand.isEmpty()) {
            abschliessen();
            continue;
        }
        // Comments and categories are left out, but their lines still count.
        if (ohneRand.startsWith(QLatin1String("//")) || ohneRand.startsWith(QLatin1String("$CATEGORY:"))) {
            if (!aktuell.text.isEmpty())
                aktuell.text += QLatin1Char('\n');
            continue;
        }
        if (aktuell.text.isEmpty())
            aktuell.zeile = int(i) + 1;
        else
            aktuell.text += QLatin1Char('\n');
        aktuell.text += zeile;
    }
    abschliessen();
    return ergebnis;
}

void absatzLesen(Fremdformat::Ergebnis &ergebnis, const Absatz &absatz, int nummer, bool englisch)
{
    const QString &s = absatz.text;
    const QVector<bool> maske = maskiert(s);
    const auto fehler = [&](qsizetype stelle, const char *deutsch, const char *english) {
        const int zeile = absatz.zeile + int(s.left(stelle).count(QLatin1Char('\n')));
        ergebnis.uebersprungen.append(Fremdformat::uebersprungen(
            englisch, nummer, Fremdformat::zeilenGrund(englisch, zeile, text(englisch, deutsch, english))));
    };
    qsizetype anfang = 0;
    while (anfang < s.size() && s.at(anfang).isSpace())
        ++anfang;
    if (s.mid(anfang, 2) == QLatin1String("::")) {
        const qsizetype titelEnde = finden(s, maske, QStringLiteral("::"), anfang + 2);
        if (titelEnde < 0)
            return fehler(anfang, "dem Titel fehlt das schließende ::", "the title lacks its closing ::");
        anfang = titelEnde + 2;
    }
    const qsizetype auf = finden(s, maske, QStringLiteral("{"), anfang);
    if (auf < 0)
        return Fremdformat::typUeberspringen(ergebnis, QStringLiteral("description"), nummer, englisch);
    const qsizetype zu = finden(s, maske, QStringLiteral("}"), auf + 1);
    if (zu < 0)
        return fehler(auf, "die schließende Klammer } fehlt", "the closing brace } is missing");
    if (finden(s, maske, QStringLiteral("{"), auf + 1) >= 0)
        return fehler(finden(s, maske, QStringLiteral("{"), auf + 1),
                      "mehr als eine Klammer { in einer Frage", "more than one brace { in one question");

    QString vorne = s.mid(anfang, auf - anfang).trimmed();
    FremdText::Quelle quelle = FremdText::Quelle::AutoFormat;
    static const QRegularExpression Marke(QStringLiteral("^\\[(html|moodle|plain|markdown)\\]"));
    const QRegularExpressionMatch marke = Marke.match(vorne);
    if (marke.hasMatch()) {
        quelle = FremdText::quelle(marke.captured(1));
        vorne = vorne.mid(marke.capturedLength()).trimmed();
    }
    // An answer block within the sentence leaves a gap where the answer belongs.
    const QString hinten = s.mid(zu + 1).trimmed();
    if (!hinten.isEmpty())
        vorne += (s.at(zu + 1).isSpace() ? QStringLiteral(" _____ ") : QStringLiteral(" _____")) + hinten;

    const QString block = s.mid(auf + 1, zu - auf - 1);
    const QVector<bool> blockMaske = maske.mid(auf + 1, zu - auf - 1);
    const QString inhalt = block.trimmed();
    static const QRegularExpression WahrFalsch(QStringLiteral("^(T|TRUE|F|FALSE)\\s*(#|$)"),
                                               QRegularExpression::CaseInsensitiveOption);
    Fremdformat::Frage frage;
    frage.text = textFuerFrage(vorne, quelle);
    if (inhalt.isEmpty())
        return Fremdformat::typUeberspringen(ergebnis, QStringLiteral("essay"), nummer, englisch);
    if (inhalt.startsWith(QLatin1Char('#')))
        return Fremdformat::typUeberspringen(ergebnis, QStringLiteral("numerical"), nummer, englisch);
    const QRegularExpressionMatch wahrFalsch = WahrFalsch.match(inhalt);
    if (wahrFalsch.hasMatch()) {
        frage.antworten = {text(englisch, "Wahr", "True"), text(englisch, "Falsch", "False")};
        frage.richtig = wahrFalsch.captured(1).startsWith(QLatin1Char('T'), Qt::CaseInsensitive) ? 1 : 2;
        return Fremdformat::aufnehmen(ergebnis, std::move(frage), 1, nummer, englisch);
    }

    // The answers: each begins at an "=" or a "~" of its own.
    QVector<qsizetype> starts;
    for (qsizetype i = 0; i < block.size(); ++i) {
        if (!blockMaske.at(i) && (block.at(i) == QLatin1Char('=') || block.at(i) == QLatin1Char('~')))
            starts.append(i);
    }
    const qsizetype erster = starts.isEmpty() ? block.size() : starts.first();
    if (!block.left(erster).trimmed().isEmpty())
        return fehler(auf + 1 + block.indexOf(block.left(erster).trimmed()),
                      "eine Antwort beginnt nicht mit = oder ~", "an answer does not begin with = or ~");
    bool falsche = false;
    bool paare = !starts.isEmpty(); // every answer "=a -> b": a matching question
    int richtige = 0;
    static const QRegularExpression Gewicht(QStringLiteral("^%(-?[0-9]+(?:[.,][0-9]+)?)%"));
    for (qsizetype k = 0; k < starts.size(); ++k) {
        const qsizetype von = starts.at(k) + 1;
        const qsizetype bis = k + 1 < starts.size() ? starts.at(k + 1) : block.size();
        QString antwort = block.mid(von, bis - von);
        const QVector<bool> antwortMaske = blockMaske.mid(von, bis - von);
        paare = paare && finden(antwort, antwortMaske, QStringLiteral("->"), 0) >= 0;
        const qsizetype rueckmeldung = finden(antwort, antwortMaske, QStringLiteral("#"), 0);
        if (rueckmeldung >= 0)
            antwort.truncate(rueckmeldung);
        double gewicht = block.at(starts.at(k)) == QLatin1Char('=') ? 100 : 0;
        const QRegularExpressionMatch g = Gewicht.match(antwort.trimmed());
        if (g.hasMatch()) {
            gewicht = QString(g.captured(1)).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
            antwort = antwort.trimmed().mid(g.capturedLength());
        }
        falsche = falsche || block.at(starts.at(k)) == QLatin1Char('~');
        if (gewicht > 0) {
            ++richtige;
            frage.richtig = int(k) + 1;
        }
        frage.antworten.append(textFuerFrage(antwort, quelle));
    }
    if (paare && !falsche)
        return Fremdformat::typUeberspringen(ergebnis, QStringLiteral("matching"), nummer, englisch);
    if (!falsche)
        return Fremdformat::typUeberspringen(ergebnis, QStringLiteral("shortanswer"), nummer, englisch);
    Fremdformat::aufnehmen(ergebnis, std::move(frage), richtige, nummer, englisch);
}

QString maskieren(const QString &text)
{
    QString ergebnis;
    ergebnis.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || Sonderzeichen.contains(c))
            ergebnis += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\n'))
            ergebnis += QLatin1String("\\n");
        else if (c != QLatin1Char('\r'))
            ergebnis += c;
    }
    return ergebnis;
}

} // namespace

Fremdformat::Ergebnis lesen(const QString &text, bool englisch)
{
    Fremdformat::Ergebnis ergebnis;
    int nummer = 0;
    for (const Absatz &absatz : absaetze(text))
        absatzLesen(ergebnis, absatz, ++nummer, englisch);
    return ergebnis;
}

QByteArray schreiben(const QVector<QDomElement> &fragen)
{
    QString aus;
    for (const QDomElement &frage : fragen) {
        const int richtig = FrageDatei::richtigerKnopf(FrageDatei::feld(frage, FrageDatei::Loesung));
        // The format named at the start keeps a text that begins with "//" or "[html]" a text.
        aus += QStringLiteral("[moodle]") +
               maskieren(FrageDatei::feld(frage, QStringLiteral("QuestionText"))) + QStringLiteral(" {\n");
        for (int k = 1; k <= 4; ++k) {
            const QString antwort = FrageDatei::feld(frage, QStringLiteral("Answer%1").arg(k));
            if (!antwort.isEmpty())
                aus += (k == richtig ? QStringLiteral("\t=") : QStringLiteral("\t~")) + maskieren(antwort) +
                       QLatin1Char('\n');
        }
        aus += QStringLiteral("}\n\n");
    }
    return aus.toUtf8();
}

} // namespace Gift
