#include "moodlexml.h"

#include "bildpfad.h"
#include "fragedatei.h"
#include "fremdtext.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QXmlStreamWriter>

#include <cmath>

namespace MoodleXml {

namespace {

using Fremdformat::Bild;

const QString Einbettung = QStringLiteral("@@PLUGINFILE@@/");
// A picture larger than this is not embedded: a platform refuses such files anyway.
constexpr qint64 MaxBild = 10 * 1024 * 1024;

// The text of an element that carries a format, a <text> and perhaps embedded <file>s (question
// text, answer), and its first embedded picture.
QString textLesen(const QDomElement &element, Bild *bild)
{
    QStringList quellen;
    const QString text =
        FremdText::klartext(element.firstChildElement(QStringLiteral("text")).text(),
                            FremdText::quelle(element.attribute(QStringLiteral("format"))), &quellen);
    for (const QString &quelle : std::as_const(quellen)) {
        if (!bild || !bild->isEmpty() || !quelle.startsWith(Einbettung))
            continue;
        const QString name = QUrl::fromPercentEncoding(quelle.mid(Einbettung.size()).toUtf8());
        for (QDomElement datei = element.firstChildElement(QStringLiteral("file")); !datei.isNull();
             datei = datei.nextSiblingElement(QStringLiteral("file"))) {
            const QString pfad = datei.attribute(QStringLiteral("path"), QStringLiteral("/")).mid(1) +
                                 datei.attribute(QStringLiteral("name"));
            if (pfad == name && datei.attribute(QStringLiteral("encoding")) == QLatin1String("base64")) {
                *bild = Fremdformat::bild(datei.attribute(QStringLiteral("name")),
                                          QByteArray::fromBase64(datei.text().toLatin1()));
                break;
            }
        }
    }
    return FremdText::fuerFrageDatei(text.trimmed());
}

double bruchteil(const QDomElement &antwort)
{
    bool ok = false;
    const double wert = antwort.attribute(QStringLiteral("fraction")).toDouble(&ok);
    return ok && std::isfinite(wert) ? wert : 0.0;
}

int punkte(const QDomElement &frage)
{
    bool ok = false;
    const double wert =
        frage.firstChildElement(QStringLiteral("defaultgrade")).text().trimmed().toDouble(&ok);
    if (!ok || wert < 0 || wert > 1000 || wert != std::floor(wert))
        return Fremdformat::StandardPunkte;
    return int(wert);
}

// The question's stored pictures, read for embedding; a picture that cannot be read is left out.
Bild bildLesen(const QString &gespeichert, const QString &frageDatei)
{
    if (gespeichert.isEmpty())
        return {};
    const QString pfad = BildPfad::bildPfadAufloesen(gespeichert, frageDatei).lokalerPfad;
    QFile datei(pfad);
    if (!BildPfad::istBilddatei(pfad) || datei.size() > MaxBild || !datei.open(QIODevice::ReadOnly))
        return {};
    return Fremdformat::bild(QFileInfo(pfad).fileName(), datei.read(MaxBild));
}

// Into the open element (question text, answer): the format, the text as HTML and its picture.
void textSchreiben(QXmlStreamWriter &xml, const QString &text, const Bild &bild)
{
    QString html =
        QStringLiteral("<p>") + FremdText::alsHtml(FremdText::saeubern(text)) + QStringLiteral("</p>");
    if (!bild.isEmpty())
        html += QStringLiteral("<p><img src=\"%1%2\" alt=\"\"></p>")
                    .arg(Einbettung, QString::fromUtf8(QUrl::toPercentEncoding(bild.name)));
    xml.writeAttribute(QStringLiteral("format"), QStringLiteral("html"));
    xml.writeTextElement(QStringLiteral("text"), html);
    if (!bild.isEmpty()) {
        xml.writeStartElement(QStringLiteral("file"));
        xml.writeAttribute(QStringLiteral("name"), bild.name);
        xml.writeAttribute(QStringLiteral("path"), QStringLiteral("/"));
        xml.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
        xml.writeCharacters(QString::fromLatin1(bild.daten.toBase64()));
        xml.writeEndElement();
    }
}

} // namespace

Fremdformat::Ergebnis lesen(const QByteArray &inhalt, bool englisch)
{
    Fremdformat::Ergebnis ergebnis;
    QDomDocument dokument;
    FrageDatei::LadeErgebnis pruefung;
    if (!dokument.setContent(inhalt, false, &pruefung.grund, &pruefung.zeile, &pruefung.spalte)) {
        pruefung.fehler = FrageDatei::LadeErgebnis::Fehler::KeinXml;
        ergebnis.fehler = pruefung.beschreibung(englisch);
        return ergebnis;
    }
    const QDomElement quiz = dokument.documentElement();
    if (quiz.tagName() != QLatin1String("quiz")) {
        ergebnis.fehler = Fremdformat::zeilenGrund(
            englisch, quiz.lineNumber(),
            Fremdformat::text(englisch, "das Element <quiz> fehlt", "the element <quiz> is missing"));
        return ergebnis;
    }
    int nummer = 0;
    for (QDomElement element = quiz.firstChildElement(QStringLiteral("question")); !element.isNull();
         element = element.nextSiblingElement(QStringLiteral("question"))) {
        const QString typ = element.attribute(QStringLiteral("type"));
        if (typ == QLatin1String("category"))
            continue;
        ++nummer;
        if (typ != QLatin1String("multichoice") && typ != QLatin1String("truefalse")) {
            Fremdformat::typUeberspringen(ergebnis, typ.isEmpty() ? QStringLiteral("?") : typ.left(40),
                                          nummer, englisch);
            continue;
        }
        Fremdformat::Frage frage;
        frage.text = textLesen(element.firstChildElement(QStringLiteral("questiontext")), &frage.bilder[0]);
        frage.punkte = punkte(element);
        int richtige = 0;
        for (QDomElement antwort = element.firstChildElement(QStringLiteral("answer")); !antwort.isNull();
             antwort = antwort.nextSiblingElement(QStringLiteral("answer"))) {
            const qsizetype k = frage.antworten.size();
            Bild bild;
            QString text = textLesen(antwort, &bild);
            if (k < 4)
                frage.bilder[k + 1] = bild;
            if (typ == QLatin1String("truefalse"))
                text = text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0
                           ? Fremdformat::text(englisch, "Wahr", "True")
                           : Fremdformat::text(englisch, "Falsch", "False");
            frage.antworten.append(text);
            if (bruchteil(antwort) > 0) {
                ++richtige;
                frage.richtig = int(k) + 1;
            }
        }
        Fremdformat::aufnehmen(ergebnis, std::move(frage), richtige, nummer, englisch);
    }
    return ergebnis;
}

QByteArray schreiben(const QVector<QDomElement> &fragen, const QString &frageDatei)
{
    QByteArray aus;
    QXmlStreamWriter xml(&aus);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("quiz"));
    int nummer = 0;
    for (const QDomElement &frage : fragen) {
        ++nummer;
        const QString text = FrageDatei::feld(frage, QStringLiteral("QuestionText"));
        const int richtig = FrageDatei::richtigerKnopf(FrageDatei::feld(frage, FrageDatei::Loesung));
        int anzahl = 0;
        for (int k = 1; k <= 4; ++k) {
            if (!FrageDatei::feld(frage, QStringLiteral("Answer%1").arg(k)).isEmpty() ||
                !FrageDatei::feld(frage, QStringLiteral("PictureAnswer%1").arg(k)).isEmpty())
                anzahl = k;
        }
        xml.writeStartElement(QStringLiteral("question"));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("multichoice"));
        xml.writeStartElement(QStringLiteral("name"));
        // The bank lists questions by name: the start of the text, never half a character.
        QString name = FremdText::klartext(text, FremdText::Quelle::AutoFormat).simplified().left(60);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
        xml.writeTextElement(
            QStringLiteral("text"),
            FremdText::saeubern(name.isEmpty() ? QStringLiteral("Frage %1").arg(nummer) : name));
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("questiontext"));
        textSchreiben(xml, text,
                      bildLesen(FrageDatei::feld(frage, QStringLiteral("PictureQuestionText")), frageDatei));
        xml.writeEndElement();
        xml.writeTextElement(QStringLiteral("defaultgrade"),
                             QString::number(FrageDatei::zahl(frage, QStringLiteral("Points"))));
        xml.writeTextElement(QStringLiteral("single"), QStringLiteral("true"));
        xml.writeTextElement(QStringLiteral("shuffleanswers"), QStringLiteral("0"));
        xml.writeTextElement(QStringLiteral("answernumbering"), QStringLiteral("ABCD"));
        for (int k = 1; k <= anzahl; ++k) {
            xml.writeStartElement(QStringLiteral("answer"));
            xml.writeAttribute(QStringLiteral("fraction"),
                               k == richtig ? QStringLiteral("100") : QStringLiteral("0"));
            textSchreiben(
                xml, FrageDatei::feld(frage, QStringLiteral("Answer%1").arg(k)),
                bildLesen(FrageDatei::feld(frage, QStringLiteral("PictureAnswer%1").arg(k)), frageDatei));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return aus;
}

} // namespace MoodleXml
