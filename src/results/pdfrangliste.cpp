#include "pdfrangliste.h"

#include "startregeln.h"

#include "einstellungen.h"
#include "exportfortschritt.h"
#include "schluessel.h"
#include "uhr.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <map>
#include <memory>

using namespace Exportgrundlage;

namespace {

const QLatin1String Logo("<div><img src='imagespdf/corvantalogo.png' height='50'/></div>");
// Every piece of the report after the first starts a page and is joined to the one before by this.
const QLatin1String Umbruch("<div style=\"page-break-after:always\"></div><br>");
const QLatin1String
    LogoNachUmbruch("<div><img class='logo' src='imagespdf/corvantalogo.png' height='50'/></div>");

// The ranking table starts a new page before these ranks, the question lists before these questions.
constexpr int RaengeProSeite = 41;
constexpr int FragenProSeite = 8;

// The report is laid out on 96 dpi and scaled to the printer, like any printed rich-text document.
constexpr qreal QuellDpi = 96.0;
constexpr int PdfDpi = 1200;
// 2 cm on every side.
const int Rand = int((2 / 2.54) * QuellDpi);

QString bild(const QString &name)
{
    return QStringLiteral("<img src='imagespdf/") + name + QStringLiteral("' height='10'/>");
}

QString tabelle(const QString &klasse)
{
    return QStringLiteral("<table align='left' class='") + klasse +
           QStringLiteral("' border='0' cellpadding='0' cellspacing='0'>");
}

QString frageZeile(int i, const Frage &frage, int spalten = 3)
{
    return QStringLiteral("<tr><td width='5%'>") + QString::number(i) +
           QStringLiteral(".</td><td colspan='") + QString::number(spalten) + QStringLiteral("'>") +
           frage.text + QStringLiteral("</td></tr>");
}

QString antwortZelle(const Frage &frage, int k)
{
    return QStringLiteral("<td width='85%'>") + frage.antworten[k - 1] + QStringLiteral("</td>");
}

QString loesungsZelle(const Frage &frage, int k, const QString &haken)
{
    return QStringLiteral("<td width='5%'>") + (frage.loesungsAntwort == k ? bild(haken) : QString()) +
           QStringLiteral("</td>");
}

// A name is the teacher's text, no markup: "Anna & Ben" must print as it is.
QString mitName(const QString &name)
{
    return name.isEmpty() ? QString() : QStringLiteral(" (") + name.toHtmlEscaped() + QLatin1Char(')');
}

enum class Bewertung { Richtig, Falsch, KeineAntwort };

Bewertung bewerten(const Frage &frage, int knopf)
{
    if (frage.umfrage || knopf == 0)
        return Bewertung::KeineAntwort;
    // The correct button is the digit after "Answer".
    const int korrekt = frage.loesung.mid(6, 1).toInt();
    return korrekt == knopf ? Bewertung::Richtig : Bewertung::Falsch;
}

void frageOhneLoesung(QString &html, int i, const Frage &frage)
{
    html += tabelle(QStringLiteral("tablestylegesamtauswertung")) + frageZeile(i, frage);
    for (int k = 1; k <= 4; ++k) {
        html += QStringLiteral("<tr><td width='5%'></td><td width='5%'>") +
                bild(QStringLiteral("checkbox_sw_f.png")) + QStringLiteral("</td>") + antwortZelle(frage, k) +
                QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><br>");
}

void frageMitLoesung(QString &html, int i, const Frage &frage)
{
    html += tabelle(QStringLiteral("tablestylegesamtauswertung")) + frageZeile(i, frage);
    for (int k = 1; k <= 4; ++k) {
        html += QStringLiteral("<tr><td width='5%'></td>") +
                loesungsZelle(frage, k, QStringLiteral("haken_schwarz.png")) + antwortZelle(frage, k) +
                QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><br>");
}

// How a participant's table shows an answer: the colour of its text (by the class), its boxes and its
// tick.
struct Farbe
{
    QString klasse, kasten, haken;
    QColor farbe;
};

const Farbe &farbe(Bewertung bewertung)
{
    static const Farbe richtig{QStringLiteral("auswertungpropersonrichtig"),
                               QStringLiteral("checkbox_green_"), QStringLiteral("haken_hellgruen.png"),
                               QColor(0x00, 0xff, 0x01)};
    static const Farbe falsch{QStringLiteral("auswertungpropersonfalsch"), QStringLiteral("checkbox_rot_"),
                              QStringLiteral("haken_rot.png"), QColor(0xfe, 0x00, 0x00)};
    static const Farbe keine{QStringLiteral("auswertungpropersonkeineantwort"),
                             QStringLiteral("checkbox_sw_"), QStringLiteral("haken_schwarz.png"),
                             QColor(0x00, 0x00, 0x00)};
    return bewertung == Bewertung::Richtig ? richtig : bewertung == Bewertung::Falsch ? falsch : keine;
}

// A class no rule of the style sheet names: the table of a model has no colour of its own.
const QLatin1String Ungefaerbt("auswertungproperson");

void frageDerPerson(QString &html, int i, const Frage &frage, int knopf, bool gefaerbt = true)
{
    const Farbe &farbe = ::farbe(bewerten(frage, knopf));
    html += tabelle(gefaerbt ? farbe.klasse : QString(Ungefaerbt)) + frageZeile(i, frage);
    for (int k = 1; k <= 4; ++k) {
        html += QStringLiteral("<tr><td width='5%'></td><td width='5%'>") +
                bild(farbe.kasten + (k == knopf ? QStringLiteral("t.png") : QStringLiteral("f.png"))) +
                QStringLiteral("</td>") + loesungsZelle(frage, k, farbe.haken) + antwortZelle(frage, k) +
                QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><br>");
}

// The first round's shares stand, grey, before the second's, and a line under the answers names the
// rounds and counts who went from wrong to right and back.
const QLatin1String Grau("<font color='#808080'>");

QString rundenZeile(const Frage &frage, bool en)
{
    QString zeile = QStringLiteral("<tr><td></td><td colspan='4'>") + Grau + runde(1, en) +
                    QStringLiteral(" \u2192</font> ") + runde(2, en);
    if (!frage.umfrage && frage.loesungsAntwort > 0) {
        zeile += QStringLiteral(" &nbsp; ") + wechselText(Wechsel::FalschZuRichtig, en) +
                 QStringLiteral(": ") + QString::number(frage.falschZuRichtig) + QStringLiteral(", ") +
                 wechselText(Wechsel::RichtigZuFalsch, en) + QStringLiteral(": ") +
                 QString::number(frage.richtigZuFalsch);
    }
    return zeile + QStringLiteral("</td></tr>");
}

void frageMitAnteilen(QString &html, int i, const Frage &frage, bool en)
{
    html += tabelle(QStringLiteral("tablestylegesamtauswertung")) +
            frageZeile(i, frage, frage.zweiRunden ? 4 : 3);
    for (int k = 1; k <= 4; ++k) {
        html += QStringLiteral("<tr><td width='5%'></td>");
        if (frage.zweiRunden) {
            html += QStringLiteral("<td width='10%'>") + Grau +
                    QString::number(frage.prozentErsteRunde[k - 1], 'f', 1) +
                    QStringLiteral("%&nbsp;\u2192</font></td>");
        }
        html += QStringLiteral("<td width='5%'>") + QString::number(frage.prozent[k - 1], 'f', 1) +
                QStringLiteral("%</td>") + loesungsZelle(frage, k, QStringLiteral("haken_schwarz.png")) +
                antwortZelle(frage, k) + QStringLiteral("</tr>");
    }
    if (frage.zweiRunden)
        html += rundenZeile(frage, en);
    html += QStringLiteral("</table><br>");
}

QString rangliste(const Daten &daten)
{
    const bool en = daten.englisch;
    QString html = Logo;
    html += (en ? QStringLiteral("<h1>Ranking list after ") : QStringLiteral("<h1>Rangliste nach ")) +
            QString::number(daten.aktuelleFrageNr) + QLatin1Char('/') + QString::number(daten.anzahlFragen) +
            (en ? QStringLiteral(" questions</h1><br>") : QStringLiteral(" Fragen</h1><br>"));

    html += QStringLiteral("<table class='tablestylerangliste' border='0' cellpadding='0' cellspacing='0'>"
                           "<tr class='tabellenBezeichnung'>");
    html +=
        en ? QStringLiteral("<td width='10%'><div>Rank</div></td><td width='20%'><div>Device-ID</div></td>"
                            "<td width='20%'>Response time [s]</td><td width='20%'>Points</td>")
           : QStringLiteral(
                 "<td width='10%'><div>Rang</div></td><td width='20%'><div>Ger&auml;te-ID</div></td>"
                 "<td width='20%'>Antwortszeit [s]</td><td width='20%'>Punkte</td>");
    html += QStringLiteral("</tr>");
    int rang = 0;
    for (const Person &person : daten.personen) {
        // The table goes on across the page break; inside it the next row keeps a line's distance
        // from the logo.
        if (++rang % RaengeProSeite == 0)
            html += Umbruch + LogoNachUmbruch + QStringLiteral("<br>");
        html += QStringLiteral("<tr><td><div>") + QString::number(rang) +
                QStringLiteral("</div></td><td><div>") + geraet(daten, person) +
                mitName(name(daten, person)) + QStringLiteral("</div></td><td><div>") +
                sekunden(person.getAntwortszeit()) + QStringLiteral("</div></td><td><div>") +
                QString::number(person.getPunkte()) + QStringLiteral("</div></td></tr>");
    }
    html += QStringLiteral("</table>");
    return html;
}

// A piece of the report that starts on a page of its own: the ranking, or the questions `von` to
// `bis` of a question section or of one participant. Joined by `Umbruch`, the pieces are the report.
struct Stueck
{
    enum class Art { Rangliste, Auswertung, OhneLoesung, MitLoesung, Teilnehmer };
    Art art = Art::Rangliste;
    int von = 1;
    int bis = 0;
    qsizetype person = -1;
};

QList<Stueck> gliederung(const Daten &daten)
{
    QList<Stueck> stuecke{Stueck{}};
    const auto fragenSeiten = [&](Stueck::Art art, qsizetype person) {
        // A question list starts a new page before every multiple of FragenProSeite.
        for (int von = 1;;) {
            const int bis = std::min(daten.anzahlFragen, (von / FragenProSeite + 1) * FragenProSeite - 1);
            stuecke.append({art, von, bis, person});
            if (bis >= daten.anzahlFragen)
                return;
            von = bis + 1;
        }
    };
    fragenSeiten(Stueck::Art::Auswertung, -1);
    fragenSeiten(Stueck::Art::OhneLoesung, -1);
    fragenSeiten(Stueck::Art::MitLoesung, -1);
    for (qsizetype p = 0; p < daten.personen.size(); ++p)
        fragenSeiten(Stueck::Art::Teilnehmer, p);
    return stuecke;
}

// A row of the heading when some question was voted on twice: the questions where the participant went
// from a wrong answer to the right one, and back.
QString umgestimmt(const Daten &daten, qsizetype p)
{
    if (!daten.zweiRunden)
        return {};
    const bool en = daten.englisch;
    std::array<QStringList, 2> nummern;
    for (int i = 1; i <= daten.anzahlFragen; ++i) {
        const Wechsel w = wechsel(daten, p, i);
        if (w != Wechsel::Keiner)
            nummern[w == Wechsel::FalschZuRichtig ? 0 : 1] << QString::number(i);
    }
    const QString keine = QStringLiteral("\u2013");
    const auto liste = [&](const QStringList &n) {
        return n.isEmpty() ? keine : n.join(QStringLiteral(", "));
    };
    return QStringLiteral("<tr><td colspan='3'>") +
           (en ? QStringLiteral("Questions changed \u2013 ") : QStringLiteral("Fragen umgestimmt \u2013 ")) +
           wechselText(Wechsel::FalschZuRichtig, en) + QStringLiteral(": ") + liste(nummern[0]) +
           QStringLiteral("; ") + wechselText(Wechsel::RichtigZuFalsch, en) + QStringLiteral(": ") +
           liste(nummern[1]) + QStringLiteral("</td></tr>");
}

// The heading of a participant's pages.
QString kopfTabelle(const Daten &daten, qsizetype p)
{
    const bool en = daten.englisch;
    const Person &person = daten.personen.at(p);
    return tabelle(QStringLiteral("tablestylegesamtauswertung")) +
           (en ? QStringLiteral("<tr><td><h1>Device-ID: ") : QStringLiteral("<tr><td><h1>Ger&auml;te-ID: ")) +
           geraet(daten, person) + mitName(name(daten, person)) +
           QStringLiteral("</h1></td><td style='padding-left:40'>") +
           (en ? QStringLiteral("<h1>Response time: ") : QStringLiteral("<h1>Antwortszeit: ")) +
           sekunden(person.getAntwortszeit()) + QStringLiteral(" [s]</h1></td><td style='padding-left:40'>") +
           (en ? QStringLiteral("<h1>Points: ") : QStringLiteral("<h1>Punktzahl: ")) +
           QString::number(person.getPunkte()) + QStringLiteral("</h1></td></tr>") + umgestimmt(daten, p) +
           QStringLiteral("</table>");
}

// What a piece shows above its first question.
QString kopf(const Daten &daten, const Stueck &stueck)
{
    const bool en = daten.englisch;
    if (stueck.art == Stueck::Art::Rangliste)
        return rangliste(daten);
    // A list's further pages keep a line's distance from the logo.
    if (stueck.von > 1)
        return LogoNachUmbruch + QStringLiteral("<br>");
    switch (stueck.art) {
    case Stueck::Art::Auswertung:
        // A path is no markup: an "&" in a folder name must print as it is.
        return LogoNachUmbruch +
               (en ? QStringLiteral("<h1>Questions/Answers Evaluation</h1>")
                   : QStringLiteral("<h1>Fragen/Antworten Auswertung</h1>")) +
               QStringLiteral("Filename: ") + daten.frageFile.toHtmlEscaped() + QStringLiteral("<br>");
    case Stueck::Art::OhneLoesung:
        return LogoNachUmbruch + (en ? QStringLiteral("<h1>Questions/answers without solution</h1><br>")
                                     : QStringLiteral("<h1>Fragen/Antworten ohne L&ouml;sung</h1><br>"));
    case Stueck::Art::MitLoesung:
        return LogoNachUmbruch + (en ? QStringLiteral("<h1>Questions/answers with solution</h1><br>")
                                     : QStringLiteral("<h1>Fragen/Antworten mit L&ouml;sung</h1><br>"));
    case Stueck::Art::Teilnehmer:
    case Stueck::Art::Rangliste:
        break;
    }
    return LogoNachUmbruch + kopfTabelle(daten, stueck.person) + QStringLiteral("<br>");
}

int knopf(const Daten &daten, const Stueck &stueck, int i)
{
    return daten.knoepfe.at(stueck.person).at(i);
}

void frage(QString &html, const Daten &daten, const Stueck &stueck, int i, bool gefaerbt)
{
    const Frage &frage = daten.fragen.at(i - 1);
    switch (stueck.art) {
    case Stueck::Art::Auswertung:
        frageMitAnteilen(html, i, frage, daten.englisch);
        break;
    case Stueck::Art::OhneLoesung:
        frageOhneLoesung(html, i, frage);
        break;
    case Stueck::Art::MitLoesung:
        frageMitLoesung(html, i, frage);
        break;
    case Stueck::Art::Teilnehmer:
        frageDerPerson(html, i, frage, knopf(daten, stueck, i), gefaerbt);
        break;
    case Stueck::Art::Rangliste:
        break;
    }
}

// The work a piece takes, in tables drawn from a model: one laid out costs about five of them, a row of
// the ranking two. The progress follows it.
qint64 aufwand(const Daten &daten, const Stueck &stueck)
{
    constexpr int Setzen = 5;
    const int tabellen = stueck.bis - stueck.von + 1 + (stueck.von == 1 ? 1 : 0);
    switch (stueck.art) {
    case Stueck::Art::Rangliste:
        return 1 + 2 * daten.personen.size();
    case Stueck::Art::Teilnehmer:
        if (stueck.person > 0)
            return 1 + tabellen;
        break;
    case Stueck::Art::Auswertung:
    case Stueck::Art::OhneLoesung:
    case Stueck::Art::MitLoesung:
        break;
    }
    return 1 + Setzen * tabellen;
}

// A participant's tables are coloured by their answers unless `gefaerbt` is false.
QString stueckHtml(const Daten &daten, const Stueck &stueck, bool gefaerbt = true)
{
    QString html = kopf(daten, stueck);
    for (int i = stueck.von; i <= stueck.bis; ++i)
        frage(html, daten, stueck, i, gefaerbt);
    return html;
}

// The report's pictures, decoded once for all its documents: the PDF embeds each of them once, and no
// document reads a file.
using Bilder = QHash<QUrl, QPixmap>;

Bilder bilderLaden(const QUrl &basis)
{
    Bilder bilder;
    const QDir ordner(basis.toLocalFile() + QStringLiteral("imagespdf"));
    for (const QString &name : ordner.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        const QPixmap bild(ordner.filePath(name));
        if (!bild.isNull())
            bilder.insert(basis.resolved(QUrl(QStringLiteral("imagespdf/") + name)), bild);
    }
    return bilder;
}

// A paragraph of a table cell and where the document's layout draws it: for a table drawn many times,
// the work of drawing the table (its cells, their borders and paddings) is done once.
struct Absatz
{
    const QTextLayout *layout;
    QPointF ort;
};

// A table at the top level of a document.
struct Tabelle
{
    QTextTable *rahmen; // owned by the document
    QRectF bereich;
    // Empty where a cell holds more than paragraphs: the table is then drawn by the document.
    QList<Absatz> absaetze;
};

// A picture by its name and the width and height the text asks for (-1: none).
using Bildgroesse = std::pair<QString, std::pair<qreal, qreal>>;

// What all documents of one report share.
struct Umgebung
{
    QPdfWriter &drucker;
    QUrl basis;
    QString stil;
    Bilder bilder;
    mutable QHash<Bildgroesse, QSizeF> bildGroessen;
};

// A picture at a place of a document.
struct Bild
{
    int position;
    QPixmap pixmap;
};

// A document's handler of pictures. It takes the size of each picture from the layout's own handler
// once for all documents of the report (a table's layout asks many times), and draws other pictures
// than the document's own at some places: all boxes and ticks of the report have one size, so a table
// laid out once shows every participant's.
class Bildwahl final : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
    Q_DISABLE_COPY_MOVE(Bildwahl)

public:
    // Replaces the handler of `layout`, which still sizes the pictures and draws those not chosen.
    Bildwahl(QAbstractTextDocumentLayout *layout, QHash<Bildgroesse, QSizeF> &groessen)
        : QObject(layout)
        , m_bisher(layout->handlerForObject(QTextFormat::ImageObject))
        , m_groessen(groessen)
    {
        if (m_bisher)
            layout->registerHandler(QTextFormat::ImageObject, this);
    }

    // False where the layout had no handler of pictures to replace: it then draws the document's own.
    bool aktiv() const { return m_bisher != nullptr; }

    // The pictures drawn from now on in place of the document's (not owned; null for none).
    void waehlen(const QList<Bild> *bilder) { m_bilder = bilder; }

    // All documents are laid out on one printer: a picture's size there depends on the picture and
    // the size the text asks for alone.
    QSizeF intrinsicSize(QTextDocument *dokument, int position, const QTextFormat &format) override
    {
        const auto verlangt = [&](QTextFormat::Property eigenschaft) {
            return format.hasProperty(eigenschaft) ? format.doubleProperty(eigenschaft) : -1.0;
        };
        const Bildgroesse schluessel{format.stringProperty(QTextFormat::ImageName),
                                     {verlangt(QTextFormat::ImageWidth), verlangt(QTextFormat::ImageHeight)}};
        auto gefunden = m_groessen.constFind(schluessel);
        if (gefunden == m_groessen.constEnd())
            gefunden = m_groessen.insert(schluessel, m_bisher->intrinsicSize(dokument, position, format));
        return *gefunden;
    }

    void drawObject(QPainter *maler, const QRectF &rechteck, QTextDocument *dokument, int position,
                    const QTextFormat &format) override
    {
        for (qsizetype b = 0; m_bilder && b < m_bilder->size(); ++b) {
            const Bild &bild = m_bilder->at(b);
            if (bild.position == position) {
                maler->drawPixmap(rechteck, bild.pixmap, QRectF(bild.pixmap.rect()));
                return;
            }
        }
        m_bisher->drawObject(maler, rechteck, dokument, position, format);
    }

private:
    QTextObjectInterface *m_bisher;
    QHash<Bildgroesse, QSizeF> &m_groessen;
    const QList<Bild> *m_bilder = nullptr;
};

// One document of the report, laid out on the PDF's page, its pictures taken from the shared set.
class Dokument final : public QTextDocument
{
public:
    explicit Dokument(const Umgebung &umgebung)
        : m_bilder(umgebung.bilder)
        , m_seite(umgebung.drucker.width(), umgebung.drucker.height())
    {
        // Break lines between words only: the document's default also breaks inside a word where a
        // narrow cell wants it, which tears "100.0%" apart instead of widening the column.
        QTextOption umbruch = defaultTextOption();
        umbruch.setWrapMode(QTextOption::WordWrap);
        setDefaultTextOption(umbruch);
        setBaseUrl(umgebung.basis);
        setDefaultStyleSheet(umgebung.stil);
        setDocumentMargin(Rand);
        documentLayout()->setPaintDevice(&umgebung.drucker);
        // Owned by the layout.
        m_bildwahl = new Bildwahl(documentLayout(), umgebung.bildGroessen);
    }

    Bildwahl &bildwahl() { return *m_bildwahl; }

    // Lays out `html` on the page. Every document is drawn after it is laid out, a model many times: its
    // paragraphs keep the glyphs of the layout instead of shaping the text anew for every drawing.
    void setzen(const QString &html)
    {
        // With an empty page size nothing is laid out before the text is complete; an invalid one,
        // QSizeF(), still has the text laid out as it is read, and then all of it again.
        setPageSize(QSizeF(0, 0));
        setHtml(html);
        for (QTextBlock block = begin(); block.isValid(); block = block.next())
            block.layout()->setCacheEnabled(true);
        setPageSize(m_seite);
    }

    // The tables at the top level, in order.
    QList<Tabelle> tabellen()
    {
        ganzSetzen();
        QList<Tabelle> liste;
        for (QTextFrame *rahmen : rootFrame()->childFrames()) {
            // Pictures have frames of their own.
            if (auto *tabelle = qobject_cast<QTextTable *>(rahmen))
                liste.append({tabelle, documentLayout()->frameBoundingRect(tabelle), absaetze(tabelle)});
        }
        return liste;
    }

    // Where something shows outside the tables: text, pictures, a coloured paragraph; not the empty
    // lines between the tables.
    QList<QRectF> sichtbar()
    {
        ganzSetzen();
        QList<QRectF> liste;
        for (QTextFrame::iterator it = rootFrame()->begin(); !it.atEnd(); ++it) {
            const QTextBlock block = it.currentBlock();
            if (block.isValid() && (!block.text().trimmed().isEmpty() ||
                                    block.blockFormat().background().style() != Qt::NoBrush))
                liste.append(documentLayout()->blockBoundingRect(block));
        }
        return liste;
    }

protected:
    QVariant loadResource(int typ, const QUrl &name) override
    {
        if (typ == QTextDocument::ImageResource) {
            const QPixmap bild = m_bilder.value(baseUrl().resolved(name));
            if (!bild.isNull())
                return bild;
        }
        return QTextDocument::loadResource(typ, name);
    }

private:
    // The layout goes on lazily where nothing asks for the page count.
    void ganzSetzen() { pageCount(); }

    // The paragraphs of the cells as the layout draws them: it puts the table at its place rounded to
    // whole units, and each paragraph where it lies in its cell relative to the table. None for a table
    // that draws more than its paragraphs: a border or a background.
    QList<Absatz> absaetze(QTextTable *tabelle) const
    {
        if (tabelle->format().border() > 0 || tabelle->format().background().style() != Qt::NoBrush)
            return {};
        const QAbstractTextDocumentLayout *layout = documentLayout();
        const QPointF rahmen = layout->frameBoundingRect(tabelle).topLeft();
        const QPointF gerundet = rahmen.toPoint();
        QList<Absatz> liste;
        for (int zeile = 0; zeile < tabelle->rows(); ++zeile) {
            for (int spalte = 0; spalte < tabelle->columns(); ++spalte) {
                const QTextTableCell zelle = tabelle->cellAt(zeile, spalte);
                // A cell spanning several is drawn once, from where it starts.
                if (zelle.row() != zeile || zelle.column() != spalte)
                    continue;
                const QTextFormat format = zelle.format();
                if (format.background().style() != Qt::NoBrush ||
                    format.hasProperty(QTextFormat::TableCellTopBorderStyle) ||
                    format.hasProperty(QTextFormat::TableCellBottomBorderStyle) ||
                    format.hasProperty(QTextFormat::TableCellLeftBorderStyle) ||
                    format.hasProperty(QTextFormat::TableCellRightBorderStyle))
                    return {};
                for (QTextFrame::iterator it = zelle.begin(); !it.atEnd(); ++it) {
                    const QTextBlock block = it.currentBlock();
                    if (it.currentFrame() || !block.isValid() || !block.isVisible())
                        return {};
                    const QPointF ort =
                        layout->blockBoundingRect(block).topLeft() - block.layout()->position();
                    liste.append({block.layout(), gerundet + (ort - rahmen)});
                }
            }
        }
        return liste;
    }

    const Bilder &m_bilder;
    const QSizeF m_seite;
    Bildwahl *m_bildwahl;
};

// Prints pages onto the PDF one after another, each numbered bottom right.
class Seiten final
{
public:
    Seiten(QPdfWriter &drucker, QPainter &maler, const QFont &schrift)
        : m_drucker(drucker)
        , m_maler(maler)
        , m_schrift(schrift)
        , m_seite(0, 0, drucker.width(), drucker.height())
        , m_nummer(m_seite.width() - Rand * drucker.logicalDpiX() / QuellDpi,
                   m_seite.height() - Rand * drucker.logicalDpiY() / QuellDpi -
                       QFontMetricsF(schrift, &drucker).ascent() - 5 * drucker.logicalDpiY() / 72.0)
    {
    }

    const QRectF &seite() const { return m_seite; }

    // Starts the next page: a new sheet after the first. False when the printer cannot go on.
    bool beginnen()
    {
        if (m_anzahl > 0 && !m_drucker.newPage())
            return false;
        ++m_anzahl;
        m_maler.save();
        m_maler.setClipRect(m_seite);
        return true;
    }

    // Draws the part `ausschnitt` of the laid-out `dokument`, moved by `versatz` onto the page.
    void zeichnen(QTextDocument &dokument, const QRectF &ausschnitt, const QPointF &versatz = {})
    {
        // An empty part would count as no clip at all and draw the whole document.
        if (ausschnitt.height() <= 0)
            return;
        m_maler.save();
        m_maler.translate(versatz);
        QAbstractTextDocumentLayout::PaintContext kontext;
        kontext.clip = ausschnitt;
        kontext.palette.setColor(QPalette::Text, Qt::black);
        dokument.documentLayout()->draw(&m_maler, kontext);
        m_maler.restore();
    }

    // Draws the paragraphs of a table laid out, moved by `versatz`, as the document's layout would;
    // text without a colour of its own in the colour of `stift`.
    void zeichnen(const QList<Absatz> &absaetze, const QPointF &versatz, const QPen &stift)
    {
        m_maler.save();
        m_maler.translate(versatz);
        m_maler.setPen(stift);
        for (const Absatz &absatz : absaetze)
            absatz.layout->draw(&m_maler, absatz.ort);
        m_maler.restore();
    }

    void beenden()
    {
        m_maler.setClipping(false);
        m_maler.setFont(m_schrift);
        const QString nummer = QString::number(m_anzahl);
        m_maler.drawText(
            QPointF(m_nummer.x() - m_maler.fontMetrics().horizontalAdvance(nummer), m_nummer.y()), nummer);
        m_maler.restore();
    }

    // Every page of `dokument`.
    bool alle(QTextDocument &dokument)
    {
        const int seiten = dokument.pageCount();
        for (int s = 0; s < seiten; ++s) {
            if (!beginnen())
                return false;
            const qreal oben = s * m_seite.height();
            zeichnen(dokument, m_seite.translated(0, oben), QPointF(0, -oben));
            beenden();
        }
        return true;
    }

private:
    QPdfWriter &m_drucker;
    QPainter &m_maler;
    const QFont m_schrift;
    const QRectF m_seite;
    const QPointF m_nummer;
    int m_anzahl = 0;
};

// The participants' pages are most of the report and differ little: a question's table looks the
// same for everyone but for the colour of its text, its boxes and its tick, and all boxes and ticks
// have one size. So the first participant's page at each place of the list is laid out once as a
// model, its question tables without a colour, and every participant's page is drawn from it: each
// table in the colour of the answer, with the participant's boxes and tick; only the heading is laid
// out for everyone. A page that would come out different this way (a heading of another height, a
// page that runs over) is laid out whole.
class Teilnehmerseiten final
{
public:
    Teilnehmerseiten(const Daten &daten, const Umgebung &umgebung, Seiten &seiten)
        : m_daten(daten)
        , m_umgebung(umgebung)
        , m_seiten(seiten)
        , m_kopf(umgebung)
        , m_ganz(umgebung)
    {
    }

    bool drucken(const Stueck &stueck)
    {
        Vorlage &vorlage = m_vorlagen[stueck.von];
        if (!vorlage.dokument)
            vorlageSetzen(vorlage, stueck);
        QList<Teil> teile;
        if (!vorlage.brauchbar || !teileSuchen(vorlage, stueck, teile)) {
            m_ganz.setzen(stueckHtml(m_daten, stueck));
            return m_seiten.alle(m_ganz);
        }

        if (!m_seiten.beginnen())
            return false;
        for (const QRectF &bereich : std::as_const(vorlage.sichtbar))
            m_seiten.zeichnen(*vorlage.dokument, bereich);
        for (qsizetype t = 0; t < teile.size(); ++t) {
            // The layout draws a table at its place rounded to whole points; so moved, each lands on
            // exactly the point the model has it on.
            const Teil &teil = teile.at(t);
            const QPointF versatz = vorlage.tabellen.at(t).bereich.topLeft().toPoint() -
                                    teil.tabelle->bereich.topLeft().toPoint();
            vorlage.dokument->bildwahl().waehlen(&teil.bilder);
            m_seiten.zeichnen(teil.tabelle->absaetze, versatz, teil.stift);
        }
        vorlage.dokument->bildwahl().waehlen(nullptr);
        m_seiten.beenden();
        return true;
    }

private:
    // Where a question table shows a box (column 1) or the tick (column 2) of an answer (rows 1 to 4).
    struct Feld
    {
        int position;
        int antwort;
        bool haken;
        // Of the model's picture: another one of this size takes the same room.
        QSize groesse;
    };
    struct Vorlage
    {
        std::unique_ptr<Dokument> dokument;
        // Whose pages it was laid out from.
        qsizetype person = -1;
        // The heading on the first page, then the question tables.
        QList<Tabelle> tabellen;
        // Per question table.
        QList<QList<Feld>> felder;
        QList<QRectF> sichtbar;
        bool brauchbar = false;
    };
    // A table drawn onto a participant's page.
    struct Teil
    {
        const Tabelle *tabelle;
        QPen stift;
        QList<Bild> bilder;
    };

    void vorlageSetzen(Vorlage &vorlage, const Stueck &stueck)
    {
        vorlage.dokument = std::make_unique<Dokument>(m_umgebung);
        vorlage.person = stueck.person;
        vorlage.dokument->setzen(stueckHtml(m_daten, stueck, false));
        vorlage.tabellen = vorlage.dokument->tabellen();
        vorlage.sichtbar = vorlage.dokument->sichtbar();
        const qsizetype kopf = stueck.von == 1 ? 1 : 0;
        const qsizetype erwartet = stueck.bis - stueck.von + 1 + kopf;
        vorlage.brauchbar = vorlage.dokument->bildwahl().aktiv() && vorlage.dokument->pageCount() == 1 &&
                            vorlage.tabellen.size() == erwartet;
        for (qsizetype t = kopf; vorlage.brauchbar && t < erwartet; ++t)
            vorlage.felder.append(felder(vorlage.tabellen.at(t).rahmen));
    }

    QList<Feld> felder(const QTextTable *tabelle) const
    {
        QList<Feld> liste;
        for (int antwort = 1; antwort <= 4 && antwort < tabelle->rows(); ++antwort) {
            for (int spalte = 1; spalte <= 2 && spalte < tabelle->columns(); ++spalte) {
                const QTextTableCell zelle = tabelle->cellAt(antwort, spalte);
                for (QTextFrame::iterator it = zelle.begin(); !it.atEnd(); ++it) {
                    for (QTextBlock::iterator f = it.currentBlock().begin(); !f.atEnd(); ++f) {
                        const QTextFragment fragment = f.fragment();
                        if (!fragment.charFormat().isImageFormat())
                            continue;
                        const QUrl name(fragment.charFormat().toImageFormat().name());
                        const QSize groesse = m_umgebung.bilder.value(m_umgebung.basis.resolved(name)).size();
                        for (int p = fragment.position(); p < fragment.position() + fragment.length(); ++p)
                            liste.append({p, antwort, spalte == 2, groesse});
                    }
                }
            }
        }
        return liste;
    }

    QPixmap bildNamens(const QString &name)
    {
        auto gefunden = m_bilderNachNamen.find(name);
        if (gefunden == m_bilderNachNamen.end()) {
            const QUrl adresse = m_umgebung.basis.resolved(QUrl(QStringLiteral("imagespdf/") + name));
            gefunden = m_bilderNachNamen.insert(name, m_umgebung.bilder.value(adresse));
        }
        return *gefunden;
    }

    // The heading and the question tables of this page with the participant's colours and pictures.
    // False when the heading or a picture has another size than on the model, and the page would come
    // out different from one laid out whole, or when a picture is missing.
    bool teileSuchen(const Vorlage &vorlage, const Stueck &stueck, QList<Teil> &teile)
    {
        qsizetype t = 0;
        if (stueck.von == 1) {
            const Tabelle *kopf = &vorlage.tabellen.first();
            if (stueck.person != vorlage.person) {
                m_kopf.setzen(kopfTabelle(m_daten, stueck.person));
                m_kopfTabellen = m_kopf.tabellen();
                if (m_kopfTabellen.size() != 1 ||
                    m_kopfTabellen.first().bereich.size() != kopf->bereich.size())
                    return false;
                kopf = &m_kopfTabellen.first();
            }
            teile.append({kopf, QPen(QColor(Qt::black)), {}});
            ++t;
        }
        for (int i = stueck.von; i <= stueck.bis; ++i, ++t) {
            const Frage &frage = m_daten.fragen.at(i - 1);
            const int gedrueckt = knopf(m_daten, stueck, i);
            const Farbe &farbe = ::farbe(bewerten(frage, gedrueckt));
            Teil teil{&vorlage.tabellen.at(t), QPen(QBrush(farbe.farbe), 0), {}};
            for (const Feld &feld : vorlage.felder.at(t - (stueck.von == 1 ? 1 : 0))) {
                const QPixmap pixmap = bildNamens(
                    feld.haken ? farbe.haken
                               : farbe.kasten + (feld.antwort == gedrueckt ? QStringLiteral("t.png")
                                                                           : QStringLiteral("f.png")));
                if (pixmap.isNull() || pixmap.size() != feld.groesse)
                    return false;
                teil.bilder.append({feld.position, pixmap});
            }
            teile.append(teil);
        }
        return std::all_of(teile.cbegin(), teile.cend(),
                           [](const Teil &teil) { return !teil.tabelle->absaetze.isEmpty(); });
    }

    const Daten &m_daten;
    const Umgebung &m_umgebung;
    Seiten &m_seiten;
    // Per first question of a page.
    std::map<int, Vorlage> m_vorlagen;
    QHash<QString, QPixmap> m_bilderNachNamen;
    Dokument m_kopf;
    QList<Tabelle> m_kopfTabellen;
    Dokument m_ganz;
};

} // namespace

pdfrangliste::pdfrangliste(Dialoge &dialoge, QObject *eltern)
    : pdfrangliste(dialoge, Uhr::system(), eltern)
{
}

pdfrangliste::pdfrangliste(Dialoge &dialoge, const Uhr &uhr, QObject *eltern)
    : QObject(eltern)
    , m_dialoge(dialoge)
    , m_uhr(uhr)
{
}

QString pdfrangliste::standardStil()
{
    QString stil =
        QStringLiteral(".tablestylerangliste {border-collapse:collapse;border:1px solid black;color:#000;}"
                       ".tabellenBezeichnung {border-spacing:0px;}"
                       ".tablestylegesamtauswertung {left:0px;}");
    // The participants' pages draw their tables in these colours too.
    for (const Bewertung bewertung : {Bewertung::Richtig, Bewertung::Falsch, Bewertung::KeineAntwort}) {
        const Farbe &f = farbe(bewertung);
        stil +=
            QLatin1Char('.') + f.klasse + QStringLiteral(" {color:") + f.farbe.name() + QStringLiteral(";}");
    }
    return stil +
           QStringLiteral(
               ".horizontalelinie {border: none;border-top: 1px dotted #ffffff;color:#ffffff;height:1px;}"
               "h1 {color:#000000;font-weight:normal;}"
               "h2 {color:#000000;font-weight:normal;}"
               ".logo {height: 50;}");
}

QUrl pdfrangliste::basisUrl()
{
    // The pictures sit beside the program in a build tree and below the shared data when
    // installed; the document names them "imagespdf/…" relative to this folder.
    const QString bilder =
        Startregeln::begleitDatei(QCoreApplication::applicationDirPath(), QStringLiteral("imagespdf"));
    return QUrl::fromLocalFile(QFileInfo(bilder).absolutePath() + QLatin1Char('/'));
}

QString pdfrangliste::html(const Daten &daten)
{
    QString html;
    html.reserve(4096 + int(daten.personen.size() + 3) * daten.anzahlFragen * 900);
    const QList<Stueck> stuecke = gliederung(daten);
    for (qsizetype k = 0; k < stuecke.size(); ++k) {
        if (k > 0)
            html += Umbruch;
        html += stueckHtml(daten, stuecke.at(k));
    }
    return html;
}

bool pdfrangliste::drucken(const Daten &daten, QIODevice *ziel, Melder *melder, int vonProzent)
{
    const auto weiter = [&](int prozent) {
        return !melder || melder->weiter(vonProzent + (100 - vonProzent) * prozent / 100);
    };

    QPdfWriter drucker(ziel);
    drucker.setResolution(PdfDpi);
    drucker.setPageSize(QPageSize(QPageSize::A4));
    // Full page: the documents set their own margins.
    drucker.setPageMargins(QMarginsF(0, 0, 0, 0));
    drucker.setCreator(QStringLiteral("Plenaro"));
    QPainter maler;
    if (!maler.begin(&drucker))
        return false;

    const QUrl basis = basisUrl();
    const Umgebung umgebung{drucker, basis, standardStil(), bilderLaden(basis), {}};
    Dokument dokument(umgebung);
    Seiten seiten(drucker, maler, dokument.defaultFont());
    Teilnehmerseiten teilnehmer(daten, umgebung, seiten);
    // Piece by piece, with room between them to report progress and to stop.
    const QList<Stueck> stuecke = gliederung(daten);
    qint64 gesamt = 0;
    for (const Stueck &stueck : stuecke)
        gesamt += aufwand(daten, stueck);
    qint64 erledigt = 0;
    const auto fortschreiten = [&](qint64 arbeit) {
        erledigt += arbeit;
        return weiter(int(100 * erledigt / gesamt));
    };
    for (const Stueck &stueck : stuecke) {
        const qint64 arbeit = aufwand(daten, stueck);
        bool gedruckt = false;
        if (stueck.art == Stueck::Art::Teilnehmer) {
            gedruckt = teilnehmer.drucken(stueck) && fortschreiten(arbeit);
        } else {
            // Most of the work is the layout; the long ranking reports it before its pages.
            dokument.setzen(stueckHtml(daten, stueck));
            dokument.pageCount();
            gedruckt = fortschreiten(arbeit * 4 / 5) && seiten.alle(dokument) &&
                       fortschreiten(arbeit - arbeit * 4 / 5);
        }
        if (!gedruckt) {
            maler.end();
            return false;
        }
    }
    return maler.end();
}

bool pdfrangliste::ranglisteExportieren(QList<Person> personen, const Fragenkatalog *katalog,
                                        int anzahlFragen, int aktuelleFrageNr)
{
    const QDateTime jetzt = QDateTime::fromMSecsSinceEpoch(m_uhr.epochMs());
    const QString ziel = zielWaehlen(m_dialoge, QStringLiteral("Export PDF"), QStringLiteral("*.pdf"),
                                     Schluessel::FilePathPDFRangliste, QStringLiteral(".pdf"),
                                     Einstellungen::istEnglisch(), jetzt);
    if (ziel.isEmpty())
        return false;

    Melder melder(m_fortschritt);
    melder.weiter(0);
    Daten daten = zusammenstellen(std::move(personen), katalog, anzahlFragen, aktuelleFrageNr, jetzt);
    daten.namen = m_namen;
    if (!melder.weiter(5))
        return false;

    QSaveFile datei(ziel);
    if (!datei.open(QIODevice::WriteOnly)) {
        fehlerMelden(m_dialoge, ziel, datei.errorString());
        return false;
    }
    const bool gedruckt = drucken(daten, &datei, &melder, 5);
    if (melder.abgebrochen()) {
        datei.cancelWriting();
        return false;
    }
    QString grund;
    if (!gedruckt || !abschliessen(datei, grund)) {
        if (grund.isEmpty())
            grund = datei.errorString();
        datei.cancelWriting();
        fehlerMelden(m_dialoge, ziel, grund);
        return false;
    }
    Einstellungen::setzen(Schluessel::FilePathPDFRangliste, ordnerTeil(ziel));
    return true;
}

#include "pdfrangliste.moc"
