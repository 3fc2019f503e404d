#include "shortcutkeys.h"

#include "ui_shortcutkeys.h"

#include "einstellungen.h"
#include "schluessel.h"

#include <QLabel>

shortcutkeys::shortcutkeys(QWidget *eltern)
    : QWidget(eltern)
    , ui(std::make_unique<Ui::shortcutkeys>())
{
    ui->setupUi(this);
    if (Einstellungen::zahl(Schluessel::DesktopWidth) <= 2000)
        resize(800, 600);

    // Header and the first row grey, then white and grey alternately, row by row.
    const QString grau = QStringLiteral("background-color: #e8e8e9;");
    const QString weiss = QStringLiteral("background-color: #ffffff;");
    for (int zeile = 0; zeile < ui->tabelle->rowCount(); ++zeile) {
        const QString farbe = zeile < 2 ? grau : (zeile % 2 == 0 ? weiss : grau);
        for (int spalte = 0; spalte < 2; ++spalte) {
            auto *zelle = qobject_cast<QLabel *>(ui->tabelle->itemAtPosition(zeile, spalte)->widget());
            if (!zelle)
                continue;
            const bool ersteZeileRechts = zeile == 0 && spalte == 1;
            zelle->setStyleSheet(ersteZeileRechts ? grau + QLatin1String(" margin-left: 0;") : farbe);
            if (zeile == 0)
                zelle->setStyleSheet(zelle->styleSheet() + QLatin1String(" font-weight: bold;"));
        }
    }
}

shortcutkeys::~shortcutkeys() = default;
