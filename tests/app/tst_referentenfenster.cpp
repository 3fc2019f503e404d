// The presenter's view on a second screen: two virtual screens of the offscreen platform, the real
// main window and pages, the hand-driven clock.
#include "hauptfenster.h"
#include "optionwindow.h"
#include "referentenfenster.h"
#include "spiel.h"
#include "webbruecke.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QtTest>

// The offscreen platform's native interface: its first virtual function after QObject's hands out
// the platform's own functions (Qt 6.4). Declared only, and outside the unnamed namespace, so the
// call goes to the platform's function, not to one the compiler believes it knows.
struct PlattformSchnittstelle : QObject
{
    virtual void *nativeResourceForIntegration(const QByteArray &name);
};

namespace {

QJsonObject schirm(const QString &name, int x)
{
    return {{"name", name}, {"x", x}, {"y", 0}, {"width", 1280}, {"height", 800}};
}
// The projector comes first and is the primary screen, as some desktops make it.
const QJsonObject ZweiSchirme{{"screens", QJsonArray{schirm("HDMI-1", 0), schirm("eDP-1", 1280)}}};
const QJsonObject EinSchirm{{"screens", QJsonArray{schirm("eDP-1", 1280)}}};

// Plugs screens in and out: the offscreen platform takes a new list of screens.
void schirmeSetzen(const QJsonObject &liste)
{
    // Only the offscreen platform's interface has this entry; another's would be misread.
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    auto *schnittstelle =
        reinterpret_cast<PlattformSchnittstelle *>(QGuiApplication::platformNativeInterface());
    using Setzen = void (*)(const QJsonObject &, void *);
    auto setzen = reinterpret_cast<Setzen>(schnittstelle->nativeResourceForIntegration("setConfiguration"));
    QVERIFY(setzen);
    setzen(liste, schnittstelle);
}

QScreen *anderer(const QScreen *schirm)
{
    const QList<QScreen *> schirme = QGuiApplication::screens();
    return schirme.at(schirme.at(0) == schirm ? 1 : 0);
}

QString frage(int n, const QString &loesung, const QString &antwort4 = QStringLiteral("D"))
{
    return QStringLiteral(
               "<Question><QuestionText>Frage %1</QuestionText><Answer1>A</Answer1><Answer2>B</Answer2>"
               "<Answer3>C</Answer3><Answer4>%3</Answer4><AnswerDelay>0</AnswerDelay>"
               "<Solution>%2</Solution><Time>30</Time><Points>1</Points><Notizen>Notiz %1</Notizen>"
               "</Question>")
        .arg(n)
        .arg(loesung, antwort4);
}

} // namespace

class TestReferentenfenster final : public QObject
{
    Q_OBJECT

    std::unique_ptr<Hauptfenster> h;
    QString text(const char *name) const
    {
        return h->fenster->referentenfenster()->findChild<QLabel *>(QLatin1String(name))->text();
    }

private slots:
    void initTestCase()
    {
        h = std::make_unique<Hauptfenster>();
        const QString pfad = h->einstellungen.ordner() + "/fragen.xml";
        QVERIFY(Testdaten::schreiben(pfad, ("<ArrayOfQuestion>" + frage(1, "Answer2") + frage(2, "Answer1") +
                                            frage(3, "Answer2", "") + "</ArrayOfQuestion>")
                                               .toUtf8()));
        Einstellungen::setzen(Schluessel::BereitsGestartet, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::FrageFile, pfad);
        Einstellungen::setzen(Schluessel::QuizProzentAntwortenAnzeigen, QStringLiteral("true"));
        h->erzeugen(QStringLiteral("Morvane"), QSize());
        QVERIFY(h->aktivieren() &&
                QTest::qWaitFor([this]() { return h->fenster->istEingerichtet(); }, 40000));
        QVERIFY(h->geladen(h->fenster->frageAnsicht(), "morvane.html"));
        // A file opened on the start screen is named at once as what comes next.
        QTRY_COMPARE(text("naechste"), QString("Nächste Frage: Frage 1"));
        const QString andere = h->einstellungen.ordner() + "/andere.xml";
        QVERIFY(Testdaten::schreiben(
            andere, ("<ArrayOfQuestion>" + frage(7, "Answer1") + "</ArrayOfQuestion>").toUtf8()));
        h->fenster->frageDateiOeffnen(andere);
        QCOMPARE(text("naechste"), QString("Nächste Frage: Frage 7"));
        h->fenster->frageDateiOeffnen(pfad);
        h->fenster->druckEmpfangen(1, 9, 1); // reports in on the start screen
    }

    void projektorWahl_data()
    {
        QTest::addColumn<QString>("wahl"); // a screen's name
        QTest::addColumn<bool>("aufPrimaer");
        QTest::newRow("automatisch: nicht der eingebaute") << QString() << true;
        QTest::newRow("eingebauter gewählt") << QStringLiteral("eDP-1") << false;
        QTest::newRow("nicht angeschlossen") << QStringLiteral("HDMI-9") << true;
    }
    void projektorWahl()
    {
        QFETCH(QString, wahl);
        QFETCH(bool, aufPrimaer);
        QScreen *primaer = QGuiApplication::primaryScreen();
        OptionWindow *optionen = h->fenster->optionen();
        optionen->felderAktualisieren();
        auto *liste = optionen->findChild<QComboBox *>(QStringLiteral("comboBox_Projektor"));
        QCOMPARE(liste->count(), 3); // automatic and the two screens
        Einstellungen::setzen(Schluessel::ProjektorBildschirm, wahl);
        optionen->felderAktualisieren(); // a screen not plugged in stays the choice
        liste->setCurrentIndex(liste->currentIndex() == 0 ? 1 : 0);
        liste->setCurrentIndex(liste->findData(wahl));
        QScreen *projektor = aufPrimaer ? primaer : anderer(primaer);
        QTRY_VERIFY(h->fenster->screen() == projektor && h->fenster->isFullScreen());
        QTRY_VERIFY(h->fenster->referentenfenster()->isVisible());
        QCOMPARE(h->fenster->referentenfenster()->screen(), anderer(projektor));
    }

    // The options and the editor open where the teacher is, wherever the class's screen lies.
    void fensterBeimLehrer_data()
    {
        QTest::addColumn<int>("taste");
        QTest::addColumn<QString>("klasse");
        QTest::newRow("Optionen") << int(Qt::Key_O) << QStringLiteral("OptionWindow");
        QTest::newRow("Frageneditor") << int(Qt::Key_F) << QStringLiteral("FragenEditor");
    }
    void fensterBeimLehrer()
    {
        QFETCH(int, taste);
        QFETCH(QString, klasse);
        Referentenfenster *referent = h->fenster->referentenfenster();
        QVERIFY(referent->isVisible() && referent->screen() != h->fenster->screen());
        referent->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(referent));
        QTest::keyClick(referent, Qt::Key(taste));
        const auto offen = [&klasse]() -> QWidget * {
            for (QWidget *fenster : QApplication::topLevelWidgets()) {
                if (fenster->isVisible() && fenster->inherits(qPrintable(klasse)))
                    return fenster;
            }
            return nullptr;
        };
        QTRY_VERIFY(offen());
        QWidget *fenster = offen();
        QCOMPARE(fenster->screen(), referent->screen());
        QVERIFY(referent->screen()->geometry().contains(fenster->geometry()));
        fenster->hide(); // closing the editor would start the game again
    }

    void liveStand_data()
    {
        QTest::addColumn<QString>("namen");   // the roster's lines, '|' for a new line
        QTest::addColumn<QString>("druecke"); // handset:button
        QTest::addColumn<QString>("stand");
        QTest::addColumn<QString>("offen");
        QTest::addColumn<QList<int>>("verteilung");
        const auto zeile = [](const char *name, const QString &namen, const QString &druecke,
                              const QString &stand, const QString &offen, const QList<int> &verteilung) {
            QTest::newRow(name) << namen << druecke << stand << offen << verteilung;
        };
        const QString namen = QStringLiteral("1;Anna|2;Ben|3;Cem");
        zeile("ohne Namensliste", {}, "1:2", "1 von 2", "9", {0, 1, 0, 0});
        zeile("letzter Druck zählt", namen, "1:3 9:1 1:1", "2 von 4", "Ben, Cem", {2, 0, 0, 0});
        zeile("Knopf ohne Antwort", namen, "2:4", "1 von 4", "Anna, Cem, 9", {0, 0, 0, 0});
    }
    void liveStand()
    {
        QFETCH(QString, namen);
        QFETCH(QString, druecke);
        QFETCH(QString, stand);
        QFETCH(QString, offen);
        QFETCH(QList<int>, verteilung);
        const QString liste = h->einstellungen.ordner() + "/namen.csv";
        QVERIFY(Testdaten::schreiben(liste, namen.replace('|', '\n').toUtf8()));
        Einstellungen::setzen(Schluessel::NamenslisteDatei, namen.isEmpty() ? QString() : liste);
        emit h->fenster->optionen()->einstellungGeaendert(Schluessel::NamenslisteDatei);

        // The presenter's keys are the main window's.
        Referentenfenster *referent = h->fenster->referentenfenster();
        spiel &s = h->fenster->getSpiel();
        const int nr = s.getAktuelleFrageNr() + 1;
        referent->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(referent));
        QTest::keyClick(referent, nr == 1 ? Qt::Key_Space : Qt::Key_Right);
        QTest::keyClick(referent, Qt::Key_Space);
        QVERIFY(s.getAktuelleFrageNr() == nr && s.istCountdownAktiv());
        QCOMPARE(text("notizen"), QString("Notiz %1").arg(nr));
        QCOMPARE(text("countdown"), QString("noch 30 s"));
        QVERIFY(text(nr == 2 ? "antwort1" : "antwort2").startsWith("✓"));
        for (const QString &druck : druecke.split(' '))
            h->fenster->druckEmpfangen(1, druck.section(':', 0, 0).toUInt(), druck.section(':', 1).toUInt());
        QCOMPARE(text("stand"), stand + " haben geantwortet");
        QCOMPARE(text("offen"), "Noch nicht geantwortet: " + offen);
        QCOMPARE(referent->verteilung(), verteilung);
        // The class sees no share before the result (in the field that shows it then).
        QCOMPARE(js(h->fenster->frageAnsicht(), "qt.jQuery('.prozentAntwortA').length + ':' + "
                                                "qt.jQuery('.prozentAntwortA').text()")
                     .toString(),
                 QString("1:"));
    }

    void projektorAusUndWieder()
    {
        MainWindow &f = *h->fenster;
        schirmeSetzen(EinSchirm);
        QTRY_VERIFY(!f.isFullScreen() &&
                    QGuiApplication::primaryScreen()->geometry().contains(f.geometry().center()));
        QVERIFY(!f.referentenfenster()->isVisible()); // the screen left may be the class's
        // The game goes on: the question runs and its presses count.
        QVERIFY(f.getSpiel().istCountdownAktiv() && f.getSpiel().getAktuelleFrageNr() == 3);
        f.druckEmpfangen(1, 3, 1);
        QCOMPARE(text("stand"), QString("2 von 4 haben geantwortet"));

        schirmeSetzen(ZweiSchirme);
        QTRY_VERIFY(f.isFullScreen() && f.screen() != QGuiApplication::primaryScreen() &&
                    f.referentenfenster()->isVisible());
        QVERIFY(f.getSpiel().istCountdownAktiv() && f.getSpiel().getAktuelleFrageNr() == 3);
        h->sekunden(30);
        h->uhr.vorspulen(spiel::AnzeigeVerzoegerung);
        QTRY_COMPARE(js(f.frageAnsicht(), "qt.jQuery('.prozentAntwortA').text()").toString(),
                     QString("100.0%"));
        QCOMPARE(text("stand"), QString("2 von 4 haben geantwortet"));

        // Another screen coming leaves the teacher's choices alone: a view closed stays closed.
        f.referentenfenster()->close();
        QJsonObject dreiSchirme = ZweiSchirme;
        dreiSchirme["screens"] = QJsonArray{schirm("HDMI-1", 0), schirm("eDP-1", 1280), schirm("DP-2", 2560)};
        schirmeSetzen(dreiSchirme);
        QCOMPARE(QGuiApplication::screens().size(), 3);
        QCoreApplication::sendPostedEvents(); // the window hears of screens queued
        QVERIFY(f.isFullScreen() && !f.referentenfenster()->isVisible());
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir ordner;
    const QString datei = ordner.filePath(QStringLiteral("schirme.json"));
    if (!Testdaten::schreiben(datei, QJsonDocument(ZweiSchirme).toJson()))
        return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + datei.toLocal8Bit());
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);
    TestReferentenfenster test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_referentenfenster.moc"
