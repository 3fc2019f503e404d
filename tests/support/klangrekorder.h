#pragma once

#include "klang.h"

#include <QStringList>

class KlangRekorder final : public Klang
{
public:
    void abspielen(const QString &resource) override { gespielt.append(resource); }
    QStringList gespielt;
};
