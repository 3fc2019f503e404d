#pragma once

#include "dialoge.h"

#include <QPointer>
#include <QWidget>

// Real message boxes and file dialogs, on top of the main window.
class MeldungsDialoge final : public Dialoge
{
public:
    explicit MeldungsDialoge(QWidget *eltern)
        : m_eltern(eltern)
    {
    }

    void hinweis(const Meldung &meldung) override;
    bool frage(const Meldung &meldung) override;
    Sichern sichern(const Meldung &meldung) override;
    QString dateiZumOeffnen(const QString &titel, const QString &verzeichnis, const QString &filter) override;
    QString dateiZumSpeichern(const QString &titel, const QString &vorschlag, const QString &filter) override;

private:
    QPointer<QWidget> m_eltern;
};
