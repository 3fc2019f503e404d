#include "templatefabrik.h"

#include "templatekahoot.h"
#include "templatemorvane.h"
#include "templatetandrivelle.h"

std::unique_ptr<templatesPlenaro> templateErzeugen(const QString &name, SkriptBruecke &bruecke, Uhr &uhr,
                                                   Zufall &zufall)
{
    if (name == QLatin1String("Morvane"))
        return std::make_unique<templateMorvane>(bruecke);
    if (name == QLatin1String("Tandrivelle"))
        return std::make_unique<templatetandrivelle>(bruecke, uhr, zufall);
    if (name == QLatin1String("Kahoot"))
        return std::make_unique<templatekahoot>(bruecke);
    return nullptr;
}
