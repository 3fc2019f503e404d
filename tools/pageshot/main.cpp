// pageshot PAGE OUT.png [--size WxH] [--zoom Z] [--statements FILE] [--wait MS]
//
// Loads PAGE from the file system, injects jQuery as the program does (`qt.jQuery`), runs the
// statements of FILE one per line (blank lines and lines starting with # are skipped; a line
// "wait N" pauses N ms so animations can run) and writes a screenshot of the view.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <cstdio>
#include <memory>

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(2);
    }
    return QString::fromUtf8(file.readAll());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addPositionalArgument("page", "HTML page");
    parser.addPositionalArgument("out", "PNG file to write");
    parser.addOption({"size", "view size", "WxH", "1920x1080"});
    parser.addOption({"zoom", "zoom factor", "Z", "1.0"});
    parser.addOption({"statements", "statements to run, one per line", "FILE"});
    parser.addOption({"wait", "milliseconds to wait before the screenshot", "MS", "600"});
    parser.addOption({"jquery", "jQuery file", "FILE", "/usr/share/javascript/jquery/jquery.min.js"});
    parser.addHelpOption();
    parser.process(app);
    if (parser.positionalArguments().size() != 2)
        parser.showHelp(2);

    const QString page = parser.positionalArguments().at(0);
    const QString out = parser.positionalArguments().at(1);
    const QStringList size = parser.value("size").split('x');
    const QString injection = readText(parser.value("jquery"))
                              + "\nvar qt = { 'jQuery': jQuery.noConflict(true) };";
    QStringList statements;
    if (parser.isSet("statements"))
        statements = readText(parser.value("statements")).split('\n');

    QWebEngineView view;
    view.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    view.resize(size.value(0).toInt(), size.value(1).toInt());
    view.show();

    auto remaining = std::make_shared<QStringList>(statements);
    auto runNext = std::make_shared<std::function<void()>>();
    *runNext = [&, remaining, runNext]() {
        while (!remaining->isEmpty()) {
            const QString line = remaining->takeFirst().trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            if (line.startsWith("wait ")) {
                QTimer::singleShot(line.mid(5).toInt(), &app, [runNext]() { (*runNext)(); });
                return;
            }
            view.page()->runJavaScript(line + "; null");
        }
        QTimer::singleShot(parser.value("wait").toInt(), &app, [&]() {
            if (!view.grab().save(out)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
                app.exit(1);
                return;
            }
            app.exit(0);
        });
    };

    QObject::connect(&view, &QWebEngineView::loadFinished, &app, [&, runNext](bool ok) {
        if (!ok)
            std::fprintf(stderr, "page did not load completely\n");
        view.setZoomFactor(parser.value("zoom").toDouble());
        view.page()->runJavaScript(injection);
        (*runNext)();
    });
    view.load(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    return app.exec();
}
