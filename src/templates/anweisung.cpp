#include "anweisung.h"

#include <QByteArray>

#include <algorithm>

namespace {

bool zeilenende(char16_t c)
{
    return c == 0x2028 || c == 0x2029;
}

void unicodeMaske(QString &ziel, char16_t c)
{
    ziel += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
}

QString xml(const QString &roh)
{
    QString ergebnis = roh.toHtmlEscaped();
    ergebnis.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return ergebnis;
}

} // namespace

QString SkriptText::zeichenkette(const QString &roh)
{
    QString ergebnis;
    ergebnis.reserve(roh.size());
    for (const QChar z : roh) {
        const char16_t c = z.unicode();
        switch (c) {
        case '\\':
            ergebnis += QLatin1String("\\\\");
            break;
        case '\'':
            ergebnis += QLatin1String("\\'");
            break;
        case '\n':
            ergebnis += QLatin1String("\\n");
            break;
        case '\r':
            ergebnis += QLatin1String("\\r");
            break;
        default:
            if (c < 0x20 || zeilenende(c))
                unicodeMaske(ergebnis, c);
            else
                ergebnis += z;
        }
    }
    return ergebnis;
}

SkriptText SkriptText::klartext(const QString &roh)
{
    return SkriptText(zeichenkette(roh));
}

SkriptText SkriptText::frage(const QString &roh)
{
    QString ergebnis;
    ergebnis.reserve(roh.size());
    for (qsizetype i = 0; i < roh.size(); ++i) {
        const char16_t c = roh.at(i).unicode();
        switch (c) {
        case '\\':
            ergebnis += QLatin1String("\\\\");
            break;
        case '\'':
            ergebnis += QLatin1String("&apos;");
            break;
        case '\r':
            // CR LF is one break; a lone CR shows nothing.
            break;
        case '\n':
            ergebnis += QLatin1String("<br>");
            break;
        default:
            if (zeilenende(c))
                ergebnis += QLatin1String("<br>");
            else if (c < 0x20)
                unicodeMaske(ergebnis, c);
            else
                ergebnis += roh.at(i);
        }
    }
    return SkriptText(ergebnis);
}

SkriptText SkriptText::zahl(qint64 wert)
{
    return SkriptText(QString::number(wert));
}

SkriptText SkriptText::zahl(double wert, int stellen)
{
    return SkriptText(QString::number(wert, 'g', stellen));
}

SkriptText SkriptText::festkomma(double wert, int nachkomma)
{
    return SkriptText(QString::number(wert, 'f', nachkomma));
}

SkriptText SkriptText::bildQuelle(const QString &url)
{
    QString ergebnis;
    ergebnis.reserve(url.size());
    for (const QChar z : url) {
        const char16_t c = z.unicode();
        // What would end the URL early, or the statement it stands in; the rest is left to the
        // engine so the page gets the same address the file system knows.
        if (c == '%' || c == '#' || c == '?' || c == '\'' || c == '"' || c == '\\' || c < 0x20 || c == 0x7f ||
            zeilenende(c))
            ergebnis += QString::fromLatin1(QString(z).toUtf8().toPercentEncoding());
        else
            ergebnis += z;
    }
    return SkriptText(ergebnis);
}

SkriptText SkriptText::platzhalterBild(const QString &dateiname, int breite, int hoehe)
{
    breite = std::max(breite, 40);
    hoehe = std::max(hoehe, 20);
    // Long names get smaller type so they stay inside the box.
    const int schrift =
        std::clamp(int(1.8 * breite / std::max<qsizetype>(dateiname.size(), 1)), 9, hoehe / 5);
    const QString svg =
        QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2' viewBox='0 0 %1 %2'>"
                       "<rect x='2' y='2' width='%3' height='%4' rx='8' fill='#f4f4f4' stroke='#b03030' "
                       "stroke-width='4' stroke-dasharray='12 6'/>"
                       "<text x='50%' y='50%' dominant-baseline='middle' text-anchor='middle' "
                       "font-family='sans-serif' font-size='%5' fill='#b03030'>%6</text></svg>")
            .arg(breite)
            .arg(hoehe)
            .arg(breite - 4)
            .arg(hoehe - 4)
            .arg(schrift)
            .arg(xml(dateiname));
    return SkriptText(QLatin1String("data:image/svg+xml;charset=utf-8,") +
                      QString::fromLatin1(svg.toUtf8().toPercentEncoding()));
}

Anweisung Anweisung::klasse(const SkriptText &name)
{
    return Anweisung(QLatin1String("qt.jQuery('.") + name.maskiert() + QLatin1String("')"));
}

Anweisung Anweisung::id(const SkriptText &name)
{
    return Anweisung(QLatin1String("qt.jQuery('#") + name.maskiert() + QLatin1String("')"));
}

Anweisung Anweisung::auswahl(const SkriptText &selektor)
{
    return Anweisung(QLatin1String("qt.jQuery('") + selektor.maskiert() + QLatin1String("')"));
}

Anweisung Anweisung::methode(QLatin1String name, const SkriptText &wert) const
{
    return Anweisung(m_skript + QLatin1Char('.') + name + QLatin1String("('") + wert.maskiert() +
                     QLatin1String("')"));
}

Anweisung Anweisung::html(const SkriptText &inhalt) const
{
    return methode(QLatin1String("html"), inhalt);
}

Anweisung Anweisung::text(const SkriptText &inhalt) const
{
    return methode(QLatin1String("text"), inhalt);
}

Anweisung Anweisung::attr(const SkriptText &name, const SkriptText &wert) const
{
    return Anweisung(m_skript + QLatin1String(".attr('") + name.maskiert() + QLatin1String("','") +
                     wert.maskiert() + QLatin1String("')"));
}

Anweisung Anweisung::removeAttr(const SkriptText &name) const
{
    return methode(QLatin1String("removeAttr"), name);
}

Anweisung Anweisung::css(const SkriptText &name, const SkriptText &wert) const
{
    return Anweisung(m_skript + QLatin1String(".css('") + name.maskiert() + QLatin1String("', '") +
                     wert.maskiert() + QLatin1String("')"));
}

Anweisung Anweisung::cssDicht(const SkriptText &name, const SkriptText &wert) const
{
    return Anweisung(m_skript + QLatin1String(".css('") + name.maskiert() + QLatin1String("','") +
                     wert.maskiert() + QLatin1String("')"));
}

Anweisung Anweisung::css(Paare werte) const
{
    QString skript = m_skript + QLatin1String(".css({");
    bool erstes = true;
    for (const auto &[name, wert] : werte) {
        if (!erstes)
            skript += QLatin1Char(',');
        erstes = false;
        skript +=
            QLatin1Char('\'') + name.maskiert() + QLatin1String("':'") + wert.maskiert() + QLatin1Char('\'');
    }
    return Anweisung(skript + QLatin1String("})"));
}

Anweisung Anweisung::width(const SkriptText &wert) const
{
    return methode(QLatin1String("width"), wert);
}

Anweisung Anweisung::height(const SkriptText &wert) const
{
    return methode(QLatin1String("height"), wert);
}

Anweisung Anweisung::addClass(const SkriptText &name) const
{
    return methode(QLatin1String("addClass"), name);
}

Anweisung Anweisung::removeClass(const SkriptText &name) const
{
    return methode(QLatin1String("removeClass"), name);
}

Anweisung Anweisung::show() const
{
    return Anweisung(m_skript + QLatin1String(".show()"));
}

Anweisung Anweisung::hide() const
{
    return Anweisung(m_skript + QLatin1String(".hide()"));
}

Anweisung Anweisung::stop() const
{
    return Anweisung(m_skript + QLatin1String(".stop()"));
}

Anweisung Anweisung::remove() const
{
    return Anweisung(m_skript + QLatin1String(".remove()"));
}

Anweisung Anweisung::after(const SkriptText &html) const
{
    return methode(QLatin1String("after"), html);
}

Anweisung Anweisung::inhaltErsetzen(const SkriptText &html) const
{
    return Anweisung(m_skript + QLatin1String(".prop('innerHTML','") + html.maskiert() + QLatin1String("')"));
}

Anweisung Anweisung::animate(Paare ziel, int ms) const
{
    QString skript = m_skript + QLatin1String(".animate({");
    bool erstes = true;
    for (const auto &[name, wert] : ziel) {
        if (!erstes)
            skript += QLatin1String(", ");
        erstes = false;
        skript += name.maskiert() + QLatin1String(": '") + wert.maskiert() + QLatin1Char('\'');
    }
    return Anweisung(skript + QLatin1String("}, ") + QString::number(ms) + QLatin1Char(')'));
}

Anweisung Anweisung::verschieben(const SkriptText &dy, const SkriptText &dx, int ms) const
{
    return Anweisung(m_skript + QLatin1String(".animate({top: '+=") + dy.maskiert() +
                     QLatin1String("',left: '+=") + dx.maskiert() + QLatin1String("' }, ") +
                     QString::number(ms) + QLatin1Char(')'));
}

Anweisung Anweisung::einblenden(int ms) const
{
    return Anweisung(m_skript + QLatin1String(".animate({ opacity: 1 }, ") + QString::number(ms) +
                     QLatin1Char(')'));
}

Anweisung Anweisung::hoeheLesen() const
{
    return Anweisung(m_skript + QLatin1String(".height()"));
}

Anweisung Anweisung::breiteLesen() const
{
    return Anweisung(m_skript + QLatin1String(".width()"));
}

Anweisung Anweisung::positionLesen() const
{
    return Anweisung(m_skript + QLatin1String(".position()"));
}

Anweisung Anweisung::anzahlLesen() const
{
    return Anweisung(m_skript + QLatin1String(".length"));
}

Anweisung Anweisung::rechteckLesen() const
{
    // A page whose last change is not fitted yet is fitted first: its boxes are those it will show.
    return Anweisung(QLatin1String("(function (e) { if (!e) return null; "
                                   "if (window.Einpassen && !Einpassen.fertig()) Einpassen.einpassen(); "
                                   "var r = e.getBoundingClientRect(); "
                                   "var b = window.innerWidth, h = window.innerHeight; "
                                   "return [r.left / b, r.top / h, r.width / b, r.height / h]; })(") +
                     m_skript + QLatin1String(".get(0))"));
}

Anweisung Anweisung::lageLesen() const
{
    return Anweisung(
        QLatin1String("(function (e) { return e ? {left: e.offsetLeft, top: e.offsetTop} : null; })(") +
        m_skript + QLatin1String(".get(0))"));
}

Anweisung Anweisung::beendet() const
{
    return Anweisung(m_skript + QLatin1Char(';'));
}

Anweisung Anweisung::zeitgeber(const Anweisung &inhalt, int ms)
{
    return Anweisung(QLatin1String("setTimeout((function() {") + inhalt.m_skript + QLatin1String(";}), ") +
                     QString::number(ms) + QLatin1String(");"));
}

Anweisung Anweisung::zeitgeberLoeschen(int id)
{
    return Anweisung(QLatin1String("window.clearTimeout(") + QString::number(id) + QLatin1String(");"));
}

Anweisung Anweisung::ereignis(const SkriptText &name)
{
    return Anweisung(QLatin1String("document.dispatchEvent(new Event('") + name.maskiert() +
                     QLatin1String("'))"));
}

QString Anweisung::stapel(const QStringList &anweisungen)
{
    qsizetype laenge = 8;
    for (const QString &anweisung : anweisungen)
        laenge += anweisung.size() + 22;
    QString skript;
    skript.reserve(laenge);
    for (const QString &anweisung : anweisungen) {
        skript += QLatin1String("try {");
        skript += anweisung;
        skript += QLatin1String("\n} catch (e) {}\n");
    }
    skript += QLatin1String("null");
    return skript;
}

QString Anweisung::injektion(const QString &jquery)
{
    return jquery + QLatin1String("\nvar qt = { 'jQuery': jQuery.noConflict(true) };");
}
