#pragma once

#include "geraetschluessel.h"
#include "skriptbruecke.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <optional>

class Uhr;

// The page shown before a game: three steps to get going, a tick when the receiver is found and a
// grid of 60 handset icons that light up as handsets report in.
class startscreen final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(startscreen)

public:
    startscreen(SkriptBruecke &bruecke, Uhr &uhr, QObject *eltern = nullptr);
    // Without a bridge until `brueckeSetzen`: statements go nowhere, as into a view that has not
    // loaded a page.
    explicit startscreen(Uhr &uhr, QObject *eltern = nullptr);

    void brueckeSetzen(SkriptBruecke *bruecke);
    void loadHTML();
    void templateSetzen(const QString &name);
    // Fits the zoom so the icon table fills about two thirds of the screen width.
    void tabelleEinpassen();
    // The width of the screen the class sees the page on, where it is not the primary screen (a
    // projector beside the laptop); 0 for the primary one. Fitted to the laptop's width, the page
    // on a wider projector would never settle on a zoom.
    void schirmbreiteSetzen(int breite);
    void geraeteIDAnzeigen(uint klassensatz, uint buzzerNo, uint buttonNo);
    void iconEmpfaengerErkanntAnzeigen();
    void iconEmpfaengerErkanntVerbergen();
    void alleGeraeteVerbergen();
    // The box beside the grid that tells how phones join: the picture of `qrSvg` (a standalone
    // SVG), the address and the join code. It stays shown until hidden, also across a reload.
    void handyBeitrittZeigen(const QString &adresse, const QString &code, const QString &qrSvg);
    void handyBeitrittVerbergen();
    void senderAnimationNeuStarten();

    QString variante() const { return m_startScreenVariante; }

public slots:
    void updateSenderTimer();
    // A page that finished loading after the look was chosen gets the look again.
    void seiteGeladen();

private:
    void ausfuehren(const Anweisung &anweisung) { m_bruecke->ausfuehren(anweisung); }
    void iconZeigen(uint buzzerNo);
    void handysZeigen();

    Uhr &m_uhr;
    // Never null.
    SkriptBruecke *m_bruecke = &SkriptBruecke::ohneSeite();
    Antwortwache m_wache;
    QString m_startScreenVariante;
    int m_schirmbreite = 0;
    QSet<GeraetSchluessel> m_gemeldeteGeraete;
    QHash<uint, qint64> m_letztesWippen;
    QSet<uint> m_leuchtend; // icons lit since the last reset
    QSet<uint> m_handys;    // phones that reported in since the last reset
    bool m_empfaengerIcon = false;
    struct HandyBeitritt
    {
        QString adresse;
        QString code;
        QString qrSvg;
    };
    std::optional<HandyBeitritt> m_handyBeitritt;
};
