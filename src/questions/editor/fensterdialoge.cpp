#include "fensterdialoge.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

void einrichten(QMessageBox &box, const Meldung &meldung, const QString &titel)
{
    box.setWindowTitle(titel.isEmpty() ? QStringLiteral("Plenaro") : titel);
    if (!meldung.bild.isEmpty())
        box.setIconPixmap(QPixmap(meldung.bild));
    if (meldung.mitFensterIcon)
        box.setWindowIcon(QIcon(QStringLiteral(":/images/corvanta.ico")));
    box.setText(meldung.text);
    box.setInformativeText(meldung.informativerText);
}

} // namespace

void FensterDialoge::hinweis(const Meldung &meldung)
{
    QMessageBox box(m_fenster);
    einrichten(box, meldung, titel);
    box.exec();
}

bool FensterDialoge::frage(const Meldung &meldung)
{
    QMessageBox box(m_fenster);
    einrichten(box, meldung, titel);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

Dialoge::Sichern FensterDialoge::sichern(const Meldung &meldung)
{
    QMessageBox box(m_fenster);
    einrichten(box, meldung, titel);
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

QString FensterDialoge::dateiZumOeffnen(const QString &ueberschrift, const QString &verzeichnis,
                                        const QString &filter)
{
    return QFileDialog::getOpenFileName(m_fenster, ueberschrift, startOrdner(verzeichnis), filter);
}

QString FensterDialoge::dateiZumSpeichern(const QString &ueberschrift, const QString &vorschlag,
                                          const QString &filter)
{
    return QFileDialog::getSaveFileName(m_fenster, ueberschrift, vorschlag, filter);
}
