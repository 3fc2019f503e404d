#include "meldungsdialoge.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

void einrichten(QMessageBox &box, const Meldung &meldung)
{
    box.setWindowTitle(QStringLiteral("Plenaro"));
    if (!meldung.bild.isEmpty())
        box.setIconPixmap(QPixmap(meldung.bild));
    if (meldung.mitFensterIcon)
        box.setWindowIcon(QIcon(QStringLiteral(":/images/corvanta.ico")));
    box.setText(meldung.text);
    box.setInformativeText(meldung.informativerText);
}

// A dialog opens on the screen of the window it belongs to. Made on another screen and moved there,
// it stays blank where each screen is a display of its own (a projector set up as a second X
// screen).
void aufSchirmDesFensters(QWidget &dialog, const QWidget *eltern)
{
    if (eltern && eltern->screen())
        dialog.setScreen(eltern->screen());
}

QString dateiWaehlen(QWidget *eltern, const QString &titel, const QString &start, const QString &filter,
                     QFileDialog::AcceptMode art)
{
    QFileDialog dialog(eltern, titel, start, filter);
    dialog.setAcceptMode(art);
    dialog.setFileMode(art == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    aufSchirmDesFensters(dialog, eltern);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

QWidget *MeldungsDialoge::eltern() const
{
    if (m_lehrerFenster && m_lehrerFenster->isVisible() && !m_lehrerFenster->isMinimized())
        return m_lehrerFenster;
    return m_eltern;
}

void MeldungsDialoge::hinweis(const Meldung &meldung)
{
    QMessageBox box(eltern());
    einrichten(box, meldung);
    aufSchirmDesFensters(box, eltern());
    box.exec();
}

bool MeldungsDialoge::frage(const Meldung &meldung)
{
    QMessageBox box(eltern());
    einrichten(box, meldung);
    aufSchirmDesFensters(box, eltern());
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    // The default button also takes the focus: Return and Space both answer with it.
    box.setDefaultButton(meldung.jaAlsVorgabe ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Dialoge::Sichern MeldungsDialoge::sichern(const Meldung &meldung)
{
    QMessageBox box(eltern());
    einrichten(box, meldung);
    aufSchirmDesFensters(box, eltern());
    if (meldung.bild.isEmpty())
        box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return Sichern::Speichern;
    case QMessageBox::Discard:
        return Sichern::Verwerfen;
    default:
        return Sichern::Abbrechen;
    }
}

QString MeldungsDialoge::dateiZumOeffnen(const QString &titel, const QString &verzeichnis,
                                         const QString &filter)
{
    return dateiWaehlen(eltern(), titel, startOrdner(verzeichnis), filter, QFileDialog::AcceptOpen);
}

QString MeldungsDialoge::dateiZumSpeichern(const QString &titel, const QString &vorschlag,
                                           const QString &filter)
{
    return dateiWaehlen(eltern(), titel, speicherOrt(vorschlag), filter, QFileDialog::AcceptSave);
}
