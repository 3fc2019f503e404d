#pragma once

#include "einstellungen.h"
#include "person.h"
#include "schluessel.h"
#include "templatesplenaro.h"

#include "testeinstellungen.h"

#include <QDomDocument>
#include <QImage>
#include <QTemporaryDir>

// Settings in a temporary folder, a question element built in memory, and pictures of known height
// beside a question file.
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
    // `antworten` are Answer1, Answer2, …; an empty solution or time is left out.
    QDomElement frage(const QString &text, const QStringList &antworten, const QString &loesung = {},
                      const QString &zeit = {}, QList<QPair<QString, QString>> mehr = {})
    {
        mehr.prepend({QStringLiteral("QuestionText"), text});
        for (int i = 0; i < antworten.size(); ++i)
            mehr.append({QStringLiteral("Answer%1").arg(i + 1), antworten[i]});
        if (!loesung.isEmpty())
            mehr.append({QStringLiteral("Solution"), loesung});
        if (!zeit.isEmpty())
            mehr.append({QStringLiteral("Time"), zeit});
        return frage(mehr);
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
    TestEinstellungen m_einstellungen;
    QTemporaryDir m_ordner;
    QDomDocument m_dokument;
};

// A question and its answers, as the game shows them.
inline void zeigen(templatesPlenaro &vorlage, const QDomElement &frage, int nummer = 1)
{
    vorlage.frageAnzeigen(frage, nummer);
    vorlage.antwortenAnzeigen(frage);
}

// A participant with evaluated answers of the given points and times (ms).
inline Person teilnehmer(uint buzzer, uint klassensatz, const QList<QPair<int, double>> &antworten)
{
    Person person(buzzer, klassensatz);
    int frage = 1;
    for (const auto &[punkte, zeit] : antworten) {
        AntwortDerPerson &antwort = person.getAntwortDerFrage(frage++);
        antwort.setPunkte(punkte);
        antwort.setAntwortszeit(zeit);
        antwort.setAusgewertet(true);
    }
    return person;
}
