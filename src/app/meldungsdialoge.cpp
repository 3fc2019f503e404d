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

} // namespace

void MeldungsDialoge::hinweis(const Meldung &meldung)
{
    QMessageBox box(m_eltern);
    einrichten(box, meldung);
    box.exec();
}

bool MeldungsDialoge::frage(const Meldung &meldung)
{
    QMessageBox box(m_eltern);
    einrichten(box, meldung);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    // The default button also takes the focus: Return and Space both answer with it.
    box.setDefaultButton(meldung.jaAlsVorgabe ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

Dialoge::Sichern MeldungsDialoge::sichern(const Meldung &meldung)
{
    QMessageBox box(m_eltern);
    einrichten(box, meldung);
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
    return QFileDialog::getOpenFileName(m_eltern, titel, startOrdner(verzeichnis), filter);
}

QString MeldungsDialoge::dateiZumSpeichern(const QString &titel, const QString &vorschlag,
                                           const QString &filter)
{
    return QFileDialog::getSaveFileName(m_eltern, titel, vorschlag, filter);
}
