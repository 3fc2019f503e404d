#include "dialogrekorder.h"
#include "fragenkatalog.h"
#include "namensliste.h"
#include "testdaten.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QString text(const QDomElement &frage)
{
    return FrageDatei::feld(frage, QStringLiteral("QuestionText"));
}

} // namespace

class TestFragenkatalog final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_ordner;
    DialogRekorder m_dialoge;

    QString datei(int anzahl, const QString &name = QStringLiteral("fragen.xml"))
    {
        QList<Testdaten::Frage> fragen(anzahl);
        for (int i = 0; i < anzahl; ++i)
            fragen[i].text = QString::number(i + 1);
        const QString pfad = m_ordner.filePath(name);
        Testdaten::schreiben(pfad, fragen);
        return pfad;
    }

private slots:
    void init() { m_dialoge.leeren(); }

    // Steps through a catalogue: "+" next, "-" back, a number jumps. Past the last question the
    // last stays, with a box each time and the end flag, which only a step back clears; back
    // stays at the first; a jump beyond the end goes to the last, one below 1 to the first with
    // a box. An empty catalogue gives nothing and says nothing.
    void navigation_data()
    {
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QStringList>("schritte");
        QTest::addColumn<QStringList>("gezeigt"); // empty: no question
        QTest::addColumn<QStringList>("hinweise");
        QTest::addColumn<bool>("ende");
        const QString keine = QStringLiteral("Keine weiteren Fragen.");
        const QString ungueltig = QStringLiteral("Ungültige Fragenummer.");
        QTest::newRow("forward past the end")
            << 3 << QStringList{"+", "+", "+", "+", "+"} << QStringList{"1", "2", "3", "3", "3"}
            << QStringList{keine, keine} << true;
        QTest::newRow("back after the end")
            << 3 << QStringList{"+", "+", "+", "+", "-"} << QStringList{"1", "2", "3", "3", "2"}
            << QStringList{keine} << false;
        QTest::newRow("back stays at the first")
            << 3 << QStringList{"-", "-"} << QStringList{"1", "1"} << QStringList{} << false;
        QTest::newRow("jumps") << 12 << QStringList{"5", "9999", "12"} << QStringList{"5", "12", "12"}
                               << QStringList{} << false;
        QTest::newRow("jumps below 1") << 12 << QStringList{"0", "-4"} << QStringList{"1", "1"}
                                       << QStringList{ungueltig, ungueltig} << false;
        QTest::newRow("a jump leaves the end flag")
            << 2 << QStringList{"+", "+", "+", "1"} << QStringList{"1", "2", "2", "1"} << QStringList{keine}
            << true;
        QTest::newRow("empty") << 0 << QStringList{"+", "-", "3"} << QStringList{"", "", ""} << QStringList{}
                               << false;
    }
    void navigation()
    {
        QFETCH(int, anzahl);
        QFETCH(QStringList, schritte);
        Fragenkatalog katalog(m_dialoge);
        if (anzahl > 0)
            QVERIFY(katalog.ladeFragen(datei(anzahl)).ok());
        QCOMPARE(katalog.getAnzahlFragen(), anzahl);
        QCOMPARE(katalog.getAktuelleFrageNr(), 0);
        QStringList gezeigt;
        for (const QString &schritt : schritte) {
            const QDomElement frage = schritt == QLatin1String("+") ? katalog.getNaechsteFrage()
                                      : schritt == QLatin1String("-")
                                          ? katalog.getVorherigeFrage()
                                          : katalog.springeZuFrage(schritt.toInt());
            gezeigt << text(frage);
        }
        QTEST(gezeigt, "gezeigt");
        QCOMPARE(katalog.getAktuelleFrageNr(), gezeigt.last().toInt());
        QTEST(m_dialoge.hinweisTexte(), "hinweise");
        // The end is news; a wrong number is not.
        for (const Meldung &hinweis : std::as_const(m_dialoge.hinweise))
            QCOMPARE(hinweis.bild.isEmpty(), hinweis.text.startsWith(QStringLiteral("Ung")));
        QTEST(katalog.istEndeErreicht(), "ende");
        QVERIFY(katalog.getFrage(anzahl + 1).isNull());
        QCOMPARE(katalog.feld("QuestionText"), gezeigt.last());
    }

    // A file that does not load leaves the questions and the place in them; one that loads starts
    // from before its first question, and the end flag stays until the game is reset.
    void ladenUndFehlschlagen()
    {
        Fragenkatalog katalog(m_dialoge);
        QVERIFY(katalog.ladeFragen(datei(2)).ok());
        for (int i = 0; i < 3; ++i)
            katalog.getNaechsteFrage();
        QVERIFY(katalog.istEndeErreicht());

        QCOMPARE(katalog.ladeFragen(m_ordner.filePath("gibt-es-nicht.xml")).fehler,
                 FrageDatei::LadeErgebnis::Fehler::DateiFehlt);
        const QString kaputt = m_ordner.filePath("kaputt.xml");
        QVERIFY(Testdaten::schreiben(kaputt, QByteArray("<A><Question>")));
        QCOMPARE(katalog.ladeFragen(kaputt).fehler, FrageDatei::LadeErgebnis::Fehler::KeinXml);
        QCOMPARE(katalog.getAnzahlFragen(), 2);
        QCOMPARE(katalog.getAktuelleFrageNr(), 2);
        QCOMPARE(text(katalog.getVorherigeFrage()), QString("1"));

        katalog.setEndeErreicht(true);
        QVERIFY(katalog.ladeFragen(datei(5, "andere.xml")).ok());
        QCOMPARE(katalog.getAnzahlFragen(), 5);
        QCOMPARE(katalog.getAktuelleFrageNr(), 0);
        QVERIFY(katalog.istEndeErreicht());
        QCOMPARE(text(katalog.getNaechsteFrage()), QString("1"));
    }

    void fehlendeAntworten_data()
    {
        QTest::addColumn<QStringList>("antworten");
        QTest::addColumn<QStringList>("bilder");
        QTest::addColumn<int>("code");
        QTest::newRow("four") << QStringList{"a", "b", "c", "d"} << QStringList{} << 0;
        QTest::newRow("three") << QStringList{"a", "b", "c", ""} << QStringList{} << 1;
        QTest::newRow("no C") << QStringList{"a", "b", "", "d"} << QStringList{} << 2;
        QTest::newRow("two") << QStringList{"a", "b", "", ""} << QStringList{} << 3;
        QTest::newRow("picture D counts")
            << QStringList{"a", "b", "c", ""} << QStringList{"", "", "", "", "d.png"} << 0;
        QTest::newRow("picture C only")
            << QStringList{"a", "b", "", ""} << QStringList{"", "", "", "c.png"} << 1;
        QTest::newRow("A and B always count") << QStringList{"", "", "c", "d"} << QStringList{} << 0;
    }
    void fehlendeAntworten()
    {
        QFETCH(QStringList, antworten);
        QFETCH(QStringList, bilder);
        QFETCH(int, code);
        Testdaten::Frage f;
        f.antworten = antworten;
        f.bilder = bilder;
        const QString pfad = m_ordner.filePath("antworten.xml");
        Testdaten::schreiben(pfad, QList<Testdaten::Frage>{f});
        Fragenkatalog katalog(m_dialoge);
        katalog.ladeFragen(pfad);
        QCOMPARE(katalog.fehlendeAntworten(1), code);
        katalog.getNaechsteFrage();
        QCOMPARE(katalog.fehlendeAntworten(), code);
        // A number without a question has nothing missing and no fields.
        QCOMPARE(katalog.fehlendeAntworten(2), 0);
        QVERIFY(katalog.feld(2, "Answer1").isEmpty());
        QCOMPARE(katalog.feld(1, "Answer1"), antworten.value(0));
    }

    // Handset and name, or class set, handset and name, which goes before a name without one.
    void namenslisten()
    {
        Namensliste liste;
        QVERIFY(liste.lesenAus(
            "\xEF\xBB\xBFGer\xC3\xA4t;Name\r\n1;Anna\r\n2;\"Berg, Jonas\"\r\n\r\n17;Zoë Ünal\r\n", false));
        QCOMPARE(liste.anzahl(), 3);
        QCOMPARE(liste.name(1, 1), QString("Anna"));
        QCOMPARE(liste.name(42, 2), QString("Berg, Jonas"));
        QCOMPARE(liste.name(1, 17), QString("Zoë Ünal"));
        QCOMPARE(liste.name(1, 3), QString());
        QVERIFY(liste.lesenAus("7,2,Lena\n8,2,Mia\n2,Ohne Klasse\n", false));
        QCOMPARE((QStringList{liste.name(7, 2), liste.name(8, 2), liste.name(9, 2), liste.name(7, 3)}),
                 (QStringList{"Lena", "Mia", "Ohne Klasse", ""}));
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

        QVERIFY(!liste.lesen(m_ordner.filePath("fehlt.csv"), false, &fehler));
        QVERIFY(fehler.contains("fehlt.csv"));
        QVERIFY(!liste.lesen(m_ordner.path(), false, &fehler));
        QFile gross(m_ordner.filePath("gross.csv"));
        QVERIFY(gross.open(QIODevice::WriteOnly) && gross.resize(2 * 1024 * 1024 + 1));
        QVERIFY(!liste.lesen(gross.fileName(), true, &fehler));
        QVERIFY2(fehler.endsWith("larger than 2 MB."), qPrintable(fehler));
    }
};

QTEST_GUILESS_MAIN(TestFragenkatalog)
#include "tst_fragenkatalog.moc"
