#include "netzadressen.h"

#include <QHostAddress>
#include <QNetworkInterface>

#include <algorithm>

QStringList lokaleAdressen()
{
    QStringList adressen;
    const auto schnittstellen = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &schnittstelle : schnittstellen) {
        const auto flags = schnittstelle.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto eintraege = schnittstelle.addressEntries();
        for (const QNetworkAddressEntry &eintrag : eintraege) {
            const QHostAddress adresse = eintrag.ip();
            if (adresse.protocol() == QAbstractSocket::IPv4Protocol && !adresse.isLoopback())
                adressen.append(adresse.toString());
        }
    }
    // Numerically, so that 192.168.1.9 comes before 192.168.1.10.
    std::sort(adressen.begin(), adressen.end(), [](const QString &a, const QString &b) {
        return QHostAddress(a).toIPv4Address() < QHostAddress(b).toIPv4Address();
    });
    adressen.removeDuplicates();
    return adressen;
}
