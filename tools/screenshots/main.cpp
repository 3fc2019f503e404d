#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "klang.h"
#include "mainwindow.h"
#include "schluessel.h"
#include "spiel.h"
#include "testeinstellungen.h"
#include "testuhr.h"
#include "webbruecke.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
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

    TestUhr uhr;
    DialogRekorder dialoge;
    StillerKlang klang;
    FakePortSystem keinePorts;
    const bool empfaenger = parser.isSet("empfaenger");
    MainWindow fenster(Umgebung{&uhr, &dialoge, &klang, nullptr, empfaenger ? nullptr : &keinePorts});
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
    if (parser.isSet("fragen"))
        fenster.frageDateiOeffnen(QFileInfo(parser.value("fragen")).absoluteFilePath());

    int nummer = 0;
    // The pages fit themselves to every change; a picture is taken once the shown page is done
    // (or after three seconds).
    const auto seiteFertig = [&]() {
        for (QWebEngineView *ansicht : fenster.findChildren<QWebEngineView *>()) {
            if (!ansicht->isVisible())
                continue;
            auto fertig = std::make_shared<int>(-1);
            ansicht->page()->runJavaScript(
                QStringLiteral("(typeof Einpassen === 'undefined' || Einpassen.fertig()) && "
                               "Array.from(document.images).every(function (i) { return i.complete; })"),
                [fertig](const QVariant &wert) { *fertig = wert.toBool() ? 1 : 0; });
            QElapsedTimer uhrzeit;
            uhrzeit.start();
            while (*fertig < 0 && uhrzeit.elapsed() < 1000)
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
        while (!seiteFertig() && geduld.elapsed() < 3000)
            warten(50);
        const QString datei =
            ordner.filePath(QStringLiteral("%1-%2.png").arg(++nummer, 2, 10, QLatin1Char('0')).arg(name));
        fenster.grab().save(datei);
        std::printf("%s\n", qPrintable(datei));
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
        foto(QStringLiteral("frage%1-countdown").arg(frage));
        s.countdownSofortBeenden();
        uhr.vorspulen(2000);
        warten(100);
        foto(QStringLiteral("frage%1-ergebnis").arg(frage));
        if (frage == s.getAnzahlFragen()) {
            warten(5000);
            foto(QStringLiteral("frage%1-ergebnis-spaeter").arg(frage));
        }
    }
    fenster.on_actionRangliste_triggered();
    foto("rangliste");

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
    return 0;
}
