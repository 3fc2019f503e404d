#pragma once

#include "exportfortschritt.h"

#include <QPointer>
#include <QProgressDialog>
#include <QString>

// The progress of an export in a window-modal dialog with a Cancel button. It only appears when
// the export takes longer than half a second.
class FortschrittsDialog final : public ExportFortschritt
{
public:
    FortschrittsDialog(QWidget *eltern, const QString &text);
    ~FortschrittsDialog() override;

    bool weiter(int prozent) override;

private:
    QPointer<QWidget> m_eltern;
    QString m_text;
    bool m_begonnen = false;
    // Owned, unless the window goes first and takes it along.
    QPointer<QProgressDialog> m_dialog;
};
