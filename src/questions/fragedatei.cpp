#include "fragedatei.h"

#include "produkt.h"

#include <QDebug>
#include <QDomNamedNodeMap>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace FrageDatei {

namespace {

const QString Zeilenende = QStringLiteral("\r\n");

const QStringList TextFelder{QStringLiteral("QuestionText"), QStringLiteral("Answer1"),
                             QStringLiteral("Answer2"), QStringLiteral("Answer3"), QStringLiteral("Answer4")};

QString kopf()
{
    // The header lines end in a lone CR, the element lines in CR LF: files out there look like
    // this and other tools compare them byte for byte.
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r<!--Erstellt von Plenaro ") +
           QLatin1String(Produkt::WebDomain) +
           QStringLiteral("-->\r<ArrayOfQuestion xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                          "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\r");
}

const QString Ende = QStringLiteral("</ArrayOfQuestion>");

// Every line break, whatever its form, becomes CR LF; so a CR LF read back never turns into
// CR CR LF.
QString zeilenendenVereinheitlichen(const QString &text)
{
    QString ergebnis;
    ergebnis.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            ergebnis += Zeilenende;
        } else if (c == QLatin1Char('\n')) {
            ergebnis += Zeilenende;
        } else {
            ergebnis += c;
        }
    }
    return ergebnis;
}

QString textMaskieren(const QString &text)
{
    QString ergebnis;
    ergebnis.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&'))
            ergebnis += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            ergebnis += QLatin1String("&lt;");
        else if (c == QLatin1Char('>') && ergebnis.endsWith(QLatin1String("]]")))
            ergebnis += QLatin1String("&gt;");
        else
            ergebnis += c;
    }
    return zeilenendenVereinheitlichen(ergebnis);
}

QString attributMaskieren(const QString &wert)
{
    QString ergebnis;
    for (const QChar c : wert) {
        switch (c.unicode()) {
        case '&':
            ergebnis += QLatin1String("&amp;");
            break;
        case '<':
            ergebnis += QLatin1String("&lt;");
            break;
        case '>':
            ergebnis += QLatin1String("&gt;");
            break;
        case '"':
            ergebnis += QLatin1String("&quot;");
            break;
        case '\n':
            ergebnis += QLatin1String("&#xa;");
            break;
        case '\r':
            ergebnis += QLatin1String("&#xd;");
            break;
        case '\t':
            ergebnis += QLatin1String("&#x9;");
            break;
        default:
            ergebnis += c;
        }
    }
    return ergebnis;
}

QString attribute(const QDomElement &element)
{
    // The DOM keeps attributes unordered; sorting keeps repeated saves byte-identical.
    const QDomNamedNodeMap map = element.attributes();
    QVector<QDomAttr> liste;
    for (int i = 0; i < map.count(); ++i)
        liste.append(map.item(i).toAttr());
    std::sort(liste.begin(), liste.end(),
              [](const QDomAttr &a, const QDomAttr &b) { return a.name() < b.name(); });
    QString ergebnis;
    for (const QDomAttr &attr : liste)
        ergebnis += QLatin1Char(' ') + attr.name() + QLatin1String("=\"") + attributMaskieren(attr.value()) +
                    QLatin1Char('"');
    return ergebnis;
}

bool nurText(const QDomNodeList &kinder)
{
    for (int i = 0; i < kinder.count(); ++i) {
        const QDomNode kind = kinder.at(i);
        if (!kind.isText() && !kind.isCDATASection())
            return false;
    }
    return true;
}

QString inhalt(const QDomNode &kind)
{
    if (kind.isCDATASection())
        return QLatin1String("<![CDATA[") + zeilenendenVereinheitlichen(kind.nodeValue()) +
               QLatin1String("]]>");
    return textMaskieren(kind.nodeValue());
}

void elementSchreiben(QString &aus, const QDomElement &element, int tiefe)
{
    const QString einzug(tiefe, QLatin1Char(' '));
    aus += einzug + QLatin1Char('<') + element.tagName() + attribute(element);
    const QDomNodeList kinder = element.childNodes();
    if (kinder.isEmpty()) {
        aus += QLatin1String("/>") + Zeilenende;
        return;
    }
    if (nurText(kinder)) {
        aus += QLatin1Char('>');
        for (int i = 0; i < kinder.count(); ++i)
            aus += inhalt(kinder.at(i));
        aus += QLatin1String("</") + element.tagName() + QLatin1Char('>') + Zeilenende;
        return;
    }
    aus += QLatin1Char('>') + Zeilenende;
    const QString kindEinzug(tiefe + 1, QLatin1Char(' '));
    for (int i = 0; i < kinder.count(); ++i) {
        const QDomNode kind = kinder.at(i);
        if (kind.isElement())
            elementSchreiben(aus, kind.toElement(), tiefe + 1);
        else if (kind.isComment())
            aus += kindEinzug + QLatin1String("<!--") + kind.nodeValue() + QLatin1String("-->") + Zeilenende;
        else if (kind.isText() || kind.isCDATASection())
            aus += kindEinzug + inhalt(kind) + Zeilenende;
    }
    aus += einzug + QLatin1String("</") + element.tagName() + QLatin1Char('>') + Zeilenende;
}

void wagenruecklaufEntfernen(QDomElement &frage)
{
    for (const QString &name : TextFelder) {
        QDomElement feldElement = frage.firstChildElement(name);
        if (feldElement.isNull() || feldElement.firstChild().isNull())
            continue;
        const QString text = feldElement.text();
        if (!text.contains(QLatin1Char('\r')))
            continue;
        while (!feldElement.firstChild().isNull())
            feldElement.removeChild(feldElement.firstChild());
        QString ohne = text;
        ohne.remove(QLatin1Char('\r'));
        feldElement.appendChild(feldElement.ownerDocument().createTextNode(ohne));
    }
}

bool speichern(const QString &pfad, const QByteArray &inhalt, QString *fehler)
{
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly)) {
        qDebug() << "Failed to open file for writing.";
        if (fehler)
            *fehler = datei.errorString();
        return false;
    }
    if (datei.write(inhalt) != inhalt.size() || !datei.commit()) {
        qDebug() << "Failed to write file:" << datei.errorString();
        if (fehler)
            *fehler = datei.errorString();
        return false;
    }
    return true;
}

} // namespace

QString LadeErgebnis::beschreibung(bool englisch) const
{
    switch (fehler) {
    case Fehler::Keiner:
        return {};
    case Fehler::DateiFehlt:
        return englisch ? QStringLiteral("The file does not exist.")
                        : QStringLiteral("Die Datei existiert nicht.");
    case Fehler::NichtLesbar:
        return (englisch ? QStringLiteral("The file cannot be read: %1")
                         : QStringLiteral("Die Datei kann nicht gelesen werden: %1"))
            .arg(grund);
    case Fehler::KeinXml:
        return (englisch
                    ? QStringLiteral(
                          "The file is not a valid question file (XML error in line %1, column %2: %3).")
                    : QStringLiteral(
                          "Die Datei ist keine gültige Fragedatei (XML-Fehler in Zeile %1, Spalte %2: %3)."))
            .arg(zeile)
            .arg(spalte)
            .arg(grund);
    case Fehler::KeineFragen:
        return englisch ? QStringLiteral("The file contains no questions.")
                        : QStringLiteral("Die Datei enthält keine Fragen.");
    }
    return {};
}

LadeErgebnis lesen(const QString &pfad)
{
    LadeErgebnis ergebnis;
    QFile datei(pfad);
    if (pfad.isEmpty() || !QFileInfo::exists(pfad)) {
        ergebnis.fehler = LadeErgebnis::Fehler::DateiFehlt;
        return ergebnis;
    }
    if (!QFileInfo(pfad).isFile() || !datei.open(QIODevice::ReadOnly)) {
        ergebnis.fehler = LadeErgebnis::Fehler::NichtLesbar;
        ergebnis.grund = QFileInfo(pfad).isFile() ? datei.errorString() : QStringLiteral("not a file");
        return ergebnis;
    }
    if (!ergebnis.dokument.setContent(&datei, false, &ergebnis.grund, &ergebnis.zeile, &ergebnis.spalte)) {
        ergebnis.fehler = LadeErgebnis::Fehler::KeinXml;
        ergebnis.dokument.clear();
        return ergebnis;
    }
    const QDomNodeList fragen = ergebnis.dokument.elementsByTagName(QStringLiteral("Question"));
    const int anzahl = std::min(fragen.count(), MaxFragen);
    ergebnis.weggelassen = fragen.count() - anzahl;
    if (ergebnis.weggelassen > 0)
        qWarning() << pfad << "holds" << fragen.count() << "questions; only the first" << MaxFragen
                   << "are used";
    ergebnis.fragen.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i) {
        QDomElement frage = fragen.at(i).toElement();
        wagenruecklaufEntfernen(frage);
        ergebnis.fragen.append(frage);
    }
    if (ergebnis.fragen.isEmpty()) {
        ergebnis.fehler = LadeErgebnis::Fehler::KeineFragen;
        ergebnis.dokument.clear();
    }
    return ergebnis;
}

QString feld(const QDomNode &frage, const QString &name)
{
    return frage.firstChildElement(name).text();
}

int zahl(const QDomNode &frage, const QString &name)
{
    bool ok = false;
    const int wert = feld(frage, name).trimmed().toInt(&ok, 10);
    return ok ? wert : 0;
}

int richtigerKnopf(const QString &loesung)
{
    static const QLatin1String Vorsilbe("Answer");
    if (loesung.size() != Vorsilbe.size() + 1 || !loesung.startsWith(Vorsilbe))
        return 0;
    const char16_t ziffer = loesung.back().unicode();
    return ziffer >= u'1' && ziffer <= u'4' ? int(ziffer - u'0') : 0;
}

QByteArray serialisieren(const QVector<QDomElement> &fragen)
{
    QString aus = kopf();
    for (const QDomElement &frage : fragen)
        elementSchreiben(aus, frage, 1);
    aus += Ende;
    return aus.toUtf8();
}

QByteArray neueDatei()
{
    return (kopf() +
            QStringLiteral("<Question><QuestionText></QuestionText><Answer1></Answer1><Answer2></Answer2>"
                           "<Answer3></Answer3><Answer4></Answer4><PictureQuestionText></PictureQuestionText>"
                           "<PictureAnswer1></PictureAnswer1><PictureAnswer2></PictureAnswer2>"
                           "<PictureAnswer3></PictureAnswer3><PictureAnswer4></PictureAnswer4>"
                           "<AnswerDelay>0</AnswerDelay><Solution>NoAnswer</Solution><Time>15</Time>"
                           "<Points>1</Points></Question>") +
            Ende)
        .toUtf8();
}

bool schreiben(const QString &pfad, const QVector<QDomElement> &fragen, QString *fehler)
{
    return speichern(pfad, serialisieren(fragen), fehler);
}

bool neueDateiSchreiben(const QString &pfad, QString *fehler)
{
    return speichern(pfad, neueDatei(), fehler);
}

} // namespace FrageDatei
