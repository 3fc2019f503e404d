#pragma once

#include <QString>

class Dialoge;
class Klang;
class PortSystem;
class Uhr;
class Zufall;

// What the main window takes from the world outside. Null members are filled in with the real
// thing (toolkit clock, message boxes, sound player, random numbers, serial ports); tests set their own.
struct Umgebung
{
    Uhr *uhr = nullptr;
    Dialoge *dialoge = nullptr;
    Klang *klang = nullptr;
    Zufall *zufall = nullptr;
    PortSystem *ports = nullptr;
    // Where the press journal lives; empty: the user's data folder.
    QString journalOrdner;
};
