// The editor's two optional question fields: two rounds of voting and the presenter's notes.
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "schluessel.h"
#include "testdaten.h"
#include "testeinstellungen.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// One question file: its question with `felder` added.
QString datei(const QString &ordner, const QByteArray &felder)
{
    const QString pfad = ordner + "/fragen.xml";
    Testdaten::schreiben(
        pfad, Testdaten::dokument({Testdaten::Frage{}}).replace("</Question>", felder + "</Question>"));
    return pfad;
}

} // namespace

class TestZweiteRunde final : public QObject
{
    Q_OBJECT

    TestEinstellungen m_einstellungen;

private slots:
    // The editor writes the optional fields only when they differ from their default.
    void editorFelder_data()
    {
        QTest::addColumn<QByteArray>("vorher");
        QTest::addColumn<bool>("zwei");
        QTest::addColumn<QString>("notizen");
        QTest::addColumn<QByteArray>("nachher");
        QTest::newRow("set") << QByteArray() << true << "Erst\nallein"
                             << QByteArray("<Runden>2</Runden><Notizen>Erst\nallein</Notizen>");
        QTest::newRow("cleared") << QByteArray("<Runden>2</Runden><Notizen>n</Notizen>") << false << QString()
                                 << QByteArray();
        QTest::newRow("changed in place")
            << QByteArray("<Notizen>alt</Notizen><Runden> 2 </Runden>") << true << "neu"
            << QByteArray("<Notizen>neu</Notizen><Runden> 2 </Runden>");
    }
    void editorFelder()
    {
        QFETCH(QByteArray, vorher);
        QFETCH(bool, zwei);
        QFETCH(QString, notizen);
        QFETCH(QByteArray, nachher);
        const QString pfad = datei(m_einstellungen.ordner(), nachher);
        QVERIFY(FrageDatei::schreiben(pfad, FrageDatei::lesen(pfad).fragen));
        const QByteArray erwartet = Testdaten::lesen(pfad);
        datei(m_einstellungen.ordner(), vorher);
        const QDomElement gelesen = FrageDatei::lesen(pfad).fragen.value(0);
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        DialogRekorder dialoge;
        FragenEditor editor(&dialoge);
        editor.editorInitialisieren();
        auto *box = editor.findChild<QCheckBox *>("checkBox_ZweiRunden");
        auto *feld = editor.findChild<QPlainTextEdit *>("plainTextEdit_Notizen");
        QCOMPARE(box->isChecked(), FrageDatei::runden(gelesen) == 2);
        QCOMPARE(feld->toPlainText(), FrageDatei::notizen(gelesen));
        box->setChecked(zwei);
        feld->setPlainText(notizen);
        editor.findChild<QPushButton *>("pushButton_Fenster_Schliessen")->click();
        QCOMPARE(Testdaten::lesen(pfad), erwartet);
    }
};

QTEST_MAIN(TestZweiteRunde)
#include "tst_zweiterunde.moc"
