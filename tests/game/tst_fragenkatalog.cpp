#include "dialogrekorder.h"
#include "fragenkatalog.h"
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
        QList<Testdaten::Frage> fragen;
        for (int i = 1; i <= anzahl; ++i) {
            Testdaten::Frage f;
            f.text = QString::number(i);
            fragen.append(f);
        }
        const QString pfad = m_ordner.filePath(name);
        Testdaten::schreiben(pfad, fragen);
        return pfad;
    }

private slots:
    void init() { m_dialoge.leeren(); }

    void vorwaertsBisUeberDasEnde()
    {
        Fragenkatalog katalog(m_dialoge);
        QVERIFY(katalog.ladeFragen(datei(3)).ok());
        QCOMPARE(katalog.getAnzahlFragen(), 3);
        QCOMPARE(katalog.getAktuelleFrageNr(), 0);
        QCOMPARE(katalog.fehlendeAntworten(), 0);
        QCOMPARE(text(katalog.getNaechsteFrage()), QString("1"));
        QCOMPARE(text(katalog.getNaechsteFrage()), QString("2"));
        QCOMPARE(text(katalog.getNaechsteFrage()), QString("3"));
        QVERIFY(m_dialoge.hinweise.isEmpty());
        QVERIFY(!katalog.istEndeErreicht());

        // Past the end: the box, the last question again, the end flag — and again on every try.
        QCOMPARE(text(katalog.getNaechsteFrage()), QString("3"));
        QCOMPARE(m_dialoge.hinweisTexte(), QStringList{"Keine weiteren Fragen."});
        QCOMPARE(m_dialoge.hinweise.at(0).bild, QString(":/images/info.png"));
        QVERIFY(katalog.istEndeErreicht());
        QCOMPARE(katalog.getAktuelleFrageNr(), 3);
        QCOMPARE(text(katalog.getNaechsteFrage()), QString("3"));
        QCOMPARE(m_dialoge.hinweise.size(), 2);

        // Back clears the flag and gives the second-to-last question.
        QCOMPARE(text(katalog.getVorherigeFrage()), QString("2"));
        QVERIFY(!katalog.istEndeErreicht());
    }

    void rueckwaertsBleibtBeiEins()
    {
        Fragenkatalog katalog(m_dialoge);
        katalog.ladeFragen(datei(3));
        QCOMPARE(text(katalog.getVorherigeFrage()), QString("1"));
        QCOMPARE(katalog.getAktuelleFrageNr(), 1);
        QCOMPARE(text(katalog.getVorherigeFrage()), QString("1"));
        QVERIFY(m_dialoge.hinweise.isEmpty());
    }

    void springen()
    {
        Fragenkatalog katalog(m_dialoge);
        katalog.ladeFragen(datei(12));
        QCOMPARE(text(katalog.springeZuFrage(5)), QString("5"));
        QCOMPARE(text(katalog.springeZuFrage(9999)), QString("12"));
        QVERIFY(m_dialoge.hinweise.isEmpty());
        katalog.setEndeErreicht(true);
        QCOMPARE(text(katalog.springeZuFrage(0)), QString("1"));
        QCOMPARE(m_dialoge.hinweisTexte(), QStringList{"Ungültige Fragenummer."});
        QVERIFY(m_dialoge.hinweise.at(0).bild.isEmpty());
        QCOMPARE(text(katalog.springeZuFrage(-4)), QString("1"));
        QCOMPARE(m_dialoge.hinweise.size(), 2);
        QVERIFY2(katalog.istEndeErreicht(), "a jump leaves the end flag alone");
    }

    void leererKatalogBeruehrtNichts()
    {
        Fragenkatalog katalog(m_dialoge);
        QVERIFY(katalog.getNaechsteFrage().isNull());
        QVERIFY(katalog.getVorherigeFrage().isNull());
        QVERIFY(katalog.springeZuFrage(3).isNull());
        QVERIFY(katalog.getFrage(1).isNull());
        QCOMPARE(katalog.getAktuelleFrageNr(), 0);
        QVERIFY(m_dialoge.hinweise.isEmpty());
        QVERIFY(katalog.feld("Solution").isEmpty());
    }

    void fehlgeschlagenesLadenBehaeltDieFragen()
    {
        Fragenkatalog katalog(m_dialoge);
        katalog.ladeFragen(datei(4));
        katalog.getNaechsteFrage();
        katalog.getNaechsteFrage();

        const auto fehlt = katalog.ladeFragen(m_ordner.filePath("gibt-es-nicht.xml"));
        QCOMPARE(fehlt.fehler, FrageDatei::LadeErgebnis::Fehler::DateiFehlt);
        const QString kaputt = m_ordner.filePath("kaputt.xml");
        Testdaten::schreiben(kaputt, QByteArray("<A><Question>"));
        QCOMPARE(katalog.ladeFragen(kaputt).fehler, FrageDatei::LadeErgebnis::Fehler::KeinXml);

        QCOMPARE(katalog.getAnzahlFragen(), 4);
        QCOMPARE(katalog.getAktuelleFrageNr(), 2);
        QCOMPARE(text(katalog.getNaechsteFrage()), QString("3"));
    }

    void neuLadenSetztDieNummerZurueckAberNichtDasEnde()
    {
        Fragenkatalog katalog(m_dialoge);
        katalog.ladeFragen(datei(2));
        katalog.getNaechsteFrage();
        katalog.getNaechsteFrage();
        katalog.getNaechsteFrage();
        QVERIFY(katalog.istEndeErreicht());
        QVERIFY(katalog.ladeFragen(datei(5, "andere.xml")).ok());
        QCOMPARE(katalog.getAnzahlFragen(), 5);
        QCOMPARE(katalog.getAktuelleFrageNr(), 0);
        QVERIFY(katalog.istEndeErreicht());
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

    void mehrAlsTausendFragenWerdenGemeldet()
    {
        // The catalogue takes the first 1000 and the result tells the presenter how many were left out.
        Fragenkatalog katalog(m_dialoge);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("holds 1005 questions"));
        const FrageDatei::LadeErgebnis ergebnis = katalog.ladeFragen(datei(1005));
        QVERIFY(ergebnis.ok());
        QCOMPARE(katalog.getAnzahlFragen(), 1000);
        QCOMPARE(ergebnis.weggelassen, 5);
        QVERIFY(ergebnis.hinweis().contains("5 Fragen wurden weggelassen"));
        QCOMPARE(text(katalog.springeZuFrage(2000)), QString("1000"));
        QVERIFY(katalog.ladeFragen(datei(3, "klein.xml")).hinweis().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFragenkatalog)
#include "tst_fragenkatalog.moc"
