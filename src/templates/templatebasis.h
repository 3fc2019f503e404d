#pragma once

#include "bildpfad.h"
#include "geraetschluessel.h"
#include "skriptbruecke.h"
#include "templatesplenaro.h"

#include <QSet>

#include <memory>

// Counts each handset once per question.
class Stimmenzaehler final
{
public:
    // True when the handset is new in this question.
    bool zaehlen(uint klassensatz, uint buzzerNo);
    void leeren();
    int anzahlStimmen() const { return m_anzahlStimmen; }

private:
    int m_anzahlStimmen = 0;
    QSet<GeraetSchluessel> m_gemeldeteGeraete;
};

// The four answers of a question: escaped texts and resolved pictures, A to D.
struct Antworten
{
    QStringList texte;
    QList<BildPfad::Quelle> bilder;
    // An answer is there when it has a text or a picture.
    bool vorhanden(int i) const { return !texte.at(i).isEmpty() || !bilder.at(i).isEmpty(); }
};

// What the three question templates share.
class TemplateBasis : public templatesPlenaro
{
public:
    explicit TemplateBasis(SkriptBruecke &bruecke);

protected:
    // The view starts without history and with the template's page. Pages are addressed as
    // "qrc:/template/…": only this form lets the web engine resolve the pages' "../images/…".
    void seiteOeffnen(const QString &seite, double zoom);
    void ausfuehren(const QString &anweisung) { m_bruecke.ausfuehren(anweisung); }
    // Reads a value from the page; `weiter` is not called once this template is gone.
    void auswerten(const QString &ausdruck, std::function<void(const QVariant &)> weiter);

    // The picture of a question field resolved against the open question file.
    static BildPfad::Quelle bild(const QDomNode &frage, const QString &feld);
    // Pixel height of a picture; 0 when it cannot be read.
    static int bildHoehe(const BildPfad::Quelle &quelle);
    // Escaped text of a question field.
    static QString text(const QDomNode &frage, const QString &feld);
    static Antworten antworten(const QDomNode &frage);
    static bool einstellung(const QString &schluessel);
    // Countdown bar length in percent, "93.3333".
    static QString balken(int rest, int laenge);
    // Percentage with one decimal, "33.3".
    static QString prozent(double wert);
    // Zoom fit of the templates designed for a 950 px high view.
    void zoomAnpassen950();

    SkriptBruecke &m_bruecke;
    Stimmenzaehler m_stimmen;

private:
    std::shared_ptr<bool> m_lebt = std::make_shared<bool>(true);
};

inline const QStringList Buchstaben{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                    QStringLiteral("D")};
