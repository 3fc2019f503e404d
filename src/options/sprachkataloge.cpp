#include "sprachkataloge.h"

#include "startregeln.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcSprache, "plenaro.sprache")

namespace Sprachkataloge {

namespace {

bool laden(QCoreApplication &app, const QString &name, const QString &ordner)
{
    auto *katalog = new QTranslator(&app);
    if (!katalog->load(name, ordner)) {
        qCWarning(lcSprache) << "Sprachkatalog nicht geladen:" << name << "in" << ordner;
        delete katalog;
        return false;
    }
    app.installTranslator(katalog);
    return true;
}

} // namespace

QStringList installieren(QCoreApplication &app, bool englisch)
{
    QStringList geladen;
    const QString qt = englisch ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_de");
    if (laden(app, qt, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        geladen.append(qt);
    const QString eigener = QString::fromLatin1(Startregeln::Uebersetzungskatalog) +
                            (englisch ? QStringLiteral("_en") : QStringLiteral("_de"));
    if (laden(app, eigener, QString::fromLatin1(Ressourcenordner)))
        geladen.append(eigener);
    return geladen;
}

} // namespace Sprachkataloge
