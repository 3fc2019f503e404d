// "icons" generator: the program's menu icons, message-box pictures, window icon and template badges.

#include "icons.h"
#include "artwork.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdlib>

namespace {

using namespace icons;

struct MenuIcon
{
    const char *file;
    Motif motif;
    int size = 64;
};

void writeBytes(const QByteArray &data, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        QTextStream(stderr) << "cannot write " << path << ": " << file.errorString() << '\n';
        std::exit(1);
    }
}

void generateIcons(const QDir &root)
{
    const QString images = root.filePath(QStringLiteral("resources/images"));
    const auto out = [&](const QString &name) {
        return images + QLatin1Char('/') + name;
    };

    const MenuIcon menu[] = {
        {"fileopen.png", fileOpen},
        {"filesave.png", fileSave},
        {"frageneditor2.png", questionEditor},
        {"frageneditor_50.png", questionEditor, 50},
        {"option.png", gear},
        {"application-exit.png", exitDoor},
        {"rangliste.png", ranking},
        {"rangliste_pdf.png", rankingPdf},
        {"rangliste_csv.png", rankingCsv},
        {"restart.png", restart},
        {"start.png", play},
        {"next.png", skipForward},
        {"back.png", back},
        {"goto.png", gotoMarker},
        {"Zoom_Plus.png", zoomIn},
        {"Zoom_Minus.png", zoomOut},
        {"Zoom_Full.png", zoomFull},
        {"Zoom_Normal.png", zoomNormal},
        {"Plenaro_Webseite.png", globe},
        {"shortcut.png", keyboard},
        {"tutorials_folder.png", tutorialsFolder},
        {"document_reload.png", documentReload, 32},
        {"document_reload_64.png", documentReload},
        {"info.png", info},
    };
    for (const MenuIcon &icon : menu)
        artwork::save(render(icon.motif, icon.size), out(QLatin1String(icon.file)), "png");

    QList<QImage> windowIcon;
    for (int size : {16, 32, 48, 256})
        windowIcon << applicationIcon(size);
    writeBytes(icoFile(windowIcon), out(QStringLiteral("corvanta.ico")));
    artwork::save(windowIcon.last(), out(QStringLiteral("plenaro_256.png")), "png");

    artwork::save(usbOk(), out(QStringLiteral("usb ok.png")), "png");
    // Leaf greens of the nature template: each letter its own shade, all dark enough for a white letter.
    const struct
    {
        const char *letter;
        QColor face;
        QColor rim;
    } letters[] = {
        {"A", {0x2e, 0x8b, 0x3e}, {0x1a, 0x5c, 0x26}},
        {"B", {0x6c, 0xa0, 0x27}, {0x46, 0x6b, 0x15}},
        {"C", {0x1f, 0x85, 0x6b}, {0x10, 0x58, 0x46}},
        {"D", {0x2c, 0x6a, 0x2e}, {0x17, 0x44, 0x19}},
    };
    for (const auto &badge : letters) {
        artwork::save(letterBadge(QLatin1String(badge.letter), badge.face, badge.rim),
                      out(QStringLiteral("%1_mit_Rand.png").arg(QLatin1String(badge.letter))), "png");
    }
    artwork::save(checkGreen(), out(QStringLiteral("haken_gruen.png")), "png");
    artwork::save(checkInCircle(), out(QStringLiteral("hake_kahoot.png")), "png");
    // Same colours as the answer bars the marks sit under.
    const struct
    {
        const char *name;
        QColor colour;
    } bars[] = {
        {"rot", {0xe2, 0x1b, 0x3c}},
        {"blau", {0x13, 0x68, 0xce}},
        {"gelb", {0xd8, 0x9e, 0x00}},
        {"gruen", {0x29, 0x8f, 0x0d}},
    };
    for (const auto &bar : bars)
        artwork::save(checkColoured(bar.colour),
                      out(QStringLiteral("hake_kahoot_%1.png").arg(QLatin1String(bar.name))), "png");
}

const artwork::Register registration("icons", &generateIcons);

} // namespace
