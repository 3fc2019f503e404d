#include "templatefabrik.h"

#include "templatemorvane.h"

std::unique_ptr<templatesPlenaro> templateErzeugen(const QString &name, SkriptBruecke &bruecke, Uhr &,
                                                   Zufall &)
{
    if (name == QLatin1String("Morvane"))
        return std::make_unique<templateMorvane>(bruecke);
    return nullptr;
}
