#include "tutorialbilder.h"

#include "einstellungen.h"
#include "fakeports.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "klang.h"
#include "optionwindow.h"
#include "schluessel.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace Tutorialbilder {

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

QList<QPair<QString, QImage>> optionenTabs()
{
    const QString an = QStringLiteral("true");
    Einstellungen::setzen({{Schluessel::SerialPort, QStringLiteral("/dev/ttyUSB0")},
                           {Schluessel::EmpfaengerAutomatischFinden, an},
                           {Schluessel::QuizProzentAntwortenAnzeigen, an},
                           {Schluessel::LoesungAnzeigen, an},
                           {Schluessel::TemplateAutomatischErkennen, an},
                           {Schluessel::SteuerungUeberMaster, an},
                           {Schluessel::MasterBuzzer, QStringLiteral("1")},
                           {Schluessel::MasterKlassensatz, QStringLiteral("258")},
                           {Schluessel::AutomatisierungZeit, QStringLiteral("10")},
                           {Schluessel::aktiverKlassensatz(1), QStringLiteral("258")},
                           {Schluessel::aktiverKlassensatz(2), QStringLiteral("259")},
                           {Schluessel::HandyAbstimmung, an},
                           {Schluessel::HandyPort, QString::number(Schluessel::HandyPortStandard)}});
    FakePortSystem ports;
    ports.namen = {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")};
    StillerKlang klang;
    OptionWindow fenster(ports, klang);
    for (const char *name : {"Morvane", "Tandrivelle", "Kahoot"})
        fenster.templateRegistrieren(QString::fromLatin1(name));
    fenster.felderAktualisieren();
    fenster.optionWindowProtokollAktualisieren(258, 12, 3);
    // Tall enough that the fullest tab is not squeezed.
    fenster.resize(QSize(640, 470).expandedTo(QSize(640, fenster.sizeHint().height())));
    fenster.show();
    warten(300);

    QList<QPair<QString, QImage>> bilder;
    auto *tabs = fenster.findChild<QTabWidget *>(QStringLiteral("tabWidgetDerOptionen"));
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        warten(150);
        bilder.append({tabs->widget(i)->objectName(), fenster.grab().toImage()});
    }
    fenster.hide();
    return bilder;
}

QImage mitMenue(QMainWindow &fenster, const QString &menueName)
{
    auto *menue = fenster.findChild<QMenu *>(menueName);
    if (!menue)
        return fenster.grab().toImage();
    const QRect titel = fenster.menuBar()->actionGeometry(menue->menuAction());
    menue->popup(fenster.menuBar()->mapToGlobal(titel.bottomLeft()));
    warten(400);
    QImage bild = fenster.grab().toImage();
    QPainter maler(&bild);
    maler.drawPixmap(menue->pos() - fenster.mapToGlobal(QPoint(0, 0)), menue->grab());
    maler.end();
    menue->hide();
    return bild;
}

QList<QImage> frageneditor(const QString &frageDatei, Dialoge &dialoge)
{
    const QString vorher = Einstellungen::text(Schluessel::FrageFile);
    Einstellungen::setzen(Schluessel::FrageFile, frageDatei);
    QList<QImage> bilder;
    {
        FragenEditor editor(&dialoge);
        editor.resize(820, 560);
        editor.show();
        editor.editorInitialisieren();
        // The status bar would show this machine's folders.
        const auto foto = [&editor] {
            warten(300);
            const QImage bild = editor.grab().toImage();
            return bild.copy(0, 0, bild.width(), bild.height() - editor.statusBar()->height());
        };
        if (editor.anzahlDerFragen() > 0 && editor.pfad() == frageDatei) {
            bilder.append(foto());
            int mitBildern = 0;
            for (int i = 0; i < editor.anzahlDerFragen(); ++i) {
                if (!FrageDatei::feld(editor.frage(i), QStringLiteral("PictureAnswer1")).isEmpty()) {
                    mitBildern = i;
                    break;
                }
            }
            editor.findChild<QComboBox *>(QStringLiteral("comboBox_Frage"))->setCurrentIndex(mitBildern);
            bilder.append(foto());
        }
        editor.hide();
    }
    Einstellungen::setzen(Schluessel::FrageFile, vorher);
    return bilder;
}

QImage verkleinert(const QImage &bild, int breite)
{
    if (bild.width() <= breite)
        return bild;
    return bild.scaledToWidth(breite, Qt::SmoothTransformation);
}

} // namespace Tutorialbilder
