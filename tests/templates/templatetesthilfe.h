#pragma once

#include "einstellungen.h"
#include "schluessel.h"

#include <QDomDocument>
#include <QImage>
#include <QTemporaryDir>

// A question element built in memory, and pictures of known height beside a question file.
class FragenBau
{
public:
    FragenBau()
    {
        Einstellungen::setzen(Schluessel::FrageFile, m_ordner.filePath(QStringLiteral("fragen.xml")));
    }

    QDomElement frage(const QList<QPair<QString, QString>> &felder)
    {
        QDomElement frage = m_dokument.createElement(QStringLiteral("Question"));
        for (const auto &[name, wert] : felder) {
            QDomElement feld = m_dokument.createElement(name);
            feld.appendChild(m_dokument.createTextNode(wert));
            frage.appendChild(feld);
        }
        return frage;
    }

    // A picture `hoehe` pixels high next to the question file; returns its stored (relative) name.
    QString bild(const QString &name, int hoehe)
    {
        QImage bild(40, hoehe, QImage::Format_RGB32);
        bild.fill(Qt::blue);
        bild.save(m_ordner.filePath(name));
        return name;
    }
    QString url(const QString &name) const { return QLatin1String("file:") + m_ordner.filePath(name); }

private:
    QTemporaryDir m_ordner;
    QDomDocument m_dokument;
};
