#include "bildpfad.h"

#include <QtTest>

#include <sys/stat.h>

namespace {

// A row of strings, one per column.
void zeile(const char *name, const QString &a, const QString &b, const QString &c)
{
    QTest::newRow(name) << a << b << c;
}
void zeile(const char *name, const QString &a, const QString &b, const QString &c, const QString &d)
{
    QTest::newRow(name) << a << b << c << d;
}

} // namespace

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
        zeile("same folder", "C:/kurs/fragen/test.xml", "C:/kurs/fragen/a.png", "a.png");
        zeile("sub folder", "/home/k/fragen/test.xml", "/home/k/fragen/img/a.png", "img\\a.png");
        zeile("sibling", "C:/kurs/fragen/test.xml", "C:/kurs/bilder/a.png", "..\\bilder\\a.png");
        zeile("two up", "/home/k/kurs/fragen/test.xml", "/home/k/a.png", "..\\..\\a.png");
        zeile("name begins alike", "/home/k/bilder.xml", "/home/k/bild/a.png", "bild\\a.png");
        zeile("other drive", "C:/kurs/test.xml", "D:/bilder/a.png", "D:/bilder/a.png");
        zeile("only the root shared", "/home/k/test.xml", "/media/stick/a.png", "/media/stick/a.png");
        zeile("only the drive shared", "C:/kurs/test.xml", "C:/bilder/a.png", "C:/bilder/a.png");
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
        zeile("drive, same folder", "bild.png", "C:/kurs/fragen/test.xml", "file:///C:/kurs/fragen/bild.png",
              "C:/kurs/fragen/bild.png");
        zeile("drive, one up", "..\\bilder\\a.png", "C:/kurs/fragen/test.xml", "file:///C:/kurs/bilder/a.png",
              "C:/kurs/bilder/a.png");
        zeile("no drive", "bild.png", "/home/k/fragen/test.xml", "file:/home/k/fragen/bild.png",
              "/home/k/fragen/bild.png");
        zeile("sub folder", "img\\a.png", "/home/k/test.xml", "file:/home/k/img/a.png", "/home/k/img/a.png");
        zeile("absolute unix", "/media/stick/a.png", "/home/k/test.xml", "file:/media/stick/a.png",
              "/media/stick/a.png");
        zeile("absolute drive", "D:\\bilder\\a.png", "C:/kurs/test.xml", "file:///D:/bilder/a.png",
              "D:/bilder/a.png");
        // The URL names the file as it is; the statement builder encodes it for a page.
        zeile("awkward name", "O'Brien #1 100%.png", "/home/k/test.xml", "file:/home/k/O'Brien #1 100%.png",
              "/home/k/O'Brien #1 100%.png");
        zeile("empty means no picture", "", "/home/k/test.xml", "", "");
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
};

QTEST_GUILESS_MAIN(TestBildPfad)
#include "tst_bildpfad.moc"
