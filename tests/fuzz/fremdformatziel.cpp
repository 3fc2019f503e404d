#include "aiken.h"
#include "fragedatei.h"
#include "fremdformat.h"
#include "fuzzziele.h"
#include "gift.h"
#include "moodlexml.h"

#include <QRegularExpression>

namespace {

// The promises every reader keeps, whatever the bytes.
void pruefen(const char *format, const Fremdformat::Ergebnis &ergebnis)
{
    static const QRegularExpression Tag(QStringLiteral("<[A-Za-z/!?]"));
    if (ergebnis.bericht(false).isEmpty() || ergebnis.bericht(true).isEmpty())
        Fuzzziele::gebrochen(format, "a result without a report");
    if (!ergebnis.fehler.isEmpty() && !ergebnis.fragen.isEmpty())
        Fuzzziele::gebrochen(format, "a failed file that still hands out questions");
    if (ergebnis.fragen.size() > FrageDatei::MaxFragen)
        Fuzzziele::gebrochen(format, "more questions than a question file holds");
    for (const Fremdformat::Frage &frage : ergebnis.fragen) {
        if (frage.antworten.size() < 2 || frage.antworten.size() > 4 || frage.richtig < 0 ||
            frage.richtig > frage.antworten.size())
            Fuzzziele::gebrochen(format, "a question the program cannot present");
        // Nothing from outside may reach a page as markup.
        for (const QString &text : QStringList{frage.text} + frage.antworten) {
            if (text.contains(Tag))
                Fuzzziele::gebrochen(format, "a text that opens a tag");
        }
        for (const Fremdformat::Bild &bild : frage.bilder) {
            if (!bild.isEmpty() &&
                (bild.name.contains(QLatin1Char('/')) || bild.name.contains(QLatin1Char('\\')) ||
                 bild.name.startsWith(QLatin1Char('.'))))
                Fuzzziele::gebrochen(format, "a picture name that leaves its folder");
        }
    }
}

void ablaufen(const char *format, const Fremdformat::Ergebnis &ergebnis)
{
    pruefen(format, ergebnis);
    if (ergebnis.fragen.isEmpty())
        return;
    // What is imported must load as a question file ...
    QDomDocument dokument;
    const QVector<QDomElement> elemente = Fremdformat::alsElemente(dokument, ergebnis.fragen);
    const FrageDatei::LadeErgebnis datei =
        FrageDatei::lesen(Fuzzziele::alsDatei("f.xml", FrageDatei::serialisieren(elemente)));
    if (!datei.ok() || datei.fragen.size() != elemente.size())
        Fuzzziele::gebrochen(format, "imported questions do not load as a question file");
    // ... and come back unchanged from the platform's XML format.
    const Fremdformat::Ergebnis zurueck = MoodleXml::lesen(MoodleXml::schreiben(datei.fragen, {}), false);
    pruefen(format, zurueck);
    if (zurueck.fragen.size() != ergebnis.fragen.size())
        Fuzzziele::gebrochen(format, "an exported question does not come back");
    for (qsizetype i = 0; i < zurueck.fragen.size(); ++i) {
        const Fremdformat::Frage &a = ergebnis.fragen.at(i);
        const Fremdformat::Frage &b = zurueck.fragen.at(i);
        if (a.text != b.text || a.antworten != b.antworten || a.richtig != b.richtig || a.punkte != b.punkte)
            Fuzzziele::gebrochen(format, "an exported question comes back changed");
    }
    pruefen(format, Gift::lesen(QString::fromUtf8(Gift::schreiben(datei.fragen)), false));
}

void lesen(const char *format, Fremdformat::Format art, const std::uint8_t *daten, std::size_t laenge)
{
    const QByteArray inhalt(reinterpret_cast<const char *>(daten), qsizetype(laenge));
    Fremdformat::erkennen(inhalt);
    ablaufen(format, Fremdformat::lesenAus(inhalt, art, false));
}

} // namespace

void Fuzzziele::moodleXml(const std::uint8_t *daten, std::size_t laenge)
{
    lesen("xml", Fremdformat::Format::MoodleXml, daten, laenge);
}

void Fuzzziele::gift(const std::uint8_t *daten, std::size_t laenge)
{
    lesen("gift", Fremdformat::Format::Gift, daten, laenge);
}

void Fuzzziele::aiken(const std::uint8_t *daten, std::size_t laenge)
{
    lesen("aiken", Fremdformat::Format::Aiken, daten, laenge);
}
