#pragma once

#include "templatesplenaro.h"

#include <memory>

class SkriptBruecke;
class Uhr;
class Zufall;

// The question template named by the setting "GewaehltesTemplate" ("Morvane", "Tandrivelle",
// "Kahoot"); null for any other name.
std::unique_ptr<templatesPlenaro> templateErzeugen(const QString &name, SkriptBruecke &bruecke, Uhr &uhr,
                                                   Zufall &zufall);
