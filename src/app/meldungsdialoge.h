#pragma once

#include "dialoge.h"

#include <QPointer>
#include <QWidget>

// Real message boxes and file dialogs, on top of the main window, or of the teacher's own window
// while it is shown.
class MeldungsDialoge final : public Dialoge
{
public:
    explicit MeldungsDialoge(QWidget *eltern)
        : m_eltern(eltern)
    {
    }

    // While `fenster` is shown (the presenter's view on the laptop), the dialogs open over it: in
    // front of the teacher, and never over the page the class sees with the teacher's folders in it.
    void lehrerFensterSetzen(QWidget *fenster) { m_lehrerFenster = fenster; }
    // The window the dialogs open over now.
    QWidget *eltern() const;

    void hinweis(const Meldung &meldung) override;
    bool frage(const Meldung &meldung) override;
    Sichern sichern(const Meldung &meldung) override;
    QString dateiZumOeffnen(const QString &titel, const QString &verzeichnis, const QString &filter) override;
    QString dateiZumSpeichern(const QString &titel, const QString &vorschlag, const QString &filter) override;

private:
    QPointer<QWidget> m_eltern;
    QPointer<QWidget> m_lehrerFenster;
};
