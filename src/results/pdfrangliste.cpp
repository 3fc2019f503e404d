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
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextFrame>

using namespace Exportgrundlage;

namespace {

const QLatin1String Logo("<div><img src='imagespdf/corvantalogo.png' height='50'/></div>");
const QLatin1String
    Seitenumbruch("<div style=\"page-break-after:always\"></div><br>"
                  "<div><img class='logo' src='imagespdf/corvantalogo.png' height='50'/></div>");
// Inside a list the next row or question keeps a line's distance from the logo.
const QLatin1String
    SeitenumbruchInListe("<div style=\"page-break-after:always\"></div><br>"
                         "<div><img class='logo' src='imagespdf/corvantalogo.png' height='50'/></div>"
                         "<br>");

// The ranking table starts a new page before these ranks, the question lists before these questions.
constexpr int RaengeProSeite = 41;
constexpr int FragenProSeite = 8;

// The report is laid out on 96 dpi and scaled to the printer, like any printed rich-text document.
constexpr qreal QuellDpi = 96.0;
constexpr int PdfDpi = 1200;
constexpr int LayoutSchritte = 40;

QString bild(const QString &name)
{
    return QStringLiteral("<img src='imagespdf/") + name + QStringLiteral("' height='10'/>");
}

QString tabelle(const QString &klasse)
{
    return QStringLiteral("<table align='left' class='") + klasse +
           QStringLiteral("' border='0' cellpadding='0' cellspacing='0'>");
}

QString frageZeile(int i, const Frage &frage)
{
    return QStringLiteral("<tr><td width='5%'>") + QString::number(i) +
           QStringLiteral(".</td><td colspan='3'>") + frage.text + QStringLiteral("</td></tr>");
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

void frageDerPerson(QString &html, int i, const Frage &frage, int knopf)
{
    struct Farbe
    {
        QString klasse, kasten, haken;
    };
    static const Farbe richtig{QStringLiteral("auswertungpropersonrichtig"),
                               QStringLiteral("checkbox_green_"), QStringLiteral("haken_hellgruen.png")};
    static const Farbe falsch{QStringLiteral("auswertungpropersonfalsch"), QStringLiteral("checkbox_rot_"),
                              QStringLiteral("haken_rot.png")};
    static const Farbe keine{QStringLiteral("auswertungpropersonkeineantwort"),
                             QStringLiteral("checkbox_sw_"), QStringLiteral("haken_schwarz.png")};
    const Bewertung bewertung = bewerten(frage, knopf);
    const Farbe &farbe = bewertung == Bewertung::Richtig  ? richtig
                         : bewertung == Bewertung::Falsch ? falsch
                                                          : keine;

    html += tabelle(farbe.klasse) + frageZeile(i, frage);
    for (int k = 1; k <= 4; ++k) {
        html += QStringLiteral("<tr><td width='5%'></td><td width='5%'>") +
                bild(farbe.kasten + (k == knopf ? QStringLiteral("t.png") : QStringLiteral("f.png"))) +
                QStringLiteral("</td>") + loesungsZelle(frage, k, farbe.haken) + antwortZelle(frage, k) +
                QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table><br>");
}

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
    return QStringLiteral(
        ".tablestylerangliste {border-collapse:collapse;border:1px solid black;color:#000;}"
        ".tabellenBezeichnung {border-spacing:0px;}"
        ".tablestylegesamtauswertung {left:0px;}"
        ".auswertungpropersonrichtig {color:#00ff01;}"
        ".auswertungpropersonfalsch {color:#fe0000;}"
        ".auswertungpropersonkeineantwort {color:#000000;}"
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
    const bool en = daten.englisch;
    const int n = daten.anzahlFragen;
    QString html;
    html.reserve(4096 + int(daten.personen.size() + 3) * n * 900);

    html += Logo;
    html += (en ? QStringLiteral("<h1>Ranking list after ") : QStringLiteral("<h1>Rangliste nach ")) +
            QString::number(daten.aktuelleFrageNr) + QLatin1Char('/') + QString::number(n) +
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
        if (++rang % RaengeProSeite == 0)
            html += SeitenumbruchInListe;
        html += QStringLiteral("<tr><td><div>") + QString::number(rang) +
                QStringLiteral("</div></td><td><div>") + geraet(daten, person) +
                mitName(name(daten, person)) + QStringLiteral("</div></td><td><div>") +
                sekunden(person.getAntwortszeit()) + QStringLiteral("</div></td><td><div>") +
                QString::number(person.getPunkte()) + QStringLiteral("</div></td></tr>");
    }
    html += QStringLiteral("</table>");

    html += Seitenumbruch;
    html += en ? QStringLiteral("<h1>Questions/Answers Evaluation</h1>")
               : QStringLiteral("<h1>Fragen/Antworten Auswertung</h1>");
    // A path is no markup: an "&" in a folder name must print as it is.
    html += QStringLiteral("Filename: ") + daten.frageFile.toHtmlEscaped() + QStringLiteral("<br>");
    for (int i = 1; i <= n; ++i) {
        const Frage &frage = daten.fragen.at(i - 1);
        if (i % FragenProSeite == 0)
            html += SeitenumbruchInListe;
        html += tabelle(QStringLiteral("tablestylegesamtauswertung")) + frageZeile(i, frage);
        for (int k = 1; k <= 4; ++k) {
            html += QStringLiteral("<tr><td width='5%'></td><td width='5%'>") +
                    QString::number(frage.prozent[k - 1], 'f', 1) + QStringLiteral("%</td>") +
                    loesungsZelle(frage, k, QStringLiteral("haken_schwarz.png")) + antwortZelle(frage, k) +
                    QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table><br>");
    }

    html += Seitenumbruch;
    html += en ? QStringLiteral("<h1>Questions/answers without solution</h1><br>")
               : QStringLiteral("<h1>Fragen/Antworten ohne L&ouml;sung</h1><br>");
    for (int i = 1; i <= n; ++i) {
        if (i % FragenProSeite == 0)
            html += SeitenumbruchInListe;
        frageOhneLoesung(html, i, daten.fragen.at(i - 1));
    }

    html += Seitenumbruch;
    html += en ? QStringLiteral("<h1>Questions/answers with solution</h1><br>")
               : QStringLiteral("<h1>Fragen/Antworten mit L&ouml;sung</h1><br>");
    for (int i = 1; i <= n; ++i) {
        if (i % FragenProSeite == 0)
            html += SeitenumbruchInListe;
        frageMitLoesung(html, i, daten.fragen.at(i - 1));
    }

    for (qsizetype p = 0; p < daten.personen.size(); ++p) {
        const Person &person = daten.personen.at(p);
        html += Seitenumbruch;
        html += tabelle(QStringLiteral("tablestylegesamtauswertung"));
        html += (en ? QStringLiteral("<tr><td><h1>Device-ID: ")
                    : QStringLiteral("<tr><td><h1>Ger&auml;te-ID: ")) +
                geraet(daten, person) + mitName(name(daten, person)) +
                QStringLiteral("</h1></td><td style='padding-left:40'>") +
                (en ? QStringLiteral("<h1>Response time: ") : QStringLiteral("<h1>Antwortszeit: ")) +
                sekunden(person.getAntwortszeit()) +
                QStringLiteral(" [s]</h1></td><td style='padding-left:40'>") +
                (en ? QStringLiteral("<h1>Points: ") : QStringLiteral("<h1>Punktzahl: ")) +
                QString::number(person.getPunkte()) + QStringLiteral("</h1></td></tr></table><br>");
        const QVector<int> &knoepfe = daten.knoepfe.at(p);
        for (int i = 1; i <= n; ++i) {
            if (i % FragenProSeite == 0)
                html += SeitenumbruchInListe;
            frageDerPerson(html, i, daten.fragen.at(i - 1), knoepfe.at(i));
        }
    }
    return html;
}

bool pdfrangliste::drucken(const QString &html, QIODevice *ziel, Melder *melder, int vonProzent)
{
    const auto weiter = [&](int prozent) {
        return !melder || melder->weiter(vonProzent + (100 - vonProzent) * prozent / 100);
    };

    QPdfWriter drucker(ziel);
    drucker.setResolution(PdfDpi);
    drucker.setPageSize(QPageSize(QPageSize::A4));
    // Full page: the document sets its own margins below.
    drucker.setPageMargins(QMarginsF(0, 0, 0, 0));
    drucker.setCreator(QStringLiteral("Plenaro"));

    QTextDocument dokument;
    // Break lines between words only: the document's default also breaks inside a word where a
    // narrow cell wants it, which tears "100.0%" apart instead of widening the column.
    QTextOption umbruch = dokument.defaultTextOption();
    umbruch.setWrapMode(QTextOption::WordWrap);
    dokument.setDefaultTextOption(umbruch);
    dokument.setBaseUrl(basisUrl());
    dokument.setDefaultStyleSheet(standardStil());
    // Parsing cannot report on its way; a progress dialog that is due shows before it starts.
    if (!weiter(2))
        return false;
    dokument.setHtml(html);
    if (!weiter(10))
        return false;

    QPainter maler;
    if (!maler.begin(&drucker))
        return false;

    // What printing a rich-text document does, with room between the pages to report progress and to
    // stop: 2 cm margins on 96 dpi scaled to the printer, page numbers bottom right.
    QAbstractTextDocumentLayout *layout = dokument.documentLayout();
    layout->setPaintDevice(&drucker);
    const int randX = int((2 / 2.54) * QuellDpi);
    const int randY = int((2 / 2.54) * QuellDpi);
    QTextFrameFormat rahmen = dokument.rootFrame()->frameFormat();
    rahmen.setLeftMargin(randX);
    rahmen.setRightMargin(randX);
    rahmen.setTopMargin(randY);
    rahmen.setBottomMargin(randY);
    dokument.rootFrame()->setFrameFormat(rahmen);
    const QRectF seite(0, 0, drucker.width(), drucker.height());
    dokument.setPageSize(seite.size());
    const qreal skalaX = drucker.logicalDpiX() / QuellDpi;
    const qreal skalaY = drucker.logicalDpiY() / QuellDpi;
    const QFont schrift = dokument.defaultFont();
    const QPointF seitenNummer(seite.width() - randX * skalaX, seite.height() - randY * skalaY -
                                                                   QFontMetricsF(schrift, &drucker).ascent() -
                                                                   5 * drucker.logicalDpiY() / 72.0);

    // The layout is the longest part. Asking for the place of blocks further and further down lays
    // the document out in steps, between which the progress moves and a cancel is heard.
    const int zeichen = dokument.characterCount();
    for (int schritt = 1; schritt < LayoutSchritte; ++schritt) {
        layout->blockBoundingRect(dokument.findBlock(int(qint64(zeichen) * schritt / LayoutSchritte)));
        if (!weiter(10 + 20 * schritt / LayoutSchritte)) {
            maler.end();
            return false;
        }
    }
    const int seiten = dokument.pageCount();
    if (!weiter(30)) {
        maler.end();
        return false;
    }
    for (int s = 1; s <= seiten; ++s) {
        maler.save();
        const QRectF ausschnitt(0, (s - 1) * seite.height(), seite.width(), seite.height());
        maler.translate(0, -ausschnitt.top());
        maler.setClipRect(ausschnitt);
        QAbstractTextDocumentLayout::PaintContext kontext;
        kontext.clip = ausschnitt;
        kontext.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(&maler, kontext);
        maler.setClipping(false);
        maler.setFont(schrift);
        const QString nummer = QString::number(s);
        maler.drawText(QPointF(seitenNummer.x() - maler.fontMetrics().horizontalAdvance(nummer),
                               seitenNummer.y() + ausschnitt.top()),
                       nummer);
        maler.restore();
        if (!weiter(30 + 70 * s / seiten)) {
            maler.end();
            return false;
        }
        if (s < seiten && !drucker.newPage()) {
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
    const QString text = html(daten);
    if (!melder.weiter(5))
        return false;

    QSaveFile datei(ziel);
    if (!datei.open(QIODevice::WriteOnly)) {
        fehlerMelden(m_dialoge, ziel, datei.errorString());
        return false;
    }
    const bool gedruckt = drucken(text, &datei, &melder, 5);
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
