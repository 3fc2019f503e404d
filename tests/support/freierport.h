#pragma once

#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>

#include <algorithm>

// A port a server can listen on a moment later. Not one the system hands out for outgoing
// connections: the browsers' own sockets, or another test's, would take it in between.
inline quint16 freierPort()
{
    int ersterFluechtiger = 32768;
    QFile bereich(QStringLiteral("/proc/sys/net/ipv4/ip_local_port_range"));
    if (bereich.open(QIODevice::ReadOnly))
        ersterFluechtiger =
            QString::fromLatin1(bereich.readAll()).simplified().section(QLatin1Char(' '), 0, 0).toInt();
    const int bis = std::clamp(ersterFluechtiger, 11000, 65535);
    for (int versuch = 0; versuch < 200; ++versuch) {
        const auto port = quint16(10000 + QRandomGenerator::global()->bounded(bis - 10000));
        QTcpServer frei;
        if (frei.listen(QHostAddress::Any, port))
            return port;
    }
    QTcpServer frei;
    frei.listen(QHostAddress::LocalHost);
    return frei.serverPort();
}
