#include "einstellungen.h"
#include "fakebruecke.h"
#include "schluessel.h"
#include "startscreen.h"
#include "testeinstellungen.h"
#include "testuhr.h"

#include <QtTest>

class TestStartscreen final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    FakeBruecke m_bruecke;
    TestUhr m_uhr;
    std::unique_ptr<startscreen> m_start;

private slots:
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
        m_bruecke.nehmen();
        m_bruecke.werte.clear();
        m_start = std::make_unique<startscreen>(m_uhr);
        m_start->brueckeSetzen(&m_bruecke);
    }
    void cleanup()
    {
        m_start.reset();
        m_einstellungen.reset();
    }

    void aussehen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("bild");
        QTest::newRow("Morvane German") << QString("Morvane") << QString("1031") << QString("_0_blau.png')");
        QTest::newRow("Tandrivelle English")
            << QString("Tandrivelle") << QString("1033") << QString("_0_green.png')");
        QTest::newRow("Kahoot looks green") << QString("Kahoot") << QString("") << QString("_0_green.png')");
        QTest::newRow("unknown name: green handsets")
            << QString("Blau") << QString("1033") << QString("_0_green.png')");
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
        const QStringList alle = m_bruecke.nehmen();
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
        QFETCH(QList<double>, zooms);
        Einstellungen::setzen(Schluessel::DesktopWidth, bildschirm);
        if (breite.isValid())
            m_bruecke.werte.insert(QStringLiteral("qt.jQuery('.tabelleDeviceID').width()"), breite);
        m_start->schirmbreiteSetzen(projektor);
        m_bruecke.zooms.clear();
        m_start->tabelleEinpassen();
        QCOMPARE(m_bruecke.zooms, zooms);
    }

    void geraeteImBlauenAussehen()
    {
        m_start->templateSetzen(QStringLiteral("Morvane"));
        m_bruecke.nehmen();
        m_start->geraeteIDAnzeigen(1, 7, 1);
        m_start->geraeteIDAnzeigen(1, 7, 1);
        const QStringList einmal{"qt.jQuery('.imgGeraeteID7').attr('src','../IconGeraeteIDMorvane/"
                                 "IconGeraeteIDMorvane/7_0_blau.png')",
                                 "qt.jQuery('.imgGeraeteID7').css('display', 'inline')",
                                 "qt.jQuery('.imgGeraeteID7').css('width', '50px')",
                                 "qt.jQuery('.imgGeraeteID7').css('height', '50px')"};
        QCOMPARE(m_bruecke.nehmen(), einmal + einmal);
        // Phone 7 is not handset 7: it is counted in the phones' box, once.
        m_start->geraeteIDAnzeigen(65536, 7, 1);
        m_start->geraeteIDAnzeigen(65536, 7, 2);
        QCOMPARE(m_bruecke.nehmen(), QStringList{"qt.jQuery('.handyAnzahl').text('Handys: 1')"});
    }

    void geraeteImGruenenAussehenWippen()
    {
        m_start->templateSetzen(QStringLiteral("Tandrivelle"));
        m_bruecke.nehmen();
        const QStringList zeigen{"qt.jQuery('.imgGeraeteID7').attr('src','../IconGeraeteIDTandrivelle/"
                                 "IconGeraeteIDTandrivelle/7_0_green.png')",
                                 "qt.jQuery('.imgGeraeteID7').css('height', '55px')",
                                 "qt.jQuery('.imgGeraeteID7').css('display', 'inline')"};
        const QStringList wippen{"qt.jQuery('.imgGeraeteID7').animate({height: '65px', width: '55px'}, 100)",
                                 "qt.jQuery('.imgGeraeteID7').animate({height: '55px', width: '45px'}, 100)"};
        m_start->geraeteIDAnzeigen(1, 7, 1);
        QCOMPARE(m_bruecke.nehmen(), zeigen);
        m_uhr.vorspulen(500);
        m_start->geraeteIDAnzeigen(1, 7, 1);
        QCOMPARE(m_bruecke.nehmen(), zeigen + wippen);
        m_uhr.vorspulen(100);
        m_start->geraeteIDAnzeigen(1, 7, 1);
        QCOMPARE(m_bruecke.nehmen(), zeigen);
        // A restart hides the icons but the handset stays known: its next press bounces.
        m_start->alleGeraeteVerbergen();
        m_uhr.vorspulen(300);
        m_bruecke.nehmen();
        m_start->geraeteIDAnzeigen(1, 7, 1);
        QCOMPARE(m_bruecke.nehmen(), zeigen + wippen);
    }

    // The page finishes loading after the presses: its look comes again, the icons and the
    // receiver's tick stay lit; a new look shows the icons in its own pictures and keeps the phones'
    // count; after a restart they are dark, also when the page loads again.
    void gemeldeteGeraeteBleibenNachDemLaden()
    {
        m_start->templateSetzen(QStringLiteral("Morvane"));
        m_start->geraeteIDAnzeigen(1, 7, 1);
        m_start->geraeteIDAnzeigen(2, 2, 0);
        m_start->geraeteIDAnzeigen(65536, 3, 0);
        m_start->iconEmpfaengerErkanntAnzeigen();
        m_bruecke.nehmen();
        m_start->seiteGeladen();
        QStringList alle = m_bruecke.nehmen();
        const int verborgen = int(alle.indexOf("qt.jQuery('.allImgGeraete').css('display', 'none')"));
        QVERIFY(verborgen >= 0);
        QVERIFY(alle.lastIndexOf("qt.jQuery('.imgGeraeteID7').css('display', 'inline')") > verborgen);
        QVERIFY(alle.lastIndexOf("qt.jQuery('.imgGeraeteID2').css('display', 'inline')") > verborgen);
        QVERIFY(alle.contains("qt.jQuery('.textplenarosite').css('color', '#3384b5')"));
        QVERIFY(alle.contains("qt.jQuery('.okicon').css('display', 'inline')"));
        m_start->iconEmpfaengerErkanntVerbergen();
        QCOMPARE(m_bruecke.nehmen(), QStringList{"qt.jQuery('.okicon').css('display', 'none')"});

        m_start->templateSetzen(QStringLiteral("Tandrivelle"));
        alle = m_bruecke.nehmen();
        QCOMPARE(alle.filter("handyAnzahl").last(),
                 QStringLiteral("qt.jQuery('.handyAnzahl').text('Handys: 1')"));
        const int neuVerborgen = int(alle.indexOf("qt.jQuery('.allImgGeraete').css('display', 'none')"));
        QVERIFY(neuVerborgen >= 0);
        QVERIFY(alle.lastIndexOf("qt.jQuery('.imgGeraeteID7').css('display', 'inline')") > neuVerborgen);
        QVERIFY(alle.contains("qt.jQuery('.imgGeraeteID7').attr('src','../IconGeraeteIDTandrivelle/"
                              "IconGeraeteIDTandrivelle/7_0_green.png')"));
        m_start->alleGeraeteVerbergen();
        m_start->seiteGeladen();
        QVERIFY(m_bruecke.nehmen().filter("css('display', 'inline')").isEmpty());
    }

    // Address and code come from the network and the settings: nothing in them can end the
    // statement or become markup, and the picture arrives whole as a data URL.
    void handyBeitrittZeigenUndVerbergen()
    {
        const QString adresse = QStringLiteral("http://10.0.0.1:8080/'\"\\</script><b>x</b>");
        const QString svg =
            QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 29 29\"/>");
        m_start->handyBeitrittZeigen(adresse, QStringLiteral("47'11"), svg);
        const QString quelle =
            QStringLiteral("data:image/svg+xml;base64,") + QString::fromLatin1(svg.toUtf8().toBase64());
        const QStringList zeigen{
            "qt.jQuery('.handyQr').attr('src','" + quelle + "')",
            "qt.jQuery('.handyAdresse').text('http://10.0.0.1:8080/\\'\"\\\\</script><b>x</b>')",
            "qt.jQuery('.handyCode').text('47\\'11')", "qt.jQuery('.handyBeitritt').css('display', 'flex')"};
        QCOMPARE(m_bruecke.nehmen(), zeigen);

        // Shown boxes come back after a reload, with the rest of the page's state.
        m_start->templateSetzen(QStringLiteral("Morvane"));
        m_bruecke.nehmen();
        m_start->seiteGeladen();
        QStringList alle = m_bruecke.nehmen();
        QCOMPARE(alle.mid(alle.size() - zeigen.size()), zeigen);

        // A newer address replaces the old one, also for the next reload.
        m_start->handyBeitrittZeigen(QStringLiteral("http://10.0.0.2:8081"), QStringLiteral("1234"), svg);
        m_bruecke.nehmen();
        m_start->seiteGeladen();
        alle = m_bruecke.nehmen();
        QVERIFY(alle.contains("qt.jQuery('.handyAdresse').text('http://10.0.0.2:8081')"));
        QVERIFY(!alle.contains(zeigen.at(1)));

        m_start->handyBeitrittVerbergen();
        QCOMPARE(m_bruecke.nehmen(), QStringList{"qt.jQuery('.handyBeitritt').css('display', 'none')"});
        // Hidden stays hidden across a reload: the page's own default.
        m_start->seiteGeladen();
        alle = m_bruecke.nehmen();
        QVERIFY(!alle.isEmpty());
        QCOMPARE(alle.filter("handy"), QStringList());
    }

    void senderAnimationStartetNachEinerSekundeNochmal()
    {
        m_start->senderAnimationNeuStarten();
        const QString anweisung = "qt.jQuery('.bildtastedruecken').attr('src','../images/sender_1.gif')";
        QCOMPARE(m_bruecke.nehmen(), QStringList{anweisung});
        m_uhr.vorspulen(999);
        QVERIFY(m_bruecke.alle().isEmpty());
        m_uhr.vorspulen(1);
        QCOMPARE(m_bruecke.nehmen(), QStringList{anweisung});
    }
};

QTEST_GUILESS_MAIN(TestStartscreen)
#include "tst_startscreen.moc"
