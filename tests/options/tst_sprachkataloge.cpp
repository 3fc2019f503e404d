#include "druckjournal.h"
#include "einstellungen.h"
#include "fakeports.h"
#include "fragedatei.h"
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
    QStringList formen; // one translation, or one per number form of a text that counts
    QString art;        // the translation's type attribute: "unfinished", "vanished", …
    bool anzahl = false;
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
            Eintrag e{name,
                      m.firstChildElement(QStringLiteral("source")).text(),
                      m.firstChildElement(QStringLiteral("comment")).text(),
                      {},
                      uebersetzung.attribute(QStringLiteral("type")),
                      m.attribute(QStringLiteral("numerus")) == QLatin1String("yes")};
            if (e.anzahl) {
                for (QDomElement f = uebersetzung.firstChildElement(QStringLiteral("numerusform"));
                     !f.isNull(); f = f.nextSiblingElement(QStringLiteral("numerusform")))
                    e.formen.append(f.text());
            } else {
                e.formen.append(uebersetzung.text());
            }
            eintraege.append(e);
        }
    }
    return eintraege;
}

QString katalogPfad(const QString &sprache)
{
    return QStringLiteral(PLENARO_QUELLEN "/translations/plenarotandrivelle_%1.ts").arg(sprache);
}

// As tools/update-translations.sh runs it: the German catalogue holds only the texts that count
// something.
QStringList lupdateArgumente(const QString &sprache, const QString &ziel)
{
    QStringList argumente{"-recursive",   "src",        "-extensions", "cpp,h,ui",
                          "-no-obsolete", "-locations", "none"};
    if (sprache == QLatin1String("de"))
        argumente.append(QStringLiteral("-pluralonly"));
    return argumente + QStringList{"-source-language", "de", "-target-language", sprache, "-ts", ziel};
}

QString uebersetzt(const Eintrag &e, int n = -1)
{
    return QCoreApplication::translate(e.kontext.toUtf8().constData(), e.quelle.toUtf8().constData(),
                                       e.kommentar.isEmpty() ? nullptr : e.kommentar.toUtf8().constData(), n);
}

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

    void jederKatalog_data()
    {
        QTest::addColumn<QString>("sprache");
        QTest::newRow("English") << QStringLiteral("en");
        QTest::newRow("German") << QStringLiteral("de");
    }

    void jederTextIstUebersetzt_data() { jederKatalog_data(); }
    void jederTextIstUebersetzt()
    {
        QFETCH(QString, sprache);
        const QList<Eintrag> eintraege = katalogLesen(katalogPfad(sprache));
        QVERIFY(eintraege.size() > (sprache == QLatin1String("en") ? 100 : 2));
        static const QRegularExpression platzhalter(QStringLiteral("%\\d"));
        for (const Eintrag &e : eintraege) {
            const QString wo = e.kontext + QStringLiteral(": ") + e.quelle;
            QVERIFY2(e.art.isEmpty(), qPrintable(QStringLiteral("%1 (%2)").arg(wo, e.art)));
            // A text that counts has a singular and a plural, and each keeps the count.
            QCOMPARE(e.formen.size(), e.anzahl ? 2 : 1);
            for (const QString &form : e.formen) {
                QVERIFY2(!form.isEmpty(), qPrintable(wo));
                QCOMPARE(form.count(platzhalter), e.quelle.count(platzhalter));
                QCOMPARE(form.contains(QLatin1String("%n")), e.anzahl);
            }
            QVERIFY2(!e.anzahl || e.formen.at(0) != e.formen.at(1), qPrintable(wo));
        }
    }

    // A form or tr() text added after the last run of tools/update-translations.sh shows up here.
    void katalogKenntJedenTextDerQuellen_data() { jederKatalog_data(); }
    void katalogKenntJedenTextDerQuellen()
    {
        QFETCH(QString, sprache);
        QTemporaryDir ordner;
        const QString frisch = ordner.filePath(QStringLiteral("frisch.ts"));
        QVERIFY(QFile::copy(katalogPfad(sprache), frisch));
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(PLENARO_QUELLEN));
        lupdate.start(QStringLiteral(PLENARO_LUPDATE), lupdateArgumente(sprache, frisch));
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        QStringList offen;
        for (const Eintrag &e : katalogLesen(frisch))
            if (e.art == QLatin1String("unfinished"))
                offen.append(e.kontext + QStringLiteral(": ") + e.quelle);
        QVERIFY2(offen.isEmpty(),
                 qPrintable(QStringLiteral("run tools/update-translations.sh and translate:\n") +
                            offen.join(QLatin1Char('\n'))));
        QCOMPARE(katalogLesen(frisch).size(), katalogLesen(katalogPfad(sprache)).size());
    }

    // The compiled catalogue is the source of this build.
    void eingebauterKatalogIstDieQuelle_data() { jederKatalog_data(); }
    void eingebauterKatalogIstDieQuelle()
    {
        QFETCH(QString, sprache);
        const QStringList geladen = Sprachkataloge::installieren(*qApp, sprache == QLatin1String("en"));
        QCOMPARE(geladen, QStringList({"qtbase_" + sprache, "plenarotandrivelle_" + sprache}));
        for (const Eintrag &e : katalogLesen(katalogPfad(sprache))) {
            if (!e.anzahl) {
                QCOMPARE(uebersetzt(e), e.formen.at(0));
                continue;
            }
            QCOMPARE(uebersetzt(e, 1),
                     QString(e.formen.at(0)).replace(QLatin1String("%n"), QLatin1String("1")));
            QCOMPARE(uebersetzt(e, 7),
                     QString(e.formen.at(1)).replace(QLatin1String("%n"), QLatin1String("7")));
        }
    }

    void deutschBekommtDeutscheKnoepfeDesToolkits()
    {
        Sprachkataloge::installieren(*qApp, false);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("&Nein"));
        QCOMPARE(QCoreApplication::translate("OptionWindow", "Schliessen"), QStringLiteral("Schliessen"));
    }

    // A count of one is said in the singular, in both languages.
    void anzahlImSatz_data()
    {
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("weggelassen");
        QTest::addColumn<QString>("angebot");
        QTest::newRow("German, one") << false << 1 << "; 1 Frage wurde weggelassen."
                                     << ", 1 Antwort erfasst)";
        QTest::newRow("German, two") << false << 2 << "; 2 Fragen wurden weggelassen."
                                     << ", 2 Antworten erfasst)";
        QTest::newRow("English, one") << true << 1 << "; 1 question was left out."
                                      << ", 1 answer recorded)";
        QTest::newRow("English, two") << true << 2 << "; 2 questions were left out."
                                      << ", 2 answers recorded)";
    }

    void anzahlImSatz()
    {
        QFETCH(bool, englisch);
        QFETCH(int, anzahl);
        QFETCH(QString, weggelassen);
        QFETCH(QString, angebot);
        Sprachkataloge::installieren(*qApp, englisch);
        FrageDatei::LadeErgebnis ergebnis;
        ergebnis.fragen.resize(FrageDatei::MaxFragen);
        ergebnis.weggelassen = anzahl;
        QVERIFY2(ergebnis.hinweis().endsWith(weggelassen), qPrintable(ergebnis.hinweis()));
        SpielStand stand;
        stand.aktuelleFrage = 3;
        stand.druecke.resize(anzahl);
        QVERIFY2(stand.angebot().contains(angebot), qPrintable(stand.angebot()));
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
