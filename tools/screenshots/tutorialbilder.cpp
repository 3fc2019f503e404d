#include "tutorialbilder.h"

#include "einstellungen.h"
#include "fakeports.h"
#include "klang.h"
#include "optionwindow.h"
#include "schluessel.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
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
                           {Schluessel::aktiverKlassensatz(2), QStringLiteral("259")}});
    FakePortSystem ports;
    ports.namen = {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")};
    StillerKlang klang;
    OptionWindow fenster(ports, klang);
    for (const char *name : {"Morvane", "Tandrivelle", "Kahoot"})
        fenster.templateRegistrieren(QString::fromLatin1(name));
    fenster.felderAktualisieren();
    fenster.optionWindowProtokollAktualisieren(258, 12, 3);
    fenster.resize(640, 470);
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

QImage platzhalter(const QString &fenster, const QString &inhalt)
{
    QImage bild(Breite, 500, QImage::Format_RGB32);
    bild.fill(QColor(0xee, 0xee, 0xee));
    QPainter maler(&bild);
    maler.setRenderHint(QPainter::Antialiasing);
    // A rough window: title bar, a form of fields on the left, buttons at the bottom.
    maler.setPen(QPen(QColor(0x99, 0x99, 0x99), 2));
    maler.setBrush(Qt::white);
    maler.drawRect(20, 20, Breite - 40, 460);
    maler.fillRect(21, 21, Breite - 42, 30, QColor(0xcc, 0xd6, 0xe6));
    maler.setPen(Qt::black);
    maler.drawText(QRect(30, 21, 400, 30), Qt::AlignVCenter, fenster);
    maler.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), 1, Qt::DashLine));
    maler.setBrush(Qt::NoBrush);
    for (int zeile = 0; zeile < 6; ++zeile)
        maler.drawRect(50, 75 + zeile * 52, Breite - 260, 38);
    for (int knopf = 0; knopf < 4; ++knopf)
        maler.drawRect(50 + knopf * 150, 400, 130, 36);

    // The mark that nobody can overlook.
    maler.setPen(Qt::NoPen);
    maler.setBrush(QColor(200, 30, 30, 215));
    maler.drawRect(0, 170, Breite, 130);
    QFont schrift = maler.font();
    schrift.setPixelSize(40);
    schrift.setBold(true);
    maler.setFont(schrift);
    maler.setPen(Qt::white);
    maler.drawText(QRect(0, 175, Breite, 60), Qt::AlignCenter, QStringLiteral("PLATZHALTER / PLACEHOLDER"));
    schrift.setPixelSize(20);
    schrift.setBold(false);
    maler.setFont(schrift);
    maler.drawText(QRect(0, 235, Breite, 60), Qt::AlignCenter, inhalt);
    return bild;
}

QImage verkleinert(const QImage &bild, int breite)
{
    if (bild.width() <= breite)
        return bild;
    return bild.scaledToWidth(breite, Qt::SmoothTransformation);
}

} // namespace Tutorialbilder
