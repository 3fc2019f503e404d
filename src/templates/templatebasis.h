#pragma once

#include "anweisung.h"
#include "bildpfad.h"
#include "geraetschluessel.h"
#include "skriptbruecke.h"
#include "templatesplenaro.h"

#include <QSet>

#include <array>

#include <optional>

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

// A picture as a page gets it: its source and the height to show it at.
struct Bild
{
    SkriptText quelle;
    int hoehe = 0;
};

// The four answers of a question, A to D: escaped texts and pictures.
struct Antworten
{
    QList<SkriptText> texte;
    QList<std::optional<Bild>> bilder;
    // An answer is there when it has a text or a picture.
    bool vorhanden(int i) const { return !texte.at(i).isEmpty() || bilder.at(i).has_value(); }
};

// What the three question templates share.
class TemplateBasis : public templatesPlenaro
{
public:
    explicit TemplateBasis(SkriptBruecke &bruecke);

    void pauseFeldLesen(std::function<void(const PauseFeld &)> weiter) override;
    void ersteRundeAnzeigen(const QList<double> &prozente) override { m_ersteRunde = prozente; }

protected:
    // The view starts without history and with the template's page. Pages are addressed as
    // "qrc:/template/…": only this form lets the web engine resolve the pages' "../images/…".
    void seiteOeffnen(const QString &seite, double zoom);
    void ausfuehren(const Anweisung &anweisung) { m_bruecke.ausfuehren(anweisung); }
    // Reads a value from the page; `weiter` is not called once this template is gone.
    void auswerten(const Anweisung &ausdruck, std::function<void(const QVariant &)> weiter);

    // The picture of a question field, resolved against the open question file, at most
    // `maxHoehe` high. A picture that cannot be read becomes a placeholder naming the file, so the
    // presenter sees what is missing instead of a gap.
    static std::optional<Bild> bild(const QDomNode &frage, const QString &feld, int maxHoehe);
    // Escaped text of a question field; the numeric ones ("Time") as well, as they stand.
    static SkriptText text(const QDomNode &frage, const QString &feld);
    static Antworten antworten(const QDomNode &frage, int maxBildHoehe);
    static bool einstellung(const QString &schluessel);
    // A word the program writes into a page, in the interface language.
    static SkriptText wort(const SkriptText &deutsch, const SkriptText &englisch);
    // Countdown bar length in percent, "93.3333".
    static SkriptText balken(int rest, int laenge);
    // Percentage with one decimal, "33.3".
    static SkriptText prozent(double wert);
    // Zoom fit of the templates designed for a 950 px high view.
    void zoomAnpassen950();
    // The element of the page the pause sign may cover (see PauseFeld).
    virtual SkriptText pauseElement() const = 0;
    virtual bool pauseUnten() const { return false; }
    // A new question: the page forgets the first round of the last one.
    void rundenZuruecksetzen();
    // For the result of a question answered twice: writes the legend naming the rounds and gives
    // the stage the class "zweiRunden", under which the page draws the first round beside the
    // second. False, and the page untouched, for a question answered once.
    bool zweiRundenZeigen();

    SkriptBruecke &m_bruecke;
    Stimmenzaehler m_stimmen;
    // Answers of the page that come after this template is gone reach nobody.
    Antwortwache m_wache;
    // The first round's shares A to D of the question on show; empty when it was answered once.
    QList<double> m_ersteRunde;
};

inline const std::array<SkriptText, 4> Buchstaben{"A", "B", "C", "D"};
inline const std::array<SkriptText, 4> KleinBuchstaben{"a", "b", "c", "d"};
