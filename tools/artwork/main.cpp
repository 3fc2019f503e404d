#include "artwork.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QTextStream>

#include <cstdlib>

namespace artwork {

std::vector<Registration> &registry()
{
    static std::vector<Registration> generators;
    return generators;
}

void save(const QImage &image, const QString &path, const char *format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, format);
    if (!writer.write(image)) {
        QTextStream(stderr) << "cannot write " << path << ": " << writer.errorString() << '\n';
        std::exit(1);
    }
}

} // namespace artwork

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: artwork <repository root> [generator ...]\n";
        return 2;
    }
    const QDir root(args.at(1));
    const QStringList wanted = args.mid(2);
    int run = 0;
    for (const auto &generator : artwork::registry()) {
        if (!wanted.isEmpty() && !wanted.contains(generator.name))
            continue;
        QTextStream(stdout) << "generating " << generator.name << '\n';
        generator.run(root);
        ++run;
    }
    if (run == 0) {
        QTextStream(stderr) << "no generator matched\n";
        return 1;
    }
    return 0;
}
