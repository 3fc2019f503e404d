#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

// Text that may stand between the single quotes of a statement. It can only be made by escaping,
// so nothing from a question file, a setting or a path reaches a page unescaped.
class SkriptText final
{
public:
    // The program's own literals, escaped like plain text.
    template<qsizetype N>
    SkriptText(const char (&literal)[N]) // NOLINT: literals are meant to convert
        : m_text(zeichenkette(QString::fromUtf8(literal, N - 1)))
    {
    }

    // Shown as it is: apostrophes, backslashes and line breaks cannot end the string. Statements
    // quote with apostrophes only, so double quotes stay as they are.
    static SkriptText klartext(const QString &roh);
    // Text from a question file for html(): markup passes, apostrophes become &apos; and line
    // breaks <br>, so an author's "don't" or a two-line question shows as written.
    static SkriptText frage(const QString &roh);
    static SkriptText zahl(qint64 wert);
    static SkriptText zahl(int wert) { return zahl(qint64(wert)); }
    static SkriptText zahl(uint wert) { return zahl(qint64(wert)); }
    // Up to `stellen` significant digits in the shortest form ("93.3333", "20").
    static SkriptText zahl(double wert, int stellen);
    // A fixed number of decimals with a point ("33.3").
    static SkriptText festkomma(double wert, int nachkomma);
    // A file URL as picture source: characters that would end the URL early (#, ?) or the
    // statement are percent-encoded.
    static SkriptText bildQuelle(const QString &url);
    // A picture in place of one that cannot be read: a framed box naming the file.
    static SkriptText platzhalterBild(const QString &dateiname, int breite, int hoehe);

    SkriptText operator+(const SkriptText &rest) const { return SkriptText(m_text + rest.m_text); }
    SkriptText &operator+=(const SkriptText &rest)
    {
        m_text += rest.m_text;
        return *this;
    }
    bool operator==(const SkriptText &anderer) const { return m_text == anderer.m_text; }

    const QString &maskiert() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }

private:
    explicit SkriptText(QString maskiert)
        : m_text(std::move(maskiert))
    {
    }
    static QString zeichenkette(const QString &roh);

    QString m_text;
};

// The one place that writes JavaScript for the pages. Statements address the page's elements
// through the private jQuery instance "qt.jQuery" that the injection sets up, never through "$".
class Anweisung final
{
public:
    using Paare = std::initializer_list<std::pair<SkriptText, SkriptText>>;

    // qt.jQuery('.name')
    static Anweisung klasse(const SkriptText &name);
    // qt.jQuery('#name')
    static Anweisung id(const SkriptText &name);
    // qt.jQuery('selektor'), for selectors beyond one class
    static Anweisung auswahl(const SkriptText &selektor);

    Anweisung html(const SkriptText &inhalt) const;
    Anweisung text(const SkriptText &inhalt) const;
    // .attr('name','wert')
    Anweisung attr(const SkriptText &name, const SkriptText &wert) const;
    Anweisung removeAttr(const SkriptText &name) const;
    // .css('name', 'wert')
    Anweisung css(const SkriptText &name, const SkriptText &wert) const;
    // .css('name','wert'), the spelling some statements have always had
    Anweisung cssDicht(const SkriptText &name, const SkriptText &wert) const;
    // .css({'name':'wert','name':'wert'})
    Anweisung css(Paare werte) const;
    Anweisung width(const SkriptText &wert) const;
    Anweisung height(const SkriptText &wert) const;
    Anweisung addClass(const SkriptText &name) const;
    Anweisung removeClass(const SkriptText &name) const;
    Anweisung show() const;
    Anweisung hide() const;
    Anweisung stop() const;
    Anweisung remove() const;
    // .after('html'): the markup is the program's own, the values in it escaped
    Anweisung after(const SkriptText &html) const;
    // .prop('innerHTML','html'): replaces all children in one parse, without jQuery walking the
    // old ones for their data first; for long lists of the program's own markup
    Anweisung inhaltErsetzen(const SkriptText &html) const;
    // .animate({height: '65px', width: '55px'}, ms)
    Anweisung animate(Paare ziel, int ms) const;
    // .animate({top: '+=dy',left: '+=dx' }, ms): a move by an offset
    Anweisung verschieben(const SkriptText &dy, const SkriptText &dx, int ms) const;
    // .animate({ opacity: 1 }, ms)
    Anweisung einblenden(int ms) const;

    // Reads, sent with a callback: .height(), .width(), .position(), .length
    Anweisung hoeheLesen() const;
    Anweisung breiteLesen() const;
    Anweisung positionLesen() const;
    Anweisung anzahlLesen() const;
    // The first element's offset from its offset parent in layout pixels: unlike .position(),
    // which measures as drawn, unchanged by a CSS transform around it (a scaled stage).
    Anweisung lageLesen() const;
    // The first element's box as drawn, [left, top, width, height] as shares of the window's width
    // and height (whatever the zoom), or null when there is none.
    Anweisung rechteckLesen() const;
    // A trailing ";"
    Anweisung beendet() const;

    // setTimeout((function() {inhalt;}), ms);  its value is the page's timer id
    static Anweisung zeitgeber(const Anweisung &inhalt, int ms);
    // window.clearTimeout(id);
    static Anweisung zeitgeberLoeschen(int id);
    // document.dispatchEvent(new Event('name')): tells the page's own script what happened around it
    static Anweisung ereignis(const SkriptText &name);

    // The statements of one turn as one script. Each runs on its own, so one that fails in the
    // page (a missing element, a page without jQuery yet) leaves the others as they were; the
    // trailing null keeps the engine from converting a jQuery object into a value.
    static QString stapel(const QStringList &anweisungen);
    // What runs after every page load: jQuery and the private alias the statements use.
    static QString injektion(const QString &jquery);

    const QString &skript() const { return m_skript; }

private:
    explicit Anweisung(QString skript)
        : m_skript(std::move(skript))
    {
    }
    Anweisung methode(QLatin1String name, const SkriptText &wert) const;

    QString m_skript;
};
