#include "goto.h"

#include "ui_goto.h"

#include "einstellungen.h"
#include "schluessel.h"

#include <QIntValidator>

goTo::goTo(QWidget *eltern)
    : QWidget(eltern)
    , ui(std::make_unique<Ui::goTo>())
{
    ui->setupUi(this);
    ui->lineEdit_Fragenummer->setValidator(new QIntValidator(0, 9999, this));
    // Placed in the middle of the screen, where the presenter looks.
    const int w = Einstellungen::zahl(Schluessel::DesktopWidth);
    const int h = Einstellungen::zahl(Schluessel::DesktopHeight);
    if (w > 0 && h > 0)
        setGeometry(3 * (w / 8) + w / 16, h / 2, int(w / 6.8), h / 11);
    // Return in the field jumps like the button does.
    connect(ui->lineEdit_Fragenummer, &QLineEdit::returnPressed, this, &goTo::on_pushButton_clicked);
}

goTo::~goTo() = default;

void goTo::on_pushButton_clicked()
{
    emit goToButtonEvent(ui->lineEdit_Fragenummer->text().toInt());
}
