#include "tutorialfenster.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

QString TutorialFenster::bildPfad(const QString &datei)
{
    return QStringLiteral(":/images/") + datei;
}

TutorialFenster::TutorialFenster(QWidget *eltern)
    : QDialog(eltern)
{
    setWindowIcon(QIcon(QStringLiteral(":/images/corvanta.ico")));
    auto *raster = new QGridLayout(this);
    auto *rollen = new QScrollArea(this);
    rollen->setObjectName(QStringLiteral("scrollArea"));
    rollen->setWidgetResizable(true);
    auto *inhalt = new QWidget(rollen);
    inhalt->setObjectName(QStringLiteral("scrollAreaWidgetContents"));
    inhalt->setBackgroundRole(QPalette::Base);
    inhalt->setAutoFillBackground(true);
    m_spalte = new QVBoxLayout(inhalt);
    m_spalte->setContentsMargins(24, 16, 24, 16);
    m_spalte->setSpacing(10);
    rollen->setWidget(inhalt);
    raster->addWidget(rollen, 0, 0);
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
}
