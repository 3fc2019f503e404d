#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class shortcutkeys;
}

// A read-only card of the game's keys.
class shortcutkeys final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(shortcutkeys)

public:
    explicit shortcutkeys(QWidget *eltern = nullptr);
    ~shortcutkeys() override;

private:
    std::unique_ptr<Ui::shortcutkeys> ui;
};
