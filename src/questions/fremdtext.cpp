#include "fremdtext.h"

#include <QHash>
#include <QRegularExpression>

namespace FremdText {

namespace {

// The references teachers' texts use; others stay as written.
const QHash<QString, char32_t> &namen()
{
    static const QHash<QString, char32_t> tabelle{
        {QStringLiteral("amp"), U'&'},    {QStringLiteral("lt"), U'<'},     {QStringLiteral("gt"), U'>'},
        {QStringLiteral("quot"), U'"'},   {QStringLiteral("apos"), U'\''},  {QStringLiteral("nbsp"), U' '},
        {QStringLiteral("shy"), 0},       {QStringLiteral("ndash"), U'–'},  {QStringLiteral("mdash"), U'—'},
        {QStringLiteral("hellip"), U'…'}, {QStringLiteral("laquo"), U'«'},  {QStringLiteral("raquo"), U'»'},
        {QStringLiteral("bdquo"), U'„'},  {QStringLiteral("ldquo"), U'“'},  {QStringLiteral("rdquo"), U'”'},
        {QStringLiteral("lsquo"), U'‘'},  {QStringLiteral("rsquo"), U'’'},  {QStringLiteral("sbquo"), U'‚'},
        {QStringLiteral("euro"), U'€'},   {QStringLiteral("copy"), U'©'},   {QStringLiteral("reg"), U'®'},
        {QStringLiteral("times"), U'×'},  {QStringLiteral("divide"), U'÷'}, {QStringLiteral("middot"), U'·'},
        {QStringLiteral("deg"), U'°'},    {QStringLiteral("plusmn"), U'±'}, {QStringLiteral("micro"), U'µ'},
        {QStringLiteral("sup2"), U'²'},   {QStringLiteral("sup3"), U'³'},   {QStringLiteral("frac12"), U'½'},
        {QStringLiteral("le"), U'≤'},     {QStringLiteral("ge"), U'≥'},     {QStringLiteral("ne"), U'≠'},
        {QStringLiteral("auml"), U'ä'},   {QStringLiteral("ouml"), U'ö'},   {QStringLiteral("uuml"), U'ü'},
        {QStringLiteral("Auml"), U'Ä'},   {QStringLiteral("Ouml"), U'Ö'},   {QStringLiteral("Uuml"), U'Ü'},
        {QStringLiteral("szlig"), U'ß'},  {QStringLiteral("eacute"), U'é'}, {QStringLiteral("egrave"), U'è'},
        {QStringLiteral("agrave"), U'à'}, {QStringLiteral("ccedil"), U'ç'}, {QStringLiteral("rarr"), U'→'},
    };
    return tabelle;
}

bool istAsciiBuchstabe(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool oeffnetTag(const QString &text, qsizetype i)
{
    if (i + 1 >= text.size())
        return false;
    const QChar n = text.at(i + 1);
    return istAsciiBuchstabe(n) || n == QLatin1Char('/') || n == QLatin1Char('!') || n == QLatin1Char('?');
}

// A character reference at `i` ("&amp;", "&#228;", "&#xE4;"): its length, and the text it stands for.
qsizetype referenz(const QString &text, qsizetype i, QString &zeichen)
{
    const qsizetype ende = text.indexOf(QLatin1Char(';'), i + 1);
    if (ende < 0 || ende - i > 12)
        return 0;
    const QString name = text.mid(i + 1, ende - i - 1);
    char32_t code = 0;
    if (name.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const bool hex =
            name.size() > 1 && (name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X'));
        const uint wert = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok)
            return 0;
        code = wert;
        // What no text can hold comes back as the replacement character, as a browser shows it.
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
    } else {
        const auto treffer = namen().constFind(name);
        if (treffer == namen().constEnd())
            return 0;
        code = *treffer;
    }
    zeichen = code == 0 ? QString() : QString::fromUcs4(&code, 1);
    return ende - i + 1;
}

// Collects the visible text: white space waits until the next character shows whether it
// matters, and a block's end becomes a line break only when more text follows.
class Ausgabe final
{
public:
    void zeichen(const QString &s)
    {
        // Control characters have no place in a question file; a reference may still spell one.
        if (s.isEmpty() || (s.size() == 1 && s.at(0).unicode() < 0x20 && s.at(0) != QLatin1Char('\t')) ||
            s.at(0).unicode() == 0xFFFE || s.at(0).unicode() == 0xFFFF)
            return;
        if (m_umbruch && !m_text.isEmpty())
            m_text += QLatin1Char('\n');
        else if (m_leer && !m_text.isEmpty() && !m_text.endsWith(QLatin1Char('\n')))
            m_text += QLatin1Char(' ');
        m_umbruch = m_leer = false;
        m_text += s;
    }
    void leer() { m_leer = true; }
    void umbruch()
    {
        m_text += QLatin1Char('\n');
        m_umbruch = m_leer = false;
    }
    void block()
    {
        if (!m_text.isEmpty() && !m_text.endsWith(QLatin1Char('\n')))
            m_umbruch = true;
    }
    QString text() const { return m_text; }

private:
    QString m_text;
    bool m_leer = false;
    bool m_umbruch = false;
};

bool istBlock(const QString &name)
{
    static const QStringList Bloecke{
        QStringLiteral("p"),   QStringLiteral("div"), QStringLiteral("li"),      QStringLiteral("ul"),
        QStringLiteral("ol"),  QStringLiteral("tr"),  QStringLiteral("table"),   QStringLiteral("blockquote"),
        QStringLiteral("pre"), QStringLiteral("hr"),  QStringLiteral("h1"),      QStringLiteral("h2"),
        QStringLiteral("h3"),  QStringLiteral("h4"),  QStringLiteral("h5"),      QStringLiteral("h6"),
        QStringLiteral("dd"),  QStringLiteral("dt"),  QStringLiteral("section"), QStringLiteral("figure")};
    return Bloecke.contains(name);
}

QString quelleDesBildes(const QString &tag)
{
    static const QRegularExpression muster(
        QStringLiteral("(?:^|\\s)src\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch treffer = muster.match(tag);
    if (!treffer.hasMatch())
        return {};
    QString wert = treffer.captured(1) + treffer.captured(2) + treffer.captured(3);
    return klartext(wert, Quelle::Html);
}

// The end of the tag that starts at `i` (the index after its ">"), quoted values skipped.
qsizetype tagEnde(const QString &text, qsizetype i)
{
    QChar anfuehrung;
    for (qsizetype k = i + 1; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (!anfuehrung.isNull()) {
            if (c == anfuehrung)
                anfuehrung = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            // Quotes count only inside the attributes, never in the name.
            if (k > i + 1 && text.at(k - 1) != QLatin1Char('<'))
                anfuehrung = c;
        } else if (c == QLatin1Char('>')) {
            return k + 1;
        }
    }
    return text.size();
}

QString markdownOhneZeichen(const QString &text)
{
    static const QRegularExpression MdBild(QStringLiteral("!\\[([^\\]]*)\\]\\([^)]*\\)"));
    static const QRegularExpression MdVerweis(QStringLiteral("\\[([^\\]]*)\\]\\([^)]*\\)"));
    static const QRegularExpression MdUeberschrift(QStringLiteral("(^|\\n)[ \\t]*#{1,6}[ \\t]+"));
    static const QRegularExpression MdZitat(QStringLiteral("(^|\\n)[ \\t]*>[ \\t]?"));
    static const QRegularExpression MdFett(QStringLiteral("(\\*\\*|__|`)"));
    static const QRegularExpression MdKursiv(
        QStringLiteral("(^|[\\s(])[*_](\\S[^*_\\n]*\\S|\\S)[*_](?=$|[\\s).,;:!?])"));
    static const QRegularExpression MdMaskiert(QStringLiteral("\\\\([\\\\`*_{}\\[\\]()#+\\-.!])"));
    QString ergebnis = text;
    // Pictures and links keep their words only.
    ergebnis.replace(MdBild, QString());
    ergebnis.replace(MdVerweis, QStringLiteral("\\1"));
    ergebnis.replace(MdUeberschrift, QStringLiteral("\\1"));
    ergebnis.replace(MdZitat, QStringLiteral("\\1"));
    ergebnis.replace(MdFett, QString());
    ergebnis.replace(MdKursiv, QStringLiteral("\\1\\2"));
    ergebnis.replace(MdMaskiert, QStringLiteral("\\1"));
    return ergebnis;
}

} // namespace

QString saeubern(const QString &text)
{
    QString ergebnis;
    ergebnis.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ergebnis += c;
            ergebnis += text.at(++i);
        } else if (c == QLatin1Char('\v') || c == QLatin1Char('\f')) {
            ergebnis += QLatin1Char(' ');
        } else if ((c.unicode() >= 0x20 || c == QLatin1Char('\n') || c == QLatin1Char('\t')) &&
                   !c.isSurrogate() && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF) {
            ergebnis += c;
        }
    }
    return ergebnis;
}

Quelle quelle(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("html"))
        return Quelle::Html;
    if (n == QLatin1String("plain_text") || n == QLatin1String("plain"))
        return Quelle::Klartext;
    if (n == QLatin1String("markdown"))
        return Quelle::Markdown;
    return Quelle::AutoFormat;
}

QString klartext(const QString &roh, Quelle quelle, QStringList *bilder)
{
    QString text = roh;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Before anything else is read, so that a character leaving cannot join what was apart.
    text = saeubern(text);
    if (quelle == Quelle::Klartext)
        return text;
    if (quelle == Quelle::Markdown) {
        text = markdownOhneZeichen(text);
        quelle = Quelle::AutoFormat;
    }
    const bool html = quelle == Quelle::Html;
    static const QRegularExpression NamensEnde(QStringLiteral("[\\s/>]"));
    Ausgabe aus;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('<') && oeffnetTag(text, i)) {
            if (text.mid(i, 4) == QLatin1String("<!--")) {
                const qsizetype ende = text.indexOf(QLatin1String("-->"), i + 4);
                i = ende < 0 ? text.size() : ende + 3;
                continue;
            }
            const qsizetype ende = tagEnde(text, i);
            const QString tag = text.mid(i + 1, ende - i - 2);
            i = ende;
            const bool schluss = tag.startsWith(QLatin1Char('/'));
            const QString name = tag.mid(schluss ? 1 : 0).section(NamensEnde, 0, 0).toLower();
            if (!schluss && (name == QLatin1String("script") || name == QLatin1String("style"))) {
                const qsizetype zu = text.indexOf(QLatin1String("</") + name, i, Qt::CaseInsensitive);
                i = zu < 0 ? text.size() : tagEnde(text, zu);
            } else if (name == QLatin1String("br")) {
                aus.umbruch();
            } else if (istBlock(name)) {
                aus.block();
            } else if (name == QLatin1String("td") || name == QLatin1String("th")) {
                aus.leer();
            } else if (name == QLatin1String("img") && bilder) {
                bilder->append(quelleDesBildes(tag));
            }
            continue;
        }
        if (c == QLatin1Char('&')) {
            QString zeichen;
            const qsizetype laenge = referenz(text, i, zeichen);
            if (laenge > 0) {
                aus.zeichen(zeichen);
                i += laenge;
                continue;
            }
        }
        if (c == QLatin1Char('\n') && !html)
            aus.umbruch();
        else if (html && (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
                          c == QLatin1Char('\f')))
            aus.leer();
        else
            aus.zeichen(QString(c));
        ++i;
    }
    return aus.text();
}

QString fuerFrageDatei(const QString &roh)
{
    const QString klartext = saeubern(roh).trimmed();
    static const QRegularExpression Referenz(
        QStringLiteral("&(#|[A-Za-z0-9]+;|amp|lt|gt|quot|nbsp|copy|reg)"));
    QString ergebnis;
    ergebnis.reserve(klartext.size());
    for (qsizetype i = 0; i < klartext.size(); ++i) {
        const QChar c = klartext.at(i);
        if (c == QLatin1Char('<') && oeffnetTag(klartext, i))
            ergebnis += QLatin1String("&lt;");
        else if (c == QLatin1Char('&') && Referenz
                                              .match(klartext, i, QRegularExpression::NormalMatch,
                                                     QRegularExpression::AnchorAtOffsetMatchOption)
                                              .hasMatch())
            ergebnis += QLatin1String("&amp;");
        else if (c != QLatin1Char('\r'))
            ergebnis += c;
    }
    return ergebnis;
}

QString alsHtml(const QString &frageText)
{
    QString aus;
    aus.reserve(frageText.size() + 16);
    for (qsizetype i = 0; i < frageText.size(); ++i) {
        const QChar c = frageText.at(i);
        if (c == QLatin1Char('<') && oeffnetTag(frageText, i)) {
            const qsizetype ende = tagEnde(frageText, i);
            aus += frageText.mid(i, ende - i);
            i = ende - 1;
        } else if (c == QLatin1Char('\n')) {
            aus += QLatin1String("<br>");
        } else if (c == QLatin1Char(' ')) {
            // A blank between two words survives; every other one would collapse.
            const bool zwischenWorten = i > 0 && i + 1 < frageText.size() && !frageText.at(i - 1).isSpace() &&
                                        frageText.at(i - 1) != QLatin1Char('>') &&
                                        !frageText.at(i + 1).isSpace();
            aus += zwischenWorten ? QStringLiteral(" ") : QStringLiteral("&nbsp;");
        } else if (c == QLatin1Char('\t') || c == QLatin1Char('\f')) {
            aus += QStringLiteral("&#%1;").arg(c.unicode());
        } else if (c != QLatin1Char('\r')) {
            aus += c;
        }
    }
    return aus;
}

} // namespace FremdText
