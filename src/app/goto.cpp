#include "goto.h"

#include "ui_goto.h"

#include "einstellungen.h"
#include "schluessel.h"

#include <QIntValidator>
#include <QKeyEvent>

#include <algorithm>

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
        resize(std::max(int(w / 6.8), minimumSizeHint().width()),
               std::max(h / 11, minimumSizeHint().height()));
    // Return in the field jumps like the button does.
    connect(ui->lineEdit_Fragenummer, &QLineEdit::returnPressed, this, &goTo::on_pushButton_clicked);
}

goTo::~goTo() = default;

void goTo::zeigen(const QWidget *mitte)
{
    ui->lineEdit_Fragenummer->clear();
    if (mitte) {
        // Made on its window's screen, not moved there: where each screen is a display of its own
        // a window moved across stays blank.
        if (mitte->screen())
            setScreen(mitte->screen());
        QRect rahmen = geometry();
        rahmen.moveCenter(mitte->frameGeometry().center());
        setGeometry(rahmen);
    }
    show();
    raise();
    activateWindow();
    ui->lineEdit_Fragenummer->setFocus();
}

void goTo::keyPressEvent(QKeyEvent *ereignis)
{
    if (ereignis->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(ereignis);
}

void goTo::on_pushButton_clicked()
{
    emit goToButtonEvent(ui->lineEdit_Fragenummer->text().toInt());
}
