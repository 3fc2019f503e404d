#include "bildpfad.h"

#include <QtTest>

#include <sys/stat.h>

class TestBildPfad final : public QObject
{
    Q_OBJECT

private slots:
    void nurGewoehnlicheDateienSindBilder()
    {
        QTemporaryDir ordner;
        const QString datei = ordner.filePath("a.png");
        QFile(datei).open(QIODevice::WriteOnly);
        const QString fifo = ordner.filePath("fifo.png");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(BildPfad::istBilddatei(datei));
        QVERIFY(!BildPfad::istBilddatei(fifo));
        QVERIFY(!BildPfad::istBilddatei("/dev/null"));
        QVERIFY(!BildPfad::istBilddatei(ordner.path()));
        QVERIFY(!BildPfad::istBilddatei(ordner.filePath("fehlt.png")));
    }

    void relativ_data()
    {
        QTest::addColumn<QString>("frageDatei");
        QTest::addColumn<QString>("bild");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("same folder") << "C:/kurs/fragen/test.xml"
                                     << "C:/kurs/fragen/a.png"
                                     << "a.png";
        QTest::newRow("sub folder") << "/home/k/fragen/test.xml"
                                    << "/home/k/fragen/img/a.png"
                                    << "img\\a.png";
        QTest::newRow("sibling") << "C:/kurs/fragen/test.xml"
                                 << "C:/kurs/bilder/a.png"
                                 << "..\\bilder\\a.png";
        QTest::newRow("two up") << "/home/k/kurs/fragen/test.xml"
                                << "/home/k/a.png"
                                << "..\\..\\a.png";
        QTest::newRow("name begins alike") << "/home/k/bilder.xml"
                                           << "/home/k/bild/a.png"
                                           << "bild\\a.png";
        QTest::newRow("other drive") << "C:/kurs/test.xml"
                                     << "D:/bilder/a.png"
                                     << "D:/bilder/a.png";
        QTest::newRow("only the root shared") << "/home/k/test.xml"
                                              << "/media/stick/a.png"
                                              << "/media/stick/a.png";
        QTest::newRow("only the drive shared") << "C:/kurs/test.xml"
                                               << "C:/bilder/a.png"
                                               << "C:/bilder/a.png";
    }
    void relativ()
    {
        QFETCH(QString, frageDatei);
        QFETCH(QString, bild);
        QFETCH(QString, gespeichert);
        QCOMPARE(BildPfad::relativerBildPfad(frageDatei, bild), gespeichert);
    }

    void aufloesen_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("frageDatei");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("lokal");
        QTest::newRow("drive, same folder") << "bild.png"
                                            << "C:/kurs/fragen/test.xml"
                                            << "file:///C:/kurs/fragen/bild.png"
                                            << "C:/kurs/fragen/bild.png";
        QTest::newRow("drive, one up") << "..\\bilder\\a.png"
                                       << "C:/kurs/fragen/test.xml"
                                       << "file:///C:/kurs/bilder/a.png"
                                       << "C:/kurs/bilder/a.png";
        QTest::newRow("no drive") << "bild.png"
                                  << "/home/k/fragen/test.xml"
                                  << "file:/home/k/fragen/bild.png"
                                  << "/home/k/fragen/bild.png";
        QTest::newRow("sub folder") << "img\\a.png"
                                    << "/home/k/test.xml"
                                    << "file:/home/k/img/a.png"
                                    << "/home/k/img/a.png";
        QTest::newRow("absolute unix") << "/media/stick/a.png"
                                       << "/home/k/test.xml"
                                       << "file:/media/stick/a.png"
                                       << "/media/stick/a.png";
        QTest::newRow("absolute drive") << "D:\\bilder\\a.png"
                                        << "C:/kurs/test.xml"
                                        << "file:///D:/bilder/a.png"
                                        << "D:/bilder/a.png";
        // The URL names the file as it is; the statement builder encodes it for a page.
        QTest::newRow("awkward name") << "O'Brien #1 100%.png"
                                      << "/home/k/test.xml"
                                      << "file:/home/k/O'Brien #1 100%.png"
                                      << "/home/k/O'Brien #1 100%.png";
        QTest::newRow("empty means no picture") << ""
                                                << "/home/k/test.xml"
                                                << ""
                                                << "";
    }
    void aufloesen()
    {
        QFETCH(QString, gespeichert);
        QFETCH(QString, frageDatei);
        QFETCH(QString, url);
        QFETCH(QString, lokal);
        const BildPfad::Quelle quelle = BildPfad::bildPfadAufloesen(gespeichert, frageDatei);
        QCOMPARE(quelle.url, url);
        QCOMPARE(quelle.lokalerPfad, lokal);
    }

    void hinUndZurueck()
    {
        const QString frageDatei = "/home/k/kurs/fragen/test.xml";
        for (const QString bild :
             {"/home/k/kurs/fragen/a.png", "/home/k/kurs/bilder/tiere/b.png", "/home/k/c.png"}) {
            const QString gespeichert = BildPfad::relativerBildPfad(frageDatei, bild);
            QCOMPARE(BildPfad::bildPfadAufloesen(gespeichert, frageDatei).lokalerPfad, bild);
        }
    }
};

QTEST_GUILESS_MAIN(TestBildPfad)
#include "tst_bildpfad.moc"
