#include "fortschrittsdialog.h"

#include "einstellungen.h"

FortschrittsDialog::FortschrittsDialog(QWidget *eltern, const QString &text)
    : m_eltern(eltern)
    , m_text(text)
{
    // No dialog yet: a progress dialog starts its show timer when it is made, and the file dialog
    // may stay open for a long time before the export reports for the first time. Shown over it,
    // the progress dialog would take the focus and leave only Cancel.
}

FortschrittsDialog::~FortschrittsDialog()
{
    delete m_dialog.data();
}

bool FortschrittsDialog::weiter(int prozent)
{
    if (!m_begonnen) {
        m_begonnen = true;
        if (!m_eltern)
            return false;
        m_dialog = new QProgressDialog(
            m_text, Einstellungen::meldung(QStringLiteral("Abbrechen"), QStringLiteral("Cancel")), 0, 100,
            m_eltern);
        // Window-modal: the dialog's own updates keep the window painted and the Cancel button
        // alive while the export runs on this thread.
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setMinimumDuration(500);
        m_dialog->setAutoReset(false);
        m_dialog->setAutoClose(false);
    }
    if (!m_dialog)
        return false;
    m_dialog->setValue(prozent);
    return !m_dialog->wasCanceled();
}
