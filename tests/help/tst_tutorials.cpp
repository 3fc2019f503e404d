#include "fakeports.h"
#include "hilfe_einstellungen_vornehmen.h"
#include "hilfe_frageneditor.h"
#include "hilfe_spiel_durchfuehren.h"
#include "klangrekorder.h"
#include "optionwindow.h"
#include "sprachkataloge.h"

#include <QApplication>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
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

QStringList reihe(const QString &stamm, int anzahl, const QString &sprache)
{
    QStringList namen;
    for (int i = 1; i <= anzahl; ++i)
        namen.append(QStringLiteral(":/tutorial/%1/%2_Bild%3.png").arg(sprache, stamm).arg(i));
    return namen;
}

// Every menu entry of a form as "menu → entry", in the language of the installed catalogue.
QStringList menuePfade(const QString &form)
{
    QFile datei(QStringLiteral(PLENARO_QUELLEN "/") + form);
    QDomDocument dokument;
    if (!datei.open(QIODevice::ReadOnly) || !dokument.setContent(&datei))
        qFatal("cannot read %s", qPrintable(datei.fileName()));
    const QByteArray klasse =
        dokument.documentElement().firstChildElement(QStringLiteral("class")).text().toUtf8();
    const auto text = [&](const QDomElement &element, const QString &eigenschaft) {
        for (QDomElement e = element.firstChildElement(QStringLiteral("property")); !e.isNull();
             e = e.nextSiblingElement(QStringLiteral("property"))) {
            if (e.attribute(QStringLiteral("name")) == eigenschaft)
                return QCoreApplication::translate(klasse.constData(), e.text().toUtf8().constData());
        }
        return QString();
    };
    QHash<QString, QString> aktionen;
    const QDomNodeList alle = dokument.elementsByTagName(QStringLiteral("action"));
    for (int i = 0; i < alle.size(); ++i) {
        const QDomElement a = alle.at(i).toElement();
        aktionen.insert(a.attribute(QStringLiteral("name")), text(a, QStringLiteral("text")));
    }
    QStringList pfade;
    const QDomNodeList widgets = dokument.elementsByTagName(QStringLiteral("widget"));
    for (int i = 0; i < widgets.size(); ++i) {
        const QDomElement menue = widgets.at(i).toElement();
        if (menue.attribute(QStringLiteral("class")) != QLatin1String("QMenu"))
            continue;
        for (QDomElement e = menue.firstChildElement(QStringLiteral("addaction")); !e.isNull();
             e = e.nextSiblingElement(QStringLiteral("addaction")))
            pfade.append(text(menue, QStringLiteral("title")) + QStringLiteral(" → ") +
                         aktionen.value(e.attribute(QStringLiteral("name"))));
    }
    return pfade;
}

// The menu entries a text tells to choose, as "menu → entry".
QStringList genannteMenues(const QString &text)
{
    QStringList pfade;
    static const QList<QPair<QRegularExpression, bool>> muster{
        {QRegularExpression(QStringLiteral("Menü «([^»]+)» den Eintrag «([^»]+)»")), false},
        {QRegularExpression(QStringLiteral("«([^»]+)» → «([^»]+)»")), false},
        {QRegularExpression(QStringLiteral("«([^»]+)» in the «([^»]+)» menu")), true}};
    for (const auto &[ausdruck, eintragZuerst] : muster) {
        for (auto treffer = ausdruck.globalMatch(text); treffer.hasNext();) {
            const QRegularExpressionMatch m = treffer.next();
            pfade.append(m.captured(eintragZuerst ? 2 : 1) + QStringLiteral(" → ") +
                         m.captured(eintragZuerst ? 1 : 2));
        }
    }
    return pfade;
}

std::unique_ptr<QDialog> oeffnen(const QString &name)
{
    if (name == QLatin1String("spiel"))
        return std::make_unique<hilfe_spiel_durchfuehren>();
    if (name == QLatin1String("editor"))
        return std::make_unique<hilfe_frageneditor>();
    return std::make_unique<hilfe_einstellungen_vornehmen>();
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

    void aufbau_data()
    {
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<int>("abschnitte");
        QTest::addColumn<QStringList>("bilder");
        for (const bool englisch : {false, true}) {
            const QString sprache = englisch ? QStringLiteral("en") : QStringLiteral("de");
            QTest::addRow("game, %s", qPrintable(sprache))
                << QString("spiel") << englisch << 1 << reihe("SpielDurchfuehren", 7, sprache);
            QTest::addRow("editor, %s", qPrintable(sprache))
                << QString("editor") << englisch << 6 << reihe("Frageneditor", 2, sprache);
            QTest::addRow("settings, %s", qPrintable(sprache))
                << QString("einstellungen") << englisch << 9 << reihe("EinstellungenVornehmen", 8, sprache);
        }
    }
    // Sections and pictures of each tutorial, in each language (whose words the catalogue test
    // checks); its pictures are those of the program in that language, and the widest fits beside
    // the scroll bar: the column scrolls down only. The settings tutorial has a section for each
    // tab of the options, under the tab's name. The entries a tutorial tells to choose are in the
    // menus of the main window or of the editor, under the names they have in that language.
    void aufbau()
    {
        QFETCH(QString, fenster);
        QFETCH(bool, englisch);
        QFETCH(QStringList, bilder);
        Sprachkataloge::installieren(*qApp, englisch);
        const auto tutorial = oeffnen(fenster);
        QVERIFY(!tutorial->windowIcon().isNull());
        const QStringList abschnitte = texteDer(*tutorial, "abschnitt");
        QTEST(int(abschnitte.size()), "abschnitte");
        const QStringList menues = menuePfade(QStringLiteral("src/app/mainwindow.ui")) +
                                   menuePfade(QStringLiteral("src/questions/editor/frageneditor.ui"));
        const QStringList genannt = genannteMenues(texteDer(*tutorial, "schritt").join(QLatin1Char('\n')));
        QVERIFY(!genannt.isEmpty());
        for (const QString &pfad : genannt)
            QVERIFY2(menues.contains(pfad), qPrintable(pfad));
        if (fenster == QLatin1String("einstellungen")) {
            FakePortSystem ports;
            KlangRekorder klang;
            OptionWindow optionen(ports, klang);
            const auto *tabs = optionen.findChild<QTabWidget *>(QStringLiteral("tabWidgetDerOptionen"));
            QVERIFY(tabs);
            QStringList reiter;
            for (int i = 0; i < tabs->count(); ++i)
                reiter.append(tabs->tabText(i).remove(QLatin1Char('&')));
            QStringList erklaert = abschnitte.mid(1);
            erklaert.sort();
            reiter.sort();
            QCOMPARE(erklaert, reiter);
        }
        QCOMPARE(bilderDer(*tutorial), bilder);
        for (const QString &pfad : bilder)
            QVERIFY2(QImage(pfad).width() >= 300, qPrintable(pfad));
        tutorial->show();
        QVERIFY(QTest::qWaitForWindowExposed(tutorial.get()));
        auto *rollen = tutorial->findChild<QScrollArea *>();
        QVERIFY(rollen);
        QVERIFY(!rollen->horizontalScrollBar()->isVisible());
        QVERIFY(rollen->verticalScrollBar()->isVisible());
    }
};

QTEST_MAIN(TestTutorials)
#include "tst_tutorials.moc"
