#include "fremdformat.h"

#include "aiken.h"
#include "bildpfad.h"
#include "fragedatei.h"
#include "fragenimport.h"
#include "gift.h"
#include "moodlexml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <utility>

namespace Fremdformat {

namespace {

QString alsText(const QByteArray &inhalt)
{
    QByteArray ohneBom = inhalt;
    if (ohneBom.startsWith("\xEF\xBB\xBF"))
        ohneBom.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(ohneBom);
    // Files saved by an old editor in a Latin-1 code page are read as such, as the spreadsheet import
    // does.
    return utf8.hasError() ? QString::fromLatin1(ohneBom) : text;
}

bool istBildInhalt(const QString &endung, const QByteArray &d)
{
    if (endung == QLatin1String("png"))
        return d.startsWith("\x89PNG\r\n\x1a\n");
    if (endung == QLatin1String("jpg") || endung == QLatin1String("jpeg"))
        return d.startsWith("\xFF\xD8\xFF");
    if (endung == QLatin1String("gif"))
        return d.startsWith("GIF87a") || d.startsWith("GIF89a");
    if (endung == QLatin1String("bmp"))
        return d.startsWith("BM");
    if (endung == QLatin1String("webp"))
        return d.startsWith("RIFF") && d.mid(8, 4) == "WEBP";
    return false;
}

// A name not yet taken in `ordner`, or the file that already holds these bytes.
QString freierName(const QDir &ordner, const Bild &bild, QHash<QString, QByteArray> &vergeben)
{
    const QFileInfo info(bild.name);
    const QString basis = info.completeBaseName();
    const QString endung = info.suffix();
    QString name = bild.name;
    for (int n = 2;; ++n) {
        const QString pfad = ordner.filePath(name);
        const auto bekannt = vergeben.constFind(name);
        if (bekannt != vergeben.constEnd()) {
            if (*bekannt == bild.daten)
                return name;
        } else if (!QFileInfo::exists(pfad)) {
            return name;
        } else {
            QFile vorhanden(pfad);
            if (vorhanden.size() == bild.daten.size() && vorhanden.open(QIODevice::ReadOnly) &&
                vorhanden.readAll() == bild.daten) {
                vergeben.insert(name, bild.daten);
                return name;
            }
        }
        name = QStringLiteral("%1 (%2).%3").arg(basis).arg(n).arg(endung);
    }
}

} // namespace

QString uebersprungen(bool englisch, int nummer, const QString &grund)
{
    return (englisch ? QStringLiteral("question %1 (%2)") : QStringLiteral("Frage %1 (%2)"))
        .arg(nummer)
        .arg(grund);
}

QString zeilenGrund(bool englisch, int zeile, const QString &grund)
{
    return (englisch ? QStringLiteral("line %1: %2") : QStringLiteral("Zeile %1: %2")).arg(zeile).arg(grund);
}

void aufnehmen(Ergebnis &ergebnis, Frage frage, int richtige, int nummer, bool englisch)
{
    // An answer without text and picture is no answer, as on the platforms.
    QStringList antworten;
    std::array<Bild, 5> bilder{frage.bilder.at(0)};
    int richtig = 0;
    for (qsizetype k = 0; k < frage.antworten.size(); ++k) {
        const Bild bild = k < 4 ? frage.bilder.at(k + 1) : Bild();
        if (frage.antworten.at(k).isEmpty() && bild.isEmpty()) {
            if (frage.richtig == k + 1)
                --richtige;
            continue;
        }
        if (antworten.size() < 4)
            bilder[antworten.size() + 1] = bild;
        antworten.append(frage.antworten.at(k));
        if (frage.richtig == k + 1)
            richtig = int(antworten.size());
    }
    frage.antworten = antworten;
    frage.bilder = bilder;
    frage.richtig = richtig;
    const int n = int(frage.antworten.size());
    QString grund;
    if (n > 4)
        grund =
            (englisch ? QStringLiteral("%1 answers, at most 4") : QStringLiteral("%1 Antworten, höchstens 4"))
                .arg(n);
    else if (n < 2)
        grund =
            (englisch ? QStringLiteral("%1 answer, at least 2") : QStringLiteral("%1 Antwort, mindestens 2"))
                .arg(n);
    else if (richtige > 1)
        grund = text(englisch, "mehrere richtige Antworten", "several correct answers");
    else if (frage.text.trimmed().isEmpty() && frage.bilder.at(0).isEmpty())
        grund = text(englisch, "ohne Fragetext", "no question text");
    if (!grund.isEmpty()) {
        ergebnis.uebersprungen.append(uebersprungen(englisch, nummer, grund));
        return;
    }
    ergebnis.fragen.append(std::move(frage));
}

void typUeberspringen(Ergebnis &ergebnis, const QString &typ, int nummer, bool englisch)
{
    // The platforms' names of their types as a teacher reads them; an unknown one as the file has it.
    static const QHash<QString, std::pair<const char *, const char *>> Namen{
        {QStringLiteral("essay"), {"Freitext", "essay"}},
        {QStringLiteral("matching"), {"Zuordnung", "matching"}},
        {QStringLiteral("randomsamatch"), {"Zuordnung", "matching"}},
        {QStringLiteral("numerical"), {"Zahl", "numerical"}},
        {QStringLiteral("calculated"), {"Zahl", "numerical"}},
        {QStringLiteral("calculatedsimple"), {"Zahl", "numerical"}},
        {QStringLiteral("shortanswer"), {"Kurzantwort", "short answer"}},
        {QStringLiteral("cloze"), {"Lückentext", "cloze"}},
        {QStringLiteral("multianswer"), {"Lückentext", "cloze"}},
        {QStringLiteral("gapselect"), {"Lückentext", "cloze"}},
        {QStringLiteral("ddwtos"), {"Lückentext", "cloze"}},
        {QStringLiteral("description"), {"Beschreibung", "description"}},
    };
    const auto name = Namen.constFind(typ.toLower());
    ergebnis.uebersprungen.append(
        uebersprungen(englisch, nummer,
                      text(englisch, "Typ ", "type ") +
                          (name == Namen.constEnd() ? typ : text(englisch, name->first, name->second))));
}

Format erkennen(const QByteArray &inhalt)
{
    const QString anfang = alsText(inhalt.left(256 * 1024));
    const QString kopf = anfang.trimmed().left(4096);
    if (kopf.startsWith(QLatin1Char('<'))) {
        if (kopf.contains(QLatin1String("<quiz")))
            return Format::MoodleXml;
        if (kopf.contains(QLatin1String("<ArrayOfQuestion")) || kopf.contains(QLatin1String("<Question")))
            return Format::FrageDatei;
        return Format::Unbekannt;
    }
    static const QRegularExpression Antwortzeile(
        QStringLiteral("(^|\\n)[ \\t]*ANSWER[ \\t]*:[ \\t]*[A-Za-z][ \\t]*(\\r?\\n|$)"));
    static const QRegularExpression Auswahl(QStringLiteral("(^|\\n)[ \\t]*[A-Z][.)][ \\t]"));
    if (anfang.contains(Antwortzeile) && anfang.contains(Auswahl))
        return Format::Aiken;
    static const QRegularExpression Klammer(QStringLiteral("\\{\\s*([=~#}]|(T|F|TRUE|FALSE)\\s*[#}])"));
    static const QRegularExpression Zeile(QStringLiteral("(^|\\n)[ \\t]*(::|//|\\$CATEGORY:)"));
    if (anfang.contains(Klammer) || anfang.contains(Zeile))
        return Format::Gift;
    return anfang.trimmed().isEmpty() ? Format::Unbekannt : Format::Tabelle;
}

Bild bild(const QString &name, const QByteArray &daten)
{
    // Only the last part of the name counts, and only letters that are safe on every system.
    QString sauber = name.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    sauber.replace(QRegularExpression(QStringLiteral("[^\\w .()+-]")), QStringLiteral("_"));
    sauber = sauber.trimmed().left(100);
    const QString endung = QFileInfo(sauber).suffix().toLower();
    if (sauber.startsWith(QLatin1Char('.')) || !istBildInhalt(endung, daten))
        return {};
    return {sauber, daten};
}

QString Ergebnis::bericht(bool englisch, int hoechstens) const
{
    if (!fehler.isEmpty())
        return fehler;
    QStringList liste = uebersprungen;
    if (hoechstens >= 0 && liste.size() > hoechstens) {
        const qsizetype mehr = liste.size() - hoechstens;
        liste.resize(hoechstens);
        liste.append((englisch ? QStringLiteral("and %1 more") : QStringLiteral("und %1 weitere")).arg(mehr));
    }
    if (fragen.isEmpty())
        return text(englisch,
                    "Keine der Fragen lässt sich übernehmen: ", "None of the questions can be imported: ") +
               (liste.isEmpty()
                    ? text(englisch, "die Datei enthält keine Fragen.", "the file contains no questions.")
                    : liste.join(QStringLiteral(", ")));
    const int n = int(fragen.size());
    const QString satz = englisch ? (n == 1 ? QStringLiteral("1 question imported")
                                            : QStringLiteral("%1 questions imported").arg(n))
                                  : (n == 1 ? QStringLiteral("1 Frage übernommen")
                                            : QStringLiteral("%1 Fragen übernommen").arg(n));
    if (liste.isEmpty())
        return satz + QLatin1Char('.');
    return satz +
           (englisch ? QStringLiteral(", %1 skipped: ") : QStringLiteral(", %1 übersprungen: "))
               .arg(uebersprungen.size()) +
           liste.join(QStringLiteral(", "));
}

Ergebnis lesenAus(const QByteArray &inhalt, Format format, bool englisch)
{
    Ergebnis ergebnis;
    switch (format) {
    case Format::MoodleXml:
        ergebnis = MoodleXml::lesen(inhalt, englisch);
        break;
    case Format::Gift:
        ergebnis = Gift::lesen(alsText(inhalt), englisch);
        break;
    case Format::Aiken:
        ergebnis = Aiken::lesen(alsText(inhalt), englisch);
        break;
    default:
        ergebnis.fehler =
            text(englisch,
                 "Die Datei ist weder eine Tabelle noch eine Fragensammlung im XML-Format der "
                 "Lernplattform, in GIFT oder in Aiken.",
                 "The file is neither a table nor a question bank in the learning platform's XML "
                 "format, in GIFT or in Aiken.");
        return ergebnis;
    }
    // A question file holds a thousand questions; what lies beyond is said, never dropped silently.
    if (ergebnis.fragen.size() > FrageDatei::MaxFragen) {
        const int mehr = int(ergebnis.fragen.size()) - FrageDatei::MaxFragen;
        ergebnis.fragen.resize(FrageDatei::MaxFragen);
        ergebnis.uebersprungen.append(
            (englisch ? QStringLiteral("%1 more (a question file holds at most %2 questions)")
                      : QStringLiteral("%1 weitere (eine Fragedatei fasst höchstens %2 Fragen)"))
                .arg(mehr)
                .arg(FrageDatei::MaxFragen));
    }
    return ergebnis;
}

Ergebnis lesen(const QString &pfad, bool englisch, Format *format)
{
    // The question reader's own checks and messages: a missing file, an unreadable one, one too large.
    FrageDatei::LadeErgebnis pruefung;
    Ergebnis ergebnis;
    if (format)
        *format = Format::Unbekannt;
    QFile datei(pfad);
    const QFileInfo info(pfad);
    if (pfad.isEmpty() || !info.exists())
        pruefung.fehler = FrageDatei::LadeErgebnis::Fehler::DateiFehlt;
    else if (!info.isFile() || !datei.open(QIODevice::ReadOnly)) {
        pruefung.fehler = FrageDatei::LadeErgebnis::Fehler::NichtLesbar;
        pruefung.grund = info.isFile() ? datei.errorString() : QStringLiteral("not a file");
    } else if ((pruefung.groesse = datei.size()) > FrageDatei::MaxDateigroesse) {
        pruefung.fehler = FrageDatei::LadeErgebnis::Fehler::ZuGross;
    }
    if (!pruefung.ok()) {
        ergebnis.fehler = pruefung.beschreibung(englisch);
        return ergebnis;
    }
    const QByteArray inhalt = datei.read(FrageDatei::MaxDateigroesse + 1);
    if (inhalt.size() > FrageDatei::MaxDateigroesse) {
        pruefung.fehler = FrageDatei::LadeErgebnis::Fehler::ZuGross;
        pruefung.groesse = inhalt.size();
        ergebnis.fehler = pruefung.beschreibung(englisch);
        return ergebnis;
    }
    // Random bytes would read as a table of junk in a legacy code page; they are refused first.
    ergebnis.fehler = FragenImport::keinText(inhalt, englisch);
    if (!ergebnis.fehler.isEmpty())
        return ergebnis;
    const Format erkannt = erkennen(inhalt);
    if (format)
        *format = erkannt;
    if (erkannt == Format::Tabelle || erkannt == Format::FrageDatei)
        return ergebnis;
    return lesenAus(inhalt, erkannt, englisch);
}

QVector<QDomElement> alsElemente(QDomDocument &dokument, const QVector<Frage> &fragen,
                                 const QVector<std::array<QString, 5>> &bildpfade)
{
    QVector<QDomElement> elemente;
    elemente.reserve(fragen.size());
    for (qsizetype i = 0; i < fragen.size(); ++i) {
        const Frage &frage = fragen.at(i);
        const std::array<QString, 5> pfade = bildpfade.value(i);
        const QString loesung =
            frage.richtig > 0 ? QStringLiteral("Answer%1").arg(frage.richtig) : FrageDatei::Umfrage;
        elemente.append(FragenImport::frageElement(dokument, QStringList{frage.text} + frage.antworten,
                                                   loesung, StandardZeit, frage.punkte,
                                                   QStringList(pfade.begin(), pfade.end())));
    }
    return elemente;
}

SchreibErgebnis uebernehmen(const Ergebnis &ergebnis, const QString &ziel, QString *fehler)
{
    if (ergebnis.fragen.isEmpty())
        return {ziel, QStringLiteral("no questions")};
    const QDir ordner = QFileInfo(ziel).absoluteDir();
    QHash<QString, QByteArray> vergeben;
    QVector<std::array<QString, 5>> bildpfade(ergebnis.fragen.size());
    for (qsizetype i = 0; i < ergebnis.fragen.size(); ++i) {
        for (int k = 0; k < 5; ++k) {
            const Bild &bild = ergebnis.fragen.at(i).bilder.at(k);
            if (bild.isEmpty())
                continue;
            const QString name = freierName(ordner, bild, vergeben);
            const QString pfad = ordner.filePath(name);
            if (!vergeben.contains(name)) {
                const SchreibErgebnis geschrieben = BenutzerDatei::schreiben(pfad, bild.daten);
                if (!geschrieben) {
                    if (fehler)
                        *fehler = geschrieben.meldung();
                    return geschrieben;
                }
                vergeben.insert(name, bild.daten);
            }
            bildpfade[i][k] = BildPfad::relativerBildPfad(QFileInfo(ziel).absoluteFilePath(), pfad);
        }
    }
    QDomDocument dokument(QStringLiteral("ArrayOfQuestion"));
    return FrageDatei::schreiben(ziel, alsElemente(dokument, ergebnis.fragen, bildpfade), fehler);
}

bool umwandeln(const QString &quelle, const QString &ziel, bool englisch, QString *bericht)
{
    // A teacher converting a folder must not lose a file to a name given twice.
    if (QFileInfo::exists(ziel)) {
        *bericht = text(englisch, "%1 gibt es schon; eine Umwandlung schreibt nie über eine Datei.",
                        "%1 exists already; a conversion never writes over a file.")
                       .arg(QDir::toNativeSeparators(ziel));
        return false;
    }
    Format format = Format::Unbekannt;
    const Ergebnis ergebnis = lesen(quelle, englisch, &format);
    QString fehler;
    if (format == Format::FrageDatei) {
        *bericht = text(englisch, "%1 ist schon eine Fragedatei.", "%1 is a question file already.")
                       .arg(QDir::toNativeSeparators(quelle));
        return false;
    }
    if (format == Format::Tabelle) {
        const FragenImport::Ergebnis tabelle = FragenImport::lesen(quelle, englisch);
        Ergebnis gezaehlt; // the spreadsheet's questions counted, its bad lines as the skipped ones
        gezaehlt.fragen.resize(tabelle.fragen.size());
        gezaehlt.uebersprungen = tabelle.fehler;
        gezaehlt.fehler = tabelle.lesefehler;
        *bericht = gezaehlt.bericht(englisch);
        if (tabelle.fragen.isEmpty() || !tabelle.lesefehler.isEmpty())
            return false;
        if (!FrageDatei::schreiben(ziel, tabelle.fragen, &fehler)) {
            *bericht += QLatin1Char('\n') + fehler;
            return false;
        }
        return true;
    }
    if (!ergebnis.fehler.isEmpty()) {
        *bericht = ergebnis.fehler;
        return false;
    }
    *bericht = ergebnis.bericht(englisch);
    if (ergebnis.fragen.isEmpty())
        return false;
    if (!uebernehmen(ergebnis, ziel, &fehler)) {
        *bericht += QLatin1Char('\n') + fehler;
        return false;
    }
    return true;
}

Export exportieren(const QVector<QDomElement> &fragen, const QString &frageDatei, const QString &ziel,
                   bool englisch)
{
    const QString endung = QFileInfo(ziel).suffix().toLower();
    const bool gift = endung == QLatin1String("gift") || endung == QLatin1String("txt");
    Export ergebnis{BenutzerDatei::schreiben(ziel, gift ? Gift::schreiben(fragen)
                                                        : MoodleXml::schreiben(fragen, frageDatei)),
                    {}};
    if (!ergebnis.geschrieben)
        return ergebnis;
    int mitBild = 0;
    int mitPunkten = 0;
    int mitRunden = 0;
    int mitNotizen = 0;
    for (const QDomElement &frage : fragen) {
        bool bild = false;
        for (const QString &feld : {QStringLiteral("PictureQuestionText"), QStringLiteral("PictureAnswer1"),
                                    QStringLiteral("PictureAnswer2"), QStringLiteral("PictureAnswer3"),
                                    QStringLiteral("PictureAnswer4")})
            bild = bild || !FrageDatei::feld(frage, feld).isEmpty();
        mitBild += bild;
        // Without points a question counts as one in the game, as GIFT brings it back.
        mitPunkten += !FrageDatei::feld(frage, QStringLiteral("Points")).trimmed().isEmpty() &&
                      FrageDatei::zahl(frage, QStringLiteral("Points")) != StandardPunkte;
        mitRunden += FrageDatei::runden(frage) == 2;
        mitNotizen += !FrageDatei::notizen(frage).trimmed().isEmpty();
    }
    // Neither format knows a second vote or the presenter's notes; a teacher who moves the questions
    // elsewhere and back would lose them without a word.
    const QString format = gift ? QStringLiteral("GIFT") : QStringLiteral("Moodle XML");
    if (mitRunden > 0)
        ergebnis.verloren.append(
            text(englisch,
                 "%1 kennt keine zweite Abstimmung; sie fehlt im Export (Fragen mit zwei Runden: %2).",
                 "%1 has no second vote; it is not in the export (questions with two rounds: %2).")
                .arg(format)
                .arg(mitRunden));
    if (mitNotizen > 0)
        ergebnis.verloren.append(
            text(englisch, "%1 kennt keine Notizen; sie fehlen im Export (Fragen mit Notizen: %2).",
                 "%1 has no notes; they are not in the export (questions with notes: %2).")
                .arg(format)
                .arg(mitNotizen));
    if (!gift)
        return ergebnis;
    if (mitBild > 0)
        ergebnis.verloren.append(
            text(englisch, "GIFT kann keine Bilder aufnehmen; sie fehlen im Export (Fragen mit Bild: %1).",
                 "GIFT cannot hold pictures; they are not in the export (questions with pictures: %1).")
                .arg(mitBild));
    if (mitPunkten > 0)
        ergebnis.verloren.append(
            text(englisch,
                 "GIFT kann keine Punkte je Frage aufnehmen; nach einem Import zählt jede Frage %2 "
                 "Punkt (Fragen mit anderen Punkten: %1).",
                 "GIFT cannot hold points per question; after an import every question counts %2 "
                 "point (questions with other points: %1).")
                .arg(mitPunkten)
                .arg(StandardPunkte));
    return ergebnis;
}

} // namespace Fremdformat
