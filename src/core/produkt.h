#pragma once

#include <QCoreApplication>
#include <QString>

// The product's identity. The web domain names the settings store and is written into every
// question file's header, so it must never change once files are out in classrooms.
namespace Produkt {

inline constexpr char Organisation[] = "Corvanta";
inline constexpr char WebDomain[] = "plenaro.example";
inline constexpr char WebSeite[] = "https://plenaro.example/"; // the web domain's home page
inline constexpr char Anwendungsname[] = "Plenaro";

// Names the application, which decides where its settings and data live.
inline void anwendungBenennen()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(Organisation));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(WebDomain));
    QCoreApplication::setApplicationName(QString::fromLatin1(Anwendungsname));
}

} // namespace Produkt
