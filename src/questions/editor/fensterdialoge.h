#pragma once

#include "dialoge.h"

#include <QPointer>
#include <QWidget>

// Real message boxes and file dialogs on top of one window, for a window that lives beside the
// main window. `titel` heads the next boxes; empty gives the program's name.
class FensterDialoge final : public Dialoge
{
public:
    explicit FensterDialoge(QWidget *fenster)
        : m_fenster(fenster)
    {
    }

    void hinweis(const Meldung &meldung) override;
    bool frage(const Meldung &meldung) override;
    Sichern sichern(const Meldung &meldung) override;
    QString dateiZumOeffnen(const QString &ueberschrift, const QString &verzeichnis,
                            const QString &filter) override;
    QString dateiZumSpeichern(const QString &ueberschrift, const QString &vorschlag,
                              const QString &filter) override;

    QString titel;

private:
    QPointer<QWidget> m_fenster;
};
