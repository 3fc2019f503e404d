#include "druckjournal.h"
#include "einstellungen.h"
#include "exportgrundlage.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "fragenkatalog.h"
#include "goto.h"
#include "handyabstimmung.h"
#include "hauptfenster.h"
#include "hilfe.h"
#include "hilfe_einstellungen_vornehmen.h"
#include "hilfe_frageneditor.h"
#include "hilfe_spiel_durchfuehren.h"
#include "optionwindow.h"
#include "pdfrangliste.h"
#include "schluessel.h"
#include "shortcutkeys.h"
#include "sprachkataloge.h"
#include "test.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDomDocument>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
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
    QDomDocument dokument;
    if (!dokument.setContent(Testdaten::lesen(pfad)))
        qFatal("cannot read %s as XML", qPrintable(pfad));
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

QString uebersetzt(const Eintrag &e, int n = -1)
{
    return QCoreApplication::translate(e.kontext.toUtf8().constData(), e.quelle.toUtf8().constData(),
                                       e.kommentar.isEmpty() ? nullptr : e.kommentar.toUtf8().constData(), n);
}

// The words of one language, lower case; a hyphen or a digit ends a word.
QSet<QString> woerter(const QString &text)
{
    static const QRegularExpression wort(QStringLiteral("\\p{L}{2,}"));
    QSet<QString> alle;
    for (auto treffer = wort.globalMatch(text); treffer.hasNext();)
        alle.insert(treffer.next().captured().toLower());
    return alle;
}

// The words only German or only English uses: those of the catalogues' texts that change with the
// language, the German sources on one side and the translations on the other, each without the
// words the other has too.
QSet<QString> woerterNur(bool englisch)
{
    QSet<QString> deutsch;
    QSet<QString> englischeWoerter;
    for (const Eintrag &e : katalogLesen(katalogPfad(QStringLiteral("en")))) {
        if (e.formen.size() == 1 && e.formen.at(0) == e.quelle)
            continue; // the same in both languages
        deutsch += woerter(e.quelle);
        englischeWoerter += woerter(e.formen.join(QLatin1Char(' ')));
    }
    for (const Eintrag &e : katalogLesen(katalogPfad(QStringLiteral("de"))))
        deutsch += woerter(e.formen.join(QLatin1Char(' ')));
    return englisch ? englischeWoerter - deutsch : deutsch - englischeWoerter;
}

QString ohneAuszeichnung(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument dokument;
    dokument.setHtml(text);
    return dokument.toPlainText();
}

// Everything a window shows in words: titles, labels, buttons, tabs, list entries, menus and tips.
QStringList fensterTexte(QWidget *fenster)
{
    QStringList texte;
    QList<QWidget *> alle = fenster->findChildren<QWidget *>();
    alle.prepend(fenster);
    for (QWidget *w : std::as_const(alle)) {
        texte << w->windowTitle() << w->toolTip() << w->statusTip() << w->whatsThis();
        if (auto *label = qobject_cast<QLabel *>(w))
            texte << ohneAuszeichnung(label->text());
        if (auto *knopf = qobject_cast<QAbstractButton *>(w))
            texte << knopf->text();
        if (auto *gruppe = qobject_cast<QGroupBox *>(w))
            texte << gruppe->title();
        if (auto *feld = qobject_cast<QLineEdit *>(w))
            texte << feld->placeholderText();
        if (auto *menue = qobject_cast<QMenu *>(w))
            texte << menue->title();
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texte << tabs->tabText(i) << tabs->tabToolTip(i);
        if (auto *liste = qobject_cast<QComboBox *>(w))
            for (int i = 0; i < liste->count(); ++i)
                texte << liste->itemText(i);
        for (QAction *aktion : w->actions())
            texte << aktion->text() << aktion->toolTip() << aktion->statusTip();
    }
    texte.replaceInStrings(QStringLiteral("&"), QString());
    return texte;
}

// A page as a phone gets it from the server: its words and the words of its attributes.
QString seiteHolen(quint16 port, const QByteArray &ziel)
{
    QNetworkAccessManager netz;
    const std::unique_ptr<QNetworkReply> antwort(netz.get(
        QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port) + QLatin1String(ziel)))));
    if (!wartenBis([&]() { return antwort->isFinished(); }))
        return QStringLiteral("<no answer>");
    const QString seite = QString::fromUtf8(antwort->readAll());
    static const QRegularExpression attribut(QStringLiteral("(?:title|aria-label|alt)=\"([^\"]*)\""));
    QStringList texte{ohneAuszeichnung(seite)};
    for (auto treffer = attribut.globalMatch(seite); treffer.hasNext();)
        texte << treffer.next().captured(1);
    return texte.join(QLatin1Char('\n'));
}

// The texts of one language in the voting page's script.
QStringList skriptTexte(bool englisch)
{
    const QString text = QString::fromUtf8(Testdaten::lesen(QStringLiteral(":/handy/abstimmung.js")));
    const qsizetype anfang = text.indexOf(englisch ? QLatin1String("en: {") : QLatin1String("de: {"));
    if (anfang < 0)
        return {};
    const QString block = text.mid(anfang, text.indexOf(QLatin1Char('}'), anfang) - anfang);
    static const QRegularExpression zeichenkette(QStringLiteral("'([^']*)'"));
    QStringList texte;
    for (auto treffer = zeichenkette.globalMatch(block); treffer.hasNext();)
        texte << treffer.next().captured(1);
    return texte;
}

QStringList texteDer(const QDialog &fenster, const char *art)
{
    QStringList texte;
    // The column's order is the layout's order, which is the order of creation.
    for (QLabel *label : fenster.findChildren<QLabel *>(QLatin1String(art)))
        texte.append(ohneAuszeichnung(label->text()));
    return texte;
}

QStringList reihe(const QString &stamm, int anzahl, const QString &sprache)
{
    QStringList namen;
    for (int i = 1; i <= anzahl; ++i)
        namen.append(QStringLiteral(":/tutorial/%1/%2_Bild%3.png").arg(sprache, stamm).arg(i));
    return namen;
}

// Every menu entry of a window as "menu → entry", as the window shows it.
QStringList menuePfade(const QWidget &fenster)
{
    QStringList pfade;
    for (const QMenu *menue : fenster.findChildren<QMenu *>()) {
        for (const QAction *aktion : menue->actions())
            pfade.append(menue->title() + QStringLiteral(" → ") + aktion->text());
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

class TestSprachkataloge final : public QObject
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

    // Every text is translated, keeps its placeholders, and a text that counts has a singular and
    // a plural that each keep the count. The compiled catalogue is the source of this build; the
    // toolkit's own buttons speak the language too. A form or tr() text added after the last run of
    // tools/update-translations.sh shows up here.
    void jederTextIstUebersetzt_data()
    {
        QTest::addColumn<QString>("sprache");
        QTest::newRow("English") << QStringLiteral("en");
        QTest::newRow("German") << QStringLiteral("de");
    }
    void jederTextIstUebersetzt()
    {
        QFETCH(QString, sprache);
        const bool englisch = sprache == QLatin1String("en");
        QCOMPARE(Sprachkataloge::installieren(*qApp, englisch),
                 QStringList({"qtbase_" + sprache, "plenarotandrivelle_" + sprache}));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"),
                 englisch ? QStringLiteral("&No") : QStringLiteral("&Nein"));
        const QList<Eintrag> eintraege = katalogLesen(katalogPfad(sprache));
        QVERIFY(eintraege.size() > (englisch ? 100 : 2));
        static const QRegularExpression platzhalter(QStringLiteral("%\\d"));
        for (const Eintrag &e : eintraege) {
            const QString wo = e.kontext + QStringLiteral(": ") + e.quelle;
            QVERIFY2(e.art.isEmpty(), qPrintable(QStringLiteral("%1 (%2)").arg(wo, e.art)));
            QCOMPARE(e.formen.size(), e.anzahl ? 2 : 1);
            for (const QString &form : e.formen) {
                QVERIFY2(!form.isEmpty(), qPrintable(wo));
                QCOMPARE(form.count(platzhalter), e.quelle.count(platzhalter));
                QCOMPARE(form.contains(QLatin1String("%n")), e.anzahl);
            }
            if (!e.anzahl) {
                QCOMPARE(uebersetzt(e), e.formen.at(0));
                continue;
            }
            QVERIFY2(e.formen.at(0) != e.formen.at(1), qPrintable(wo));
            QCOMPARE(uebersetzt(e, 1),
                     QString(e.formen.at(0)).replace(QLatin1String("%n"), QLatin1String("1")));
            QCOMPARE(uebersetzt(e, 7),
                     QString(e.formen.at(1)).replace(QLatin1String("%n"), QLatin1String("7")));
        }

        QTemporaryDir ordner;
        const QString frisch = ordner.filePath(QStringLiteral("frisch.ts"));
        QVERIFY(QFile::copy(katalogPfad(sprache), frisch));
        // As tools/update-translations.sh runs it: the German catalogue holds only the texts that
        // count something.
        QStringList argumente{
            "-recursive",       "src", "-extensions",      "cpp,h,ui", "-no-obsolete", "-locations", "none",
            "-source-language", "de",  "-target-language", sprache,    "-ts",          frisch};
        if (sprache == QLatin1String("de"))
            argumente.append(QStringLiteral("-pluralonly"));
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(PLENARO_QUELLEN));
        lupdate.start(QStringLiteral(PLENARO_LUPDATE), argumente);
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        QStringList offen;
        for (const Eintrag &e : katalogLesen(frisch))
            if (e.art == QLatin1String("unfinished"))
                offen.append(e.kontext + QStringLiteral(": ") + e.quelle);
        QVERIFY2(offen.isEmpty(),
                 qPrintable(QStringLiteral("run tools/update-translations.sh and translate:\n") +
                            offen.join(QLatin1Char('\n'))));
        QCOMPARE(katalogLesen(frisch).size(), eintraege.size());
    }

    // A count of one is said in the singular, in both languages: the texts pass their count to the
    // catalogue, and its first form is the singular, the other one differing. (German plurals: the
    // question file's and the journal's tests.)
    void anzahlImSatz_data()
    {
        QTest::addColumn<bool>("englisch");
        QTest::addColumn<QString>("weggelassen");
        QTest::addColumn<QString>("angebot");
        QTest::newRow("German") << false << "; 1 Frage wurde weggelassen."
                                << ", 1 Antwort erfasst)";
        QTest::newRow("English") << true << "; 1 question was left out."
                                 << ", 1 answer recorded)";
    }

    void anzahlImSatz()
    {
        QFETCH(bool, englisch);
        QFETCH(QString, weggelassen);
        QFETCH(QString, angebot);
        Sprachkataloge::installieren(*qApp, englisch);
        FrageDatei::LadeErgebnis ergebnis;
        ergebnis.fragen.resize(FrageDatei::MaxFragen);
        ergebnis.weggelassen = 1;
        QVERIFY2(ergebnis.hinweis().endsWith(weggelassen), qPrintable(ergebnis.hinweis()));
        SpielStand stand;
        stand.aktuelleFrage = 3;
        stand.druecke.resize(1);
        QVERIFY2(stand.angebot().contains(angebot), qPrintable(stand.angebot()));
    }

    // One language at a time: no window, dialog, page or export shows a word that only the other
    // language uses. Texts that stay the same in both languages are allowed as a whole.
    void eineSpracheJeText_data()
    {
        QTest::addColumn<QString>("quelle");
        QTest::addColumn<bool>("englisch");
        for (const char *quelle : {"main window", "options", "small windows", "tutorials", "question editor",
                                   "phones' pages", "exports"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, German").arg(quelle))) << quelle << false;
            QTest::newRow(qPrintable(QStringLiteral("%1, English").arg(quelle))) << quelle << true;
        }
    }

    void eineSpracheJeText()
    {
        QFETCH(QString, quelle);
        QFETCH(bool, englisch);
        Hauptfenster h;
        Einstellungen::setzen(Schluessel::InstallerLanguage,
                              englisch ? QStringLiteral("1033") : QStringLiteral("1031"));
        Sprachkataloge::installieren(*qApp, englisch);
        // Questions without words: "F1", answers "A1" to "D1".
        const QString fragen = h.fragen(Testdaten::fragen(2), QStringLiteral("quiz.xml"));

        QStringList texte;
        DialogRekorder &dialoge = h.dialoge;
        if (quelle == QLatin1String("main window")) {
            MainWindow &fenster = h.erzeugen();
            QVERIFY(wartenBis([&]() { return fenster.istEingerichtet(); }, 40000));
            texte << fensterTexte(&fenster);
            // The start screen's words, once its page has them.
            const auto seite = [&fenster]() {
                return js(fenster.startAnsicht(),
                          QStringLiteral("document.body ? document.body.innerText : ''"))
                    .toString();
            };
            QVERIFY(wartenBis([&]() { return seite().contains(QLatin1String("Plenaro")); }, 30000));
            texte << seite();
        } else if (quelle == QLatin1String("options")) {
            OptionWindow fenster(h.ports, h.klang);
            fenster.felderAktualisieren();
            texte << fensterTexte(&fenster);
        } else if (quelle == QLatin1String("small windows")) {
            goTo springen;
            shortcutkeys tasten;
            test umgebung;
            umgebung.show();
            Hilfe hilfe;
            texte << fensterTexte(&springen) << fensterTexte(&tasten) << fensterTexte(&umgebung)
                  << fensterTexte(&hilfe);
        } else if (quelle == QLatin1String("tutorials")) {
            hilfe_spiel_durchfuehren spiel;
            hilfe_frageneditor editor;
            hilfe_einstellungen_vornehmen einstellungenTutorial;
            texte << fensterTexte(&spiel) << fensterTexte(&editor) << fensterTexte(&einstellungenTutorial);
        } else if (quelle == QLatin1String("question editor")) {
            FragenEditor editor(&dialoge);
            editor.editorInitialisieren();
            QCOMPARE(editor.anzahlDerFragen(), 2);
            texte << fensterTexte(&editor);
        } else if (quelle == QLatin1String("phones' pages")) {
            HandyAbstimmung handys;
            handys.spracheSetzen(englisch);
            const QByteArray code = handys.neuerCode().toLatin1();
            QSignalSpy gestartet(&handys, &HandyAbstimmung::gestartet);
            handys.starten(0, QHostAddress::LocalHost);
            QVERIFY(gestartet.wait(5000));
            // Each page as it came, never a failure that has no words to check.
            for (const QByteArray &ziel :
                 {"/?c=" + code, QByteArray("/?c=ZZZZZZ"), QByteArray("/nirgends")}) {
                texte << seiteHolen(handys.port(), ziel);
                QVERIFY2(!texte.last().startsWith(QLatin1String("<no")) && woerter(texte.last()).size() > 2,
                         ziel.constData());
            }
            const QStringList skript = skriptTexte(englisch);
            QVERIFY(skript.size() > 5);
            texte << skript;
        } else if (quelle == QLatin1String("exports")) {
            // The report's whole text; the tables and the save dialogs are checked word for word in
            // the exports' tests.
            Fragenkatalog katalog(dialoge);
            QVERIFY(katalog.ladeFragen(fragen).ok());
            Person person(7, 1);
            person.getAntwortDerFrage(1).setAntwort(1);
            texte << ohneAuszeichnung(pdfrangliste::html(Exportgrundlage::zusammenstellen(
                {person}, &katalog, 2, 2, QDateTime::fromMSecsSinceEpoch(h.uhr.epochMs()))));
        }
        for (const Meldung &meldung : std::as_const(dialoge.hinweise))
            texte << meldung.text << meldung.informativerText;
        QVERIFY(texte.join(QString()).size() > 20);

        // Fixed texts, the same in both languages: the names of two windows, the export dialogs'
        // titles, the placeholder web address, the file names of the sounds, and file paths (whose
        // folders are the machine's).
        static const QRegularExpression fest(
            QStringLiteral("Shortcut Keys|Go To|Export (?:PDF|CSV|XLSX)|"
                           "plenaro\\.example|\\b\\w+\\.wav\\b|\\S*(?:/[^\\s/]+)+"));
        const QSet<QString> fremdeWoerter = woerterNur(!englisch);
        QStringList fremd;
        for (QString text : std::as_const(texte)) {
            text.remove(fest);
            const QSet<QString> hier = woerter(text) & fremdeWoerter;
            if (!hier.isEmpty())
                fremd << QStringList(hier.cbegin(), hier.cend()).join(QLatin1Char(',')) +
                             QStringLiteral(" in: ") + text.left(160);
        }
        QVERIFY2(fremd.isEmpty(), qPrintable(fremd.join(QLatin1Char('\n'))));
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
        Hauptfenster h;
        const FragenEditor editor;
        const QStringList menues = menuePfade(h.erzeugen()) + menuePfade(editor);
        const QStringList genannt = genannteMenues(texteDer(*tutorial, "schritt").join(QLatin1Char('\n')));
        QVERIFY(!genannt.isEmpty());
        for (const QString &pfad : genannt)
            QVERIFY2(menues.contains(pfad), qPrintable(pfad));
        if (fenster == QLatin1String("einstellungen")) {
            OptionWindow optionen(h.ports, h.klang);
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
        static const QRegularExpression quelle(QStringLiteral("<img src=\"([^\"]+)\""));
        QStringList gezeigt;
        for (QLabel *label : tutorial->findChildren<QLabel *>(QStringLiteral("bild")))
            gezeigt.append(quelle.match(label->text()).captured(1));
        QCOMPARE(gezeigt, bilder);
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

PLENARO_SEITEN_TEST_MAIN(TestSprachkataloge)
#include "tst_sprachkataloge.moc"
