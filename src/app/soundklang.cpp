#include "soundklang.h"

#include <QSoundEffect>
#include <QUrl>

SoundKlang::~SoundKlang() = default;

void SoundKlang::abspielen(const QString &resource)
{
    QSoundEffect *&spieler = m_spieler[resource];
    if (!spieler) {
        spieler = new QSoundEffect(&m_eltern);
        spieler->setSource(QUrl(QLatin1String("qrc") + resource));
    }
    spieler->play();
}
