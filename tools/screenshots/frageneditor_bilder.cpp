// Screenshots of the question editor with the sample questions, German and English:
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/plenaro-editor-screenshots <folder>
// The program reads the samples beside its "bin" folder and never writes to them.
#include "dialogrekorder.h"
#include "einstellungen.h"
#include "fragedatei.h"
#include "frageneditor.h"
#include "schluessel.h"
#include "testeinstellungen.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>

namespace {

void warten(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

bool aufnehmen(QWidget &fenster, const QString &datei)
{
    warten(300);
    if (!fenster.grab().save(datei)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(datei));
        return false;
    }
    std::printf("%s\n", qPrintable(datei));
    return true;
}

// The first question that has pictures for its answers, to show the picture slots in use.
int frageMitBildern(const FragenEditor &editor)
{
    for (int i = 0; i < editor.anzahlDerFragen(); ++i) {
        if (!FrageDatei::feld(editor.frage(i), QStringLiteral("PictureAnswer1")).isEmpty())
            return i;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        std::fprintf(stderr, "usage: plenaro-editor-screenshots <folder>\n");
        return 2;
    }
    const QDir ziel(app.arguments().at(1));
    QDir().mkpath(ziel.path());
    TestEinstellungen einstellungen;
    DialogRekorder dialoge;
    QDir beispiele(QCoreApplication::applicationDirPath());
    beispiele.cd(QStringLiteral("../examples"));

    bool ok = true;
    for (const QString &sprache : {QStringLiteral("DE"), QStringLiteral("EN")}) {
        const bool englisch = sprache == QStringLiteral("EN");
        Einstellungen::setzen(Schluessel::InstallerLanguage,
                              englisch ? QStringLiteral("1033") : QStringLiteral("1031"));
        const QString name = QStringLiteral("frageneditor_%1").arg(sprache.toLower());

        Einstellungen::setzen(Schluessel::FrageFile,
                              beispiele.filePath(sprache + QStringLiteral("/BspFragen.xml")));
        {
            FragenEditor editor(&dialoge);
            editor.show();
            editor.editorInitialisieren();
            ok &= aufnehmen(editor, ziel.filePath(name + QStringLiteral("_frage1.png")));
            editor.findChild<QComboBox *>(QStringLiteral("comboBox_Frage"))
                ->setCurrentIndex(frageMitBildern(editor));
            ok &= aufnehmen(editor, ziel.filePath(name + QStringLiteral("_bilder.png")));
        }
        Einstellungen::setzen(Schluessel::FrageFile, QString());
        {
            FragenEditor editor(&dialoge);
            editor.show();
            editor.editorInitialisieren();
            ok &= aufnehmen(editor, ziel.filePath(name + QStringLiteral("_ohne_datei.png")));
        }
    }
    return ok ? 0 : 1;
}
