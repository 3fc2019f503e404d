#include "fakebruecke.h"
#include "templatekahoot.h"
#include "templatetesthilfe.h"

#include <QtTest>

class TestTemplateKahoot final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;
    std::unique_ptr<FakeBruecke> m_bruecke;
    std::unique_ptr<templatekahoot> m_template;

private slots:
    void init()
    {
        m_bau = std::make_unique<FragenBau>();
        m_bruecke = std::make_unique<FakeBruecke>();
        m_template = std::make_unique<templatekahoot>(*m_bruecke);
        QCOMPARE(m_bruecke->seiten, QList<QUrl>{QUrl("qrc:/template/kahoot.html")});
    }
    void cleanup()
    {
        m_template.reset();
        m_bruecke.reset();
        m_bau.reset();
    }

    void antwortenWortInDerSpracheDerOberflaeche()
    {
        const QDomElement frage = m_bau->frage({{"QuestionText", "Q"}});
        m_template->frageAnzeigen(frage, 1);
        QVERIFY(m_bruecke->nehmen().filter("anzahlAntortenText').html(").isEmpty()); // the page's German word
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
        m_template->frageAnzeigen(frage, 2);
        const QStringList alle = m_bruecke->nehmen();
        const int versteckt =
            int(alle.indexOf("qt.jQuery('.anzahlAntortenText').css('visibility', 'hidden')"));
        QVERIFY(versteckt >= 0);
        QCOMPARE(alle.value(versteckt + 1), QString("qt.jQuery('.anzahlAntortenText').html('Answers')"));
    }

    void countdownSpannen_data()
    {
        QTest::addColumn<int>("rest");
        QTest::addColumn<QString>("spanne");
        for (const int rest : {1, 9})
            QTest::addRow("%d", rest) << rest << QString("countdownEinstellig");
        for (const int rest : {10, 99})
            QTest::addRow("%d", rest) << rest << QString("countdownZweistellig");
        for (const int rest : {100, 999})
            QTest::addRow("%d", rest) << rest << QString("countdownDreistellig");
        for (const int rest : {0, -1, 1000})
            QTest::addRow("%d: no number", rest) << rest << QString();
    }
    // The seconds show in the span of their number of digits; at 0 the circle goes.
    void countdownSpannen()
    {
        QFETCH(int, rest);
        QFETCH(QString, spanne);
        m_bruecke->nehmen();
        m_template->updateCountdown(rest, 150);
        QStringList erwartet{"qt.jQuery('.circle').css('visibility', 'inherit')",
                             "qt.jQuery('.countdownEinstellig').css('display', 'none')",
                             "qt.jQuery('.countdownZweistellig').css('display', 'none')",
                             "qt.jQuery('.countdownDreistellig').css('display', 'none')"};
        if (!spanne.isEmpty())
            erwartet << "qt.jQuery('." + spanne + "').html('" + QString::number(rest) + "')"
                     << "qt.jQuery('." + spanne + "').css('display', 'inline')";
        else if (rest == 0)
            erwartet << "qt.jQuery('.circle').css('visibility', 'hidden')";
        QCOMPARE(m_bruecke->nehmen(), erwartet);
    }

    void ergebnisMitBalken()
    {
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, QStringLiteral("true"));
        const QDomElement frage = m_bau->frage({{"QuestionText", "F"},
                                                {"Answer1", "a"},
                                                {"Answer2", "b"},
                                                {"Answer3", "c"},
                                                {"Solution", "Answer2"}});
        m_template->frageAnzeigen(frage, 1);
        m_template->antwortenAnzeigen(frage);
        m_bruecke->nehmen();
        m_template->countdownAbgelaufen();
        QVERIFY(m_bruecke->nehmen().isEmpty());
        m_template->richtigeAntwortAnzeigen({}, {}, QStringLiteral("Answer2"), {50, 25, 25, 0});
        QStringList erwartet{"qt.jQuery('.circle').css('visibility', 'hidden')",
                             "qt.jQuery('.hakenAntwortA').css('visibility', 'hidden')",
                             "qt.jQuery('.hakenAntwortB').css('visibility', 'inherit')",
                             "qt.jQuery('.hakenAntwortC').css('visibility', 'hidden')",
                             "qt.jQuery('.hakenAntwortD').css('visibility', 'hidden')",
                             "qt.jQuery('.imgfrageKahoot').css('display', 'none')",
                             "qt.jQuery('.prozentMainTableSpan').css('display', 'inline')"};
        const QStringList werte{"50.0", "25.0", "25.0", "0.0"};
        for (int i = 0; i < 4; ++i) {
            const QString b(QChar('A' + i));
            erwartet << "qt.jQuery('.tabelleProzentBalken" + b + "').css('visibility', 'inherit')"
                     << "qt.jQuery('.tabelleProzentBalken" + b + "').css('height', '" + werte[i] + "%')";
        }
        erwartet << "qt.jQuery('.prozentProzenangabeHakenAntwortA').css('visibility', 'hidden')"
                 << "qt.jQuery('.prozentProzenangabeHakenAntwortB').css('visibility', 'inherit')"
                 << "qt.jQuery('.prozentProzenangabeHakenAntwortC').css('visibility', 'hidden')"
                 << "qt.jQuery('.prozentProzenangabeHakenAntwortD').css('visibility', 'hidden')";
        for (int i = 0; i < 4; ++i)
            erwartet << "qt.jQuery('.prozentProzenangabeText" + QString(QChar('A' + i)) + "').html('" +
                            werte[i] + "%')";
        QCOMPARE(m_bruecke->nehmen(), erwartet);
    }

    void nurDerKreisVerschwindet_data()
    {
        QTest::addColumn<QString>("loesungZeigen");
        QTest::addColumn<QString>("loesung");
        QTest::newRow("solution hidden") << QString("false") << QString("Answer1");
        QTest::newRow("poll without its own switch") << QString("true") << QString("NoAnswer");
    }
    // Without the solution, and in a poll whose percentages are switched off, the result shows
    // nothing but the circle going.
    void nurDerKreisVerschwindet()
    {
        QFETCH(QString, loesungZeigen);
        QFETCH(QString, loesung);
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, loesungZeigen);
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::UmfrageProzentAntwortenAnzeigen, QStringLiteral("false"));
        m_template->frageAnzeigen(m_bau->frage({{"Solution", loesung}}), 1);
        m_bruecke->nehmen();
        m_template->richtigeAntwortAnzeigen({}, {}, loesung, {50, 50, 0, 0});
        QCOMPARE(m_bruecke->nehmen(), QStringList{"qt.jQuery('.circle').css('visibility', 'hidden')"});
    }

    void bilder()
    {
        const QString frageBild = m_bau->bild("f.png", 500);
        const QString antwortBild = m_bau->bild("a.png", 300);
        const QDomElement frage = m_bau->frage({{"QuestionText", "Beide"},
                                                {"PictureQuestionText", frageBild},
                                                {"Answer1", "Text A"},
                                                {"PictureAnswer1", antwortBild},
                                                {"Answer2", "Text B"}});
        m_template->frageAnzeigen(frage, 1);
        const QStringList frageAnweisungen = m_bruecke->nehmen();
        QVERIFY(frageAnweisungen.contains("qt.jQuery('.imgfrageKahoot').attr('height','360')"));
        // Text and picture both show, and a picture answer keeps its text as its label.
        QVERIFY(frageAnweisungen.contains("qt.jQuery('.textFrage').html('Beide')"));
        m_template->antwortenAnzeigen(frage);
        const QStringList antworten = m_bruecke->nehmen();
        QCOMPARE(antworten.first(), "qt.jQuery('.textAntwortA').html('Text A')");
        QCOMPARE(antworten.mid(4),
                 (QStringList{"qt.jQuery('.imgAntwortA').attr('src','" + m_bau->url(antwortBild) + "')",
                              "qt.jQuery('.imgAntwortA').attr('height','120')",
                              "qt.jQuery('.imgAntwortB').removeAttr('height')",
                              "qt.jQuery('.imgAntwortC').removeAttr('height')",
                              "qt.jQuery('.imgAntwortD').removeAttr('height')"}));
    }

    // Each handset counts once per question, whatever the conference mode says.
    void stimmenZaehlerOhneKonferenzmodus()
    {
        m_template->geraeteIDAnzeigen(1, 4, 1);
        m_template->geraeteIDAnzeigen(1, 4, 2);
        m_template->geraeteIDAnzeigen(2, 4, 2);
        const QStringList alle = m_bruecke->nehmen();
        QCOMPARE(alle.filter(".html(").join('|'), QString("qt.jQuery('.konferenzmodus').html('1')|"
                                                          "qt.jQuery('.konferenzmodus').html('1')|"
                                                          "qt.jQuery('.konferenzmodus').html('2')"));
        QCOMPARE(alle.filter("anzahlAntortenText').css('visibility', 'inherit')").size(), 3);
        m_template->frageAnzeigen(m_bau->frage({{"QuestionText", "Q"}}), 2);
        m_template->geraeteIDAnzeigen(1, 4, 1);
        QCOMPARE(m_bruecke->nehmen().last(), QString("qt.jQuery('.konferenzmodus').html('1')"));
    }
};

QTEST_GUILESS_MAIN(TestTemplateKahoot)
#include "tst_templatekahoot.moc"
