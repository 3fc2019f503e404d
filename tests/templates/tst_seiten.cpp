// The real pages: the statements of templates, start screen and ranking run without a script error
// on elements and pictures that exist, and text from a question file shows as written. Statements
// sent before a page is there (held back, loading, waiting for its first frame) reach it in order.
#include "fakebruecke.h"
#include "fragedatei.h"
#include "rangliste.h"
#include "seitenansicht.h"
#include "startscreen.h"
#include "templatetesthilfe.h"

#include <QRegularExpression>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QtTest>

namespace {

// What the first group of `muster` matches in the statements, each once.
QStringList treffer(const QStringList &anweisungen, const QString &muster)
{
    const QRegularExpression ausdruck(muster);
    QStringList gefunden;
    for (const QString &anweisung : anweisungen) {
        for (auto it = ausdruck.globalMatch(anweisung); it.hasNext();)
            gefunden.append(it.next().captured(1));
    }
    gefunden.removeDuplicates();
    return gefunden;
}

// Everything a template sends through one question with pictures and through a text question, and
// a vote in conference mode.
QStringList vorlagenAnweisungen(const QString &name, FragenBau &bau)
{
    FakeBruecke fake;
    fake.antworter = [](const QString &ausdruck) -> QVariant {
        if (ausdruck.contains(QLatin1String("offsetTop")))
            return QVariantMap{{"left", 10}, {"top", 10}};
        return 100;
    };
    TestUhr uhr;
    FesterZufall zufall({79, 59, 1234, 5000, 20, 70, 300, 100});
    auto vorlage = templateErzeugen(name, fake, uhr, zufall);
    const QString bild = bau.bild("bild.png", 100);
    QList<QPair<QString, QString>> bilder{{"PictureQuestionText", bild}};
    for (int i = 1; i <= 4; ++i)
        bilder.append({QStringLiteral("PictureAnswer%1").arg(i), bild});
    for (const QDomElement &frage : {bau.frage("Frage mit Bild", {"a"}, "Answer2", "12", bilder),
                                     bau.frage("Wie geht's?\nGut", {"a", "b", "c", "d"}, "Answer1", "120")}) {
        zeigen(*vorlage, frage);
        for (const uint geraet : {1u, 2u, 60u, 1u})
            vorlage->geraeteIDAnzeigen(1, geraet, 2);
        for (const int rest : {119, 15, 4, 2, 0})
            vorlage->updateCountdown(rest, 120);
        vorlage->countdownAbgelaufen();
        vorlage->richtigeAntwortAnzeigen({Person(1, 1)}, {Person(2, 1), Person(60, 1)},
                                         FrageDatei::feld(frage, "Solution"), {25, 25, 50, 0});
    }
    Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
    vorlage->geraeteIDAnzeigen(1, 5, 1);
    return fake.alle();
}

// Every look of the start screen, with handsets, phones and the receiver, the last in English.
QStringList startAnweisungen()
{
    FakeBruecke fake;
    TestUhr uhr;
    startscreen start(uhr);
    start.brueckeSetzen(&fake);
    for (const char *name : {"Morvane", "Tandrivelle"}) {
        start.templateSetzen(QString::fromLatin1(name));
        start.geraeteIDAnzeigen(1, 1, 1);
        uhr.vorspulen(500);
        start.geraeteIDAnzeigen(1, 1, 1);
        start.geraeteIDAnzeigen(1, 60, 4);
        start.iconEmpfaengerErkanntAnzeigen();
        start.iconEmpfaengerErkanntVerbergen();
        start.senderAnimationNeuStarten();
        start.handyBeitrittZeigen(QStringLiteral("http://192.168.1.20:8080"), QStringLiteral("4711"),
                                  QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\"/>"));
        start.handyBeitrittVerbergen();
    }
    Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
    start.templateSetzen(QStringLiteral("Kahoot"));
    return fake.alle();
}

} // namespace

class TestSeiten final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FragenBau> m_bau;

private slots:
    void init()
    {
        m_bau = std::make_unique<FragenBau>();
        allesZeigen();
    }
    void cleanup() { m_bau.reset(); }

    void anweisungen_data()
    {
        QTest::addColumn<QString>("quelle");
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("seite");
        const auto zeile = [](const char *quelle, const char *sprache, const char *seite) {
            QTest::newRow(quelle) << QString(quelle) << QString(sprache) << "qrc:/template/" + QString(seite);
        };
        zeile("Morvane", "1031", "morvane.html");
        zeile("Tandrivelle", "1031", "tandrivelleneu.html");
        zeile("Kahoot", "1031", "kahoot.html");
        zeile("start", "1031", "startscreen.html");
        zeile("ranking", "1031", "rangliste.html");
        QTest::newRow("ranking, English")
            << QString("ranking") << QString("1033") << QString("qrc:/template/rangliste_EN.html");
    }
    // The page is loaded, the statements run on it without a script error; then every class they
    // address exists and every picture they or the page name is there.
    void anweisungen()
    {
        QFETCH(QString, quelle);
        QFETCH(QString, sprache);
        QFETCH(QString, seite);
        Einstellungen::setzen(Schluessel::InstallerLanguage, sprache);
        QStringList anweisungen;
        if (quelle == QLatin1String("start")) {
            anweisungen = startAnweisungen();
        } else if (quelle == QLatin1String("ranking")) {
            FakeBruecke fake;
            ::rangliste liste;
            liste.brueckeSetzen(&fake);
            liste.ranglisteAnzeigen({Person(1, 1), Person(2, 1), Person(3, 1)}, 9, 0);
            anweisungen = fake.alle();
        } else {
            anweisungen = vorlagenAnweisungen(quelle, *m_bau);
            QVERIFY(anweisungen.size() > 50);
        }
        SeitenAnsicht a(QSize(1920, 1080), seite);
        QVERIFY(a.geladenAbwarten());
        for (const QString &bild : treffer(anweisungen, QStringLiteral("'\\.\\./([^']+\\.(?:png|gif))'")))
            QVERIFY2(QFile::exists(":/" + bild), qPrintable("missing picture " + bild));
        const QString fehler = a.fehlerfreiAusfuehren(anweisungen);
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        // Rows of the ranking exist only once the statements added them.
        const QStringList klassen =
            treffer(anweisungen, QStringLiteral("qt\\.jQuery\\('\\.([A-Za-z0-9_-]+)"));
        QVERIFY(!klassen.isEmpty());
        for (const QString &klasse : klassen)
            QVERIFY2(a.lesen("qt.jQuery('." + klasse + "').length").toInt() > 0,
                     qPrintable(seite + " has no element of class " + klasse));
        const QString kaputt =
            a.lesen("Array.from(document.images).filter(function(i) { return i.getAttribute('src') && "
                    "i.getAttribute('src').indexOf('file:') !== 0 && i.complete && i.naturalWidth === 0; })"
                    ".map(function(i) { return i.getAttribute('src'); }).join(' ')")
                .toString();
        QVERIFY2(kaputt.isEmpty(), qPrintable(seite + ": pictures not found: " + kaputt));
    }

    // A handset that reports in shows its icon at once: the slots' pictures are in the page before
    // any handset presses (fetched only then, one can take seconds while the program starts up).
    void gemeldetesGeraetZeigtSeinBildSofort_data()
    {
        QTest::addColumn<QString>("aussehen");
        QTest::addColumn<QString>("bild");
        QTest::newRow("as loaded") << QString() << QString("_0_green.png");
        QTest::newRow("Tandrivelle") << QString("Tandrivelle") << QString("_0_green.png");
        QTest::newRow("Morvane") << QString("Morvane") << QString("_0_blau.png");
    }
    void gemeldetesGeraetZeigtSeinBildSofort()
    {
        QFETCH(QString, aussehen);
        QFETCH(QString, bild);
        SeitenAnsicht a(QSize(1920, 1080), QStringLiteral("qrc:/template/startscreen.html"));
        QVERIFY(a.geladenAbwarten());
        TestUhr uhr;
        startscreen start(*a.bruecke, uhr);
        if (!aussehen.isEmpty())
            start.templateSetzen(aussehen);
        const QString ohneBild =
            QStringLiteral("Array.from(document.querySelectorAll('.allImgGeraete')).filter(function (i) {"
                           " return !(i.complete && i.naturalWidth > 0 && "
                           "(i.getAttribute('src') || '').endsWith('%1')); }).length")
                .arg(bild);
        QCOMPARE(a.lesen("document.querySelectorAll('.allImgGeraete').length").toInt(), 60);
        QTRY_COMPARE_WITH_TIMEOUT(a.lesen(ohneBild).toInt(), 0, 20000);
        for (const uint geraet : {1u, 45u, 60u})
            start.geraeteIDAnzeigen(1, geraet, 2);
        // Read right after the statements, without waiting: drawn with its picture, no placeholder.
        QCOMPARE(a.lesen("[1, 45, 60].map(function (n) { var i = document.querySelector('.imgGeraeteID' + n);"
                         " return i.complete && i.getBoundingClientRect().width > 0 &&"
                         " getComputedStyle(i.nextElementSibling).visibility === 'hidden'; }).join()")
                     .toString(),
                 QString("true,true,true"));
    }

    // Everything a question file brings, with the characters that could end a statement's string,
    // reaches a real page without a script error and shows as written: markup as markup, line
    // breaks as breaks, quotes and backslashes as they are.
    void maskierungAufEchterSeite()
    {
        const QString ls = QString(QChar(0x2028));
        const QString bild = m_bau->bild("O'Brien #1 100% \"x\" ?" + ls + ".png", 60);
        const QString boese = "Er sagt \"it's\" \\ </script><b>x</b>\r\nZeile" + ls + "Ende";
        const QDomElement frage =
            m_bau->frage(boese, {"a", "b", boese, "</script>'"}, "Answer3", "1'5\"\\</script>",
                         {{"PictureAnswer1", bild}, {"PictureAnswer2", "fehlt \"'.png"}});
        FakeBruecke fake;
        TestUhr uhr;
        FesterZufall zufall;
        const auto vorlage = templateErzeugen(QStringLiteral("Morvane"), fake, uhr, zufall);
        zeigen(*vorlage, frage);

        SeitenAnsicht a(QSize(1920, 1080), QStringLiteral("qrc:/template/morvane.html"));
        QVERIFY(a.geladenAbwarten());
        const QString fehler = a.fehlerfreiAusfuehren(fake.nehmen());
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        const auto inhalt = [&](const QString &klasse, const char *art) {
            return a.lesen("qt.jQuery('." + klasse + "')." + art + "()").toString();
        };
        const QString gezeigt = "Er sagt \"it's\" \\ <b>x</b><br>Zeile<br>Ende";
        QCOMPARE(inhalt("textFrage", "html"), gezeigt);
        QCOMPARE(inhalt("textAntwortC", "html"), gezeigt);
        QCOMPARE(inhalt("textAntwortD", "text"), QString("'"));
        QCOMPARE(inhalt("text_progressbar", "text"), QString("1'5\"\\ Sekunden"));
        // The picture with the awkward name loads; the missing one shows its placeholder, drawn,
        // its text under it as its label.
        QTRY_COMPARE_WITH_TIMEOUT(a.lesen("document.querySelector('.imgAntwortA').naturalHeight").toInt(), 60,
                                  20000);
        QTRY_VERIFY_WITH_TIMEOUT(a.lesen("document.querySelector('.imgAntwortB').naturalHeight").toInt() > 0,
                                 20000);
        QVERIFY(a.lesen("qt.jQuery('.imgAntwortB').height()").toInt() > 0);
        QCOMPARE(inhalt("textAntwortB", "text"), QString("b"));
    }

    // A view kept back behind the start screen has no engine page (and so no renderer) until it is
    // let go; statements sent meanwhile reach the page once it is there, as do statements sent
    // while any page loads (a question shown while its page is still loading).
    void gehalteneAnsichtBekommtIhreSeiteErstBeiDerFreigabe()
    {
        SeitenAnsicht a(QSize(1024, 768), QString(), false);
        WebBruecke &bruecke = *a.bruecke;
        bruecke.zurueckhalten();
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        bruecke.verlaufAbschalten();
        bruecke.setZoomFaktor(1.5);
        bruecke.ausfuehren(Anweisung::klasse("textplenarosite").html("gehalten"));
        QList<QVariant> antworten;
        bruecke.rohAuswerten(QStringLiteral("1"), [&](const QVariant &wert) { antworten.append(wert); });
        bruecke.rohAuswerten(QStringLiteral("2"), [&](const QVariant &wert) { antworten.append(wert); });
        QTRY_COMPARE(antworten.size(), 2);
        QVERIFY(!antworten.at(0).isValid() && !antworten.at(1).isValid());
        QVERIFY(!a.view.findChild<QWebEnginePage *>());
        QVERIFY(a.view.url().isEmpty());

        bruecke.freigeben();
        a.view.show();
        QVERIFY(a.geladenAbwarten());
        QCOMPARE(a.view.url(), QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QCOMPARE(a.view.zoomFactor(), 1.5);
        QVERIFY(!a.view.history()->canGoBack());
        QCOMPARE(a.lesen("qt.jQuery('.textplenarosite').text()").toString(), QString("gehalten"));

        a.geladen = false;
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/rangliste.html")));
        bruecke.ausfuehren(Anweisung::klasse("textTitelRangliste").html("beim Laden"));
        QVERIFY(a.geladenAbwarten());
        QCOMPARE(a.lesen("qt.jQuery('.textTitelRangliste').text()").toString(), QString("beim Laden"));
    }

    // The page the class sees first is drawn before jQuery goes in, however long that frame takes;
    // what the program sends in the meantime follows the injection, in order, and reads see it.
    void ersteSeiteWirdVorDerInjektionGezeichnet()
    {
        QWebEngineView ansicht;
        ansicht.resize(1024, 768);
        ansicht.show();
        QStringList ablauf;
        // The empty document a shown view starts with, and the second page, are not watched.
        const auto ersteSeite = [&]() {
            return ansicht.url().scheme() != QLatin1String("about") &&
                   !ablauf.contains(QStringLiteral("loadFinished"));
        };
        // Ahead of the bridge's own frame request: what the page has when its first frame begins.
        // The page is then kept busy for longer than a view that draws nothing is waited for, so
        // that frame comes as late as on a busy machine.
        connect(&ansicht, &QWebEngineView::loadFinished, this, [&]() {
            if (!ersteSeite())
                return;
            ansicht.page()->runJavaScript(
                QStringLiteral("requestAnimationFrame(function () { window.beimBild = typeof window.qt; });"
                               "for (var t = performance.now(); performance.now() - t < %1;) {} null")
                    .arg(2 * WebBruecke::BildFrist));
        });
        WebBruecke bruecke(&ansicht, WebBruecke::injektionsSkript());
        bruecke.erstesBildAbwarten();
        connect(&ansicht, &QWebEngineView::loadFinished, this, [&](bool ok) {
            if (!ersteSeite())
                return;
            ablauf.append(QStringLiteral("loadFinished"));
            QVERIFY(ok);
            QVERIFY(bruecke.wartetAufBild());
            // Sent while the page waits for its frame.
            bruecke.ausfuehren(Anweisung::klasse("textplenarosite").html("erster"));
            bruecke.ausfuehren(Anweisung::klasse("textplenarosite").html("zweiter"));
            bruecke.rohAuswerten(
                QStringLiteral("qt.jQuery('.textplenarosite').text()"),
                [&](const QVariant &wert) { ablauf.append(QStringLiteral("gelesen ") + wert.toString()); });
        });
        connect(&bruecke, &WebBruecke::geladen, this,
                [&](bool) { ablauf.append(QStringLiteral("geladen")); });
        connect(&bruecke, &WebBruecke::gezeichnet, this, [&]() {
            ablauf.append(QStringLiteral("gezeichnet"));
            QVERIFY(!bruecke.wartetAufBild());
        });
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QTRY_COMPARE_WITH_TIMEOUT(ablauf.size(), 4, 20000);
        QCOMPARE(ablauf, (QStringList{"loadFinished", "geladen", "gezeichnet", "gelesen zweiter"}));
        QCOMPARE(::lesen(bruecke, "window.beimBild").toString(), QString("undefined"));
        QCOMPARE(::lesen(bruecke, "qt.jQuery('.textplenarosite').text()").toString(), QString("zweiter"));

        // Only the first page waits: the next one gets jQuery at once.
        ablauf.clear();
        ablauf.append(QStringLiteral("loadFinished"));
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/rangliste.html")));
        QTRY_VERIFY_WITH_TIMEOUT(ablauf.contains(QStringLiteral("geladen")), 20000);
        QVERIFY(!bruecke.wartetAufBild());
        QVERIFY(!ablauf.contains(QStringLiteral("gezeichnet")));
    }

    // A view that draws nothing (a minimised window) still gets jQuery and what waited for it.
    void ungezeichneteSeiteWirdNachDerFristVerbunden()
    {
        SeitenAnsicht a(QSize(1024, 768), QString(), false);
        a.bruecke->erstesBildAbwarten();
        bool gezeichnet = false;
        QElapsedTimer seitDemLaden;
        connect(&a.view, &QWebEngineView::loadFinished, this, [&]() {
            seitDemLaden.start();
            a.bruecke->ausfuehren(Anweisung::klasse("textplenarosite").html("ohne Bild"));
        });
        connect(a.bruecke.get(), &WebBruecke::gezeichnet, this, [&]() { gezeichnet = true; });
        a.bruecke->seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QVERIFY(a.geladenAbwarten());
        QVERIFY(seitDemLaden.elapsed() >= WebBruecke::BildFrist - 5);
        QVERIFY(!gezeichnet);
        QCOMPARE(a.lesen("qt.jQuery('.textplenarosite').text()").toString(), QString("ohne Bild"));
    }
};

PLENARO_SEITEN_TEST_MAIN(TestSeiten)
#include "tst_seiten.moc"
