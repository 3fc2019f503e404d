#include "fortschrittsdialog.h"

#include "einstellungen.h"

FortschrittsDialog::FortschrittsDialog(QWidget *eltern, const QString &text)
    : m_dialog(new QProgressDialog(
          text, Einstellungen::meldung(QStringLiteral("Abbrechen"), QStringLiteral("Cancel")), 0, 100,
          eltern))
{
    // Window-modal: the dialog's own updates keep the window painted and the Cancel button alive
    // while the export runs on this thread.
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(500);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    // The half second starts with the export's first report (0 %), not now: the file dialog may
    // stay open for a long time before.
}

FortschrittsDialog::~FortschrittsDialog()
{
    delete m_dialog.data();
}

bool FortschrittsDialog::weiter(int prozent)
{
    if (!m_dialog)
        return false;
    m_dialog->setValue(prozent);
    return !m_dialog->wasCanceled();
}
