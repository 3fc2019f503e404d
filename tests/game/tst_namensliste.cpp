// Class lists as teachers keep them in spreadsheets.
#include "einstellungen.h"
#include "namensliste.h"
#include "schluessel.h"
#include "testdaten.h"
#include "testeinstellungen.h"

#include <QTemporaryDir>
#include <QtTest>

class TestNamensliste final : public QObject
{
    Q_OBJECT

private slots:
    void geraetUndName()
    {
        Namensliste liste;
        QString fehler;
        QVERIFY(liste.lesenAus(
            "\xEF\xBB\xBFGer\xC3\xA4t;Name\r\n1;Anna\r\n2;\"Berg, Jonas\"\r\n\r\n17;Zoë Ünal\r\n", false,
            &fehler));
        QCOMPARE(liste.anzahl(), 3);
        QCOMPARE(liste.name(1, 1), QString("Anna"));
        QCOMPARE(liste.name(42, 2), QString("Berg, Jonas"));
        QCOMPARE(liste.name(1, 17), QString("Zoë Ünal"));
        QCOMPARE(liste.name(1, 3), QString());
    }

    void klassensatzGehtVor()
    {
        Namensliste liste;
        QVERIFY(liste.lesenAus("7,2,Lena\n8,2,Mia\n2,Ohne Klasse\n", false));
        QCOMPARE(liste.name(7, 2), QString("Lena"));
        QCOMPARE(liste.name(8, 2), QString("Mia"));
        QCOMPARE(liste.name(9, 2), QString("Ohne Klasse"));
        QCOMPARE(liste.name(7, 3), QString());
    }

    void kaputteListeBleibtLeerUndSagtWarum()
    {
        Namensliste liste;
        QString fehler;
        QVERIFY(!liste.lesenAus("1;Anna\nzwei;Ben\n", false, &fehler));
        QVERIFY(liste.istLeer());
        QCOMPARE(fehler, QString("Zeile 2 hat nicht die Form „Gerät;Name“ oder „Klassensatz;Gerät;Name“."));
        QVERIFY(!liste.lesenAus("1;Anna\n70000;3;Ben\n", true, &fehler));
        QVERIFY(fehler.startsWith("Line 2"));
        QVERIFY(!liste.lesenAus("1;Anna\n2;\n", true, &fehler));

        QTemporaryDir ordner;
        QVERIFY(!liste.lesen(ordner.filePath("fehlt.csv"), false, &fehler));
        QVERIFY(fehler.contains("fehlt.csv"));
        QVERIFY(!liste.lesen(ordner.path(), false, &fehler));
    }

    void ausDenEinstellungen()
    {
        TestEinstellungen einstellungen;
        QVERIFY(Namensliste::ausEinstellungen().istLeer());
        const QString pfad = einstellungen.ordner() + "/namen.csv";
        QVERIFY(Testdaten::schreiben(pfad, QByteArray("5;Pia\n")));
        Einstellungen::setzen(Schluessel::NamenslisteDatei, pfad);
        QCOMPARE(Namensliste::ausEinstellungen().name(1, 5), QString("Pia"));
    }
};

QTEST_GUILESS_MAIN(TestNamensliste)
#include "tst_namensliste.moc"
