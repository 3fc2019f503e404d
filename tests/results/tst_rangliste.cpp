#include "fakebruecke.h"
#include "rangfolge.h"
#include "rangliste.h"
#include "testeinstellungen.h"

#include "einstellungen.h"
#include "geraetschluessel.h"
#include "schluessel.h"

#include <QtTest>

namespace {

// A participant with evaluated answers of the given points and times (ms).
Person teilnehmer(uint buzzer, uint klassensatz, const QList<QPair<int, double>> &antworten)
{
    Person person(buzzer, klassensatz);
    int frage = 1;
    for (const auto &[punkte, zeit] : antworten) {
        AntwortDerPerson &antwort = person.getAntwortDerFrage(frage++);
        antwort.setPunkte(punkte);
        antwort.setAntwortszeit(zeit);
        antwort.setAusgewertet(true);
    }
    return person;
}

QString zeile(int rang, const QString &geraet, const QString &zeit, int punkte)
{
    return QStringLiteral(
               "<tr class=\"tabelleReiheRangliste\"><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
        .arg(rang)
        .arg(geraet, zeit)
        .arg(punkte);
}

// All rows go in at once, in rank order, replacing the old ones.
QString zeilen(const QStringList &alle)
{
    return QLatin1String("qt.jQuery('.zeilenRangliste').prop('innerHTML','") + alle.join(QString()) +
           QLatin1String("')");
}

} // namespace

class TestRangliste final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEinstellungen> m_einstellungen;
    FakeBruecke m_bruecke;
    rangliste m_rangliste;

private slots:
    void init()
    {
        m_einstellungen = std::make_unique<TestEinstellungen>();
        m_rangliste.brueckeSetzen(&m_bruecke);
        m_bruecke.nehmen();
        m_bruecke.seiten.clear();
    }
    void cleanup() { m_einstellungen.reset(); }

    void reihenfolgeNachPunktenZeitUndErstemDruck()
    {
        const QList<Person> personen{
            teilnehmer(1, 1, {{3, 1000}}),
            teilnehmer(2, 1, {{2, 4000}, {3, 4200}}),
            teilnehmer(3, 1, {{5, 6000}}),
            teilnehmer(4, 1, {}),                     // only reported in on the start screen
            teilnehmer(5, 1, {{2, 3000}, {3, 3000}}), // same as 6: first press decides
            teilnehmer(6, 1, {{5, 6000}}),
        };
        m_rangliste.ranglisteAnzeigen(personen, 9, 2);
        QCoreApplication::processEvents();
        QCOMPARE(m_bruecke.stapel.size(), 1); // one call into the page, however long the list
        QCOMPARE(m_bruecke.nehmen(),
                 (QStringList{"qt.jQuery('.textTitelRangliste').html('Rangliste nach 2/9 Fragen')",
                              "qt.jQuery('.geraeteID').html('Geräte-ID')",
                              zeilen({zeile(1, "3", "6.00", 5), zeile(2, "5", "6.00", 5),
                                      zeile(3, "6", "6.00", 5), zeile(4, "2", "8.20", 5),
                                      zeile(5, "1", "1.00", 3), zeile(6, "4", "0.00", 0)})}));
        QCOMPARE(m_bruecke.zoomFaktor(), 1.0);
        // Without participants the rows of an earlier game go.
        m_rangliste.ranglisteAnzeigen({}, 5, 0);
        QCOMPARE(m_bruecke.nehmen().last(), zeilen({}));
    }

    void englischUndKonferenzmodus()
    {
        m_rangliste.loadHTML();
        Einstellungen::setzen(Schluessel::InstallerLanguage, "1033");
        m_rangliste.loadHTML();
        QCOMPARE(m_bruecke.seiten, (QList<QUrl>{QUrl("qrc:/template/rangliste.html"),
                                                QUrl("qrc:/template/rangliste_EN.html")}));
        Einstellungen::setzen(Schluessel::Konferenzmodus, "true");
        m_rangliste.ranglisteAnzeigen({teilnehmer(12, 3, {{1, 12345}})}, 5, 0);
        QCOMPARE(m_bruecke.nehmen(),
                 (QStringList{"qt.jQuery('.textTitelRangliste').html('Ranking according to 0/5 questions')",
                              "qt.jQuery('.rang').html('Rank')",
                              "qt.jQuery('.antwortszeitS').html('Response time [s]')",
                              "qt.jQuery('.points').html('Points')",
                              "qt.jQuery('.geraeteID').html('Device ID/Class-set ID')",
                              zeilen({zeile(1, "12/3", "12.35", 1)})}));
    }

    void jederTeilnehmerEinEigenerName_data()
    {
        QTest::addColumn<bool>("konferenz");
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QList<Person>>("personen");
        QTest::addColumn<QStringList>("zellen");
        const Person handy3 = teilnehmer(3, HandyKlassensatz, {{1, 1000}});
        QTest::newRow("one class set and a phone")
            << false << false << QList<Person>{handy3, teilnehmer(3, 1, {})} << QStringList{"Handy 3", "3"};
        QTest::newRow("two class sets name theirs without conference mode")
            << false << true << QList<Person>{handy3, teilnehmer(3, 1, {}), teilnehmer(3, 2, {})}
            << QStringList{"Phone 3", "3/1", "3/2"};
        QTest::newRow("conference mode")
            << true << false << QList<Person>{handy3, teilnehmer(3, 1, {})} << QStringList{"Handy 3", "3/1"};
    }

    void jederTeilnehmerEinEigenerName()
    {
        QFETCH(bool, konferenz);
        QFETCH(bool, englisch);
        QFETCH(QList<Person>, personen);
        QFETCH(QStringList, zellen);
        Einstellungen::setzen(Schluessel::Konferenzmodus, QVariant(konferenz).toString());
        Einstellungen::setzen(Schluessel::InstallerLanguage, englisch ? "1033" : QString());
        m_rangliste.ranglisteAnzeigen(personen, 5, 1);
        const QString alle = m_bruecke.nehmen().join('\n');
        for (const QString &zelle : zellen)
            QVERIFY2(alle.contains("<td>" + zelle + "</td>"), qPrintable(zelle + " in " + alle));
        QCOMPARE(alle.contains("Klassensatz-ID") || alle.contains("Class-set ID"),
                 zellen.last().contains('/'));
    }

    void namenNebenDenGeraeten()
    {
        Namensliste namen;
        QVERIFY(namen.lesenAus("12;<b>Zoë</b> & 'Bo'\n", false));
        m_rangliste.namenSetzen(namen);
        m_rangliste.ranglisteAnzeigen({teilnehmer(12, 3, {{1, 12345}}), teilnehmer(13, 3, {{1, 20000}})}, 5,
                                      0);
        const QString alle = m_bruecke.nehmen().join('\n');
        // Shown as text: markup and quotes escaped for the page, the unnamed handset by number.
        QVERIFY2(alle.contains("<td>12 (&lt;b&gt;Zoë&lt;/b&gt; &amp; \\'Bo\\')</td>"), qPrintable(alle));
        QVERIFY(alle.contains("<td>13</td>"));
        m_rangliste.namenSetzen({});
        m_rangliste.ranglisteAnzeigen({teilnehmer(12, 3, {{1, 12345}})}, 5, 0);
        QVERIFY(m_bruecke.nehmen().join('\n').contains("<td>12</td>"));
    }

    void nurAusgewerteteZeitenZaehlen()
    {
        Person person = teilnehmer(8, 1, {{0, 5000}, {0, 2500}});
        person.getAntwortDerFrage(1).setAusgewertet(false); // answered, never evaluated (abandoned)
        QCOMPARE(Rangfolge::sortiert({person}).at(0).getAntwortszeit(), 2500.0);
    }
};

QTEST_GUILESS_MAIN(TestRangliste)
#include "tst_rangliste.moc"
