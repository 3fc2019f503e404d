#pragma once

#include "tutorialfenster.h"

// Tutorial: the options dialog, one section per tab.
class hilfe_einstellungen_vornehmen final : public TutorialFenster
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(hilfe_einstellungen_vornehmen)

public:
    explicit hilfe_einstellungen_vornehmen(QWidget *eltern = nullptr);
};
