#include "fakebruecke.h"
#include "festerzufall.h"
#include "templatetandrivelle.h"
#include "templatetesthilfe.h"
#include "testuhr.h"

#include <QtTest>

namespace {

const QString Wahr = QStringLiteral("true");
const QString Falsch = QStringLiteral("false");

QVariantMap position(double links, double oben)
{
    return {{QStringLiteral("left"), links}, {QStringLiteral("top"), oben}};
}

} // namespace

class TestTemplateTandrivelle final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;
    std::unique_ptr<FakeBruecke> m_bruecke;
    TestUhr m_uhr;
    std::unique_ptr<FesterZufall> m_zufall;
    std::unique_ptr<templatetandrivelle> m_template;

    QDomElement frage(const QString &loesung = QStringLiteral("Answer1"))
    {
        return m_bau->frage({{"QuestionText", "Frage"},
                             {"Answer1", "Eins"},
                             {"Answer2", "Zwei"},
                             {"Answer3", ""},
                             {"Answer4", ""},
                             {"Solution", loesung},
                             {"Time", "20"}});
    }
    // The page as the leaf fall reads it: leaf n at (100 + n, 50), the aim at 300, the pile at 800
    // with a picture 190 high; the timers it starts get the numbers 101, 102, …
    void seiteFuerBlattfall()
    {
        // Positions and sizes in the stage's own pixels: a stage 1000 high, whatever the zoom.
        m_bruecke->antworter = [this](const QString &ausdruck) -> QVariant {
            for (int n = 1; n <= 60; ++n) {
                if (ausdruck ==
                    Anweisung::klasse(SkriptText("blatt") + SkriptText::zahl(n)).lageLesen().skript())
                    return position(100 + n, 50);
            }
            if (ausdruck == Anweisung::klasse("posimage13").lageLesen().skript())
                return position(300, 10);
            if (ausdruck == Anweisung::klasse("blaetterhaufen").lageLesen().skript())
                return position(0, 800);
            if (ausdruck == QLatin1String("qt.jQuery('.blaetterhaufenimg').height();"))
                return 190;
            if (ausdruck == QLatin1String("qt.jQuery('.seite').height();"))
                return 1000;
            if (ausdruck.startsWith(QLatin1String("setTimeout(")))
                return ++m_naechsteId;
            return {};
        };
    }
    int m_naechsteId = 100;

private slots:
    void init()
    {
        m_bau = std::make_unique<FragenBau>();
        Einstellungen::setzen(Schluessel::ZoomFaktorTemplateTandrivelle, QStringLiteral("1.2"));
        m_bruecke = std::make_unique<FakeBruecke>();
        m_zufall = std::make_unique<FesterZufall>();
        m_template = std::make_unique<templatetandrivelle>(*m_bruecke, m_uhr, *m_zufall);
        m_naechsteId = 100;
        QCOMPARE(m_bruecke->seiten, QList<QUrl>{QUrl("qrc:/template/tandrivelleneu.html")});
        QCOMPARE(m_bruecke->zoomFaktor(), 1.2);
    }
    void cleanup()
    {
        m_template.reset();
        m_bruecke.reset();
        m_bau.reset();
    }

    void frageMitNummerUndFett()
    {
        Einstellungen::setzen(Schluessel::FrageNummerInTemplateAnzeigen, Wahr);
        Einstellungen::setzen(Schluessel::FragetextFett, Wahr);
        m_template->frageAnzeigen(frage(), 3);
        const QStringList alle = m_bruecke->nehmen();
        QCOMPARE(alle.mid(0, 3), (QStringList{"qt.jQuery('.textFrageNummer').html('3.')",
                                              "qt.jQuery('.textFrage').html('Frage')",
                                              "qt.jQuery('.textFrage').css('font-weight', 'bold')"}));
        // The ticks, leaves, pile, percentages and the count of the last question go.
        for (const char *zurueck :
             {"imghaken_A').css('display', 'none')", "imghaken_D').css('display', 'none')",
              "allImgGeraete').css('display', 'none')", "allImgGeraete').css('position','static')",
              "blaetterhaufenimg').css('opacity', '0.0')", "prozent_A').html('')", "prozent_D').html('')",
              "konferenzmodus').html('')"})
            QVERIFY2(!alle.filter(QLatin1String(zurueck)).isEmpty(), zurueck);

        Einstellungen::setzen(Schluessel::FrageNummerInTemplateAnzeigen, Falsch);
        Einstellungen::setzen(Schluessel::FragetextFett, Falsch);
        m_template->frageAnzeigen(frage(), 4);
        const QStringList ohne = m_bruecke->nehmen();
        QVERIFY(ohne.filter("textFrageNummer").isEmpty());
        QVERIFY(ohne.contains("qt.jQuery('.textFrage').css('font-weight', 'normal')"));
    }

    void bildBeiDerFrage()
    {
        const QString bild = m_bau->bild("f.png", 400);
        m_template->frageAnzeigen(m_bau->frage({{"QuestionText", "Text"}, {"PictureQuestionText", bild}}), 1);
        const QStringList alle = m_bruecke->nehmen();
        QVERIFY(alle.contains("qt.jQuery('.textFrage').html('Text')"));
        const int start = int(alle.indexOf("qt.jQuery('.imgantworttext_d').css('display', 'none')"));
        QCOMPARE(alle.mid(start + 1, 3),
                 (QStringList{"qt.jQuery('.imgfrage').attr('src','" + m_bau->url(bild) + "')",
                              "qt.jQuery('.imgfrage').attr('height','150')",
                              "qt.jQuery('.imgfrage').css('display', 'inline')"}));
    }

    void zoomEinpassen_data()
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
    void zoomEinpassen()
    {
        QFETCH(int, inhalt);
        QFETCH(int, ansicht);
        QFETCH(double, zoom);
        QFETCH(bool, geaendert);
        bool veraendert = false;
        QCOMPARE(templatetandrivelle::zoomEinpassen(inhalt, ansicht, 1.2, &veraendert), zoom);
        QCOMPARE(veraendert, geaendert);
    }

    void zoomNurBeiDerErstenFrageUndGespeichert()
    {
        // bar 500 → 600, text 100 → 190, picture 0 → 50: content 600 + 190 + 130 = 920.
        m_bruecke->werte = {{"qt.jQuery('.progressbar').height()", 500},
                            {"qt.jQuery('.textFrage').height()", 100},
                            {"qt.jQuery('.imgfrage').height()", 0}};
        m_bruecke->ansichtHoehe = 850;
        m_bruecke->verzoegert = true;
        m_template->frageAnzeigen(frage(), 1);
        m_template->antwortenAnzeigen(frage());
        const QStringList gelesen = m_bruecke->nehmen().filter(QRegularExpression("^\\?"));
        QCOMPARE(gelesen,
                 (QStringList{"?qt.jQuery('.progressbar').height()", "?qt.jQuery('.textFrage').height()",
                              "?qt.jQuery('.imgfrage').height()"}));
        QCOMPARE(m_bruecke->zoomFaktor(), 1.2); // nothing until the answers arrive
        m_bruecke->antworten();
        // 920 > 850: 874 > 850, 830 → n = 2
        QCOMPARE(m_bruecke->zoomFaktor(), 1.1);
        QCOMPARE(Einstellungen::text(Schluessel::ZoomFaktorTemplateTandrivelle), QString("1.1"));

        m_bruecke->verzoegert = false;
        m_template->frageAnzeigen(frage(), 2);
        m_template->antwortenAnzeigen(frage());
        QVERIFY(m_bruecke->nehmen().filter(QRegularExpression("^\\?")).isEmpty());
    }

    void antworten()
    {
        const QString bild = m_bau->bild("a.png", 100);
        m_template->frageAnzeigen(frage(), 2);
        m_bruecke->nehmen();
        m_template->antwortenAnzeigen(m_bau->frage({{"Answer1", "Eins"},
                                                    {"Answer2", ""},
                                                    {"PictureAnswer2", bild},
                                                    {"Answer3", ""},
                                                    {"Time", "20"}}));
        // Letters only where there is an answer; a picture answer shows its picture.
        const QStringList alle = m_bruecke->nehmen();
        QCOMPARE(alle.mid(0, 6),
                 (QStringList{"qt.jQuery('.A_mit_Rand_Image').attr('src','../images/A_mit_Rand.png')",
                              "qt.jQuery('.A_mit_Rand_Image').css('display', 'inline')",
                              "qt.jQuery('.B_mit_Rand_Image').attr('src','../images/B_mit_Rand.png')",
                              "qt.jQuery('.B_mit_Rand_Image').css('display', 'inline')",
                              "qt.jQuery('.C_mit_Rand_Image').css('display', 'none')",
                              "qt.jQuery('.D_mit_Rand_Image').css('display', 'none')"}));
        QCOMPARE(alle.mid(alle.size() - 4),
                 (QStringList{"qt.jQuery('.imgantworttext_b').attr('src','" + m_bau->url(bild) + "')",
                              "qt.jQuery('.imgantworttext_b').attr('height','100')",
                              "qt.jQuery('.imgantworttext_b').css('display', 'inline')",
                              "qt.jQuery('.text_progressbar').html('20s')"}));
        QVERIFY(alle.contains("qt.jQuery('.textAntwortA').html('Eins')"));
        QVERIFY(alle.contains("qt.jQuery('.progressbar').height('100%')"));
        QVERIFY(alle.contains("qt.jQuery('.progressbar').attr('src','../images/progress_gruen.png')"));
    }

    void countdown()
    {
        m_template->updateCountdown(14, 15);
        m_template->updateCountdown(3, 15);
        m_template->countdownAbgelaufen();
        m_template->updateCountdown(0, 15);
        QCOMPARE(
            m_bruecke->nehmen(),
            (QStringList{
                "qt.jQuery('.progressbar').height('93.3333%')", "qt.jQuery('.text_progressbar').html('14s')",
                "qt.jQuery('.progressbar').height('20%')", "qt.jQuery('.text_progressbar').html('3s')",
                "qt.jQuery('.progressbar').attr('src','../images/progress_orange.png')",
                "qt.jQuery('.text_progressbar').html(' ')", "qt.jQuery('.progressbar').width('0%')",
                "qt.jQuery('.progressbar').height('0%')",
                "qt.jQuery('.progressbar').attr('src','../images/progress_rot.png')"}));
    }

    void streuung_data()
    {
        QTest::addColumn<int>("falsch");
        QTest::addColumn<double>("sigmaY");
        QTest::addColumn<double>("sigmaX");
        QTest::newRow("5") << 5 << 10.0 << 25.0;
        QTest::newRow("9") << 9 << 10.0 << 25.0;
        QTest::newRow("10") << 10 << 15.0 << 30.0;
        QTest::newRow("29") << 29 << 15.0 << 30.0;
        QTest::newRow("30") << 30 << 17.0 << 40.0;
        QTest::newRow("40") << 40 << 20.0 << 50.0;
        QTest::newRow("50") << 50 << 20.0 << 50.0;
        QTest::newRow("51") << 51 << 25.0 << 60.0;
    }
    void streuung()
    {
        QFETCH(int, falsch);
        QFETCH(double, sigmaY);
        QFETCH(double, sigmaX);
        QCOMPARE(templatetandrivelle::streuung(falsch), std::make_pair(sigmaY, sigmaX));
    }

    void gaussZiehtNeuUndFaelltNieNachOben()
    {
        // (99, 99): u = v = 1, s = 2 → again; (49, 49): u = v = 0, s = 0 → again; then u = 0.6, v = -0.2.
        m_zufall->nachlegen({99, 99, 49, 49, 79, 39});
        const auto [dx, dy] = m_template->zufallGauss(10, 25);
        QCOMPARE(m_zufall->gezogen, 6);
        const double f = std::sqrt(-2.0 * std::log(0.4) / 0.4);
        QVERIFY(qAbs(dx - 0.6 * f * 25) < 1e-4);
        QCOMPARE(dy, 0.0);

        // Over all draws the horizontal offsets spread both ways, the vertical never upwards.
        QList<int> alle;
        quint32 lcg = 12345;
        for (int i = 0; i < 400; ++i) {
            lcg = lcg * 1103515245u + 12345u;
            alle << int((lcg >> 8) & 0x7fffff);
        }
        m_zufall->nachlegen(alle);
        int links = 0;
        int rechts = 0;
        for (int i = 0; i < 40; ++i) {
            const auto [x, y] = m_template->zufallGauss(10, 25);
            QVERIFY(y >= 0.0);
            QVERIFY(std::isfinite(x) && std::isfinite(y));
            (x < 0 ? links : rechts)++;
        }
        QVERIFY(links > 5 && rechts > 5);
    }

    void blattfall_data()
    {
        QTest::addColumn<int>("richtig");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<QString>("deltaY");
        // All in the stage's pixels: leaf 7 at (107, 50), aim 300, pile top 800, picture 190, stage
        // 1000 high. The stage is scaled to the window: the zoom moves nothing on it. Of 31 voters
        // and more the leaves aim at the middle of the pile.
        // Draws 79, 59: u 0.6, v 0.2 → dx 32, dy 4; turn 1234 % 401 = 31; delay 5000 % 3001 = 1999.
        for (const double zoom : {0.8, 1.2, 2.0}) {
            QTest::addRow("3 voters, zoom %.1f: from the stage height", zoom)
                << 2 << zoom << QString("797"); // 1000 - 190 + 41 - 50 - 4
            QTest::addRow("30 voters, zoom %.1f: from the stage height", zoom)
                << 29 << zoom << QString("797");
            QTest::addRow("31 voters, zoom %.1f: onto the pile", zoom)
                << 30 << zoom << QString("841"); // 800 + 95 - 50 - 4
        }
    }
    void blattfall()
    {
        QFETCH(int, richtig);
        QFETCH(double, zoom);
        QFETCH(QString, deltaY);
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, Wahr);
        seiteFuerBlattfall();
        m_template->frageAnzeigen(frage(), 2);
        m_template->antwortenAnzeigen(frage());
        m_bruecke->setZoomFaktor(zoom);
        m_bruecke->nehmen();
        m_zufall->nachlegen({79, 59, 1234, 5000});
        QList<Person> richtige;
        for (int i = 0; i < richtig; ++i)
            richtige << Person(20 + i, 1);
        m_template->richtigeAntwortAnzeigen(richtige, {Person(7, 1)}, QStringLiteral("Answer1"),
                                            {50, 50, 0, 0});
        const QStringList alle = m_bruecke->nehmen();
        const int start = int(alle.indexOf("qt.jQuery('.blatt7').css({'position':'relative'})"));
        QVERIFY(start > 0);
        const QString deltaX = QString::number((300 - 107) - 32);
        QCOMPARE(
            alle.mid(start),
            (QStringList{
                "qt.jQuery('.blatt7').css({'position':'relative'})",
                "?(function (e) { return e ? {left: e.offsetLeft, top: e.offsetTop} : null; "
                "})(qt.jQuery('.blatt7').get(0))",
                "?(function (e) { return e ? {left: e.offsetLeft, top: e.offsetTop} : null; "
                "})(qt.jQuery('.posimage13').get(0))",
                "?(function (e) { return e ? {left: e.offsetLeft, top: e.offsetTop} : null; "
                "})(qt.jQuery('.blaetterhaufen').get(0))",
                "?qt.jQuery('.blaetterhaufenimg').height();",
                "?qt.jQuery('.seite').height();",
                "?setTimeout((function() {qt.jQuery('.blatt7').animate({top: '+=" + deltaY +
                    "',left: '+=" + deltaX +
                    "' }, 4000).css('-webkit-transition', '-webkit-transform 4s').css('-webkit-transform', "
                    "'rotate(31deg)').css('transition-delay', '0.5s').css('-webkit-filter', "
                    "'hue-rotate(-39deg)');}), 1999);",
                "qt.jQuery('.blatt7').css('z-index', '99')",
                "qt.jQuery('.blaetterhaufenimg').css('opacity', '0.0')",
                "setTimeout((function() {qt.jQuery('.blaetterhaufenimg').animate({ opacity: 1 }, 4000);}), "
                "5000);",
            }));
        QCOMPARE(m_zufall->gezogen, 4);
    }

    // The next question clears the timers of falls that have not started, once; a timer's id that
    // comes after the presenter moved on is cleared as it comes.
    void zeitgeberWerdenGeloescht()
    {
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, Wahr);
        seiteFuerBlattfall();
        m_bruecke->verzoegert = true;
        m_template->frageAnzeigen(frage(), 2);
        m_template->richtigeAntwortAnzeigen({}, {Person(4, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        m_bruecke->antworten();
        m_template->frageAnzeigen(frage(), 3);
        QCOMPARE(m_bruecke->nehmen().filter("clearTimeout"), QStringList{"window.clearTimeout(101);"});
        m_template->frageAnzeigen(frage(), 4);
        QVERIFY(m_bruecke->nehmen().filter("clearTimeout").isEmpty());

        m_template->richtigeAntwortAnzeigen({}, {Person(3, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        for (int i = 0; i < 5; ++i) // positions, the pile's and the stage's height: the fall is sent
            QVERIFY(m_bruecke->eineAntwort());
        QCOMPARE(m_bruecke->nehmen().filter("?setTimeout").size(), 1);
        m_template->frageAnzeigen(frage(), 5);
        m_bruecke->nehmen();
        QVERIFY(m_bruecke->eineAntwort());
        QCOMPARE(m_bruecke->nehmen(), QStringList{"window.clearTimeout(102);"});
        m_template->frageAnzeigen(frage(), 6);
        QVERIFY(m_bruecke->nehmen().filter("clearTimeout").isEmpty());
    }

    void blaetterFallenNacheinanderAuchWennDieSeiteSpaetAntwortet()
    {
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, Wahr);
        seiteFuerBlattfall();
        m_bruecke->verzoegert = true;
        m_zufall->nachlegen({79, 59, 1234, 5000, 79, 59, 1234, 5000});
        m_template->frageAnzeigen(frage(), 2);
        m_template->richtigeAntwortAnzeigen({}, {Person(3, 1), Person(9, 1)}, QStringLiteral("Answer1"),
                                            {0, 0, 0, 0});
        m_bruecke->antworten();
        const QStringList alle = m_bruecke->nehmen();
        const int drei = int(alle.indexOf("qt.jQuery('.blatt3').css('z-index', '99')"));
        const int neun = int(alle.indexOf("qt.jQuery('.blatt9').css({'position':'relative'})"));
        QVERIFY(drei > 0 && neun > drei);
        QCOMPARE(alle.filter("?setTimeout").size(), 2);
        QCOMPARE(m_zufall->gezogen, 8);

        // Answers that come after the presenter moved on move no leaf.
        m_template->richtigeAntwortAnzeigen({}, {Person(4, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        m_template->frageAnzeigen(frage(), 3);
        m_bruecke->nehmen();
        m_bruecke->antworten();
        QVERIFY(m_bruecke->nehmen().isEmpty());
    }

    void ohneLoesungPassiertNichts()
    {
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, Falsch);
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, Wahr);
        m_template->richtigeAntwortAnzeigen({}, {Person(3, 1)}, QStringLiteral("Answer1"), {0, 100, 0, 0});
        QVERIFY(m_bruecke->nehmen().isEmpty());
        QCOMPARE(m_zufall->gezogen, 0);
    }

    void hakenUndProzente()
    {
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, Wahr);
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, Wahr);
        m_template->antwortenAnzeigen(frage("Answer2"));
        m_bruecke->nehmen();
        m_template->richtigeAntwortAnzeigen({Person(1, 1)}, {}, QStringLiteral("Answer2"), {0, 100, 0, 0});
        QCOMPARE(
            m_bruecke->nehmen(),
            (QStringList{"qt.jQuery('.imghaken_B').attr('src','../images/haken_gruen.png')",
                         "qt.jQuery('.imghaken_B').attr('height','35')",
                         "qt.jQuery('.imghaken_B').css('display', 'inline')",
                         "qt.jQuery('.prozent_A').html('0.0%')", "qt.jQuery('.prozent_B').html('100.0%')"}));
    }

    void blaetterZeigenUndWippen()
    {
        Einstellungen::setzen(Schluessel::Konferenzmodus, Falsch);
        m_template->geraeteIDAnzeigen(1, 5, 2);
        QCOMPARE(
            m_bruecke->nehmen(),
            (QStringList{
                "qt.jQuery('.blatt5').stop()", "qt.jQuery('.blatt5').css({'opacity':'1.0'})",
                "qt.jQuery('.blatt5').css({'top':'0','left':'0'}).css('-webkit-transform', 'rotate(0deg)')",
                "qt.jQuery('.blatt5').css('-webkit-filter', 'hue-rotate(0deg)')",
                "qt.jQuery('.blatt5').attr('src','../IconGeraeteIDTandrivelle/"
                "IconGeraeteIDTandrivelle/5_0_green.png')",
                "qt.jQuery('.blatt5').css('display', 'inline')"}));
        const QStringList wippen{"qt.jQuery('.blatt5').animate({height: '65px'}, 100)",
                                 "qt.jQuery('.blatt5').animate({height: '55px'}, 100)"};
        m_template->geraeteIDAnzeigen(1, 5, 2);
        QCOMPARE(m_bruecke->nehmen(), wippen);
        m_uhr.vorspulen(150);
        m_template->geraeteIDAnzeigen(1, 5, 2); // within 200 ms: no bounce, but the time is kept
        QVERIFY(m_bruecke->nehmen().isEmpty());
        m_uhr.vorspulen(150);
        m_template->geraeteIDAnzeigen(1, 5, 2); // 150 ms after the last press
        QVERIFY(m_bruecke->nehmen().isEmpty());
        m_uhr.vorspulen(300);
        m_template->geraeteIDAnzeigen(1, 5, 2);
        QCOMPARE(m_bruecke->nehmen(), wippen);
    }

    // In conference mode votes are counted, each handset once, and no leaf bounces; without the
    // setting neither.
    void konferenzmodus()
    {
        Einstellungen::setzen(Schluessel::Konferenzmodus, Wahr);
        m_template->geraeteIDAnzeigen(1, 5, 2);
        m_uhr.vorspulen(1000);
        m_template->geraeteIDAnzeigen(1, 5, 3);
        QCOMPARE(m_bruecke->nehmen(), (QStringList{"qt.jQuery('.konferenzmodus').html('#votes: 1')",
                                                   "qt.jQuery('.konferenzmodus').html('#votes: 1')"}));
        Einstellungen::setzen(Schluessel::Konferenzmodus, QString());
        m_template->geraeteIDAnzeigen(1, 6, 2);
        m_bruecke->nehmen();
        m_uhr.vorspulen(1000);
        m_template->geraeteIDAnzeigen(1, 6, 2);
        QVERIFY(m_bruecke->nehmen().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTemplateTandrivelle)
#include "tst_templatetandrivelle.moc"
