// The real pages in a real web view: every class the program's statements address exists, the
// statements run without a script error, and every picture they name is in the resources.
#include "fakebruecke.h"
#include "festerzufall.h"
#include "fragedatei.h"
#include "rangliste.h"
#include "seitenansicht.h"
#include "startscreen.h"
#include "templatefabrik.h"
#include "templatetesthilfe.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webbruecke.h"
#include "webwarten.h"

#include <QApplication>
#include <QRegularExpression>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

QStringList klassen(const QStringList &anweisungen)
{
    static const QRegularExpression muster(QStringLiteral("qt\\.jQuery\\('\\.([A-Za-z0-9_-]+)"));
    QStringList gefunden;
    for (const QString &anweisung : anweisungen) {
        for (auto it = muster.globalMatch(anweisung); it.hasNext();)
            gefunden.append(it.next().captured(1));
    }
    gefunden.removeDuplicates();
    return gefunden;
}

// Resource paths of the pictures the statements name ("../images/x.png" → ":/images/x.png").
QStringList bilder(const QStringList &anweisungen)
{
    static const QRegularExpression muster(QStringLiteral("'\\.\\./([^']+\\.(png|gif))'"));
    QStringList gefunden;
    for (const QString &anweisung : anweisungen) {
        for (auto it = muster.globalMatch(anweisung); it.hasNext();)
            gefunden.append(QLatin1String(":/") + it.next().captured(1));
    }
    gefunden.removeDuplicates();
    return gefunden;
}

} // namespace

class TestSeiten final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    std::unique_ptr<FragenBau> m_bau;
    QString m_injektion = WebBruecke::injektionsSkript();

    // A view with a page loaded and jQuery in it.
    using Ansicht = SeitenAnsicht;
    std::unique_ptr<Ansicht> oeffnen(const QString &seite)
    {
        auto ansicht = std::make_unique<Ansicht>(QSize(1920, 1080), m_injektion);
        ansicht->bruecke->seiteLaden(QUrl(seite));
        return ansicht;
    }
    // Loads the page, runs the statements and checks them for script errors, then checks that
    // every class they address exists and every picture they name is there.
    void pruefen(const QString &seite, const QStringList &anweisungen)
    {
        auto ansicht = oeffnen(seite);
        QTRY_VERIFY_WITH_TIMEOUT(ansicht->geladen, 20000);
        for (const QString &bild : bilder(anweisungen))
            QVERIFY2(QFile::exists(bild), qPrintable("missing picture " + bild));
        for (QString anweisung : anweisungen) {
            if (anweisung.startsWith('?'))
                anweisung.remove(0, 1);
            // A statement the engine cannot even parse answers nothing, so success must say so.
            const QString fehler =
                ::lesen(*ansicht->bruecke, "(function() { try { " + anweisung +
                                               "; return 'ok'; } catch (e) { return String(e); } })()")
                    .toString();
            QVERIFY2(fehler == "ok", qPrintable(anweisung + " → " + fehler));
        }
        // Rows of the ranking exist only once the statements added them.
        for (const QString &klasse : klassen(anweisungen))
            QVERIFY2(::lesen(*ansicht->bruecke, "qt.jQuery('." + klasse + "').length").toInt() > 0,
                     qPrintable(seite + " has no element of class " + klasse));
        // Every picture the page itself names is there.
        const QString kaputt =
            ::lesen(*ansicht->bruecke,
                    "Array.from(document.images).filter(function(i) { return i.getAttribute('src') && "
                    "i.getAttribute('src').indexOf('file:') !== 0 && i.complete && i.naturalWidth === 0; })"
                    ".map(function(i) { return i.getAttribute('src'); }).join(' ')")
                .toString();
        QVERIFY2(kaputt.isEmpty(), qPrintable(seite + ": pictures not found: " + kaputt));
    }

    // Everything a template sends through one question with pictures and through a text question.
    QStringList templateAnweisungen(const QString &name)
    {
        FakeBruecke fake;
        fake.antworter = [](const QString &ausdruck) -> QVariant {
            if (ausdruck.endsWith(QLatin1String("position();")) ||
                ausdruck.contains(QLatin1String("offsetTop")))
                return QVariantMap{{"left", 10}, {"top", 10}};
            return 100;
        };
        TestUhr uhr;
        FesterZufall zufall({79, 59, 1234, 5000, 20, 70, 300, 100});
        auto vorlage = templateErzeugen(name, fake, uhr, zufall);
        const QString bild = m_bau->bild("bild.png", 100);
        const QDomElement mitBildern = m_bau->frage({{"QuestionText", "Frage mit Bild"},
                                                     {"PictureQuestionText", bild},
                                                     {"Answer1", "a"},
                                                     {"PictureAnswer1", bild},
                                                     {"PictureAnswer2", bild},
                                                     {"PictureAnswer3", bild},
                                                     {"PictureAnswer4", bild},
                                                     {"Solution", "Answer2"},
                                                     {"Time", "12"}});
        const QDomElement text = m_bau->frage({{"QuestionText", "Wie geht's?\nGut"},
                                               {"Answer1", "a"},
                                               {"Answer2", "b"},
                                               {"Answer3", "c"},
                                               {"Answer4", "d"},
                                               {"Solution", "Answer1"},
                                               {"Time", "120"}});
        for (const QDomElement &frage : {mitBildern, text}) {
            vorlage->frageAnzeigen(frage, 1);
            vorlage->antwortenAnzeigen(frage);
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

private slots:
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        m_bau = std::make_unique<FragenBau>();
        for (const QString &schalter : {Schluessel::LoesungAnzeigen, Schluessel::QuizProzentAntwortenAnzeigen,
                                        Schluessel::UmfrageProzentAntwortenAnzeigen,
                                        Schluessel::FragetextFett, Schluessel::FrageNummerInTemplateAnzeigen})
            Einstellungen::setzen(schalter, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("false"));
        Einstellungen::setzen(Schluessel::DesktopWidth, 1920);
    }
    void cleanup()
    {
        m_bau.reset();
        m_einstellungen.reset();
    }

    void vorlagen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("seite");
        QTest::newRow("Morvane") << "Morvane"
                                 << "qrc:/template/morvane.html";
        QTest::newRow("Tandrivelle") << "Tandrivelle"
                                     << "qrc:/template/tandrivelleneu.html";
        QTest::newRow("Kahoot") << "Kahoot"
                                << "qrc:/template/kahoot.html";
    }
    void vorlagen()
    {
        QFETCH(QString, name);
        QFETCH(QString, seite);
        const QStringList anweisungen = templateAnweisungen(name);
        QVERIFY(anweisungen.size() > 50);
        pruefen(seite, anweisungen);
    }

    void startbildschirm()
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
        pruefen(QStringLiteral("qrc:/template/startscreen.html"), fake.alle());
    }

    // A handset that reports in shows its icon at once: the slots' pictures are in the page before
    // any handset presses. Fetched only then, a picture can take seconds while the program starts
    // up, and until it arrives the slot shows neither icon nor placeholder.
    void gemeldetesGeraetZeigtSeinBildSofort_data()
    {
        QTest::addColumn<QString>("aussehen");
        QTest::addColumn<QString>("bild");
        QTest::newRow("as loaded") << QString() << "_0_green.png";
        QTest::newRow("Tandrivelle") << "Tandrivelle"
                                     << "_0_green.png";
        QTest::newRow("Morvane") << "Morvane"
                                 << "_0_blau.png";
    }
    void gemeldetesGeraetZeigtSeinBildSofort()
    {
        QFETCH(QString, aussehen);
        QFETCH(QString, bild);
        auto ansicht = oeffnen(QStringLiteral("qrc:/template/startscreen.html"));
        QTRY_VERIFY_WITH_TIMEOUT(ansicht->geladen, 20000);
        TestUhr uhr;
        startscreen start(*ansicht->bruecke, uhr);
        if (!aussehen.isEmpty())
            start.templateSetzen(aussehen);
        const QString ohneBild =
            QStringLiteral("Array.from(document.querySelectorAll('.allImgGeraete')).filter(function (i) {"
                           " return !(i.complete && i.naturalWidth > 0 && "
                           "(i.getAttribute('src') || '').endsWith('%1')); }).length")
                .arg(bild);
        QTRY_COMPARE_WITH_TIMEOUT(::lesen(*ansicht->bruecke, ohneBild).toInt(), 0, 10000);
        for (const uint geraet : {1u, 45u, 60u})
            start.geraeteIDAnzeigen(1, geraet, 2);
        // Read right after the statements, without waiting: drawn with its picture, no placeholder.
        QCOMPARE(::lesen(*ansicht->bruecke,
                         "[1, 45, 60].map(function (n) { var i = document.querySelector('.imgGeraeteID' + n);"
                         " return i.complete && i.getBoundingClientRect().width > 0 &&"
                         " getComputedStyle(i.nextElementSibling).visibility === 'hidden'; }).join()")
                     .toString(),
                 QString("true,true,true"));
    }

    void rangliste_data()
    {
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QString>("seite");
        QTest::newRow("German") << "1031"
                                << "qrc:/template/rangliste.html";
        QTest::newRow("English") << "1033"
                                 << "qrc:/template/rangliste_EN.html";
    }
    void rangliste()
    {
        QFETCH(QString, sprache);
        QFETCH(QString, seite);
        Einstellungen::setzen(Schluessel::InstallerLanguage, sprache);
        FakeBruecke fake;
        ::rangliste liste;
        liste.brueckeSetzen(&fake);
        QList<Person> personen;
        for (uint i = 1; i <= 3; ++i)
            personen.append(Person(i, 1));
        liste.ranglisteAnzeigen(personen, 9, 0);
        pruefen(seite, fake.alle());

        // The rows land in the table, in rank order, and a refill replaces them.
        auto ansicht = oeffnen(seite);
        QTRY_VERIFY_WITH_TIMEOUT(ansicht->geladen, 20000);
        liste.brueckeSetzen(ansicht->bruecke.get());
        liste.ranglisteAnzeigen(personen, 9, 0);
        liste.ranglisteAnzeigen(personen, 9, 1);
        QCOMPARE(::lesen(*ansicht->bruecke, "qt.jQuery('.tabelleReiheRangliste').length").toInt(), 3);
        QCOMPARE(::lesen(*ansicht->bruecke, "qt.jQuery('.tabelleReiheRangliste td:first-child').text()")
                     .toString(),
                 QString("123"));
        QVERIFY(
            ::lesen(*ansicht->bruecke, "qt.jQuery('.textTitelRangliste').text()").toString().contains("1/9"));
        liste.ranglisteAnzeigen(personen.mid(0, 1), 9, 2);
        QCOMPARE(::lesen(*ansicht->bruecke, "qt.jQuery('.tabelleReiheRangliste').length").toInt(), 1);
    }

    // Everything a question file brings, with the characters that could end a statement's string,
    // reaches a real page without a script error and shows as written.
    void maskierungAufEchterSeite()
    {
        const QString ls = QString(QChar(0x2028));
        const QString bild = m_bau->bild("O'Brien #1 100% \"x\" ?" + ls + ".png", 60);
        const QString boese = "Er sagt \"it's\" \\ </script><b>x</b>\r\nZeile" + ls + "Ende";
        const QDomElement frage = m_bau->frage({{"QuestionText", boese},
                                                {"Answer1", "a"},
                                                {"PictureAnswer1", bild},
                                                {"Answer2", "b"},
                                                {"PictureAnswer2", "fehlt \"'.png"},
                                                {"Answer3", boese},
                                                {"Answer4", "</script>'"},
                                                {"Solution", "Answer3"},
                                                {"Time", "1'5\"\\</script>"}});
        FakeBruecke fake;
        TestUhr uhr;
        FesterZufall zufall;
        auto vorlage = templateErzeugen(QStringLiteral("Morvane"), fake, uhr, zufall);
        vorlage->frageAnzeigen(frage, 1);
        vorlage->antwortenAnzeigen(frage);
        const QStringList anweisungen = fake.alle();

        auto ansicht = oeffnen(QStringLiteral("qrc:/template/morvane.html"));
        QTRY_VERIFY_WITH_TIMEOUT(ansicht->geladen, 20000);
        for (const QString &anweisung : anweisungen) {
            const QString fehler =
                ::lesen(*ansicht->bruecke, "(function() { try { " + anweisung +
                                               "; return 'ok'; } catch (e) { return String(e); } })()")
                    .toString();
            QVERIFY2(fehler == "ok", qPrintable(anweisung + " → " + fehler));
        }
        const auto text = [&](const QString &klasse) {
            return ::lesen(*ansicht->bruecke, "qt.jQuery('." + klasse + "').text()").toString();
        };
        const QString gezeigt = "Er sagt \"it's\" \\ xZeileEnde";
        QCOMPARE(text("textAntwortC"), gezeigt);
        QCOMPARE(text("textAntwortD"), QString("'"));
        QCOMPARE(text("text_progressbar"), QString("1'5\"\\ Sekunden"));
        // The picture with the awkward name loads; the missing one shows its placeholder.
        QTRY_COMPARE_WITH_TIMEOUT(
            ::lesen(*ansicht->bruecke, "document.querySelector('.imgAntwortA').naturalHeight").toInt(), 60,
            10000);
        QTRY_VERIFY_WITH_TIMEOUT(
            ::lesen(*ansicht->bruecke, "document.querySelector('.imgAntwortB').naturalHeight").toInt() > 0,
            10000);
        // It is drawn, its text under it as its label.
        QVERIFY(::lesen(*ansicht->bruecke, "qt.jQuery('.imgAntwortB').height()").toInt() > 0);
        QCOMPARE(text("textAntwortB"), QString("b"));

        // The question text itself, on a page of its own.
        vorlage->frageAnzeigen(frage, 2);
        for (const QString &anweisung : fake.nehmen())
            ansicht->bruecke->roh(anweisung + "; null");
        QCOMPARE(text("textFrage"), gezeigt);
    }

    // A wrong leaf falls onto the pile whatever the zoom of the view.
    void blattLandetAufDemHaufen_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("richtig");
        QTest::addColumn<QSize>("fenster");
        for (const double zoom : {0.8, 1.2, 1.6}) {
            QTest::addRow("zoom %.1f, 31 voters", zoom) << zoom << 30 << QSize(1920, 1080);
            QTest::addRow("zoom %.1f, 2 voters", zoom) << zoom << 1 << QSize(1920, 1080);
        }
        // Other window proportions and sizes: the stage is scaled down or up to them.
        for (const QSize fenster : {QSize(1280, 1024), QSize(2560, 1440), QSize(1000, 700)}) {
            QTest::addRow("%dx%d, 31 voters", fenster.width(), fenster.height()) << 1.2 << 30 << fenster;
            QTest::addRow("%dx%d, 2 voters", fenster.width(), fenster.height()) << 1.2 << 1 << fenster;
        }
    }
    void blattLandetAufDemHaufen()
    {
        QFETCH(double, zoom);
        QFETCH(int, richtig);
        QFETCH(QSize, fenster);
        Einstellungen::setzen(Schluessel::LoesungAnzeigen, QStringLiteral("true"));
        QWebEngineView view;
        view.resize(fenster);
        view.show();
        WebBruecke bruecke(&view, m_injektion);
        bool geladen = false;
        connect(&bruecke, &WebBruecke::geladen, this, [&](bool ok) { geladen = ok; });
        TestUhr uhr;
        // Spread dx 32, dy 4; no turn; the fall starts at once.
        FesterZufall zufall({79, 59, 0, 0});
        auto vorlage = templateErzeugen(QStringLiteral("Tandrivelle"), bruecke, uhr, zufall);
        QTRY_VERIFY_WITH_TIMEOUT(geladen, 20000);
        bruecke.setZoomFaktor(zoom);
        bruecke.roh(QStringLiteral("qt.jQuery.fx.off = true; null")); // moves end at once
        const QDomElement frage = m_bau->frage({{"QuestionText", "Q"}, {"Answer1", "a"}, {"Time", "5"}});
        vorlage->frageAnzeigen(frage, 2);
        vorlage->antwortenAnzeigen(frage);
        vorlage->geraeteIDAnzeigen(1, 7, 1);
        QList<Person> richtige;
        for (int i = 0; i < richtig; ++i)
            richtige << Person(20 + i, 1);
        const QString mitte =
            "(function() { var b = document.querySelector('.blatt7').getBoundingClientRect();"
            " var h = document.querySelector('.blaetterhaufenimg').getBoundingClientRect();"
            " var x = b.left + b.width / 2, y = b.top + b.height / 2;"
            " return [x, y, h.left, h.top, h.right, h.bottom].map(Math.round).join(' '); })()";
        vorlage->richtigeAntwortAnzeigen(richtige, {Person(7, 1)}, QStringLiteral("Answer1"), {0, 0, 0, 0});
        // Measured once the leaf has been moved and the stage fits the window at the new zoom: the
        // stage's own refit also moves the leaf on the screen, and is no fall.
        QTRY_VERIFY_WITH_TIMEOUT(
            ::lesen(bruecke, "parseFloat(document.querySelector('.blatt7').style.top || '0') !== 0").toBool(),
            20000);
        // Asking plans a fit when something changed, and the wait asks once more after it ends:
        // what it saw once is kept.
        bool eingepasst = false;
        QTRY_VERIFY_WITH_TIMEOUT(eingepasst || (eingepasst = ::lesen(bruecke, "Einpassen.fertig()").toBool()),
                                 20000);
        const QStringList werte = ::lesen(bruecke, mitte).toString().split(' ');
        QCOMPARE(werte.size(), 6);
        const int x = werte[0].toInt(), y = werte[1].toInt();
        QVERIFY2(x >= werte[2].toInt() && x <= werte[4].toInt() && y >= werte[3].toInt() &&
                     y <= werte[5].toInt(),
                 qPrintable("leaf centre, pile: " + werte.join(' ')));
    }

    // A view kept back behind the start screen has no engine page (and so no renderer) until it is
    // let go; statements sent meanwhile reach the page once it is there, as do statements sent
    // while any page loads (a question shown while its page is still loading).
    void gehalteneAnsichtBekommtIhreSeiteErstBeiDerFreigabe()
    {
        QWebEngineView ansicht;
        ansicht.resize(1024, 768);
        WebBruecke bruecke(&ansicht, m_injektion);
        bool geladen = false;
        connect(&bruecke, &WebBruecke::geladen, this, [&](bool ok) { geladen = ok; });
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
        QVERIFY(!ansicht.findChild<QWebEnginePage *>());
        QVERIFY(ansicht.url().isEmpty());

        bruecke.freigeben();
        ansicht.show();
        QTRY_VERIFY_WITH_TIMEOUT(geladen, 20000);
        QCOMPARE(ansicht.url(), QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QCOMPARE(ansicht.zoomFactor(), 1.5);
        QVERIFY(!ansicht.history()->canGoBack());
        QCOMPARE(::lesen(bruecke, "qt.jQuery('.textplenarosite').text()").toString(), QString("gehalten"));

        geladen = false;
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/rangliste.html")));
        bruecke.ausfuehren(Anweisung::klasse("textTitelRangliste").html("beim Laden"));
        QTRY_VERIFY_WITH_TIMEOUT(geladen, 20000);
        QCOMPARE(::lesen(bruecke, "qt.jQuery('.textTitelRangliste').text()").toString(),
                 QString("beim Laden"));
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
        QElapsedTimer seitDemLaden;
        connect(&ansicht, &QWebEngineView::loadFinished, this, [&]() {
            if (!ersteSeite())
                return;
            seitDemLaden.start();
            ansicht.page()->runJavaScript(
                QStringLiteral("requestAnimationFrame(function () { window.beimBild = typeof window.qt; });"
                               "for (var t = performance.now(); performance.now() - t < %1;) {} null")
                    .arg(2 * WebBruecke::BildFrist));
        });
        WebBruecke bruecke(&ansicht, m_injektion);
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
        qint64 bisGeladen = -1;
        connect(&bruecke, &WebBruecke::geladen, this, [&](bool) {
            ablauf.append(QStringLiteral("geladen"));
            if (bisGeladen < 0)
                bisGeladen = seitDemLaden.elapsed();
        });
        connect(&bruecke, &WebBruecke::gezeichnet, this, [&]() {
            ablauf.append(QStringLiteral("gezeichnet"));
            QVERIFY(!bruecke.wartetAufBild());
        });
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QTRY_COMPARE_WITH_TIMEOUT(ablauf.size(), 4, 20000);
        QCOMPARE(ablauf, (QStringList{"loadFinished", "geladen", "gezeichnet", "gelesen zweiter"}));
        QVERIFY2(bisGeladen >= 2 * WebBruecke::BildFrist, qPrintable(QString::number(bisGeladen)));
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
        QWebEngineView ansicht;
        ansicht.resize(1024, 768);
        WebBruecke bruecke(&ansicht, m_injektion);
        bruecke.erstesBildAbwarten();
        bool geladen = false;
        bool gezeichnet = false;
        QElapsedTimer seitDemLaden;
        connect(&ansicht, &QWebEngineView::loadFinished, this, [&]() {
            seitDemLaden.start();
            bruecke.ausfuehren(Anweisung::klasse("textplenarosite").html("ohne Bild"));
        });
        connect(&bruecke, &WebBruecke::geladen, this, [&](bool ok) { geladen = ok; });
        connect(&bruecke, &WebBruecke::gezeichnet, this, [&]() { gezeichnet = true; });
        bruecke.seiteLaden(QUrl(QStringLiteral("qrc:/template/startscreen.html")));
        QTRY_VERIFY_WITH_TIMEOUT(geladen, 20000);
        QVERIFY(seitDemLaden.elapsed() >= WebBruecke::BildFrist - 5);
        QVERIFY(!gezeichnet);
        QCOMPARE(::lesen(bruecke, "qt.jQuery('.textplenarosite').text()").toString(), QString("ohne Bild"));
    }

    void textMitZeilenumbruchUndApostrophErscheint()
    {
        FakeBruecke fake;
        TestUhr uhr;
        FesterZufall zufall;
        auto vorlage = templateErzeugen(QStringLiteral("Morvane"), fake, uhr, zufall);
        vorlage->frageAnzeigen(m_bau->frage({{"QuestionText", "Wie geht's\\dir?\nZeile 2"}}), 1);
        auto ansicht = oeffnen(QStringLiteral("qrc:/template/morvane.html"));
        QTRY_VERIFY_WITH_TIMEOUT(ansicht->geladen, 20000);
        for (const QString &anweisung : fake.alle())
            ansicht->bruecke->roh(anweisung + "; null");
        QCOMPARE(::lesen(*ansicht->bruecke, "qt.jQuery('.textFrage').html()").toString(),
                 QString("Wie geht's\\dir?<br>Zeile 2"));
    }
};

int main(int argc, char *argv[])
{
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);
    TestSeiten test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_seiten.moc"
