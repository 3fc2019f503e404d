#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class goTo;
}

// Asks for a question number and hands it to the main window.
class goTo final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(goTo)

public:
    explicit goTo(QWidget *eltern = nullptr);
    ~goTo() override;

    // Opens with an empty field, centred on `mitte` (where the teacher works), so the digits typed next
    // are the whole number.
    void zeigen(const QWidget *mitte);

protected:
    void keyPressEvent(QKeyEvent *ereignis) override;

signals:
    void goToButtonEvent(int frageNr);

private slots:
    void on_pushButton_clicked();

private:
    std::unique_ptr<Ui::goTo> ui;
};
