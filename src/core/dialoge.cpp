#include "dialoge.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString Dialoge::startOrdner(const QString &gemerkt)
{
    const QFileInfo info(gemerkt);
    if (!gemerkt.isEmpty() && info.isDir() && !QDir(info.absoluteFilePath()).isRoot())
        return info.absoluteFilePath();
    // A file (a picture to choose again): the dialog opens beside it, with it chosen.
    if (!gemerkt.isEmpty() && !info.isDir() && info.absoluteDir().exists() && !info.absoluteDir().isRoot())
        return info.absoluteFilePath();
    const QString dokumente = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(dokumente).isDir() ? dokumente : QDir::homePath();
}

QString Dialoge::speicherOrt(const QString &vorschlag)
{
    const QFileInfo info(vorschlag);
    if (info.isAbsolute() && info.absoluteDir().exists() && !info.absoluteDir().isRoot())
        return vorschlag;
    return startOrdner(QString()) + QLatin1Char('/') + info.fileName();
}
