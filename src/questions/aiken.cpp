#include "aiken.h"

#include "fremdtext.h"

#include <QRegularExpression>

namespace Aiken {

Fremdformat::Ergebnis lesen(const QString &inhalt, bool englisch)
{
    static const QRegularExpression Auswahl(QStringLiteral("^\\s*([A-Z])[.)]\\s*(.*)$"));
    static const QRegularExpression Loesung(QStringLiteral("^\\s*ANSWER\\s*:\\s*(.*?)\\s*$"));
    using Fremdformat::text;

    QString normiert = inhalt;
    normiert.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normiert.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList zeilen = normiert.split(QLatin1Char('\n'));

    Fremdformat::Ergebnis ergebnis;
    int nummer = 0;
    QStringList frageZeilen;
    QStringList antworten;
    bool verworfen = false; // a broken question: its lines are passed over until it ends
    const auto neu = [&]() {
        frageZeilen.clear();
        antworten.clear();
        verworfen = false;
    };
    const auto fehler = [&](int zeile, const QString &grund) {
        ergebnis.uebersprungen.append(
            Fremdformat::uebersprungen(englisch, nummer, Fremdformat::zeilenGrund(englisch, zeile, grund)));
        verworfen = true;
    };
    const QString antwortFehlt = text(englisch, "die Zeile ANSWER: fehlt", "the line ANSWER: is missing");

    for (qsizetype i = 0; i <= zeilen.size(); ++i) {
        const int zeile = int(i) + 1;
        const QString z = i < zeilen.size() ? zeilen.at(i) : QString();
        if (z.trimmed().isEmpty()) {
            // A blank line (or the end) within a question that has not got its ANSWER: yet.
            if (!verworfen && !antworten.isEmpty())
                fehler(zeile - 1, antwortFehlt);
            else if (!verworfen && !frageZeilen.isEmpty())
                fehler(zeile - 1,
                       text(englisch, "die Antworten A., B. … fehlen", "the answers A., B. … are missing"));
            neu();
            continue;
        }
        if (verworfen) {
            if (Loesung.match(z).hasMatch())
                neu();
            continue;
        }
        if (frageZeilen.isEmpty() && antworten.isEmpty())
            ++nummer;
        const QRegularExpressionMatch loesung = Loesung.match(z);
        if (loesung.hasMatch()) {
            const QString buchstabe = loesung.captured(1);
            if (antworten.isEmpty()) {
                fehler(zeile, text(englisch, "ANSWER: vor den Antworten A., B. …",
                                   "ANSWER: before the answers A., B. …"));
                neu();
                continue;
            }
            const int richtig = buchstabe.size() == 1 ? buchstabe.at(0).toUpper().unicode() - u'A' + 1 : 0;
            if (richtig < 1 || richtig > antworten.size()) {
                fehler(zeile, text(englisch, "ANSWER: nennt keine der Antworten",
                                   "ANSWER: names none of the answers"));
                neu();
                continue;
            }
            Fremdformat::Frage frage;
            frage.text = FremdText::fuerFrageDatei(frageZeilen.join(QLatin1Char('\n')).trimmed());
            for (const QString &antwort : std::as_const(antworten))
                frage.antworten.append(FremdText::fuerFrageDatei(antwort.trimmed()));
            frage.richtig = richtig;
            Fremdformat::aufnehmen(ergebnis, std::move(frage), 1, nummer, englisch);
            neu();
            continue;
        }
        const QRegularExpressionMatch auswahl = Auswahl.match(z);
        const QChar erwartet = QChar(char16_t(u'A' + antworten.size()));
        if (auswahl.hasMatch() && !frageZeilen.isEmpty() && auswahl.captured(1).at(0) == erwartet) {
            antworten.append(auswahl.captured(2));
        } else if (!antworten.isEmpty()) {
            fehler(zeile, (englisch ? QStringLiteral("answer %1 or ANSWER: expected")
                                    : QStringLiteral("Antwort %1 oder ANSWER: erwartet"))
                              .arg(QString(erwartet) + QLatin1Char('.')));
        } else {
            frageZeilen.append(z);
        }
    }
    return ergebnis;
}

} // namespace Aiken
