#include "tutorialfenster.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

#include <QVBoxLayout>
#include <algorithm>

QString TutorialFenster::bildPfad(const QString &datei)
{
    // The pictures follow the catalogue the texts come from, not the setting: after a change in
    // the options that names the language of the next start.
    return QStringLiteral(":/tutorial/%1/%2")
        .arg(tr("de", "folder of the tutorial pictures: de or en"), datei);
}

TutorialFenster::TutorialFenster(QWidget *eltern)
    : QDialog(eltern)
{
    setWindowIcon(QIcon(QStringLiteral(":/images/corvanta.ico")));
    auto *raster = new QGridLayout(this);
    m_rollen = new QScrollArea(this);
    m_rollen->setObjectName(QStringLiteral("scrollArea"));
    m_rollen->setWidgetResizable(true);
    m_inhalt = new QWidget(m_rollen);
    m_inhalt->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    m_inhalt->setBackgroundRole(QPalette::Base);
    m_inhalt->setAutoFillBackground(true);
    m_spalte = new QVBoxLayout(m_inhalt);
    m_spalte->setContentsMargins(24, 16, 24, 16);
    m_spalte->setSpacing(10);
    m_rollen->setWidget(m_inhalt);
    raster->addWidget(m_rollen, 0, 0);
    resize(900, 760);
}

void TutorialFenster::ueberschrift(const QString &text)
{
    auto *label = new QLabel(QStringLiteral("<h1>%1</h1>").arg(text.toHtmlEscaped()));
    label->setObjectName(QStringLiteral("ueberschrift"));
    m_spalte->addWidget(label);
}

void TutorialFenster::abschnitt(const QString &text)
{
    auto *label = new QLabel(QStringLiteral("<h3>%1</h3>").arg(text.toHtmlEscaped()));
    label->setObjectName(QStringLiteral("abschnitt"));
    m_spalte->addWidget(label);
}

void TutorialFenster::schritt(const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(QStringLiteral("schritt"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    m_spalte->addWidget(label);
}

void TutorialFenster::bild(const QString &datei)
{
    auto *label = new QLabel(QStringLiteral("<p><img src=\"%1\"></p>").arg(bildPfad(datei)));
    label->setObjectName(QStringLiteral("bild"));
    label->setTextFormat(Qt::RichText);
    m_spalte->addWidget(label);
}

void TutorialFenster::fertig()
{
    m_spalte->addStretch(1);
    // The widest picture sets the width, beside the scroll bar the column always needs: a tutorial
    // scrolls down, never sideways.
    const QMargins rand = layout()->contentsMargins();
    const int breite = m_inhalt->sizeHint().width() + m_rollen->verticalScrollBar()->sizeHint().width() +
                       2 * m_rollen->frameWidth() + rand.left() + rand.right();
    resize(std::max(width(), breite), height());
}
