#pragma once

#include <QString>

// Plays a short sound, fire and forget. The program uses the toolkit's sound player; tests record.
class Klang
{
public:
    Klang() = default;
    Klang(const Klang &) = delete;
    Klang &operator=(const Klang &) = delete;
    virtual ~Klang() = default;

    // `resource` is a resource path such as ":/sound/sound/bell.wav".
    virtual void abspielen(const QString &resource) = 0;
};
