#pragma once

#include <QLoggingCategory>

// Diagnostic lines of the game engine; silence them with "plenaro.game.debug=false".
Q_DECLARE_LOGGING_CATEGORY(lcSpiel)
