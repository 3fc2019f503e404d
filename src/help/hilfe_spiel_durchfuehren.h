#pragma once

#include "tutorialfenster.h"

// Tutorial: running a game from the first start to the saved results.
class hilfe_spiel_durchfuehren final : public TutorialFenster
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(hilfe_spiel_durchfuehren)

public:
    explicit hilfe_spiel_durchfuehren(QWidget *eltern = nullptr);
};
