#include "fakebruecke.h"
#include "templatemorvane.h"
#include "templatetesthilfe.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

const QString Wahr = QStringLiteral("true");
const QString Falsch = QStringLiteral("false");

} // namespace

class TestTemplateMorvane final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;
    std::unique_ptr<FakeBruecke> m_bruecke;
    std::unique_ptr<templateMorvane> m_template;

    QDomElement textfrage(const QString &loesung = QStringLiteral("Answer2"))
    {
        return m_bau->frage({{"QuestionText", "Wie geht's?\nGut"},
                             {"Answer1", "Eins"},
                             {"Answer2", "Zwei"},
                             {"Answer3", "Drei"},
                             {"Answer4", ""},
                             {"Solution", loesung},
                             {"Time", "15"}});
    }

private slots:
    void init()
    {
        m_bau = std::make_unique<FragenBau>();
        m_bruecke = std::make_unique<FakeBruecke>();
        m_template = std::make_unique<templateMorvane>(*m_bruecke);
        QCOMPARE(m_bruecke->seiten, QList<QUrl>{QUrl("qrc:/template/morvane.html")});
        QCOMPARE(m_bruecke->verlaufGeloescht, 1);
    }
    void cleanup()
    {
        m_template.reset();
        m_bruecke.reset();
        m_bau.reset();
    }

    // A new question takes back everything of the last one: the marks and green tiles, texts,
    // percentages, icons and the count of votes.
    void frageSetztZurueck()
    {
        m_template->geraeteIDAnzeigen(1, 7, 1);
        m_template->frageAnzeigen(textfrage(), 3);
        const QStringList alle = m_bruecke->nehmen();
        QVERIFY(alle.contains("qt.jQuery('.textFrage').html('Wie geht&apos;s?<br>Gut')"));
        for (int i = 0; i < 4; ++i) {
            const QString b(QChar('A' + i));
            for (const QString &zurueck :
                 {"imgAntwort" + b + "').removeClass('imgAntwortRichtig')", "textAntwort" + b + "').html('')",
                  "prozentAntwort" + b + "').html('')", "kachel" + b + "').removeClass('mitBeschriftung')"})
                QVERIFY2(!alle.filter(zurueck).isEmpty(), qPrintable(zurueck));
        }
        QVERIFY(
            alle.contains("qt.jQuery('.imgAntwortB').attr('src','../images/antwortHintergrundGrau.gif')"));
        QVERIFY(alle.contains("qt.jQuery('.allImgGeraete').css('display', 'none')"));
        QVERIFY(alle.contains("qt.jQuery('.imgfrageMorvane').css('display', 'none')"));
        QVERIFY(alle.contains("qt.jQuery('.progressbar').width('0%')"));
        QVERIFY(alle.contains("qt.jQuery('.text_progressbar').html('')"));
        QVERIFY(alle.contains("qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortAMarginTop166')"));
        QCOMPARE(alle.last(), QString("qt.jQuery('.konferenzmodus').html('')"));
    }

    void frageMitBild_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("hoehe");
        QTest::addColumn<QString>("gezeigt");
        // A text and a picture both show; a picture alone fills the band.
        QTest::newRow("text, tall picture is capped") << QString("Text") << 400 << QString("180");
        QTest::newRow("picture alone keeps its height") << QString("") << 120 << QString("120");
    }
    void frageMitBild()
    {
        QFETCH(QString, text);
        QFETCH(int, hoehe);
        QFETCH(QString, gezeigt);
        const QString bild = m_bau->bild("frage.png", hoehe);
        m_template->frageAnzeigen(m_bau->frage({{"QuestionText", text}, {"PictureQuestionText", bild}}), 1);
        const QStringList alle = m_bruecke->nehmen();
        const int start = int(alle.indexOf("qt.jQuery('.imgfrageMorvane').css('display', 'none')"));
        QVERIFY(start >= 0);
        QCOMPARE(alle.mid(start + 1, 8),
                 (QStringList{
                     "qt.jQuery('.textFrage').html('" + text + "')",
                     text.isEmpty() ? "qt.jQuery('.frageBand').removeClass('mitText')"
                                    : "qt.jQuery('.frageBand').addClass('mitText')",
                     "qt.jQuery('.imgfrageMorvane').attr('src','" + m_bau->url(bild) + "')",
                     "qt.jQuery('.imgfrageMorvane').attr('height','" + gezeigt + "')",
                     "qt.jQuery('.imgfrageMorvane').css('display', 'block')",
                     "qt.jQuery('.imgfrageMorvane').css('margin-left', 'auto')",
                     "qt.jQuery('.imgfrageMorvane').css('margin-right', 'auto')",
                     "qt.jQuery('.textAntwortA').html('')",
                 }));
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
        const QString name = art + "_bild.png";
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
        m_template->frageAnzeigen(m_bau->frage({{"QuestionText", "Text"}, {"PictureQuestionText", name}}), 1);
        const QStringList alle = m_bruecke->nehmen();
        const QStringList quelle = alle.filter("imgfrageMorvane').attr('src',");
        QCOMPARE(quelle.size(), 1);
        // A framed box that names the file, at a height the audience sees.
        QVERIFY(quelle.first().startsWith("qt.jQuery('.imgfrageMorvane').attr('src','data:image/svg+xml"));
        QVERIFY(quelle.first().contains(name));
        QVERIFY(alle.contains("qt.jQuery('.imgfrageMorvane').attr('height','120')"));
    }

    // A picture answer shows its picture at its own height with its text as its label; text
    // answers get their tiles back.
    void antwortenMitTextUndBild()
    {
        const QString bild = m_bau->bild("b.png", 90);
        m_template->antwortenAnzeigen(m_bau->frage({{"Answer1", "Eins"},
                                                    {"Answer2", "Zwei"},
                                                    {"PictureAnswer2", bild},
                                                    {"Answer3", ""},
                                                    {"Time", "15"}}));
        const QStringList alle = m_bruecke->nehmen();
        QCOMPARE(
            alle.mid(0, 7),
            (QStringList{"qt.jQuery('.textAntwortA').html('Eins')", "qt.jQuery('.textAntwortB').html('Zwei')",
                         "qt.jQuery('.textAntwortC').html('')", "qt.jQuery('.textAntwortD').html('')",
                         "qt.jQuery('.progressbar').width('100%')",
                         "qt.jQuery('.progressbar').attr('src','../images/progress_gruen.png')",
                         "qt.jQuery('.text_progressbar').html('15 Sekunden')"}));
        const int b = int(alle.indexOf("qt.jQuery('.kachelB').addClass('mitBeschriftung')"));
        QVERIFY(b > 0);
        QCOMPARE(alle.mid(b + 1, 4),
                 (QStringList{"qt.jQuery('.imgAntwortB').attr('src','" + m_bau->url(bild) + "')",
                              "qt.jQuery('.imgAntwortB').attr('height','90')",
                              "qt.jQuery('.imgAntwortB').removeAttr('width')",
                              "qt.jQuery('.imgAntwortB').css('display', 'inline')"}));
        for (const char *kachel : {"A').removeClass('mitBeschriftung')", "A').attr('width','550')",
                                   "C').attr('src','../images/antwortenHintergrundBlauRechts.gif')",
                                   "D').attr('src','../images/antwortenHintergrundBlauLinks.gif')"})
            QVERIFY2(!alle.filter(QLatin1String(kachel)).isEmpty(), kachel);
    }

    void countdown_data()
    {
        QTest::addColumn<int>("rest");
        QTest::addColumn<int>("laenge");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("14 of 15") << 14 << 15
                                  << QStringList{"qt.jQuery('.progressbar').width('93.3333%')",
                                                 "qt.jQuery('.text_progressbar').html('14 Sekunden')"};
        QTest::newRow("4 turns orange")
            << 4 << 15
            << QStringList{"qt.jQuery('.progressbar').width('26.6667%')",
                           "qt.jQuery('.text_progressbar').html('4 Sekunden')",
                           "qt.jQuery('.progressbar').attr('src','../images/progress_orange.png')"};
        QTest::newRow("2 turns red")
            << 2 << 15
            << QStringList{"qt.jQuery('.progressbar').width('13.3333%')",
                           "qt.jQuery('.text_progressbar').html('2 Sekunden')",
                           "qt.jQuery('.progressbar').attr('src','../images/progress_rot.png')"};
        QTest::newRow("end") << 0 << 15
                             << QStringList{
                                    "qt.jQuery('.progressbar').width('0%')",
                                    "qt.jQuery('.progressbar').attr('src','../images/progress_rot.png')"};
        QTest::newRow("no time at all")
            << -1 << 0
            << QStringList{"qt.jQuery('.progressbar').width('0%')",
                           "qt.jQuery('.progressbar').attr('src','../images/progress_rot.png')"};
        QTest::newRow("half") << 5 << 10
                              << QStringList{"qt.jQuery('.progressbar').width('50%')",
                                             "qt.jQuery('.text_progressbar').html('5 Sekunden')"};
        QTest::newRow("in English") << 14 << 15
                                    << QStringList{"qt.jQuery('.progressbar').width('93.3333%')",
                                                   "qt.jQuery('.text_progressbar').html('14 seconds')"};
    }
    void countdown()
    {
        QFETCH(int, rest);
        QFETCH(int, laenge);
        QFETCH(QStringList, erwartet);
        if (erwartet.filter("seconds").size())
            Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        m_template->updateCountdown(rest, laenge);
        QCOMPARE(m_bruecke->nehmen(), erwartet);
    }

    void ergebnis_data()
    {
        QTest::addColumn<QString>("loesung");
        QTest::addColumn<QString>("loesungZeigen");
        QTest::addColumn<QStringList>("erwartet");
        const QStringList prozente{
            "qt.jQuery('.prozentAntwortA').html('33.3%')",
            "qt.jQuery('.prozentAntwortB').html('66.7%')",
            "qt.jQuery('.prozentAntwortC').html('0.0%')",
            "qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortMitBildRichtigeAntwort')",
            "qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortMitBild')",
            "qt.jQuery('.prozentAntwortB').addClass('prozentAntwortOhneBild')"};
        QTest::newRow("B correct")
            << QString("Answer2") << QString("true")
            << (QStringList{
                    "qt.jQuery('.prozentAntwortA').addClass('prozentAntwortAMarginTop150')",
                    "qt.jQuery('.imgAntwortB').attr('src','../images/antwortHintergrundSchraegGruen.gif')",
                    "qt.jQuery('.imgAntwortB').attr('height','212')",
                    "qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortAMarginTop166-6')",
                    "qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortAMarginTop150')",
                    "qt.jQuery('.prozentAntwortB').addClass('prozentAntwortAMarginTop166')",
                    "qt.jQuery('.imgGeraeteID7Morvane').attr('src','../IconGeraeteIDMorvane/"
                    "IconGeraeteIDMorvane/7_0_gruen.png')"} +
                prozente);
        QTest::newRow("A correct")
            << QString("Answer1") << QString("true")
            << (QStringList{
                    "qt.jQuery('.imgAntwortA').attr('src','../images/antwortenHintergrundRechtsGruen.gif')",
                    "qt.jQuery('.imgAntwortA').attr('height','180')",
                    "qt.jQuery('.prozentAntwortA').removeClass('prozentAntwortAMarginTop166')",
                    "qt.jQuery('.prozentAntwortA').addClass('prozentAntwortAMarginTop150')",
                    "qt.jQuery('.prozentAntwortB').addClass('prozentAntwortAMarginTop150')",
                    "qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortAMarginTop166-6')",
                    "qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortAMarginTop150')",
                    "qt.jQuery('.prozentAntwortB').addClass('prozentAntwortAMarginTop166-6')",
                    "qt.jQuery('.imgGeraeteID7Morvane').attr('src','../IconGeraeteIDMorvane/"
                    "IconGeraeteIDMorvane/7_0_gruen.png')"} +
                prozente);
        QTest::newRow("solution hidden: percentages only")
            << QString("Answer2") << QString("false") << prozente;
        QTest::newRow("solution setting missing counts as off")
            << QString("Answer2") << QString("") << prozente;
    }
    void ergebnis()
    {
        QFETCH(QString, loesung);
        QFETCH(QString, loesungZeigen);
        QFETCH(QStringList, erwartet);
        if (!loesungZeigen.isEmpty())
            Einstellungen::setzen(Schluessel::LoesungAnzeigen, loesungZeigen);
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, Wahr);
        const QDomElement frage = textfrage(loesung);
        m_template->frageAnzeigen(frage, 1);
        m_template->antwortenAnzeigen(frage);
        m_bruecke->nehmen();
        m_template->richtigeAntwortAnzeigen({Person(7, 1)}, {Person(8, 1)}, loesung,
                                            {100.0 / 3, 200.0 / 3, 0.0, 0.0});
        QCOMPARE(m_bruecke->nehmen(), erwartet);
    }

    void umfrageFolgtIhremEigenenSchalter()
    {
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, Wahr);
        Einstellungen::setzen(Schluessel::UmfrageProzentAntwortenAnzeigen, Falsch);
        const QDomElement frage = textfrage(QStringLiteral("NoAnswer"));
        m_template->frageAnzeigen(frage, 1);
        m_template->antwortenAnzeigen(frage);
        m_bruecke->nehmen();
        m_template->richtigeAntwortAnzeigen({}, {}, QStringLiteral("NoAnswer"), {50, 50, 0, 0});
        QVERIFY(m_bruecke->nehmen().filter("prozentAntwort").filter("html").isEmpty());

        Einstellungen::setzen(Schluessel::UmfrageProzentAntwortenAnzeigen, Wahr);
        m_template->richtigeAntwortAnzeigen({}, {}, QStringLiteral("NoAnswer"), {50, 50, 0, 0});
        QCOMPARE(m_bruecke->nehmen().filter(".html(").size(), 3);
    }

    void bildAntwortWirdUmrandet()
    {
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, Wahr);
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, Wahr);
        const QString bild = m_bau->bild("b.png", 50);
        const QDomElement frage = m_bau->frage(
            {{"Answer1", "A"}, {"Answer2", ""}, {"PictureAnswer2", bild}, {"Solution", "Answer2"}});
        m_template->frageAnzeigen(frage, 1);
        m_template->antwortenAnzeigen(frage);
        m_bruecke->nehmen();
        m_template->richtigeAntwortAnzeigen({}, {}, QStringLiteral("Answer2"), {0, 100, 0, 0});
        const QStringList alle = m_bruecke->nehmen();
        QVERIFY(alle.contains("qt.jQuery('.imgAntwortB').addClass('imgAntwortRichtig')"));
        QVERIFY(alle.filter("SchraegGruen").isEmpty());
        QCOMPARE(
            alle.mid(alle.size() - 3),
            (QStringList{"qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortOhneBild')",
                         "qt.jQuery('.prozentAntwortB').removeClass('prozentAntwortMitBild')",
                         "qt.jQuery('.prozentAntwortB').addClass('prozentAntwortMitBildRichtigeAntwort')"}));
        // Answers C and D have neither text nor picture: no percentage.
        QVERIFY(alle.filter("prozentAntwortC').html").isEmpty());
    }

    void geraeteUndKonferenzmodus()
    {
        m_template->geraeteIDAnzeigen(1, 12, 2);
        QCOMPARE(m_bruecke->nehmen(),
                 (QStringList{"qt.jQuery('.imgGeraeteID12Morvane').attr('src','../IconGeraeteIDMorvane/"
                              "IconGeraeteIDMorvane/12_0_blau.png')",
                              "qt.jQuery('.imgGeraeteID12Morvane').css('display', 'inline')"}));
        m_template->geraeteIDAnzeigen(65536, 12, 2); // phone 12 is not handset 12
        QCOMPARE(m_bruecke->nehmen(), QStringList());

        Einstellungen::setzen(Schluessel::Konferenzmodus, Wahr);
        m_template->geraeteIDAnzeigen(1, 13, 2);
        m_template->geraeteIDAnzeigen(1, 13, 3);
        m_template->geraeteIDAnzeigen(11, 2, 1); // not the same handset as class set 1 handset 12
        // Handset 12 and phone 12 have voted already.
        QCOMPARE(m_bruecke->nehmen(), (QStringList{"qt.jQuery('.konferenzmodus').html('#votes: 3')",
                                                   "qt.jQuery('.konferenzmodus').html('#votes: 3')",
                                                   "qt.jQuery('.konferenzmodus').html('#votes: 4')"}));
        // A new question counts afresh.
        m_template->frageAnzeigen(textfrage(), 2);
        m_bruecke->nehmen();
        m_template->geraeteIDAnzeigen(1, 12, 2);
        QCOMPARE(m_bruecke->nehmen(), QStringList{"qt.jQuery('.konferenzmodus').html('#votes: 1')"});
    }

    void zoomNachAnsichtshoehe_data()
    {
        QTest::addColumn<int>("hoehe");
        QTest::addColumn<double>("zoom");
        QTest::newRow("1000") << 1000 << 1.0;
        QTest::newRow("950") << 950 << 1.0;
        QTest::newRow("949") << 949 << 0.95;
        QTest::newRow("902") << 902 << 0.95;
        QTest::newRow("901") << 901 << 0.90;
        QTest::newRow("900") << 900 << 0.90;
        QTest::newRow("855") << 855 << 0.85;
        QTest::newRow("no view yet") << 0 << 0.25;
    }
    void zoomNachAnsichtshoehe()
    {
        QFETCH(int, hoehe);
        QFETCH(double, zoom);
        m_bruecke->ansichtHoehe = hoehe;
        m_template->frageAnzeigen(textfrage(), 1);
        QCOMPARE(m_bruecke->zoomFaktor(), zoom);
    }
};

QTEST_GUILESS_MAIN(TestTemplateMorvane)
#include "tst_templatemorvane.moc"
