#pragma once

#include <QDialog>

// A small dialog that shows what the program knows about its surroundings, for support calls.
class test final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(test)

public:
    explicit test(QWidget *eltern = nullptr);

protected:
    void showEvent(QShowEvent *ereignis) override;

private:
    class QLabel *m_text = nullptr;
};
