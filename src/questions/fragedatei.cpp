#include "fragedatei.h"

#include "einstellungen.h"
#include "produkt.h"

#include <QDebug>
#include <QDomNamedNodeMap>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace FrageDatei {

namespace {

const QString Zeilenende = QStringLiteral("\r\n");
// Files up to this size are read whole and, where they can be, by the reader of this file.
constexpr qint64 SchnellBis = qint64(16) * 1024 * 1024;

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

// Builds the document from the tokens of a reader, but only as far as the first MaxFragen
// questions reach: the rest of the file is only checked for well-formedness and its questions
// counted. A file of 250000 questions would otherwise cost seconds and most of a gigabyte for
// questions that are never shown. Same rules as QDomDocument::setContent() without namespace
// processing; the readers leave out text of whitespace only.
class Aufbau final
{
    Q_DISABLE_COPY_MOVE(Aufbau)

public:
    Aufbau() = default;

    bool aufbauen() const { return m_aufbauen; }
    // A start tag: counts the questions; false when nothing is built any more.
    bool beginnt(bool frage)
    {
        if (frage && ++m_gesamt > MaxFragen && m_offeneFragen == 0)
            m_aufbauen = false;
        return m_aufbauen;
    }
    // After beginnt() said true: the element, to take its attributes.
    QDomElement anhaengen(const QString &name, bool frage)
    {
        QDomElement element = m_dokument.createElement(name);
        m_aktuell.appendChild(element);
        m_aktuell = element;
        m_istFrage.append(frage);
        // Start tags come in document order: the questions are gathered as they are built.
        if (frage) {
            ++m_offeneFragen;
            if (m_fragen.size() < MaxFragen)
                m_fragen.append(element);
        }
        return element;
    }
    void beenden()
    {
        if (!m_aufbauen)
            return;
        if (m_istFrage.takeLast())
            --m_offeneFragen;
        m_aktuell = m_aktuell.parentNode();
    }
    void text(const QString &text, bool cdata)
    {
        if (!m_aufbauen)
            return;
        m_wagenruecklauf = m_wagenruecklauf || text.contains(QLatin1Char('\r'));
        if (cdata)
            m_aktuell.appendChild(m_dokument.createCDATASection(text));
        else
            m_aktuell.appendChild(m_dokument.createTextNode(text));
    }
    void kommentar(const QString &text)
    {
        if (m_aufbauen)
            m_aktuell.appendChild(m_dokument.createComment(text));
    }
    void anweisung(const QString &ziel, const QString &daten)
    {
        if (m_aufbauen)
            m_aktuell.appendChild(m_dokument.createProcessingInstruction(ziel, daten));
    }

    // The document and its questions in document order, the first MaxFragen of them, with the
    // carriage returns taken out of their text fields; `gesamt`: all questions of the file.
    void uebergeben(LadeErgebnis &ergebnis, int &gesamt)
    {
        // Only a character reference leaves one in a text: the readers turn line ends into LF.
        if (m_wagenruecklauf) {
            for (const QDomElement &frage : std::as_const(m_fragen))
                wagenruecklaufEntfernen(frage);
        }
        ergebnis.dokument = m_dokument;
        ergebnis.fragen = m_fragen;
        gesamt = m_gesamt;
    }

private:
    // A default-constructed document is a null node until something creates its content.
    QDomDocument m_dokument{QString()};
    QDomNode m_aktuell{m_dokument};
    QVector<bool> m_istFrage;
    int m_offeneFragen = 0; // built Question elements around the current node
    int m_gesamt = 0;
    bool m_aufbauen = true;
    bool m_wagenruecklauf = false;
    QVector<QDomElement> m_fragen;
};

// The toolkit's stream reader: it decides what is a question file and what is not, and why.
bool stromLesen(QIODevice &datei, Aufbau &aufbau, LadeErgebnis &ergebnis)
{
    QXmlStreamReader leser(&datei);
    leser.setNamespaceProcessing(false);
    const QString Frage = QStringLiteral("Question");
    while (!leser.atEnd()) {
        switch (leser.readNext()) {
        case QXmlStreamReader::StartElement: {
            const bool frage = leser.qualifiedName() == Frage;
            if (!aufbau.beginnt(frage))
                break;
            QDomElement element = aufbau.anhaengen(leser.qualifiedName().toString(), frage);
            const QXmlStreamAttributes attribute = leser.attributes();
            for (const QXmlStreamAttribute &attribut : attribute)
                element.setAttribute(attribut.qualifiedName().toString(), attribut.value().toString());
            break;
        }
        case QXmlStreamReader::EndElement:
            aufbau.beenden();
            break;
        case QXmlStreamReader::Characters:
            if (!leser.isWhitespace())
                aufbau.text(leser.text().toString(), leser.isCDATA());
            break;
        case QXmlStreamReader::EntityReference:
            aufbau.text(leser.text().toString(), false);
            break;
        case QXmlStreamReader::Comment:
            aufbau.kommentar(leser.text().toString());
            break;
        case QXmlStreamReader::ProcessingInstruction:
            aufbau.anweisung(leser.processingInstructionTarget().toString(),
                             leser.processingInstructionData().toString());
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

bool istLeerraum(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool istNamensanfang(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool istNamenszeichen(char c)
{
    return istNamensanfang(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

// A character XML allows; the stream reader refuses the others.
bool istXmlZeichen(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

void anhaengen(QString &ziel, char32_t c)
{
    if (c < 0x10000) {
        ziel.append(QChar(char16_t(c)));
    } else {
        ziel.append(QChar(QChar::highSurrogate(c)));
        ziel.append(QChar(QChar::lowSurrogate(c)));
    }
}

// Reads question files as they are written, several times faster than the toolkit's stream
// reader, which spends most of a load on its own bookkeeping: UTF-8 without a document type,
// names of ASCII letters, the five predefined entities and character references. Everything
// else, and every error, it leaves to the stream reader (lesen() is false), which then reads
// the file from its start: what is accepted or refused, and why, stays the stream reader's
// word. What it does read gives the stream reader's tokens: line ends as LF, attribute values
// normalised, text of whitespace only left out.
class Schnellleser final
{
    Q_DISABLE_COPY_MOVE(Schnellleser)

public:
    Schnellleser(const QByteArray &daten, Aufbau &aufbau)
        : m_p(daten.constData())
        , m_ende(daten.constData() + daten.size())
        , m_aufbau(aufbau)
    {
    }

    bool lesen()
    {
        if (beginntMit("\xEF\xBB\xBF"))
            m_p += 3;
        if (beginntMit("<?xml") && rest() > 5 && istLeerraum(m_p[5]) && !deklaration())
            return false;
        bool wurzel = false;
        for (;;) {
            leerraum();
            if (m_p == m_ende)
                return wurzel;
            bool ok = false;
            if (beginntMit("<!--"))
                ok = kommentar();
            else if (beginntMit("<?"))
                ok = anweisung();
            else if (!wurzel && rest() > 1 && m_p[0] == '<' && istNamensanfang(m_p[1]))
                ok = wurzel = elemente();
            if (!ok)
                return false;
        }
    }

private:
    qsizetype rest() const { return m_ende - m_p; }
    bool beginntMit(QByteArrayView text) const
    {
        return rest() >= text.size() && std::memcmp(m_p, text.data(), size_t(text.size())) == 0;
    }
    bool leerraum()
    {
        const char *vorher = m_p;
        while (m_p < m_ende && istLeerraum(*m_p))
            ++m_p;
        return m_p != vorher;
    }
    bool zeichen(char c)
    {
        if (m_p == m_ende || *m_p != c)
            return false;
        ++m_p;
        return true;
    }
    // A name without a colon, or two joined by one.
    bool name(QByteArrayView &name)
    {
        const char *anfang = m_p;
        for (int teil = 0;; ++teil) {
            if (m_p == m_ende || !istNamensanfang(*m_p))
                return false;
            while (m_p < m_ende && istNamenszeichen(*m_p))
                ++m_p;
            if (m_p == m_ende || *m_p != ':')
                break;
            if (teil == 1)
                return false;
            ++m_p;
        }
        name = QByteArrayView(anfang, m_p - anfang);
        return true;
    }
    // One character of UTF-8, checked: the stream reader refuses broken encodings and the
    // characters XML does not allow.
    bool utf8(char32_t &c)
    {
        const auto b = uchar(*m_p);
        int folgen = 0;
        uchar min = 0x80;
        uchar max = 0xBF;
        if (b < 0x80) {
            c = b;
            ++m_p;
            return istXmlZeichen(c);
        }
        if (b >= 0xC2 && b <= 0xDF) {
            c = b & 0x1F;
            folgen = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            c = b & 0x0F;
            folgen = 2;
            min = b == 0xE0 ? 0xA0 : 0x80;
            max = b == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            c = b & 0x07;
            folgen = 3;
            min = b == 0xF0 ? 0x90 : 0x80;
            max = b == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
        } else {
            return false;
        }
        if (rest() <= folgen)
            return false;
        for (int i = 1; i <= folgen; ++i) {
            const auto f = uchar(m_p[i]);
            if (f < (i == 1 ? min : 0x80) || f > (i == 1 ? max : 0xBF))
                return false;
            c = (c << 6) | (f & 0x3F);
        }
        m_p += 1 + folgen;
        return istXmlZeichen(c);
    }
    // At '&': one of the five predefined entities or a character reference.
    bool referenz(QString &ziel)
    {
        ++m_p;
        static const struct
        {
            QByteArrayView name;
            char zeichen;
        } Entitaeten[] = {{"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"quot;", '"'}, {"apos;", '\''}};
        for (const auto &entitaet : Entitaeten) {
            if (beginntMit(entitaet.name)) {
                m_p += entitaet.name.size();
                ziel.append(QLatin1Char(entitaet.zeichen));
                return true;
            }
        }
        if (!zeichen('#'))
            return false;
        const bool hex = zeichen('x');
        char32_t wert = 0;
        int stellen = 0;
        for (; m_p < m_ende && *m_p != ';'; ++m_p, ++stellen) {
            const char z = *m_p;
            int ziffer = -1;
            if (z >= '0' && z <= '9')
                ziffer = z - '0';
            else if (hex && z >= 'a' && z <= 'f')
                ziffer = z - 'a' + 10;
            else if (hex && z >= 'A' && z <= 'F')
                ziffer = z - 'A' + 10;
            // Long numbers are left to the stream reader, whatever it makes of them.
            if (ziffer < 0 || stellen >= 7)
                return false;
            wert = wert * (hex ? 16 : 10) + char32_t(ziffer);
        }
        if (stellen == 0 || !zeichen(';') || !istXmlZeichen(wert))
            return false;
        anhaengen(ziel, wert);
        return true;
    }
    // The text up to `schluss` (of a comment, a section, an instruction) with its line ends as
    // LF, into m_text; then past `schluss`.
    bool bis(QByteArrayView schluss)
    {
        m_text.resize(0);
        for (;;) {
            if (m_p == m_ende)
                return false;
            if (*m_p == schluss.front() && beginntMit(schluss)) {
                m_p += schluss.size();
                return true;
            }
            char32_t c = 0;
            if (*m_p == '\r') {
                ++m_p;
                zeichen('\n');
                c = '\n';
            } else if (!utf8(c)) {
                return false;
            }
            anhaengen(m_text, c);
        }
    }
    bool kommentar()
    {
        m_p += 4;
        // "--" ends a comment, and only right before '>'.
        if (!bis("--") || !zeichen('>'))
            return false;
        m_aufbau.kommentar(m_text);
        return true;
    }
    bool anweisung()
    {
        m_p += 2;
        QByteArrayView ziel;
        // Targets beginning with "xml" are the declaration's or reserved: the stream reader's.
        if (!name(ziel) || ziel.contains(':') ||
            ziel.first(std::min<qsizetype>(3, ziel.size())).compare("xml", Qt::CaseInsensitive) == 0)
            return false;
        if (beginntMit("?>")) {
            m_p += 2;
            m_text.resize(0);
        } else if (!leerraum() || !bis("?>")) {
            return false;
        }
        m_aufbau.anweisung(QString::fromLatin1(ziel), m_text);
        return true;
    }
    // <?xml version="1.0" encoding="utf-8" standalone="no"?>, the last two optional.
    bool deklaration()
    {
        m_p += 5;
        QByteArrayView wert;
        const auto angabe = [&](QByteArrayView name) {
            if (!beginntMit(name))
                return false;
            m_p += name.size();
            leerraum();
            if (!zeichen('='))
                return false;
            leerraum();
            if (m_p == m_ende || (*m_p != '"' && *m_p != '\''))
                return false;
            const char anfuehrung = *m_p++;
            const char *anfang = m_p;
            while (m_p < m_ende && *m_p != anfuehrung)
                ++m_p;
            if (m_p == m_ende)
                return false;
            wert = QByteArrayView(anfang, m_p++ - anfang);
            return true;
        };
        leerraum();
        if (!angabe("version") || wert != "1.0")
            return false;
        bool abstand = leerraum();
        if (abstand && beginntMit("encoding")) {
            if (!angabe("encoding") || wert.compare("utf-8", Qt::CaseInsensitive) != 0)
                return false;
            abstand = leerraum();
        }
        if (abstand && beginntMit("standalone")) {
            if (!angabe("standalone") || (wert != "yes" && wert != "no"))
                return false;
            leerraum();
        }
        if (!beginntMit("?>"))
            return false;
        m_p += 2;
        return true;
    }
    QString elementName(QByteArrayView name)
    {
        // The same few names again and again: one text each, shared by all their elements.
        const std::string_view schluessel(name.data(), size_t(name.size()));
        auto gefunden = m_namen.find(schluessel);
        if (gefunden == m_namen.end())
            gefunden = m_namen.emplace(schluessel, QString::fromLatin1(name)).first;
        return gefunden->second;
    }
    // An attribute's value after its opening quote, normalised as the stream reader does: line
    // ends and tabs written as they are become blanks, a CR LF one blank.
    bool attributwert(char anfuehrung)
    {
        m_text.resize(0);
        for (;;) {
            if (m_p == m_ende || *m_p == '<')
                return false;
            const char z = *m_p;
            if (z == anfuehrung) {
                ++m_p;
                return true;
            }
            if (z == '&') {
                if (!referenz(m_text))
                    return false;
                continue;
            }
            if (z == '\r' || z == '\n' || z == '\t') {
                ++m_p;
                if (z == '\r')
                    zeichen('\n');
                m_text.append(QLatin1Char(' '));
                continue;
            }
            char32_t c = 0;
            if (!utf8(c))
                return false;
            anhaengen(m_text, c);
        }
    }
    bool startTag()
    {
        ++m_p;
        QByteArrayView tag;
        if (!name(tag))
            return false;
        const bool frage = tag == "Question";
        QDomElement element;
        if (m_aufbau.beginnt(frage))
            element = m_aufbau.anhaengen(elementName(tag), frage);
        m_attributNamen.clear();
        for (;;) {
            const bool abstand = leerraum();
            if (zeichen('>')) {
                m_offen.push_back(tag);
                return true;
            }
            if (zeichen('/')) {
                if (!zeichen('>'))
                    return false;
                m_aufbau.beenden();
                return true;
            }
            QByteArrayView attribut;
            if (!abstand || !name(attribut) ||
                std::find(m_attributNamen.cbegin(), m_attributNamen.cend(), attribut) !=
                    m_attributNamen.cend())
                return false;
            m_attributNamen.push_back(attribut);
            leerraum();
            if (!zeichen('='))
                return false;
            leerraum();
            if (m_p == m_ende || (*m_p != '"' && *m_p != '\''))
                return false;
            if (!attributwert(*m_p++))
                return false;
            if (!element.isNull())
                element.setAttribute(QString::fromLatin1(attribut), m_text);
        }
    }
    bool endTag()
    {
        m_p += 2;
        QByteArrayView tag;
        if (!name(tag) || tag != m_offen.back())
            return false;
        leerraum();
        if (!zeichen('>'))
            return false;
        m_offen.pop_back();
        m_aufbau.beenden();
        return true;
    }
    // Character data up to the next markup: checked first, then taken as it is where it can be.
    bool text()
    {
        const char *anfang = m_p;
        bool wieGeschrieben = true; // no reference, no CR
        bool nurLeerraum = true;
        while (m_p < m_ende && *m_p != '<') {
            const auto b = uchar(*m_p);
            if (b >= 0x80) {
                char32_t c = 0;
                if (!utf8(c))
                    return false;
                nurLeerraum = false;
            } else if (b == '&') {
                m_probe.resize(0);
                if (!referenz(m_probe))
                    return false;
                wieGeschrieben = false;
                nurLeerraum = false;
            } else {
                if ((b < 0x20 && !istLeerraum(char(b))) || (b == ']' && beginntMit("]]>")))
                    return false;
                wieGeschrieben = wieGeschrieben && b != '\r';
                nurLeerraum = nurLeerraum && istLeerraum(char(b));
                ++m_p;
            }
        }
        if (m_p == m_ende)
            return false;
        if (nurLeerraum || !m_aufbau.aufbauen())
            return true;
        // The toolkit's conversion would drop a byte order mark at the start, which is content here.
        if (wieGeschrieben && !QByteArrayView(anfang, m_p - anfang).startsWith("\xEF\xBB\xBF")) {
            m_aufbau.text(QString::fromUtf8(anfang, m_p - anfang), false);
            return true;
        }
        const char *ende = m_p;
        m_p = anfang;
        m_text.resize(0);
        while (m_p < ende) {
            char32_t c = 0;
            if (*m_p == '&') {
                referenz(m_text);
                continue;
            }
            if (*m_p == '\r') {
                ++m_p;
                zeichen('\n');
                c = '\n';
            } else {
                utf8(c);
            }
            anhaengen(m_text, c);
        }
        m_aufbau.text(m_text, false);
        return true;
    }
    // The root element and everything in it, without recursion: a file may nest deeply.
    bool elemente()
    {
        if (!startTag())
            return false;
        while (!m_offen.empty()) {
            if (m_p == m_ende)
                return false;
            bool ok = false;
            if (*m_p != '<') {
                ok = text();
            } else if (rest() < 2) {
                ok = false;
            } else if (m_p[1] == '/') {
                ok = endTag();
            } else if (beginntMit("<!--")) {
                ok = kommentar();
            } else if (beginntMit("<![CDATA[")) {
                m_p += 9;
                ok = bis("]]>");
                if (ok)
                    m_aufbau.text(m_text, true);
            } else if (m_p[1] == '?') {
                ok = anweisung();
            } else if (istNamensanfang(m_p[1])) {
                ok = startTag();
            }
            if (!ok)
                return false;
        }
        return true;
    }

    const char *m_p;
    const char *const m_ende;
    Aufbau &m_aufbau;
    std::vector<QByteArrayView> m_offen; // names of the open elements
    std::vector<QByteArrayView> m_attributNamen;
    std::unordered_map<std::string_view, QString> m_namen;
    QString m_text;  // reused for every text that needs decoding
    QString m_probe; // a reference checked, not kept
};

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

LadeErgebnis laden(const QString &pfad, bool schnell)
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
    bool gelesen = false;
    // Held whole only up to a size no set of questions needs; what lies beyond is streamed.
    if (schnell && ergebnis.groesse <= SchnellBis) {
        const QByteArray daten = datei.readAll();
        Aufbau aufbau;
        if (daten.size() == ergebnis.groesse && Schnellleser(daten, aufbau).lesen()) {
            aufbau.uebergeben(ergebnis, gesamt);
            gelesen = true;
        }
    }
    if (!gelesen) {
        Aufbau aufbau;
        if (!datei.seek(0) || !stromLesen(datei, aufbau, ergebnis)) {
            ergebnis.fehler = LadeErgebnis::Fehler::KeinXml;
            return ergebnis;
        }
        aufbau.uebergeben(ergebnis, gesamt);
    }
    ergebnis.weggelassen = gesamt - int(ergebnis.fragen.size());
    if (ergebnis.weggelassen > 0)
        qWarning() << pfad << "holds" << gesamt << "questions; only the first" << MaxFragen << "are used";
    if (ergebnis.fragen.isEmpty()) {
        ergebnis.fehler = LadeErgebnis::Fehler::KeineFragen;
        ergebnis.dokument.clear();
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

QString LadeErgebnis::hinweis(bool englisch) const
{
    if (!ok() || weggelassen <= 0)
        return {};
    return (englisch ? QStringLiteral("The file contains %1 questions. Only the first %2 are used; %3 "
                                      "questions were left out.")
                     : QStringLiteral("Die Datei enthält %1 Fragen. Nur die ersten %2 werden verwendet; %3 "
                                      "Fragen wurden weggelassen."))
        .arg(fragen.size() + weggelassen)
        .arg(MaxFragen)
        .arg(weggelassen);
}

QString LadeErgebnis::meldung() const
{
    const bool englisch = Einstellungen::istEnglisch();
    return ok() ? hinweis(englisch) : beschreibung(englisch);
}

LadeErgebnis lesen(const QString &pfad)
{
    return laden(pfad, true);
}

LadeErgebnis lesenMitStromleser(const QString &pfad)
{
    return laden(pfad, false);
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
