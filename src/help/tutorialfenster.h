#pragma once

#include <QDialog>

class QScrollArea;
class QVBoxLayout;

// A tutorial page: a scrolled column of a heading, section headings, numbered steps and
// screenshots. The pages differ only in their content.
class TutorialFenster : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TutorialFenster)

public:
    // Where the screenshots live in the resources, one folder per language; the file names are
    // fixed, the screenshot tool writes them.
    static QString bildPfad(const QString &datei);

protected:
    explicit TutorialFenster(QWidget *eltern = nullptr);

    void ueberschrift(const QString &text);
    void abschnitt(const QString &text);
    void schritt(const QString &text);
    void bild(const QString &datei);
    // Closes the column; call once after the last piece.
    void fertig();

private:
    QScrollArea *m_rollen = nullptr;
    QWidget *m_inhalt = nullptr;
    QVBoxLayout *m_spalte = nullptr;
};
