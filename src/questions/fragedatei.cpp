#include "fragedatei.h"

#include "einstellungen.h"
#include "produkt.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDomNamedNodeMap>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>

namespace FrageDatei {

namespace {

const QString Zeilenende = QStringLiteral("\r\n");

const QStringList TextFelder{QStringLiteral("QuestionText"), QStringLiteral("Answer1"),
                             QStringLiteral("Answer2"),      QStringLiteral("Answer3"),
                             QStringLiteral("Answer4"),      QStringLiteral("Notizen")};

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

QString textMaskieren(const QString &text, bool crAlsReferenz)
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
        else if (c == QLatin1Char('\r') && crAlsReferenz)
            ergebnis += QLatin1String("&#13;");
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

// White space as XML knows it: the reader drops text made only of it, unless a character reference
// wrote some of it. Other blanks (a no-break space) are content like any letter.
bool nurLeerraum(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
               c == QLatin1Char('\n');
    });
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

// Text beside elements: indenting the elements would add blanks and line breaks to that text.
bool gemischt(const QDomNodeList &kinder)
{
    for (int i = 0; i < kinder.count(); ++i) {
        const QDomNode kind = kinder.at(i);
        if ((kind.isText() || kind.isCDATASection()) && !nurLeerraum(kind.nodeValue()))
            return true;
    }
    return false;
}

// Text fields lose their carriage returns on reading, so a CR seen here was not there at the
// start; anywhere else a lone CR is content and must come back as CR, not as a line break.
// Text of white space only (an answer that is a single blank) is written as character references:
// written as it is, the reader would drop it.
QString inhalt(const QDomNode &kind)
{
    const QString wert = kind.nodeValue();
    if (kind.isCDATASection() && !wert.contains(QLatin1Char('\r')))
        return QLatin1String("<![CDATA[") + zeilenendenVereinheitlichen(wert) + QLatin1String("]]>");
    if (!wert.isEmpty() && nurLeerraum(wert)) {
        QString referenzen;
        for (const QChar c : wert)
            referenzen += QLatin1String("&#") + QString::number(c.unicode()) + QLatin1Char(';');
        return referenzen;
    }
    return textMaskieren(wert, true);
}

QString anweisung(const QDomProcessingInstruction &anweisung)
{
    const QString daten = anweisung.data();
    return QLatin1String("<?") + anweisung.target() +
           (daten.isEmpty() ? QString() : QLatin1Char(' ') + daten) + QLatin1String("?>");
}

void elementSchreiben(QString &aus, const QDomElement &element, int tiefe, bool eingerueckt);

void kindSchreiben(QString &aus, const QDomNode &kind, int tiefe, bool eingerueckt)
{
    const QString einzug = eingerueckt ? QString(tiefe, QLatin1Char(' ')) : QString();
    const QString ende = eingerueckt ? Zeilenende : QString();
    if (kind.isElement())
        elementSchreiben(aus, kind.toElement(), tiefe, eingerueckt);
    else if (kind.isComment())
        aus += einzug + QLatin1String("<!--") + kind.nodeValue() + QLatin1String("-->") + ende;
    else if (kind.isProcessingInstruction())
        aus += einzug + anweisung(kind.toProcessingInstruction()) + ende;
    else if (kind.isCDATASection())
        aus += einzug + inhalt(kind) + ende;
    // Blanks between elements written one per line give way to the indentation: kept, they would
    // come back with the indentation added and grow on every save.
    else if (kind.isText() && !(eingerueckt && nurLeerraum(kind.nodeValue())))
        aus += einzug + inhalt(kind) + ende;
}

void elementSchreiben(QString &aus, const QDomElement &element, int tiefe, bool eingerueckt)
{
    const QString einzug = eingerueckt ? QString(tiefe, QLatin1Char(' ')) : QString();
    const QString ende = eingerueckt ? Zeilenende : QString();
    aus += einzug + QLatin1Char('<') + element.tagName() + attribute(element);
    const QDomNodeList kinder = element.childNodes();
    if (kinder.isEmpty()) {
        aus += QLatin1String("/>") + ende;
        return;
    }
    if (nurText(kinder) || gemischt(kinder) || !eingerueckt) {
        aus += QLatin1Char('>');
        for (int i = 0; i < kinder.count(); ++i)
            kindSchreiben(aus, kinder.at(i), 0, false);
        aus += QLatin1String("</") + element.tagName() + QLatin1Char('>') + ende;
        return;
    }
    aus += QLatin1Char('>') + Zeilenende;
    for (int i = 0; i < kinder.count(); ++i)
        kindSchreiben(aus, kinder.at(i), tiefe + 1, true);
    aus += einzug + QLatin1String("</") + element.tagName() + QLatin1Char('>') + Zeilenende;
}

// The field's text is all text below it; each text node loses its CRs where it stands, so no
// element is added, removed or moved: a Question nested inside a field stays where it is. A text
// node left empty goes (after the walk): an empty text node is written as start and end tag,
// which reads back as no node at all, and the next save would differ from this one.
void wagenruecklaufEntfernen(const QDomElement &frage)
{
    QVector<QDomNode> leer;
    for (const QString &name : TextFelder) {
        const QDomElement feldElement = frage.firstChildElement(name);
        if (feldElement.isNull() || feldElement.firstChild().isNull())
            continue;
        QDomNode knoten = feldElement.firstChild();
        while (!knoten.isNull() && knoten != feldElement) {
            if ((knoten.isText() || knoten.isCDATASection()) &&
                knoten.nodeValue().contains(QLatin1Char('\r'))) {
                QString ohne = knoten.nodeValue();
                ohne.remove(QLatin1Char('\r'));
                knoten.setNodeValue(ohne);
                if (ohne.isEmpty())
                    leer.append(knoten);
            }
            if (!knoten.firstChild().isNull()) {
                knoten = knoten.firstChild();
                continue;
            }
            while (!knoten.isNull() && knoten != feldElement && knoten.nextSibling().isNull())
                knoten = knoten.parentNode();
            if (!knoten.isNull() && knoten != feldElement)
                knoten = knoten.nextSibling();
        }
    }
    for (QDomNode &knoten : leer)
        knoten.parentNode().removeChild(knoten);
}

// The few element names of a file, each one text shared by all its elements, instead of a new
// text for every element.
class Namen final
{
public:
    QString text(QStringView name)
    {
        for (const QString &bekannt : std::as_const(m_namen)) {
            if (bekannt == name)
                return bekannt;
        }
        QString neu = name.toString();
        // A file of ever new names gains nothing from the list.
        if (m_namen.size() < 64)
            m_namen.append(neu);
        return neu;
    }

private:
    QList<QString> m_namen;
};

// Builds the document from a stream, but only as far as the first MaxFragen questions reach:
// the rest of the file is only checked for well-formedness and its questions counted. A file
// of 250000 questions would otherwise cost seconds and most of a gigabyte for questions that are
// never shown. Same rules as QDomDocument::setContent() without namespace processing: text of
// whitespace only is not kept. The questions are gathered as they are built: start tags come in
// document order. `wagenruecklauf` tells whether a text kept a carriage return.
bool dokumentAufbauen(QIODevice &datei, LadeErgebnis &ergebnis, int &gesamt, bool &wagenruecklauf)
{
    QXmlStreamReader leser(&datei);
    leser.setNamespaceProcessing(false);
    // A default-constructed document is a null node until something creates its content.
    ergebnis.dokument = QDomDocument(QString());
    QDomDocument &dokument = ergebnis.dokument;
    QDomNode aktuell = dokument;
    int offeneFragen = 0; // kept Question elements around the current node
    QVector<bool> istFrage;
    bool aufbauen = true;
    gesamt = 0;
    wagenruecklauf = false;
    Namen namen;
    const QString Frage = QStringLiteral("Question");
    while (!leser.atEnd()) {
        switch (leser.readNext()) {
        case QXmlStreamReader::StartElement: {
            const bool frage = leser.qualifiedName() == Frage;
            if (frage && ++gesamt > MaxFragen && offeneFragen == 0)
                aufbauen = false;
            if (!aufbauen)
                break;
            QDomElement element = dokument.createElement(namen.text(leser.qualifiedName()));
            const QXmlStreamAttributes attribute = leser.attributes();
            for (const QXmlStreamAttribute &attribut : attribute)
                element.setAttribute(attribut.qualifiedName().toString(), attribut.value().toString());
            aktuell.appendChild(element);
            aktuell = element;
            istFrage.append(frage);
            if (frage) {
                ++offeneFragen;
                if (ergebnis.fragen.size() < MaxFragen)
                    ergebnis.fragen.append(element);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!aufbauen)
                break;
            if (istFrage.takeLast())
                --offeneFragen;
            aktuell = aktuell.parentNode();
            break;
        case QXmlStreamReader::Characters:
            if (!aufbauen || leser.isWhitespace())
                break;
            // The reader turns line ends into LF: only a character reference leaves a CR.
            wagenruecklauf = wagenruecklauf || leser.text().contains(QLatin1Char('\r'));
            if (leser.isCDATA())
                aktuell.appendChild(dokument.createCDATASection(leser.text().toString()));
            else
                aktuell.appendChild(dokument.createTextNode(leser.text().toString()));
            break;
        case QXmlStreamReader::EntityReference:
            if (aufbauen) {
                wagenruecklauf = wagenruecklauf || leser.text().contains(QLatin1Char('\r'));
                aktuell.appendChild(dokument.createTextNode(leser.text().toString()));
            }
            break;
        case QXmlStreamReader::Comment:
            if (aufbauen)
                aktuell.appendChild(dokument.createComment(leser.text().toString()));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            if (aufbauen)
                aktuell.appendChild(
                    dokument.createProcessingInstruction(leser.processingInstructionTarget().toString(),
                                                         leser.processingInstructionData().toString()));
            break;
        default:
            break;
        }
    }
    if (leser.hasError()) {
        ergebnis.grund = leser.errorString();
        ergebnis.zeile = int(leser.lineNumber());
        ergebnis.spalte = int(leser.columnNumber());
        return false;
    }
    return true;
}

// A question listed together with a Question around it is written as part of that one; writing
// it again on its own would add a question on every save.
bool inAndererFrage(const QDomElement &frage, const QVector<QDomElement> &fragen)
{
    for (QDomNode vorfahr = frage.parentNode(); !vorfahr.isNull(); vorfahr = vorfahr.parentNode()) {
        if (vorfahr.isElement() && vorfahr.toElement().tagName() == QLatin1String("Question") &&
            fragen.contains(vorfahr.toElement()))
            return true;
    }
    return false;
}

SchreibErgebnis speichern(const QString &pfad, const QByteArray &inhalt, QString *fehler)
{
    BenutzerDatei datei(pfad);
    const bool offen = datei.oeffnen();
    if (!offen)
        qDebug() << "Failed to open file for writing.";
    else
        datei.schreiben(inhalt);
    const SchreibErgebnis ergebnis = datei.abschliessen();
    if (!ergebnis.ok()) {
        if (offen)
            qDebug() << "Failed to write file:" << pfad << ergebnis.grund;
        if (fehler)
            *fehler = ergebnis.meldung();
    }
    return ergebnis;
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
    case Fehler::ZuGross:
        return (englisch
                    ? QStringLiteral("The file is too large for a question file (%1 MB; at most %2 MB).")
                    : QStringLiteral("Die Datei ist zu groß für eine Fragedatei (%1 MB; höchstens %2 MB)."))
            .arg(groesse / (1024 * 1024))
            .arg(MaxDateigroesse / (1024 * 1024));
    }
    return {};
}

QString LadeErgebnis::hinweis() const
{
    if (!ok() || weggelassen <= 0)
        return {};
    return QCoreApplication::translate("LadeErgebnis",
                                       "Die Datei enthält %1 Fragen. Nur die ersten %2 werden verwendet; "
                                       "%n Fragen wurden weggelassen.",
                                       nullptr, weggelassen)
        .arg(QString::number(fragen.size() + weggelassen), QString::number(MaxFragen));
}

QString LadeErgebnis::meldung() const
{
    return ok() ? hinweis() : beschreibung(Einstellungen::istEnglisch());
}

LadeErgebnis lesen(const QString &pfad)
{
    LadeErgebnis ergebnis;
    QFile datei(pfad);
    const QFileInfo info(pfad);
    if (pfad.isEmpty() || !info.exists()) {
        ergebnis.fehler = LadeErgebnis::Fehler::DateiFehlt;
        return ergebnis;
    }
    if (!info.isFile() || !datei.open(QIODevice::ReadOnly)) {
        ergebnis.fehler = LadeErgebnis::Fehler::NichtLesbar;
        ergebnis.grund = info.isFile() ? datei.errorString() : QStringLiteral("not a file");
        return ergebnis;
    }
    // Even only scanned, a file this large takes seconds: no question file comes near it.
    ergebnis.groesse = datei.size();
    if (ergebnis.groesse > MaxDateigroesse) {
        ergebnis.fehler = LadeErgebnis::Fehler::ZuGross;
        return ergebnis;
    }
    int gesamt = 0;
    bool wagenruecklauf = false;
    if (!dokumentAufbauen(datei, ergebnis, gesamt, wagenruecklauf)) {
        ergebnis.fehler = LadeErgebnis::Fehler::KeinXml;
        ergebnis.dokument.clear();
        ergebnis.fragen.clear();
        return ergebnis;
    }
    ergebnis.weggelassen = gesamt - int(ergebnis.fragen.size());
    if (ergebnis.weggelassen > 0)
        qWarning() << pfad << "holds" << gesamt << "questions; only the first" << MaxFragen << "are used";
    if (wagenruecklauf) {
        for (const QDomElement &frage : std::as_const(ergebnis.fragen))
            wagenruecklaufEntfernen(frage);
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

int runden(const QDomNode &frage)
{
    return zahl(frage, Runden) == 2 ? 2 : 1;
}

QString notizen(const QDomNode &frage)
{
    return feld(frage, Notizen).left(MaxNotizen);
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
    for (const QDomElement &frage : fragen) {
        if (!frage.isNull() && !inAndererFrage(frage, fragen))
            elementSchreiben(aus, frage, 1, true);
    }
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

SchreibErgebnis schreiben(const QString &pfad, const QVector<QDomElement> &fragen, QString *fehler)
{
    return speichern(pfad, serialisieren(fragen), fehler);
}

SchreibErgebnis neueDateiSchreiben(const QString &pfad, QString *fehler)
{
    return speichern(pfad, neueDatei(), fehler);
}

} // namespace FrageDatei
