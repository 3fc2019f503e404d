#include "hilfe.h"

#include "produkt.h"

#include <QLabel>
#include <QVBoxLayout>

Hilfe::Hilfe(QWidget *eltern)
    : QWidget(eltern)
{
    setWindowTitle(tr("Hilfe"));
    setWindowIcon(QIcon(QStringLiteral(":/images/corvanta.ico")));
    auto *text =
        new QLabel(tr("<h2>Plenaro</h2><p>Öffnen Sie eine Fragedatei, stecken Sie den USB-Empfänger ein "
                      "und starten Sie das Spiel mit der Leertaste.</p><p>Weitere Hilfe: "
                      "<a href=\"%1\">%1</a></p>")
                       .arg(QString::fromLatin1(Produkt::WebSeite)),
                   this);
    text->setOpenExternalLinks(true);
    text->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    resize(480, 220);
}
