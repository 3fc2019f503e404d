#pragma once

#include "klang.h"

#include <QHash>
#include <QObject>

class QSoundEffect;

// Plays sounds with the toolkit's simple sound player. One player per sound stays alive, so a
// sound started in a burst of presses is not cut off by its player being destroyed.
class SoundKlang final : public Klang
{
public:
    SoundKlang() = default;
    ~SoundKlang() override;

    void abspielen(const QString &resource) override;

private:
    QObject m_eltern;
    QHash<QString, QSoundEffect *> m_spieler;
};
