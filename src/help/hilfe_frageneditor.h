#pragma once

#include "tutorialfenster.h"

// Tutorial: making and changing question files in the question editor.
class hilfe_frageneditor final : public TutorialFenster
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(hilfe_frageneditor)

public:
    explicit hilfe_frageneditor(QWidget *eltern = nullptr);
};
