#include "fakebruecke.h"
#include "templatebasis.h"

#include <QtTest>

using A = Anweisung;

class TestSkriptBruecke final : public QObject
{
    Q_OBJECT

private slots:
    // Question text (markup passes, line breaks become breaks), plain text, a picture's URL, literal
    // parts and class names made from outside text: nothing in them can end the statement's string.
    // Numbers are written as the page reads them; each statement of a turn runs for itself.
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
        zeile("question", "apostrophe", "Wie geht's?", "Wie geht&apos;s?");
        zeile("question", "CR LF", "eins\r\nzwei", "eins<br>zwei");
        zeile("question", "LF as read from a file", "eins\nzwei", "eins<br>zwei");
        zeile("question", "lone CR dropped", "eins\rzwei", "einszwei");
        zeile("question", "backslash doubled", "C:\\kurs", "C:\\\\kurs");
        zeile("question", "backslash before apostrophe", "\\'", "\\\\&apos;");
        zeile("question", "line separators", QString("a") + ls + "b" + ps + "c", "a<br>b<br>c");
        zeile("question", "markup passes", "<b>fett</b> & mehr", "<b>fett</b> & mehr");
        zeile("question", "double quotes pass", "\"Zitat\"", "\"Zitat\"");
        zeile("question", "script end tag passes", "</script><script>x()</script>",
              "</script><script>x()</script>");
        zeile("question", "other control characters", QString("a\tb") + QChar(0x1b), "a\\u0009b\\u001b");
        zeile("question", "empty", "", "");
        zeile("plain", "apostrophe", "it's", "it\\'s");
        zeile("plain", "double quote", "a\"b", "a\"b");
        zeile("plain", "backslash", "C:\\x", "C:\\\\x");
        zeile("plain", "line breaks", "a\r\nb", "a\\r\\nb");
        zeile("plain", "line separators", QString("a") + ls + ps, "a\\u2028\\u2029");
        zeile("plain", "script end tag", "</script>", "</script>");
        zeile("plain", "umlauts stay", "Geräte-ID", "Geräte-ID");
        zeile("picture", "plain", "file:/home/k/bild.png", "file:/home/k/bild.png");
        zeile("picture", "drive", "file:///C:/kurs/bild.png", "file:///C:/kurs/bild.png");
        zeile("picture", "awkward name", "file:/home/k/O'Brien #1 100%.png",
              "file:/home/k/O%27Brien %231 100%25.png");
        zeile("picture", "quotes, query, backslash", "file:/k/\"a\"?b\\c.png", "file:/k/%22a%22%3Fb%5Cc.png");
        zeile("picture", "line breaks", "file:/k/a\nb\rc.png", "file:/k/a%0Ab%0Dc.png");
        zeile("picture", "line separator", QString("file:/k/a") + ls + ".png", "file:/k/a%E2%80%A8.png");
        zeile("picture", "script end tag", "file:/k/</script>.png", "file:/k/</script>.png");
        zeile("picture", "umlauts stay", "file:/k/Bäume.png", "file:/k/Bäume.png");
        QTest::newRow("number") << SkriptText::zahl(100.0 / 15 * 14, 6).maskiert() << "93.3333";
        QTest::newRow("whole number") << SkriptText::zahl(20.0, 6).maskiert() << "20";
        QTest::newRow("fixed point 0") << SkriptText::festkomma(0, 1).maskiert() << "0.0";
        QTest::newRow("fixed point rounds") << SkriptText::festkomma(12345 / 1000.0, 2).maskiert() << "12.35";
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

    void platzhalterNenntDieDatei()
    {
        const QString quelle = SkriptText::platzhalterBild("it's <a> & \"b\".png", 360, 120).maskiert();
        QVERIFY(quelle.startsWith("data:image/svg+xml;charset=utf-8,"));
        // Nothing in it can end the statement's string or the URL.
        for (const char *zeichen : {"'", "\"", "\\", "\n", "#", "?"})
            QVERIFY2(!quelle.contains(QLatin1String(zeichen)), zeichen);
        const QString svg = QString::fromUtf8(QByteArray::fromPercentEncoding(quelle.toLatin1()));
        QVERIFY(svg.contains("it&#39;s &lt;a&gt; &amp; &quot;b&quot;.png"));
        QVERIFY(svg.contains("width='360' height='120'"));
    }

    // Statements wait for the end of the turn and then go in one call, in order, each once; a read
    // first sends what was queued before it.
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
        QCOMPARE(bruecke.anweisungen, (QStringList{"qt.jQuery('.a').height('5px')", "qt.jQuery('.b').hide()",
                                                   "?qt.jQuery('.a').height()", "qt.jQuery('.c').show()",
                                                   "?qt.jQuery('.c').width()", "qt.jQuery('.d').show()"}));
        QCOMPARE(bruecke.stapel,
                 (QList<QStringList>{{"qt.jQuery('.a').height('5px')", "qt.jQuery('.b').hide()"},
                                     {"qt.jQuery('.c').show()"},
                                     {"qt.jQuery('.d').show()"}}));
        bruecke.antworten();
        QCOMPARE(reihenfolge, (QStringList{"height 5", "width"}));
        bruecke.ausfuehren(A::klasse("e").show());
        QCoreApplication::processEvents();
        QCOMPARE(bruecke.stapel.value(3), QStringList{"qt.jQuery('.e').show()"});
    }

    // What is queued when a page is asked for was meant for the page that is there.
    void seiteLadenSchicktDasAlteZuerst()
    {
        struct Reihenfolge final : SkriptBruecke
        {
            QStringList ablauf;
            void verlaufAbschalten() override {}
            int hoehe() const override { return 0; }
            void stapelSenden(const QStringList &anweisungen) override { ablauf += anweisungen; }
            void lesenSenden(const QString &, Antwort) override {}
            void seiteOeffnen(const QUrl &seite) override { ablauf.append(seite.toString()); }
            void zoomAnwenden(double) override {}
        } bruecke;
        bruecke.ausfuehren(A::klasse("alt").hide());
        bruecke.seiteLaden(QUrl("qrc:/template/x.html"));
        QCOMPARE(bruecke.ablauf, (QStringList{"qt.jQuery('.alt').hide()", "qrc:/template/x.html"}));
    }

    void wacheRundenUndLeben()
    {
        auto wache = std::make_unique<Antwortwache>();
        QStringList gehoert;
        auto aktuell = wache->aktuell([&](const QVariant &w) { gehoert << "aktuell " + w.toString(); });
        auto lebendig = wache->lebendig(
            [&](const QVariant &w, bool p) { gehoert << w.toString() + (p ? " pünktlich" : " spät"); });
        aktuell(1);
        lebendig(2);
        wache->neueRunde();
        aktuell(3);
        lebendig(4);
        auto spaeter = wache->aktuell([&](const QVariant &w) { gehoert << "neu " + w.toString(); });
        spaeter(5);
        wache.reset();
        aktuell(6);
        lebendig(7);
        spaeter(8);
        QCOMPARE(gehoert, (QStringList{"aktuell 1", "2 pünktlich", "4 spät", "neu 5"}));
    }

    void zoomBleibtImBereichDerEngine()
    {
        FakeBruecke bruecke;
        bruecke.setZoomFaktor(1.5);
        bruecke.setZoomFaktor(7.0);
        bruecke.setZoomFaktor(0.1);
        bruecke.setZoomFaktor(-3);
        QCOMPARE(bruecke.zooms, (QList<double>{1.5, 5.0, 0.25, 0.25}));
        QCOMPARE(bruecke.zoomFaktor(), 0.25);
    }
};

QTEST_GUILESS_MAIN(TestSkriptBruecke)
#include "tst_skriptbruecke.moc"
