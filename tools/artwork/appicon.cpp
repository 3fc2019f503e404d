// "appicon" generator: the application icon for desktop menus, in the hicolor theme's sizes and as SVG.
// The drawing is the window icon's; small sizes get its simplified variant.

#include "artwork.h"
#include "icons.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSvgGenerator>
#include <QTextStream>

#include <cstdlib>

namespace {

// The icon's name in the theme is the program's desktop id, as the menu entry asks for it.
const QString kName = QStringLiteral("example.plenaro.Plenaro");

QByteArray svg()
{
    QByteArray data;
    QBuffer buffer(&data);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(int(icons::kGrid), int(icons::kGrid)));
    generator.setViewBox(QRectF(0, 0, icons::kGrid, icons::kGrid));
    generator.setTitle(QStringLiteral("Plenaro"));
    generator.setDescription(QStringLiteral("A handset with four answer keys"));
    QPainter p(&generator);
    p.setRenderHints(QPainter::Antialiasing);
    // The large drawing: a scalable icon is mostly shown big (software centres, overviews).
    icons::applicationIconMotif(256)(p);
    p.end();
    return data;
}

void generateAppIcon(const QDir &root)
{
    const QString hicolor = root.filePath(QStringLiteral("packaging/icons/hicolor"));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        artwork::save(icons::applicationIcon(size),
                      QStringLiteral("%1/%2x%2/apps/%3.png").arg(hicolor).arg(size).arg(kName), "png");
    }

    const QString path = QStringLiteral("%1/scalable/apps/%2.svg").arg(hicolor, kName);
    const QByteArray data = svg();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (data.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(data) != data.size() ||
        !file.flush()) {
        QTextStream(stderr) << "cannot write " << path << ": " << file.errorString() << '\n';
        std::exit(1);
    }
}

const artwork::Register registration("appicon", &generateAppIcon);

} // namespace
