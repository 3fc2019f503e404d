// The start screen, the question templates and the ranking against a page that records what it is
// told; and the bridge's statements themselves: escaping, and the order of statements and reads.
#include "fakebruecke.h"
#include "festerzufall.h"
#include "geraetschluessel.h"
#include "rangfolge.h"
#include "rangliste.h"
#include "startscreen.h"
#include "templatebasis.h"
#include "templatefabrik.h"
#include "templatetandrivelle.h"
#include "templatetesthilfe.h"
#include "testuhr.h"

#include <QtTest>

#include <sys/stat.h>

using A = Anweisung;

namespace {

const QString Wahr = QStringLiteral("true");
const QString Falsch = QStringLiteral("false");

// The first of `erwartet` (each without its "qt.jQuery('.") that is not among `alle`, or, written
// "!text", the first text that is part of one of them.
QString fehlt(const QStringList &alle, const QStringList &erwartet)
{
    for (const QString &anweisung : erwartet) {
        if (anweisung.startsWith('!') ? !alle.filter(anweisung.mid(1)).isEmpty()
                                      : !alle.contains("qt.jQuery('." + anweisung))
            return anweisung;
    }
    return QString();
}

QString zeile(int rang, const QString &geraet, const QString &zeit, int punkte)
{
    return QStringLiteral(
               "<tr class=\"tabelleReiheRangliste\"><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
        .arg(rang)
        .arg(geraet, zeit)
        .arg(punkte);
}

// All rows go in at once, in rank order, replacing the old ones.
QString zeilen(const QStringList &alle)
{
    return QLatin1String("qt.jQuery('.zeilenRangliste').prop('innerHTML','") + alle.join(QString()) +
           QLatin1String("')");
}

} // namespace

class TestVorlagen final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;
    std::unique_ptr<FakeBruecke> m_bruecke;
    TestUhr m_uhr;
    std::unique_ptr<FesterZufall> m_zufall;
    std::unique_ptr<templatesPlenaro> m_vorlage;
    std::unique_ptr<startscreen> m_start;
    rangliste m_rangliste;
    int m_naechsteId = 100;

    templatesPlenaro &vorlage(const QString &name)
    {
        m_vorlage = templateErzeugen(name, *m_bruecke, m_uhr, *m_zufall);
        m_bruecke->nehmen();
        return *m_vorlage;
    }
    QDomElement frage(const QString &loesung = QStringLiteral("Answer2"),
                      QList<QPair<QString, QString>> mehr = {})
    {
        return m_bau->frage("Wie geht's?\nGut", {"Eins", "Zwei", "Drei", ""}, loesung, "15", mehr);
    }
    // The leaf page as the fall reads it, in the stage's own pixels whatever the zoom: leaf n at
    // (100 + n, 50), the aim at 300, the pile at 800 with a picture 190 high, a stage 1000 high; the
    // timers it starts get the numbers 101, 102, …; the solution is shown.
    void seiteFuerBlattfall()
    {
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, Wahr);
        const auto lage = [](double links, double oben) {
            return QVariantMap{{"left", links}, {"top", oben}};
        };
        m_bruecke->antworter = [this, lage](const QString &ausdruck) -> QVariant {
            for (int n = 1; n <= 60; ++n) {
                if (ausdruck ==
                    Anweisung::klasse(SkriptText("blatt") + SkriptText::zahl(n)).lageLesen().skript())
                    return lage(100 + n, 50);
            }
            if (ausdruck == Anweisung::klasse("posimage13").lageLesen().skript())
                return lage(300, 10);
            if (ausdruck == Anweisung::klasse("blaetterhaufen").lageLesen().skript())
                return lage(0, 800);
            if (ausdruck == QLatin1String("qt.jQuery('.blaetterhaufenimg').height();"))
                return 190;
            if (ausdruck == QLatin1String("qt.jQuery('.seite').height();"))
                return 1000;
            if (ausdruck.startsWith(QLatin1String("setTimeout(")))
                return ++m_naechsteId;
            return {};
        };
    }

private slots:
    void init()
    {
        m_bau = std::make_unique<FragenBau>();
        Einstellungen::setzen(Schluessel::ZoomFaktorTemplateTandrivelle, QStringLiteral("1.2"));
        m_bruecke = std::make_unique<FakeBruecke>();
        m_zufall = std::make_unique<FesterZufall>();
        m_naechsteId = 100;
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
        m_start = std::make_unique<startscreen>(m_uhr);
        m_start->brueckeSetzen(m_bruecke.get());
        m_rangliste.brueckeSetzen(m_bruecke.get());
    }
    void cleanup()
    {
        m_rangliste.brueckeSetzen(nullptr);
        m_start.reset();
        m_vorlage.reset();
        m_bruecke.reset();
        m_bau.reset();
    }

    void stimmen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("konferenz");
        for (const char *name : {"Morvane", "Tandrivelle", "Kahoot"}) {
            for (const bool konferenz : {true, false})
                QTest::addRow("%s%s", name, konferenz ? "" : ", no conference") << QString(name) << konferenz;
        }
    }
    // Each handset of each class set counts once per question, and a new question counts afresh;
    // the count shows in conference mode (Kahoot's, without words, always).
    void stimmen()
    {
        QFETCH(QString, name);
        QFETCH(bool, konferenz);
        Einstellungen::setzen(Schluessel::Konferenzmodus, konferenz ? Wahr : Falsch);
        templatesPlenaro &v = vorlage(name);
        v.geraeteIDAnzeigen(1, 5, 2);
        m_uhr.vorspulen(1000);
        v.geraeteIDAnzeigen(1, 5, 3);
        v.geraeteIDAnzeigen(2, 5, 1);
        v.frageAnzeigen(frage(), 2);
        v.geraeteIDAnzeigen(1, 5, 2);
        const QString zahl = name == "Kahoot" ? "" : konferenz ? "#votes: " : QString();
        QStringList erwartet;
        for (const char *n : {"1", "1", "2", "1"}) {
            if (!zahl.isNull())
                erwartet << "qt.jQuery('.konferenzmodus').html('" + zahl + n + "')";
        }
        QCOMPARE(m_bruecke->nehmen().filter(
                     QRegularExpression("^qt.jQuery\\('.konferenzmodus'\\).html\\('.+'\\)$")),
                 erwartet);
    }

    void countdown_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("rest");
        QTest::addColumn<int>("laenge");
        QTest::addColumn<QStringList>("erwartet");
        const auto morvane = [](const char *zeile, int rest, int laenge, const QString &breite,
                                const QString &text, const QString &farbe) {
            QStringList e{"progressbar').width('" + breite + "')"};
            if (!text.isEmpty())
                e << "text_progressbar').html('" + text + "')";
            if (!farbe.isEmpty())
                e << "progressbar').attr('src','../images/progress_" + farbe + ".png')";
            QTest::addRow("Morvane %s", zeile) << QString("Morvane") << rest << laenge << e;
        };
        morvane("14 of 15", 14, 15, "93.3333%", "14 Sekunden", "");
        morvane("4 turns orange", 4, 15, "26.6667%", "4 Sekunden", "orange");
        morvane("2 turns red", 2, 15, "13.3333%", "2 Sekunden", "rot");
        morvane("end", 0, 15, "0%", "", "rot");
        morvane("no time at all", -1, 0, "0%", "", "rot");
        morvane("half", 5, 10, "50%", "5 Sekunden", "");
        morvane("in English", 14, 15, "93.3333%", "14 seconds", "");
        const auto tandrivelle = [](const char *zeile, int rest, const QStringList &e) {
            QTest::addRow("Tandrivelle %s", zeile) << QString("Tandrivelle") << rest << 15 << e;
        };
        tandrivelle("14 of 15", 14, {"progressbar').height('93.3333%')", "text_progressbar').html('14s')"});
        tandrivelle("3 turns orange", 3,
                    {"progressbar').height('20%')", "text_progressbar').html('3s')",
                     "progressbar').attr('src','../images/progress_orange.png')"});
        tandrivelle("expired", 0,
                    {"text_progressbar').html(' ')", "progressbar').width('0%')",
                     "progressbar').height('0%')", "progressbar').attr('src','../images/progress_rot.png')"});
        // The seconds show in the span of their number of digits; at 0 the circle goes.
        const QStringList spannen{"Einstellig", "Zweistellig", "Dreistellig"};
        for (const int rest : {1, 9, 10, 99, 100, 999, 0, -1, 1000}) {
            QStringList e{"circle').css('visibility', 'inherit')"};
            for (const QString &spanne : spannen)
                e << "countdown" + spanne + "').css('display', 'none')";
            const int stellen = QString::number(rest).size();
            if (rest > 0 && stellen <= 3)
                e << "countdown" + spannen[stellen - 1] + "').html('" + QString::number(rest) + "')"
                  << "countdown" + spannen[stellen - 1] + "').css('display', 'inline')";
            else if (rest == 0)
                e << "circle').css('visibility', 'hidden')";
            QTest::addRow("Kahoot %d", rest) << QString("Kahoot") << rest << 150 << e;
        }
    }
    void countdown()
    {
        QFETCH(QString, name);
        QFETCH(int, rest);
        QFETCH(int, laenge);
        const QString zeile = QTest::currentDataTag();
        if (zeile.contains("English"))
            Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        templatesPlenaro &v = vorlage(name);
        if (zeile.contains("expired"))
            v.countdownAbgelaufen();
        v.updateCountdown(rest, laenge);
        QTEST(m_bruecke->nehmen().replaceInStrings("qt.jQuery('.", QString()), "erwartet");
    }

    void ergebnis_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("loesungZeigen");
        QTest::addColumn<QString>("loesung");
        QTest::addColumn<bool>("genau");
        QTest::addColumn<QStringList>("erwartet");
        const QStringList prozente{"prozentAntwortA').html('33.3%')", "prozentAntwortB').html('66.7%')",
                                   "prozentAntwortC').html('0.0%')"};
        const QString gruen7 =
            "imgGeraeteID7Morvane').attr('src','../IconGeraeteIDMorvane/IconGeraeteIDMorvane/"
            "7_0_gruen.png')";
        const QStringList nurProzente =
            prozente + QStringList{"prozentAntwortB').removeClass('prozentAntwortMitBildRichtigeAntwort')",
                                   "prozentAntwortB').removeClass('prozentAntwortMitBild')",
                                   "prozentAntwortB').addClass('prozentAntwortOhneBild')"};
        const auto zeile = [](const char *tag, const char *name, const QString &zeigen, const char *loesung,
                              bool genau, const QStringList &e) {
            QTest::newRow(tag) << QString(name) << zeigen << QString(loesung) << genau << e;
        };
        zeile("Morvane, B", "Morvane", Wahr, "Answer2", false,
              prozente +
                  QStringList{gruen7,
                              "imgAntwortB').attr('src','../images/antwortHintergrundSchraegGruen.gif')"});
        zeile("Morvane, A", "Morvane", Wahr, "Answer1", false,
              prozente +
                  QStringList{gruen7,
                              "imgAntwortA').attr('src','../images/antwortenHintergrundRechtsGruen.gif')"});
        zeile("Morvane, hidden", "Morvane", Falsch, "Answer2", true, nurProzente);
        zeile("Morvane, setting missing counts as hidden", "Morvane", QString(), "Answer2", true,
              nurProzente);
        zeile("Tandrivelle", "Tandrivelle", Wahr, "Answer2", false,
              {"imghaken_B').attr('src','../images/haken_gruen.png')",
               "imghaken_B').css('display', 'inline')", "prozent_A').html('33.3%')",
               "prozent_B').html('66.7%')"});
        zeile("Tandrivelle, hidden", "Tandrivelle", Falsch, "Answer2", true, {});
        QStringList kahoot{"circle').css('visibility', 'hidden')", "imgfrageKahoot').css('display', 'none')",
                           "prozentMainTableSpan').css('display', 'inline')"};
        const QStringList werte{"33.3", "66.7", "0.0", "0.0"};
        for (int i = 0; i < 4; ++i) {
            const QString b(QChar('A' + i));
            const QString haken = i == 1 ? "inherit')" : "hidden')";
            kahoot << "hakenAntwort" + b + "').css('visibility', '" + haken
                   << "prozentProzenangabeHakenAntwort" + b + "').css('visibility', '" + haken
                   << "tabelleProzentBalken" + b + "').css('visibility', 'inherit')"
                   << "tabelleProzentBalken" + b + "').css('height', '" + werte[i] + "%')"
                   << "prozentProzenangabeText" + b + "').html('" + werte[i] + "%')";
        }
        zeile("Kahoot", "Kahoot", Wahr, "Answer2", false, kahoot);
        const QStringList kreis{"circle').css('visibility', 'hidden')"};
        zeile("Kahoot, hidden", "Kahoot", Falsch, "Answer1", true, kreis);
        zeile("Kahoot, poll, percentages off", "Kahoot", Wahr, "NoAnswer", true, kreis);
        zeile("Morvane, poll, percentages off", "Morvane", Wahr, "NoAnswer", false, {"!.html("});
        zeile("Morvane, poll, percentages on", "Morvane", Wahr, "NoAnswer", false, prozente);
        // Answer D has neither text nor picture: no percentage.
        zeile("Morvane, picture answer B", "Morvane", Wahr, "Answer2", false,
              {"imgAntwortB').addClass('imgAntwortRichtig')", "!SchraegGruen", "!prozentAntwortD').html",
               "prozentAntwortB').addClass('prozentAntwortMitBildRichtigeAntwort')"});
    }
    // The solution is marked (a picture answer framed) and its voters' icons turn green when it is
    // shown; the percentages follow their own switches. Without the solution, and in a poll whose
    // percentages are switched off, nothing more shows and no leaf falls.
    void ergebnis()
    {
        QFETCH(QString, name);
        QFETCH(QString, loesungZeigen);
        QFETCH(QString, loesung);
        QFETCH(bool, genau);
        QFETCH(QStringList, erwartet);
        if (!loesungZeigen.isNull())
            Einstellungen::setzen(Schluessel::LoesungAnzeigen, loesungZeigen);
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, Wahr);
        Einstellungen::setzen(Schluessel::UmfrageProzentAntwortenAnzeigen,
                              QString(QTest::currentDataTag()).contains("percentages on") ? Wahr : Falsch);
        QList<QPair<QString, QString>> bild;
        if (QString(QTest::currentDataTag()).contains("picture"))
            bild.append({"PictureAnswer2", m_bau->bild("b.png", 50)});
        templatesPlenaro &v = vorlage(name);
        zeigen(v, frage(loesung, bild));
        m_bruecke->nehmen();
        v.richtigeAntwortAnzeigen({Person(7, 1)}, {Person(8, 1)}, loesung, {100.0 / 3, 200.0 / 3, 0.0, 0.0});
        const QStringList alle = m_bruecke->nehmen();
        QVERIFY(alle.filter("8_0_gruen").isEmpty());
        if (genau) {
            QCOMPARE(alle, QStringList(erwartet).replaceInStrings(QRegularExpression("^"), "qt.jQuery('."));
            QCOMPARE(m_zufall->gezogen, 0);
        } else {
            QCOMPARE(fehlt(alle, erwartet), QString());
        }
    }

    // A new question takes back everything of the last one: the marks and green tiles, texts,
    // percentages, icons and the count of votes; the page keeps no history.
    void morvaneFrageSetztZurueck()
    {
        const int verlauf = m_bruecke->verlaufGeloescht;
        templatesPlenaro &v = vorlage("Morvane");
        QCOMPARE(m_bruecke->verlaufGeloescht, verlauf + 1);
        v.geraeteIDAnzeigen(1, 7, 1);
        v.frageAnzeigen(frage(), 3);
        const QStringList alle = m_bruecke->nehmen();
        QStringList erwartet{"textFrage').html('Wie geht&apos;s?<br>Gut')",
                             "imgAntwortB').attr('src','../images/antwortHintergrundGrau.gif')",
                             "allImgGeraete').css('display', 'none')",
                             "imgfrageMorvane').css('display', 'none')",
                             "progressbar').width('0%')",
                             "text_progressbar').html('')"};
        for (const QString b : {"A", "B", "C", "D"})
            erwartet << "imgAntwort" + b + "').removeClass('imgAntwortRichtig')"
                     << "textAntwort" + b + "').html('')"
                     << "prozentAntwort" + b + "').html('')"
                     << "kachel" + b + "').removeClass('mitBeschriftung')";
        QCOMPARE(fehlt(alle, erwartet), QString());
        QCOMPARE(alle.last(), QString("qt.jQuery('.konferenzmodus').html('')"));
    }

    void bilder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text"); // of the question; none: a picture answer
        QTest::addColumn<int>("hoehe");
        QTest::addColumn<QStringList>("erwartet");
        const auto zeile = [](const char *name, const char *zusatz, const QString &text, int hoehe,
                              const QStringList &erwartet) {
            QTest::addRow("%s%s", name, zusatz) << QString(name) << text << hoehe << erwartet;
        };
        // A text and a picture both show, the picture capped; a picture alone fills the band. Whether
        // they fit the window and load is seen on the real pages.
        zeile("Morvane", "", "Text", 400,
              {"frageBand').addClass('mitText')", "imgfrageMorvane').attr('src','URL')",
               "imgfrageMorvane').attr('height','180')"});
        zeile("Morvane", ", picture alone", "", 120,
              {"frageBand').removeClass('mitText')", "imgfrageMorvane').attr('height','120')"});
        zeile("Tandrivelle", "", "Text", 400,
              {"imgfrage').attr('src','URL')", "imgfrage').attr('height','150')"});
        zeile("Kahoot", "", "Beide", 500,
              {"imgfrageKahoot').attr('src','URL')", "imgfrageKahoot').attr('height','360')"});
        // A picture answer shows its picture with its text as its label; answers without text or
        // picture show nothing of their own.
        zeile("Morvane", " answers", QString(), 90,
              {"kachelB').addClass('mitBeschriftung')", "imgAntwortB').attr('height','90')",
               "kachelA').removeClass('mitBeschriftung')", "textAntwortC').html('')",
               "imgAntwortC').attr('src','../images/antwortenHintergrundBlauRechts.gif')"});
        zeile("Tandrivelle", " answers", QString(), 100,
              {"C_mit_Rand_Image').css('display', 'none')", "D_mit_Rand_Image').css('display', 'none')",
               "imgantworttext_b').attr('src','URL')", "text_progressbar').html('15s')"});
        zeile("Kahoot", " answers", QString(), 300,
              {"imgAntwortB').attr('height','120')", "imgAntwortA').removeAttr('height')"});
    }
    void bilder()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, hoehe);
        QFETCH(QStringList, erwartet);
        const QString bild = m_bau->bild("b.png", hoehe);
        templatesPlenaro &v = vorlage(name);
        if (text.isNull()) {
            v.frageAnzeigen(frage(), 2);
            m_bruecke->nehmen();
            v.antwortenAnzeigen(m_bau->frage("", {"Eins", "Zwei", ""}, "", "15", {{"PictureAnswer2", bild}}));
        } else {
            v.frageAnzeigen(m_bau->frage({{"QuestionText", text}, {"PictureQuestionText", bild}}), 1);
        }
        QCOMPARE(fehlt(m_bruecke->nehmen(), erwartet.replaceInStrings("URL", m_bau->url(bild))), QString());
    }

    void unlesbaresBildWirdZumPlatzhalter_data()
    {
        QTest::addColumn<QString>("art");
        QTest::newRow("missing file") << QString("fehlt");
        QTest::newRow("FIFO, would block the reader") << QString("fifo");
        QTest::newRow("directory") << QString("ordner");
        QTest::newRow("not a picture") << QString("text");
    }
    void unlesbaresBildWirdZumPlatzhalter()
    {
        QFETCH(QString, art);
        const QString name = art + "_bild &'<x>\".png";
        const QString pfad = m_bau->url(name).mid(QStringLiteral("file:").size());
        if (art == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        else if (art == "ordner")
            QVERIFY(QDir().mkpath(pfad));
        else if (art == "text") {
            QFile datei(pfad);
            QVERIFY(datei.open(QIODevice::WriteOnly));
            datei.write("kein Bild");
        }
        vorlage("Morvane").frageAnzeigen(
            m_bau->frage({{"QuestionText", "Text"}, {"PictureQuestionText", name}}), 1);
        const QStringList alle = m_bruecke->nehmen();
        const QStringList quelle = alle.filter("imgfrageMorvane').attr('src',");
        QCOMPARE(quelle.size(), 1);
        // A framed box that names the file, at a height the audience sees; nothing in the name ends
        // the statement, the URL or the picture's markup.
        const QString svg = quelle.first().section('\'', 5, 5);
        QVERIFY2(svg.startsWith("data:image/svg+xml;charset=utf-8,"), qPrintable(quelle.first()));
        QVERIFY(!svg.contains('"') && !svg.contains('#') && !svg.contains('?') && !svg.contains('\\'));
        QVERIFY(QString::fromUtf8(QByteArray::fromPercentEncoding(svg.toLatin1()))
                    .contains(art + "_bild &amp;&#39;&lt;x&gt;&quot;.png"));
        QVERIFY(alle.contains("qt.jQuery('.imgfrageMorvane').attr('height','120')"));
    }

    // A handset's icon shows in the blue look; a phone has none.
    void morvaneGeraete()
    {
        templatesPlenaro &v = vorlage("Morvane");
        v.geraeteIDAnzeigen(1, 12, 2);
        QCOMPARE(m_bruecke->nehmen(),
                 (QStringList{"qt.jQuery('.imgGeraeteID12Morvane').attr('src','../IconGeraeteIDMorvane/"
                              "IconGeraeteIDMorvane/12_0_blau.png')",
                              "qt.jQuery('.imgGeraeteID12Morvane').css('display', 'inline')"}));
        v.geraeteIDAnzeigen(65536, 12, 2);
        QCOMPARE(m_bruecke->nehmen(), QStringList());
    }

    void morvaneZoomNachAnsichtshoehe_data()
    {
        QTest::addColumn<int>("hoehe");
        QTest::addColumn<double>("zoom");
        const double zooms[] = {1.0, 1.0, 0.95, 0.95, 0.9, 0.9, 0.85, 0.25};
        int i = 0;
        for (const int hoehe : {1000, 950, 949, 902, 901, 900, 855, 0})
            QTest::addRow("%d", hoehe) << hoehe << zooms[i++];
    }
    void morvaneZoomNachAnsichtshoehe()
    {
        QFETCH(int, hoehe);
        m_bruecke->ansichtHoehe = hoehe;
        vorlage("Morvane").frageAnzeigen(frage(), 1);
        QTEST(m_bruecke->zoomFaktor(), "zoom");
    }

    void tandrivelleFrageMitNummerUndFett()
    {
        Einstellungen::setzen(Schluessel::FrageNummerInTemplateAnzeigen, Wahr);
        Einstellungen::setzen(Schluessel::FragetextFett, Wahr);
        templatesPlenaro &v = vorlage("Tandrivelle");
        v.frageAnzeigen(m_bau->frage("Frage", {}), 3);
        const QStringList alle = m_bruecke->nehmen();
        QCOMPARE(alle.mid(0, 3), (QStringList{"qt.jQuery('.textFrageNummer').html('3.')",
                                              "qt.jQuery('.textFrage').html('Frage')",
                                              "qt.jQuery('.textFrage').css('font-weight', 'bold')"}));
        // The ticks, leaves, pile, percentages and the count of the last question go.
        QCOMPARE(
            fehlt(alle, {"imghaken_A').css('display', 'none')", "imghaken_D').css('display', 'none')",
                         "allImgGeraete').css('display', 'none')", "allImgGeraete').css('position','static')",
                         "blaetterhaufenimg').css('opacity', '0.0')", "prozent_A').html('')",
                         "prozent_D').html('')", "konferenzmodus').html('')"}),
            QString());

        Einstellungen::setzen(Schluessel::FrageNummerInTemplateAnzeigen, Falsch);
        Einstellungen::setzen(Schluessel::FragetextFett, Falsch);
        v.frageAnzeigen(frage(), 4);
        QCOMPARE(fehlt(m_bruecke->nehmen(), {"!textFrageNummer", "textFrage').css('font-weight', 'normal')"}),
                 QString());
    }

    void tandrivelleZoomEinpassen_data()
    {
        QTest::addColumn<int>("inhalt");
        QTest::addColumn<int>("ansicht");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<bool>("geaendert");
        QTest::newRow("too tall") << 1010 << 900 << 1.05 << true;
        QTest::newRow("much room") << 500 << 1080 << 1.55 << true;
        QTest::newRow("fits") << 800 << 1080 << 1.2 << false;
        QTest::newRow("just too tall") << 901 << 900 << 1.15 << true;
        QTest::newRow("far too tall stays usable") << 30000 << 300 << 0.25 << true;
    }
    void tandrivelleZoomEinpassen()
    {
        QFETCH(int, inhalt);
        QFETCH(int, ansicht);
        bool veraendert = false;
        QTEST(templatetandrivelle::zoomEinpassen(inhalt, ansicht, 1.2, &veraendert), "zoom");
        QTEST(veraendert, "geaendert");
    }

    void tandrivelleZoomNurBeiDerErstenFrageUndGespeichert()
    {
        // bar 500 → 600, text 100 → 190, picture 0 → 50: content 600 + 190 + 130 = 920.
        m_bruecke->werte = {{"qt.jQuery('.progressbar').height()", 500},
                            {"qt.jQuery('.textFrage').height()", 100},
                            {"qt.jQuery('.imgfrage').height()", 0}};
        m_bruecke->ansichtHoehe = 850;
        m_bruecke->verzoegert = true;
        templatesPlenaro &v = vorlage("Tandrivelle");
        QCOMPARE(m_bruecke->zoomFaktor(), 1.2);
        zeigen(v, frage());
        QCOMPARE(m_bruecke->zoomFaktor(), 1.2); // nothing until the answers arrive
        m_bruecke->antworten();
        // 920 > 850: 874 > 850, 830 → n = 2
        QCOMPARE(m_bruecke->zoomFaktor(), 1.1);
        QCOMPARE(Einstellungen::text(Schluessel::ZoomFaktorTemplateTandrivelle), QString("1.1"));

        m_bruecke->nehmen();
        m_bruecke->verzoegert = false;
        zeigen(v, frage(), 2);
        QVERIFY(m_bruecke->nehmen().filter(QRegularExpression("^\\?")).isEmpty());
    }

    void tandrivelleBlattfall_data()
    {
        QTest::addColumn<int>("richtig");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QString>("deltaY");
        // Leaf 7 at (107, 50); the zoom moves nothing on the stage. Of 31 voters and more the
        // leaves aim at the middle of the pile. Draws 79, 59: u 0.6, v 0.2 → dx 32, dy 4.
        for (const double zoom : {0.8, 1.2, 2.0}) {
            QTest::addRow("3 voters, zoom %.1f: from the stage height", zoom)
                << 2 << zoom << QString("797"); // 1000 - 190 + 41 - 50 - 4
            QTest::addRow("30 voters, zoom %.1f: from the stage height", zoom)
                << 29 << zoom << QString("797");
            QTest::addRow("31 voters, zoom %.1f: onto the pile", zoom)
                << 30 << zoom << QString("841"); // 800 + 95 - 50 - 4
        }
    }
    void tandrivelleBlattfall()
    {
        QFETCH(int, richtig);
        QFETCH(double, zoom);
        QFETCH(QString, deltaY);
        seiteFuerBlattfall();
        templatesPlenaro &v = vorlage("Tandrivelle");
        zeigen(v, frage("Answer1"), 2);
        m_bruecke->setZoomFaktor(zoom);
        m_bruecke->nehmen();
        m_zufall->nachlegen({79, 59, 1234, 5000});
        QList<Person> richtige;
        for (int i = 0; i < richtig; ++i)
            richtige << Person(20 + i, 1);
        v.richtigeAntwortAnzeigen(richtige, {Person(7, 1)}, QStringLiteral("Answer1"), {50, 50, 0, 0});
        // Turn 1234 % 401 = 31, delay 5000 % 3001 = 1999; the pile shows once the leaves are down.
        QCOMPARE(
            m_bruecke->nehmen().filter("setTimeout"),
            (QStringList{"?setTimeout((function() {qt.jQuery('.blatt7').animate({top: '+=" + deltaY +
                             "',left: '+=" + QString::number((300 - 107) - 32) +
                             "' }, 4000).css('-webkit-transition', '-webkit-transform 4s')"
                             ".css('-webkit-transform', 'rotate(31deg)').css('transition-delay', '0.5s')"
                             ".css('-webkit-filter', 'hue-rotate(-39deg)');}), 1999);",
                         "setTimeout((function() {qt.jQuery('.blaetterhaufenimg').animate({ opacity: 1 }, "
                         "4000);}), 5000);"}));
        QCOMPARE(m_zufall->gezogen, 4);
    }

    // Leaves fall one after the other however late the page answers; answers that come after the
    // presenter moved on, or after the template has gone, move no leaf. The next question clears the timers
    // of falls that have not started, once; a timer's id that comes after the presenter moved on is cleared
    // as it comes.
    void tandrivelleBlattfallBeiSpaetenAntworten()
    {
        seiteFuerBlattfall();
        m_bruecke->verzoegert = true;
        m_zufall->nachlegen({79, 59, 1234, 5000, 79, 59, 1234, 5000});
        templatesPlenaro &v = vorlage("Tandrivelle");
        v.frageAnzeigen(frage(), 2);
        v.richtigeAntwortAnzeigen({}, {Person(3, 1), Person(9, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        m_bruecke->antworten();
        const QStringList alle = m_bruecke->nehmen();
        const int drei = int(alle.indexOf("qt.jQuery('.blatt3').css('z-index', '99')"));
        const int neun = int(alle.indexOf("qt.jQuery('.blatt9').css({'position':'relative'})"));
        QVERIFY(drei > 0 && neun > drei);
        QCOMPARE(alle.filter("?setTimeout").size(), 2);
        QCOMPARE(m_zufall->gezogen, 8);
        v.frageAnzeigen(frage(), 3);
        QCOMPARE(m_bruecke->nehmen().filter("clearTimeout"),
                 (QStringList{"window.clearTimeout(101);", "window.clearTimeout(102);"}));
        v.frageAnzeigen(frage(), 4);
        QVERIFY(m_bruecke->nehmen().filter("clearTimeout").isEmpty());

        v.richtigeAntwortAnzeigen({}, {Person(4, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        v.frageAnzeigen(frage(), 5);
        m_bruecke->nehmen();
        m_bruecke->antworten();
        QVERIFY(m_bruecke->nehmen().isEmpty());

        v.richtigeAntwortAnzeigen({}, {Person(3, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        for (int i = 0; i < 5; ++i) // positions, the pile's and the stage's height: the fall is sent
            QVERIFY(m_bruecke->eineAntwort());
        QCOMPARE(m_bruecke->nehmen().filter("?setTimeout").size(), 1);
        v.frageAnzeigen(frage(), 6);
        m_bruecke->nehmen();
        QVERIFY(m_bruecke->eineAntwort());
        QCOMPARE(m_bruecke->nehmen(), QStringList{"window.clearTimeout(103);"});
        v.frageAnzeigen(frage(), 7);
        QVERIFY(m_bruecke->nehmen().filter("clearTimeout").isEmpty());

        // Answers that come after the template is gone reach nothing.
        v.richtigeAntwortAnzeigen({}, {Person(3, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        m_vorlage.reset();
        m_bruecke->nehmen();
        m_bruecke->antworten();
        QCOMPARE(m_bruecke->nehmen(), QStringList());
    }

    // A leaf that reappears shows at rest; a press bounces it, but not within 200 ms of the last,
    // and only when conference mode is off.
    void tandrivelleBlaetterZeigenUndWippen()
    {
        Einstellungen::setzen(Schluessel::Konferenzmodus, Falsch);
        templatesPlenaro &v = vorlage("Tandrivelle");
        v.geraeteIDAnzeigen(1, 5, 2);
        QCOMPARE(fehlt(m_bruecke->nehmen(),
                       {"blatt5').css({'top':'0','left':'0'}).css('-webkit-transform', 'rotate(0deg)')",
                        "blatt5').css({'opacity':'1.0'})", "blatt5').css('display', 'inline')"}),
                 QString());
        const QStringList wippen{"qt.jQuery('.blatt5').animate({height: '65px'}, 100)",
                                 "qt.jQuery('.blatt5').animate({height: '55px'}, 100)"};
        for (const int ms : {0, 150, 150, 300}) {
            m_uhr.vorspulen(ms);
            v.geraeteIDAnzeigen(1, 5, 2);
            QCOMPARE(m_bruecke->nehmen(), ms == 0 || ms == 300 ? wippen : QStringList());
        }
        for (const QString &konferenz : {Wahr, QString()}) {
            Einstellungen::setzen(Schluessel::Konferenzmodus, konferenz);
            m_uhr.vorspulen(1000);
            v.geraeteIDAnzeigen(1, 5, 2);
            QVERIFY(m_bruecke->nehmen().filter("animate").isEmpty());
        }
    }

    void kahootAntwortenWortInDerSpracheDerOberflaeche()
    {
        const QDomElement frage = m_bau->frage({{"QuestionText", "Q"}});
        templatesPlenaro &v = vorlage("Kahoot");
        v.frageAnzeigen(frage, 1);
        QVERIFY(m_bruecke->nehmen().filter("anzahlAntortenText').html(").isEmpty()); // the page's German word
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        v.frageAnzeigen(frage, 2);
        const QStringList alle = m_bruecke->nehmen();
        const auto versteckt = alle.indexOf("qt.jQuery('.anzahlAntortenText').css('visibility', 'hidden')");
        QCOMPARE(alle.value(versteckt + 1), QString("qt.jQuery('.anzahlAntortenText').html('Answers')"));
    }

    void aussehen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("bild");
        const QString blau = "_0_blau.png')", gruen = "_0_green.png')";
        QTest::newRow("Morvane German") << QString("Morvane") << QString("1031") << blau;
        QTest::newRow("Tandrivelle English") << QString("Tandrivelle") << QString("1033") << gruen;
        QTest::newRow("Kahoot looks green") << QString("Kahoot") << QString("") << gruen;
        QTest::newRow("unknown name: green handsets") << QString("Blau") << QString("1033") << gruen;
    }
    // Every slot gets the look's picture while hidden, the last of them ahead of the fit; the
    // page's words come in the program's language.
    void aussehen()
    {
        QFETCH(QString, name);
        QFETCH(QString, sprache);
        QFETCH(QString, bild);
        Einstellungen::setzen(Schluessel::InstallerLanguage, sprache);
        m_start->templateSetzen(name);
        const QStringList alle = m_bruecke->nehmen();
        QCOMPARE(alle.first(), QString("qt.jQuery('.allImgGeraete').css('display', 'none')"));
        const QStringList bilder = alle.mid(alle.size() - 61, 60);
        QCOMPARE(QSet<QString>(bilder.begin(), bilder.end()).size(), 60);
        QCOMPARE(bilder.filter(bild).size(), 60);
        QCOMPARE(alle.last(), QString("?qt.jQuery('.tabelleDeviceID').width()"));
        QCOMPARE(m_start->variante(), name);
        const QStringList englisch{
            "qt.jQuery('.textUSBEmpfaengerEinstecken').html('Plug in the USB receiver')",
            "qt.jQuery('.textBeliebigeTasteDruecken').html('Press any button')",
            "qt.jQuery('.textLeerschlagtasteStarten').html('Start with space bar')"};
        QCOMPARE(alle.filter(".html("), sprache == "1033" && name != "Blau" ? englisch : QStringList());
    }

    void tabelleEinpassen_data()
    {
        QTest::addColumn<int>("bildschirm");
        QTest::addColumn<int>("projektor"); // the class's screen beside the laptop, 0 for none
        QTest::addColumn<QVariant>("breite");
        QTest::addColumn<QList<double>>("zooms");
        QTest::newRow("1200 on 1920") << 1920 << 0 << QVariant(1200) << QList<double>{1.05};
        QTest::newRow("900 on 1920") << 1920 << 0 << QVariant(900) << QList<double>{1.35};
        QTest::newRow("1250 on 1920: n = 0") << 1920 << 0 << QVariant(1250) << QList<double>{1.0};
        QTest::newRow("1200 on 1366: smaller") << 1366 << 0 << QVariant(1200) << QList<double>{0.75};
        QTest::newRow("1200 on a 1920 projector beside 1366")
            << 1366 << 1920 << QVariant(1200) << QList<double>{1.05};
        QTest::newRow("exactly two thirds") << 1920 << 0 << QVariant(1280) << QList<double>{};
        QTest::newRow("no table: unchanged, no endless fit") << 1920 << 0 << QVariant() << QList<double>{};
    }
    void tabelleEinpassen()
    {
        QFETCH(int, bildschirm);
        QFETCH(int, projektor);
        QFETCH(QVariant, breite);
        Einstellungen::setzen(Schluessel::DesktopWidth, bildschirm);
        if (breite.isValid())
            m_bruecke->werte.insert(QStringLiteral("qt.jQuery('.tabelleDeviceID').width()"), breite);
        m_start->schirmbreiteSetzen(projektor);
        m_bruecke->zooms.clear();
        m_start->tabelleEinpassen();
        QTEST(m_bruecke->zooms, "zooms");
    }

    // A press bounces a known handset's icon, but not within 200 ms of the last; a restart hides
    // the icons but the handset stays known.
    void geraeteImGruenenAussehenWippen()
    {
        m_start->templateSetzen(QStringLiteral("Tandrivelle"));
        m_bruecke->nehmen();
        const QStringList zeigen{"qt.jQuery('.imgGeraeteID7').attr('src','../IconGeraeteIDTandrivelle/"
                                 "IconGeraeteIDTandrivelle/7_0_green.png')",
                                 "qt.jQuery('.imgGeraeteID7').css('height', '55px')",
                                 "qt.jQuery('.imgGeraeteID7').css('display', 'inline')"};
        const QStringList wippen{"qt.jQuery('.imgGeraeteID7').animate({height: '65px', width: '55px'}, 100)",
                                 "qt.jQuery('.imgGeraeteID7').animate({height: '55px', width: '45px'}, 100)"};
        for (const int ms : {0, 500, 100, -1}) {
            if (ms < 0) {
                m_start->alleGeraeteVerbergen();
                m_uhr.vorspulen(300);
                m_bruecke->nehmen();
            }
            m_uhr.vorspulen(qMax(ms, 0));
            m_start->geraeteIDAnzeigen(1, 7, 1);
            QCOMPARE(m_bruecke->nehmen(), ms == 0 || ms == 100 ? zeigen : zeigen + wippen);
        }
    }

    // The page finishes loading after the presses: its look comes again; the icons, the receiver's
    // tick and the phones' box with its newest address stay. A new look shows the icons in its own
    // pictures and keeps the phones' count; after a restart, and with the box hidden, they stay
    // dark across a reload.
    void neuLaden()
    {
        const QString verborgen = QStringLiteral("qt.jQuery('.allImgGeraete').css('display', 'none')");
        const QString sieben = QStringLiteral("qt.jQuery('.imgGeraeteID7').css('display', 'inline')");
        m_start->templateSetzen(QStringLiteral("Morvane"));
        m_start->geraeteIDAnzeigen(1, 7, 1);
        m_start->geraeteIDAnzeigen(2, 2, 0);
        m_bruecke->nehmen();
        // Phone 7 is not handset 7: it is counted in the phones' box, once.
        m_start->geraeteIDAnzeigen(65536, 7, 0);
        m_start->geraeteIDAnzeigen(65536, 7, 2);
        QCOMPARE(m_bruecke->nehmen(), QStringList{"qt.jQuery('.handyAnzahl').text('Handys: 1')"});
        m_start->iconEmpfaengerErkanntAnzeigen();
        m_start->handyBeitrittZeigen(QStringLiteral("http://10.0.0.1:8080"), QStringLiteral("4711"),
                                     "<svg/>");
        // Address and code come from the network and the settings: nothing in them can end the
        // statement or become markup, and the picture arrives whole as a data URL.
        m_start->handyBeitrittZeigen(QStringLiteral("http://10.0.0.2:8081/'\"\\</script><b>x</b>"),
                                     QStringLiteral("12'34"), "<svg/>");
        m_bruecke->nehmen();
        m_start->seiteGeladen();
        QStringList alle = m_bruecke->nehmen();
        QVERIFY(alle.indexOf(verborgen) >= 0 && alle.lastIndexOf(sieben) > alle.indexOf(verborgen));
        QVERIFY(alle.lastIndexOf("qt.jQuery('.imgGeraeteID2').css('display', 'inline')") >
                alle.indexOf(verborgen));
        for (const char *anweisung :
             {"textplenarosite').css('color', '#3384b5')", "okicon').css('display', 'inline')",
              "handyAdresse').text('http://10.0.0.2:8081/\\'\"\\\\</script><b>x</b>')",
              "handyCode').text('12\\'34')", "handyQr').attr('src','data:image/svg+xml;base64,PHN2Zy8+')",
              "handyBeitritt').css('display', 'flex')"})
            QVERIFY2(alle.contains(QLatin1String("qt.jQuery('.") + anweisung), anweisung);
        QVERIFY(alle.filter("10.0.0.1").isEmpty());
        m_start->iconEmpfaengerErkanntVerbergen();
        QCOMPARE(m_bruecke->nehmen(), QStringList{"qt.jQuery('.okicon').css('display', 'none')"});

        m_start->templateSetzen(QStringLiteral("Tandrivelle"));
        alle = m_bruecke->nehmen();
        QCOMPARE(alle.filter("handyAnzahl").last(),
                 QStringLiteral("qt.jQuery('.handyAnzahl').text('Handys: 1')"));
        QVERIFY(alle.indexOf(verborgen) >= 0 && alle.lastIndexOf(sieben) > alle.indexOf(verborgen));
        QVERIFY(alle.contains("qt.jQuery('.imgGeraeteID7').attr('src','../IconGeraeteIDTandrivelle/"
                              "IconGeraeteIDTandrivelle/7_0_green.png')"));
        m_start->handyBeitrittVerbergen();
        QCOMPARE(m_bruecke->nehmen(), QStringList{"qt.jQuery('.handyBeitritt').css('display', 'none')"});
        m_start->alleGeraeteVerbergen();
        m_bruecke->nehmen();
        m_start->seiteGeladen();
        alle = m_bruecke->nehmen();
        QVERIFY(!alle.isEmpty());
        QVERIFY(alle.filter("css('display', 'inline')").isEmpty());
        QCOMPARE(alle.filter("handy"), QStringList());
    }

    void senderAnimationStartetNachEinerSekundeNochmal()
    {
        m_start->senderAnimationNeuStarten();
        const QString anweisung = "qt.jQuery('.bildtastedruecken').attr('src','../images/sender_1.gif')";
        QCOMPARE(m_bruecke->nehmen(), QStringList{anweisung});
        m_uhr.vorspulen(999);
        QVERIFY(m_bruecke->nehmen().isEmpty());
        m_uhr.vorspulen(1);
        QCOMPARE(m_bruecke->nehmen(), QStringList{anweisung});
    }

    // Question text, plain text, a picture's URL, literal parts and class names made from outside
    // text: nothing in them can end the statement's string; each statement of a turn runs for
    // itself. What a real page shows of them (markup, line breaks) is checked there.
    void maskierung_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("erwartet");
        const auto zeile = [](const char *art, const char *name, const QString &roh,
                              const QString &maskiert) {
            const SkriptText text = art == QLatin1String("question") ? SkriptText::frage(roh)
                                    : art == QLatin1String("plain")  ? SkriptText::klartext(roh)
                                                                     : SkriptText::bildQuelle(roh);
            QTest::addRow("%s: %s", art, name) << text.maskiert() << maskiert;
        };
        const QChar ls(0x2028), ps(0x2029);
        zeile("question", "backslash before apostrophe", "\\'", "\\\\&apos;");
        zeile("question", "other control characters", QString("a\tb") + QChar(0x1b), "a\\u0009b\\u001b");
        zeile("plain", "line breaks", "a\r\nb", "a\\r\\nb");
        zeile("plain", "line separators", QString("a") + ls + ps, "a\\u2028\\u2029");
        zeile("picture", "awkward name", "file:/home/k/O'Brien #1 100%.png",
              "file:/home/k/O%27Brien %231 100%25.png");
        zeile("picture", "quotes, query, backslash", "file:/k/\"a\"?b\\c.png", "file:/k/%22a%22%3Fb%5Cc.png");
        zeile("picture", "line breaks", "file:/k/a\nb\rc.png", "file:/k/a%0Ab%0Dc.png");
        QTest::newRow("literal") << (SkriptText("<tr class=\"x\">it's") + SkriptText::zahl(3)).maskiert()
                                 << "<tr class=\"x\">it\\'s3";
        QTest::newRow("class name") << A::klasse(SkriptText::klartext("x')")).hoeheLesen().skript()
                                    << "qt.jQuery('.x\\')').height()";
        QTest::newRow("turn") << A::stapel({"a()", "b()"})
                              << "try {a()\n} catch (e) {}\ntry {b()\n} catch (e) {}\nnull";
        QTest::newRow("empty turn") << A::stapel({}) << "null";
    }
    void maskierung()
    {
        QFETCH(QString, text);
        QFETCH(QString, erwartet);
        QCOMPARE(text, erwartet);
    }

    // Statements wait for the end of the turn and then go in one call, in order, each once; a read
    // first sends what was queued before it (a real page shows it: the page tests), and so does a
    // new page, for what was queued was meant for the page that is there.
    void zuegeUndLesen()
    {
        FakeBruecke bruecke;
        QStringList reihenfolge;
        bruecke.werte = {{"qt.jQuery('.a').height()", 5}};
        bruecke.verzoegert = true;
        bruecke.ausfuehren(A::klasse("a").height("5px"));
        bruecke.ausfuehren(A::klasse("b").hide());
        QVERIFY(bruecke.stapel.isEmpty());
        bruecke.auswerten(A::klasse("a").hoeheLesen(),
                          [&](const QVariant &wert) { reihenfolge << "height " + wert.toString(); });
        bruecke.ausfuehren(A::klasse("c").show());
        bruecke.auswerten(A::klasse("c").breiteLesen(), [&](const QVariant &) { reihenfolge << "width"; });
        bruecke.ausfuehren(A::klasse("d").show());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(bruecke.stapel,
                 (QList<QStringList>{{"qt.jQuery('.a').height('5px')", "qt.jQuery('.b').hide()"},
                                     {"qt.jQuery('.c').show()"},
                                     {"qt.jQuery('.d').show()"}}));
        bruecke.antworten();
        QCOMPARE(reihenfolge, (QStringList{"height 5", "width"}));
        bruecke.ausfuehren(A::klasse("e").show());
        QCoreApplication::processEvents();
        bruecke.ausfuehren(A::klasse("alt").hide());
        bruecke.seiteLaden(QUrl("qrc:/template/x.html"));
        QCOMPARE(bruecke.stapel.mid(3),
                 (QList<QStringList>{
                     {"qt.jQuery('.e').show()"}, {"qt.jQuery('.alt').hide()"}, {"qrc:/template/x.html"}}));
    }

    // Only evaluated answers count their time.
    void reihenfolgeNachPunktenZeitUndErstemDruck()
    {
        Person abgebrochen = teilnehmer(7, 1, {{0, 5000}}); // answered, never evaluated
        abgebrochen.getAntwortDerFrage(1).setAusgewertet(false);
        const QList<Person> personen{
            teilnehmer(1, 1, {{3, 1000}}),
            teilnehmer(2, 1, {{2, 4000}, {3, 4200}}),
            teilnehmer(3, 1, {{5, 6000}}),
            teilnehmer(4, 1, {}),                     // only reported in on the start screen
            teilnehmer(5, 1, {{2, 3000}, {3, 3000}}), // same as 6: first press decides
            teilnehmer(6, 1, {{5, 6000}}),
            abgebrochen,
        };
        m_rangliste.ranglisteAnzeigen(personen, 9, 2);
        QCoreApplication::processEvents();
        QCOMPARE(m_bruecke->stapel.size(), 1); // one call into the page, however long the list
        QCOMPARE(
            m_bruecke->nehmen(),
            (QStringList{"qt.jQuery('.textTitelRangliste').html('Rangliste nach 2/9 Fragen')",
                         "qt.jQuery('.geraeteID').html('Geräte-ID')",
                         zeilen({zeile(1, "3", "6.00", 5), zeile(2, "5", "6.00", 5), zeile(3, "6", "6.00", 5),
                                 zeile(4, "2", "8.20", 5), zeile(5, "1", "1.00", 3), zeile(6, "4", "0.00", 0),
                                 zeile(7, "7", "0.00", 0)})}));
        QCOMPARE(m_bruecke->zoomFaktor(), 1.0);
        // Without participants the rows of an earlier game go.
        m_rangliste.ranglisteAnzeigen({}, 5, 0);
        QCOMPARE(m_bruecke->nehmen().last(), zeilen({}));
    }

    void jederTeilnehmerEinEigenerName_data()
    {
        QTest::addColumn<bool>("konferenz");
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QList<Person>>("personen");
        QTest::addColumn<QStringList>("zellen");
        QTest::addColumn<QByteArray>("namen");
        const Person handy3 = teilnehmer(3, HandyKlassensatz, {{1, 1000}});
        QTest::newRow("one class set and a phone")
            << false << false << QList<Person>{handy3, teilnehmer(3, 1, {})} << QStringList{"Handy 3", "3"}
            << QByteArray();
        QTest::newRow("two class sets name theirs without conference mode")
            << false << true << QList<Person>{handy3, teilnehmer(3, 1, {}), teilnehmer(3, 2, {})}
            << QStringList{"Phone 3", "3/1", "3/2"} << QByteArray();
        QTest::newRow("conference mode") << true << false << QList<Person>{handy3, teilnehmer(3, 1, {})}
                                         << QStringList{"Handy 3", "3/1"} << QByteArray();
        // Shown as text: markup and quotes escaped for the page, the unnamed handset by number.
        QTest::newRow("names from the roster")
            << false << false
            << QList<Person>{teilnehmer(12, 3, {{1, 12345}}), teilnehmer(13, 3, {{1, 20000}})}
            << QStringList{"12 (&lt;b&gt;Zoë&lt;/b&gt; &amp; \\'Bo\\')", "13"}
            << QByteArray("12;<b>Zoë</b> & 'Bo'\n");
    }

    void jederTeilnehmerEinEigenerName()
    {
        QFETCH(bool, konferenz);
        QFETCH(bool, englisch);
        QFETCH(QList<Person>, personen);
        QFETCH(QStringList, zellen);
        QFETCH(QByteArray, namen);
        Namensliste liste;
        QVERIFY(liste.lesenAus(namen, false));
        m_rangliste.namenSetzen(liste);
        Einstellungen::setzen(Schluessel::Konferenzmodus, QVariant(konferenz).toString());
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : QString());
        m_rangliste.ranglisteAnzeigen(personen, 5, 1);
        const QString alle = m_bruecke->nehmen().join('\n');
        for (const QString &zelle : zellen)
            QVERIFY2(alle.contains("<td>" + zelle + "</td>"), qPrintable(zelle + " in " + alle));
        QCOMPARE(alle.contains("Klassensatz-ID") || alle.contains("Class-set ID"),
                 zellen.last().contains('/'));
    }
};

QTEST_GUILESS_MAIN(TestVorlagen)
#include "tst_vorlagen.moc"
