#include "hilfe_einstellungen_vornehmen.h"
#include "hilfe_frageneditor.h"
#include "hilfe_spiel_durchfuehren.h"
#include "sprachkataloge.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>

namespace {

QStringList texteDer(const QDialog &fenster, const char *art)
{
    QStringList texte;
    // The column's order is the layout's order, which is the order of creation.
    for (QLabel *label : fenster.findChildren<QLabel *>(QLatin1String(art))) {
        QTextDocument dokument;
        dokument.setHtml(label->text());
        texte.append(label->textFormat() == Qt::PlainText ? label->text() : dokument.toPlainText());
    }
    return texte;
}

QStringList bilderDer(const QDialog &fenster)
{
    QStringList bilder;
    static const QRegularExpression quelle(QStringLiteral("<img src=\"([^\"]+)\""));
    for (QLabel *label : fenster.findChildren<QLabel *>(QStringLiteral("bild")))
        bilder.append(quelle.match(label->text()).captured(1));
    return bilder;
}

QStringList reihe(const QString &stamm, int anzahl)
{
    QStringList namen;
    for (int i = 1; i <= anzahl; ++i)
        namen.append(QStringLiteral(":/images/%1_Bild%2.png").arg(stamm).arg(i));
    return namen;
}

} // namespace

class TestTutorials final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (QTranslator *katalog : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(katalog);
            delete katalog;
        }
    }

    void spielDurchfuehrenHatZehnSchritteUndFuenfBilder()
    {
        hilfe_spiel_durchfuehren fenster;
        QCOMPARE(fenster.windowTitle(), QStringLiteral("Tutorial Spiel durchführen"));
        QCOMPARE(texteDer(fenster, "ueberschrift"), QStringList({"Spiel durchführen"}));
        const QStringList schritte = texteDer(fenster, "schritt");
        QCOMPARE(schritte.size(), 10);
        for (int i = 0; i < schritte.size(); ++i)
            QVERIFY2(schritte[i].startsWith(QStringLiteral("%1. ").arg(i + 1)), qPrintable(schritte[i]));
        QCOMPARE(schritte[4], QStringLiteral("5. Durch drücken der Leertaste wird das Spiel gestartet."));
        QCOMPARE(bilderDer(fenster), reihe(QStringLiteral("SpielDurchfuehren"), 5));
        QVERIFY(fenster.findChild<QScrollArea *>());
    }

    void frageneditorHatSeineSechsAbschnitte()
    {
        hilfe_frageneditor fenster;
        QCOMPARE(fenster.windowTitle(), QStringLiteral("Tutorial Frageneditor"));
        QCOMPARE(texteDer(fenster, "ueberschrift"), QStringList({"Frageneditor"}));
        QCOMPARE(texteDer(fenster, "abschnitt"),
                 QStringList({"Frageneditor Öffnen", "Neue Datei erzeugen", "Frage hinzufügen",
                              "Bilder hinzufügen", "Frage löschen", "Frage verschieben"}));
        QCOMPARE(bilderDer(fenster), reihe(QStringLiteral("Frageneditor"), 2));
    }

    void einstellungenHatEinenAbschnittJeTab()
    {
        hilfe_einstellungen_vornehmen fenster;
        QCOMPARE(fenster.windowTitle(), QStringLiteral("Tutorial Einstellungen vornehmen"));
        QCOMPARE(texteDer(fenster, "abschnitt"),
                 QStringList({"Optionen-Fenster öffnen", "Serial", "Design", "Auswertung", "Steuerung",
                              "Klassensatz", "Töne", "Protokoll"}));
        QCOMPARE(bilderDer(fenster), reihe(QStringLiteral("EinstellungenVornehmen"), 7));
    }

    void jedesBildIstEinBildDerRessourcen()
    {
        hilfe_spiel_durchfuehren spiel;
        hilfe_frageneditor editor;
        hilfe_einstellungen_vornehmen einstellungen;
        QStringList bilder = bilderDer(spiel) + bilderDer(editor) + bilderDer(einstellungen);
        QCOMPARE(bilder.size(), 14);
        for (const QString &pfad : std::as_const(bilder)) {
            const QImage bild(pfad);
            QVERIFY2(!bild.isNull(), qPrintable(pfad));
            // Readable in a window of 900 pixels without scrolling sideways.
            QVERIFY2(bild.width() >= 300 && bild.width() <= 860, qPrintable(pfad));
        }
        QCOMPARE(spiel.windowIcon().isNull(), false);
    }

    // The widest screenshot fits beside the scroll bar: the column scrolls down only.
    void keinTutorialRolltSeitwaerts()
    {
        hilfe_spiel_durchfuehren spiel;
        hilfe_frageneditor editor;
        hilfe_einstellungen_vornehmen einstellungen;
        for (QDialog *fenster : std::initializer_list<QDialog *>{&spiel, &editor, &einstellungen}) {
            fenster->show();
            QVERIFY(QTest::qWaitForWindowExposed(fenster));
            auto *rollen = fenster->findChild<QScrollArea *>();
            QVERIFY(rollen);
            QVERIFY2(!rollen->horizontalScrollBar()->isVisible(), qPrintable(fenster->windowTitle()));
            QVERIFY(rollen->verticalScrollBar()->isVisible());
            fenster->close();
        }
    }

    void englischeOberflaecheHatEnglischeTutorials()
    {
        Sprachkataloge::installieren(*qApp, true);
        hilfe_einstellungen_vornehmen fenster;
        QCOMPARE(fenster.windowTitle(), QStringLiteral("Tutorial: changing the settings"));
        QCOMPARE(texteDer(fenster, "abschnitt"),
                 QStringList({"Opening the options window", "Serial", "Design", "Evaluation", "Control",
                              "Class set", "Sounds", "Protocol"}));
        hilfe_spiel_durchfuehren spiel;
        QVERIFY(texteDer(spiel, "schritt").at(9).startsWith(QStringLiteral("10. At the end")));
    }
};

QTEST_MAIN(TestTutorials)
#include "tst_tutorials.moc"
