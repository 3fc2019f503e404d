#include "einstellungen.h"
#include "fakeports.h"
#include "klangrekorder.h"
#include "optionwindow.h"
#include "sprachkataloge.h"
#include "testeinstellungen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDomDocument>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

namespace {

struct Eintrag
{
    QString kontext;
    QString quelle;
    QString kommentar;
    QString uebersetzung;
    QString art; // the translation's type attribute: "unfinished", "vanished", …
};

QList<Eintrag> katalogLesen(const QString &pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(pfad));
    QDomDocument dokument;
    if (!dokument.setContent(&datei))
        qFatal("not XML: %s", qPrintable(pfad));
    QList<Eintrag> eintraege;
    const QDomNodeList kontexte = dokument.elementsByTagName(QStringLiteral("context"));
    for (int k = 0; k < kontexte.size(); ++k) {
        const QDomElement kontext = kontexte.at(k).toElement();
        const QString name = kontext.firstChildElement(QStringLiteral("name")).text();
        for (QDomElement m = kontext.firstChildElement(QStringLiteral("message")); !m.isNull();
             m = m.nextSiblingElement(QStringLiteral("message"))) {
            const QDomElement uebersetzung = m.firstChildElement(QStringLiteral("translation"));
            eintraege.append({name, m.firstChildElement(QStringLiteral("source")).text(),
                              m.firstChildElement(QStringLiteral("comment")).text(), uebersetzung.text(),
                              uebersetzung.attribute(QStringLiteral("type"))});
        }
    }
    return eintraege;
}

const QString Quelle = QStringLiteral(PLENARO_QUELLEN "/translations/plenarotandrivelle_en.ts");

} // namespace

class TestSprachkataloge final : public QObject
{
    Q_OBJECT

private:
    static void katalogeEntfernen()
    {
        for (QTranslator *katalog : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(katalog);
            delete katalog;
        }
    }

private slots:
    void cleanup() { katalogeEntfernen(); }

    void jederTextIstUebersetzt()
    {
        const QList<Eintrag> eintraege = katalogLesen(Quelle);
        QVERIFY(eintraege.size() > 100);
        static const QRegularExpression platzhalter(QStringLiteral("%\\d"));
        for (const Eintrag &e : eintraege) {
            const QString wo = e.kontext + QStringLiteral(": ") + e.quelle;
            QVERIFY2(e.art.isEmpty(), qPrintable(QStringLiteral("%1 (%2)").arg(wo, e.art)));
            QVERIFY2(!e.uebersetzung.isEmpty(), qPrintable(wo));
            QCOMPARE(e.uebersetzung.count(platzhalter), e.quelle.count(platzhalter));
        }
    }

    // A form or tr() text added after the last run of tools/update-translations.sh shows up here.
    void katalogKenntJedenTextDerQuellen()
    {
        QTemporaryDir ordner;
        const QString frisch = ordner.filePath(QStringLiteral("frisch.ts"));
        QVERIFY(QFile::copy(Quelle, frisch));
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(PLENARO_QUELLEN));
        lupdate.start(QStringLiteral(PLENARO_LUPDATE),
                      {"-recursive", "src", "-extensions", "cpp,h,ui", "-no-obsolete", "-locations", "none",
                       "-source-language", "de", "-target-language", "en", "-ts", frisch});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        QStringList offen;
        for (const Eintrag &e : katalogLesen(frisch))
            if (e.art == QLatin1String("unfinished"))
                offen.append(e.kontext + QStringLiteral(": ") + e.quelle);
        QVERIFY2(offen.isEmpty(),
                 qPrintable(QStringLiteral("run tools/update-translations.sh and translate:\n") +
                            offen.join(QLatin1Char('\n'))));
        QCOMPARE(katalogLesen(frisch).size(), katalogLesen(Quelle).size());
    }

    void englischLaedtDenEingebautenKatalog()
    {
        const QStringList geladen = Sprachkataloge::installieren(*qApp, true);
        QVERIFY2(geladen.contains(QStringLiteral("plenarotandrivelle_en")), qPrintable(geladen.join(',')));
        QVERIFY(geladen.contains(QStringLiteral("qtbase_en")));
        // The compiled catalogue is the source of this build.
        for (const Eintrag &e : katalogLesen(Quelle))
            QCOMPARE(QCoreApplication::translate(
                         e.kontext.toUtf8().constData(), e.quelle.toUtf8().constData(),
                         e.kommentar.isEmpty() ? nullptr : e.kommentar.toUtf8().constData()),
                     e.uebersetzung);
    }

    void deutschBekommtDeutscheKnoepfeDesToolkits()
    {
        const QStringList geladen = Sprachkataloge::installieren(*qApp, false);
        QCOMPARE(geladen, QStringList({"qtbase_de"}));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Nein"));
        QCOMPARE(QCoreApplication::translate("OptionWindow", "Schliessen"), QStringLiteral("Schliessen"));
    }

    void optionenFensterIstGanzEnglisch()
    {
        TestEinstellungen einstellungen;
        Sprachkataloge::installieren(*qApp, true);
        FakePortSystem ports;
        KlangRekorder klang;
        OptionWindow fenster(ports, klang);
        fenster.felderAktualisieren();
        QCOMPARE(fenster.windowTitle(), QStringLiteral("Options"));
        auto *tabs = fenster.findChild<QTabWidget *>();
        QStringList titel;
        for (int i = 0; i < tabs->count(); ++i)
            titel.append(tabs->tabText(i));
        QCOMPARE(titel, QStringList({"Serial", "Evaluation", "Control", "Protocol", "Class set", "Sounds",
                                     "Design", "Phones"}));

        // No German word survives: the umlauts and a few words that have no umlaut give it away.
        static const QRegularExpression deutsch(
            QStringLiteral("[äöüÄÖÜß]|\\b(und|der|die|das|anzeigen|aktivieren|Klassensatz|Schliessen)\\b"));
        QStringList texte;
        for (auto *w : fenster.findChildren<QLabel *>())
            texte.append(w->text());
        for (auto *w : fenster.findChildren<QAbstractButton *>())
            texte.append(w->text());
        for (auto *w : fenster.findChildren<QGroupBox *>())
            texte.append(w->title());
        for (const QString &text : std::as_const(texte))
            QVERIFY2(!deutsch.match(text).hasMatch(), qPrintable(text));
        // The one list entry written in code.
        auto *adressen = fenster.findChild<QComboBox *>(QStringLiteral("comboBox_Handys_Adresse"));
        QVERIFY(adressen);
        QCOMPARE(adressen->itemText(0), QStringLiteral("Automatic"));
    }
};

QTEST_MAIN(TestSprachkataloge)
#include "tst_sprachkataloge.moc"
