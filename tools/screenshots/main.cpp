#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "farbsicht.h"
#include "handyabstimmung.h"
#include "hilfe_einstellungen_vornehmen.h"
#include "hilfe_frageneditor.h"
#include "hilfe_spiel_durchfuehren.h"
#include "klang.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "spiel.h"
#include "spielablauf.h"
#include "sprachkataloge.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "tutorialbilder.h"
#include "webbruecke.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QKeyEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTcpServer>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>

namespace {

class StillerKlang final : public Klang
{
public:
    void abspielen(const QString &) override {}
};

void warten(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    WebBruecke::qrcSchemaAnmelden();
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.addPositionalArgument("folder", "where the PNG files go");
    parser.addOption({"template", "Morvane, Tandrivelle or Kahoot", "name", "Tandrivelle"});
    parser.addOption({"englisch", "English interface"});
    parser.addOption({"size", "window size (default: the whole screen)", "WxH"});
    parser.addOption({"fragen", "question file to play instead of the sample questions", "file"});
    parser.addOption({"konferenz", "conference mode"});
    parser.addOption({"empfaenger",
                      "use the receivers found on this machine (start plenaro-simulator first) and "
                      "take the presses from them"});
    parser.addOption({"optionen", "only the options dialog, one picture per tab"});
    parser.addOption({"tutorial",
                      "also write the pictures of the tutorial windows, in the interface language, into "
                      "the folder of that language (de or en) in this folder (resources/tutorial); "
                      "switches voting with phones on",
                      "folder"});
    parser.addOption({"farbenblind", "also save each result picture as a deuteranope sees it"});
    parser.addOption({"handys", "voting with phones on: a phone's browser joins and votes"});
    parser.addHelpOption();
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    const QDir ordner(parser.positionalArguments().at(0));
    QDir().mkpath(ordner.path());

    TestEinstellungen einstellungen;
    if (parser.isSet("englisch"))
        Einstellungen::setzen(Schluessel::InstallerLanguage, QStringLiteral("1033"));
    Einstellungen::setzen(Schluessel::GewaehltesTemplate, parser.value("template"));
    if (parser.isSet("konferenz"))
        Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
    Sprachkataloge::installieren(app, parser.isSet("englisch"));
    const bool handys = parser.isSet("handys") || parser.isSet("tutorial");
    if (handys) {
        QTcpServer frei;
        frei.listen(QHostAddress::LocalHost);
        Einstellungen::setzen(Schluessel::HandyAbstimmung, QStringLiteral("true"));
        Einstellungen::setzen(Schluessel::HandyPort, QString::number(frei.serverPort()));
    }

    const QString sprache = parser.isSet("englisch") ? QStringLiteral("en") : QStringLiteral("de");
    const auto optionenFotografieren = [&](int &zaehler) {
        for (const auto &[tab, bild] : Tutorialbilder::optionenTabs()) {
            const QString datei = ordner.filePath(QStringLiteral("%1-optionen-%2-%3.png")
                                                      .arg(++zaehler, 2, 10, QLatin1Char('0'))
                                                      .arg(tab, sprache));
            bild.save(datei);
            std::printf("%s\n", qPrintable(datei));
        }
    };
    if (parser.isSet("optionen")) {
        int zaehler = 0;
        optionenFotografieren(zaehler);
        return 0;
    }

    TestUhr uhr;
    DialogRekorder dialoge;
    StillerKlang klang;
    FakePortSystem keinePorts;
    const bool empfaenger = parser.isSet("empfaenger");
    MainWindow fenster(Umgebung{&uhr, &dialoge, &klang, nullptr, empfaenger ? nullptr : &keinePorts,
                                einstellungen.ordner()});
    // The first start writes its defaults, conference mode off among them.
    if (parser.isSet("konferenz"))
        Einstellungen::setzen(Schluessel::Konferenzmodus, QStringLiteral("true"));
    // Without a window manager (a plain xvfb-run) nobody maximises the window, so it is sized here:
    // to the given size, or to the whole screen as the program appears on a projector.
    QSize groesse;
    if (parser.isSet("size")) {
        const QStringList teile = parser.value("size").split('x');
        groesse = QSize(teile.value(0).toInt(), teile.value(1).toInt());
    } else if (const QScreen *bildschirm = QGuiApplication::primaryScreen()) {
        groesse = bildschirm->availableGeometry().size();
    }
    if (groesse.isValid()) {
        fenster.showNormal();
        fenster.setGeometry(QRect(QPoint(0, 0), groesse));
    }
    fenster.show();
    {
        QElapsedTimer geduld;
        geduld.start();
        while (!fenster.istEingerichtet() && geduld.elapsed() < 5000)
            warten(20);
    }
    if (parser.isSet("fragen"))
        fenster.frageDateiOeffnen(QFileInfo(parser.value("fragen")).absoluteFilePath());

    int nummer = 0;
    QHash<QString, QImage> aufnahmen; // the stages the tutorial shows
    // The pages fit themselves to every change; a picture is taken once the shown page is done:
    // loaded with jQuery in it (a view still on its blank page, or loading, is not done), fitted,
    // its pictures in, and a frame drawn since. On a busy machine a large page takes seconds.
    const auto seiteFertig = [&]() {
        for (QWebEngineView *ansicht : fenster.findChildren<QWebEngineView *>()) {
            if (!ansicht->isVisible())
                continue;
            auto fertig = std::make_shared<int>(-1);
            ansicht->page()->runJavaScript(
                QStringLiteral(
                    "(function () { var da = location.protocol !== 'about:' && "
                    "document.readyState === 'complete' && typeof qt === 'object' && "
                    "(typeof Einpassen === 'undefined' || Einpassen.fertig()) && "
                    "Array.from(document.images).every(function (i) { return i.complete; });"
                    "if (!da) { window.plenaroBild = 0; return false; }"
                    "if (!window.plenaroBild) { window.plenaroBild = 1; requestAnimationFrame(function () {"
                    " requestAnimationFrame(function () { window.plenaroBild = 2; }); }); }"
                    "return window.plenaroBild === 2; })()"),
                [fertig](const QVariant &wert) { *fertig = wert.toBool() ? 1 : 0; });
            QElapsedTimer uhrzeit;
            uhrzeit.start();
            while (*fertig < 0 && uhrzeit.elapsed() < 5000)
                warten(10);
            if (*fertig != 1)
                return false;
        }
        return true;
    };
    const auto foto = [&](const QString &name) {
        warten(700);
        QElapsedTimer geduld;
        geduld.start();
        while (!seiteFertig() && geduld.elapsed() < 30000)
            warten(50);
        if (geduld.elapsed() >= 30000)
            std::fprintf(stderr, "%s: the page was not done after 30 s\n", qPrintable(name));
        const QString datei =
            ordner.filePath(QStringLiteral("%1-%2.png").arg(++nummer, 2, 10, QLatin1Char('0')).arg(name));
        const QPixmap bild = fenster.grab();
        bild.save(datei);
        aufnahmen.insert(name, bild.toImage());
        std::printf("%s\n", qPrintable(datei));
        if (parser.isSet("farbenblind") && name.contains(QLatin1String("ergebnis"))) {
            const QString simuliert = ordner.filePath(
                QStringLiteral("%1-%2-deuteranopie.png").arg(nummer, 2, 10, QLatin1Char('0')).arg(name));
            Farbsicht::deuteranopie(bild.toImage()).save(simuliert);
            std::printf("%s\n", qPrintable(simuliert));
        }
    };
    const auto sekunden = [&](int s) {
        for (int i = 0; i < s; ++i) {
            uhr.vorspulen(1000);
            warten(30);
        }
    };

    warten(2500); // pages load
    uhr.vorspulen(1000);
    if (empfaenger) {
        for (int i = 0; i < 50 && !Einstellungen::ist(Schluessel::EmpfaengerVerbunden); ++i) {
            uhr.vorspulen(200);
            warten(50);
        }
        std::printf("receiver %s on %s\n", qPrintable(Einstellungen::text(Schluessel::EmpfaengerVerbunden)),
                    qPrintable(Einstellungen::text(Schluessel::SerialPort)));
        warten(2500); // the template of the receiver's family loads
        uhr.vorspulen(1000);
    }
    foto("start");
    // The phone: a browser in a phone's size opening the start screen's address on this machine.
    QWebEngineView telefon;
    const auto telefonFoto = [&](const QString &name) {
        warten(800);
        const QString datei =
            ordner.filePath(QStringLiteral("%1-%2.png").arg(++nummer, 2, 10, QLatin1Char('0')).arg(name));
        const QPixmap bild = telefon.grab();
        bild.save(datei);
        aufnahmen.insert(name, bild.toImage());
        std::printf("%s\n", qPrintable(datei));
    };
    const auto telefonSkript = [&](const QString &skript) {
        auto antwort = std::make_shared<QVariant>();
        auto fertig = std::make_shared<bool>(false);
        telefon.page()->runJavaScript(skript, [antwort, fertig](const QVariant &wert) {
            *antwort = wert;
            *fertig = true;
        });
        for (int i = 0; i < 200 && !*fertig; ++i)
            warten(10);
        return *antwort;
    };
    if (handys) {
        QUrl adresse(fenster.handys()->seitenAdresse(QStringLiteral("127.0.0.1")));
        telefon.resize(390, 780);
        telefon.show();
        // What a phone gets with the code of an earlier game.
        QUrl alt = adresse;
        alt.setQuery(QStringLiteral("c=ALTER1"));
        telefon.load(alt);
        for (int i = 0; i < 100 && telefonSkript(QStringLiteral("document.readyState")).toString() !=
                                       QLatin1String("complete");
             ++i)
            warten(100);
        telefonFoto(QStringLiteral("handy-falscher-code"));
        telefon.load(adresse);
        for (int i = 0;
             i < 100 &&
             !telefonSkript(QStringLiteral("window.Abstimmung && Abstimmung.zustand().verbunden")).toBool();
             ++i)
            warten(100);
        telefonFoto(QStringLiteral("handy-start"));
        fenster.activateWindow();
        foto("start-handy");
    }
    if (empfaenger)
        warten(2000); // handsets of the simulator report in
    else
        for (uint geraet : {1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u, 55u})
            fenster.druckEmpfangen(1, geraet, 1 + geraet % 4);
    foto("start-geraete");

    spiel &s = fenster.getSpiel();
    for (int frage = 1; frage <= s.getAnzahlFragen(); ++frage) {
        fenster.on_actionN_chste_Frage_triggered();
        warten(300);
        foto(QStringLiteral("frage%1").arg(frage));
        fenster.on_actionN_chste_Frage_triggered(); // skip the answer delay
        sekunden(2);
        if (empfaenger)
            warten(2500);
        else
            for (uint geraet = 1; geraet <= 24; ++geraet)
                fenster.druckEmpfangen(1 + geraet / 20, geraet, 1 + (geraet * 7 + frage) % 4);
        if (handys && frage == 1) {
            telefonSkript(QStringLiteral("document.getElementById('knopf2').click()"));
            telefonFoto(QStringLiteral("handy-frage1"));
        }
        foto(QStringLiteral("frage%1-countdown").arg(frage));
        if (frage == 1) {
            fenster.getSpielablauf().pauseTaste();
            foto(QStringLiteral("frage%1-pause").arg(frage));
            fenster.getSpielablauf().pauseTaste();
        }
        s.countdownSofortBeenden();
        uhr.vorspulen(2000);
        warten(100);
        foto(QStringLiteral("frage%1-ergebnis").arg(frage));
        if (frage == s.getAnzahlFragen()) {
            // The last leaf starts falling up to 3 s late and takes 4 s, then settles on the pile.
            warten(10000);
            foto(QStringLiteral("frage%1-ergebnis-spaeter").arg(frage));
        }
    }
    fenster.on_actionRangliste_triggered();
    foto("rangliste");
    if (parser.isSet("tutorial"))
        aufnahmen.insert(QStringLiteral("resultate-menue"),
                         Tutorialbilder::mitMenue(fenster, QStringLiteral("menuResultate")));

    // The small windows.
    fenster.on_actionShortcut_Keys_triggered();
    fenster.on_actionGo_To_triggered();
    warten(500);
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        const QString name = QString::fromLatin1(widget->metaObject()->className());
        if (widget->isVisible() && (name == QLatin1String("shortcutkeys") || name == QLatin1String("goTo"))) {
            const QString datei =
                ordner.filePath(QStringLiteral("%1-%2.png").arg(++nummer, 2, 10, QLatin1Char('0')).arg(name));
            widget->grab().save(datei);
            std::printf("%s\n", qPrintable(datei));
        }
    }

    optionenFotografieren(nummer);
    {
        hilfe_spiel_durchfuehren spielTutorial;
        hilfe_frageneditor editorTutorial;
        hilfe_einstellungen_vornehmen einstellungenTutorial;
        for (QDialog *tutorialFenster :
             std::initializer_list<QDialog *>{&spielTutorial, &editorTutorial, &einstellungenTutorial}) {
            tutorialFenster->show();
            warten(300);
            const QString datei =
                ordner.filePath(QStringLiteral("%1-%2.png")
                                    .arg(++nummer, 2, 10, QLatin1Char('0'))
                                    .arg(QString::fromLatin1(tutorialFenster->metaObject()->className())));
            tutorialFenster->grab().save(datei);
            std::printf("%s\n", qPrintable(datei));
            tutorialFenster->hide();
        }
    }

    if (parser.isSet("tutorial")) {
        const QDir tutorial(QDir(parser.value("tutorial")).filePath(sprache));
        QDir().mkpath(tutorial.path());
        bool vollstaendig = true;
        const auto ablegen = [&](const QString &name, const QImage &bild) {
            const QString datei = tutorial.filePath(name);
            if (bild.isNull() || !Tutorialbilder::verkleinert(bild).save(datei)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(datei));
                vollstaendig = false;
                return;
            }
            std::printf("%s\n", qPrintable(datei));
        };
        // The status bar would show this machine's folders; the menu is shown at its real size.
        const int statusHoehe = fenster.statusBar()->isVisible() ? fenster.statusBar()->height() : 0;
        const auto ohneStatus = [statusHoehe](const QImage &bild) {
            return bild.copy(0, 0, bild.width(), bild.height() - statusHoehe);
        };
        const QStringList spiel = {"start-geraete", "frage1-countdown", "frage1-ergebnis", "rangliste"};
        for (int i = 0; i < spiel.size(); ++i)
            ablegen(QStringLiteral("SpielDurchfuehren_Bild%1.png").arg(i + 1),
                    ohneStatus(aufnahmen.value(spiel[i])));
        ablegen(QStringLiteral("SpielDurchfuehren_Bild5.png"),
                aufnahmen.value(QStringLiteral("resultate-menue")).copy(0, 0, Tutorialbilder::Breite, 300));
        // Voting with phones: the start screen with the QR code and a phone that joined, then the
        // phone with its answer.
        ablegen(QStringLiteral("SpielDurchfuehren_Bild6.png"),
                ohneStatus(aufnahmen.value(QStringLiteral("start-handy"))));
        ablegen(QStringLiteral("SpielDurchfuehren_Bild7.png"),
                aufnahmen.value(QStringLiteral("handy-frage1")));

        // In the order of the tutorial's sections, which is not the order of the tabs.
        QHash<QString, QImage> tabs;
        for (const auto &[tab, bild] : Tutorialbilder::optionenTabs())
            tabs.insert(tab, bild);
        const QStringList reihenfolge = {"tabSerial",      "tabDesign", "tabAuswertung", "tabSteuerung",
                                         "tabKlassensatz", "tabToene",  "tabProtokoll",  "tabHandys"};
        for (int i = 0; i < reihenfolge.size(); ++i)
            ablegen(QStringLiteral("EinstellungenVornehmen_Bild%1.png").arg(i + 1),
                    tabs.value(reihenfolge[i]));

        // The question editor on the sample questions of the language beside the "bin" folder,
        // whatever file was played.
        QDir beispiele(QCoreApplication::applicationDirPath());
        beispiele.cd(QStringLiteral("../examples/") + sprache.toUpper());
        const QList<QImage> editor =
            Tutorialbilder::frageneditor(beispiele.filePath(QStringLiteral("BspFragen.xml")), dialoge);
        ablegen(QStringLiteral("Frageneditor_Bild1.png"), editor.value(0));
        ablegen(QStringLiteral("Frageneditor_Bild2.png"), editor.value(1));
        if (!vollstaendig)
            return 1;
    }
    return 0;
}
