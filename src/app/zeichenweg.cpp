#include "zeichenweg.h"

#include "startregeln.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace Zeichenweg {

namespace {

QString openGlRenderer()
{
    QOffscreenSurface flaeche;
    flaeche.create();
    QOpenGLContext kontext;
    if (!kontext.create() || !kontext.makeCurrent(&flaeche))
        return {};
    const auto *name = reinterpret_cast<const char *>(kontext.functions()->glGetString(GL_RENDERER));
    QString renderer = name ? QString::fromLatin1(name) : QString();
    kontext.doneCurrent();
    return renderer;
}

} // namespace

QString waehlen()
{
    const bool verlangt = qgetenv("QT_QUICK_BACKEND") == "software";
    const QString renderer = verlangt ? QString() : openGlRenderer();
    if (!verlangt && !Startregeln::softwareZeichnen(renderer))
        return renderer;
    // Emulated OpenGL composites every frame on the window's thread: on a busy machine that is
    // most of its time, and the engine's pages and pictures wait for it. Software drawing in both
    // the window and the engine costs a fraction.
    qputenv("QT_QUICK_BACKEND", "software");
    const QByteArray schalter = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!schalter.contains("--disable-gpu"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (schalter + " --disable-gpu").trimmed());
    return QStringLiteral("Software (%1)").arg(renderer.isEmpty() ? QStringLiteral("ohne OpenGL") : renderer);
}

} // namespace Zeichenweg
