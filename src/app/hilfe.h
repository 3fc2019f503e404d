#pragma once

#include <QWidget>

// A short help text with the product's web page.
class Hilfe final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Hilfe)

public:
    explicit Hilfe(QWidget *eltern = nullptr);
};
