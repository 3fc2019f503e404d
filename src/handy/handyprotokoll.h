#pragma once

#include <QtGlobal>

// What the voting page and the program agree on.
namespace HandyProtokoll {

// Handset numbers given to phones: 1 ... HoechsteNummer.
constexpr uint HoechsteNummer = 999;

// WebSocket close codes the page understands.
constexpr quint16 FalscherCode = 4403;    // scan the QR code again; do not retry
constexpr quint16 KeineNummerFrei = 4409; // retry later
constexpr quint16 Ersetzt = 4000;         // the same device connected again elsewhere

// A press message is a few dozen bytes; anything much larger is not from the page.
constexpr int HoechsteNachricht = 512;
// Open connections one address may hold: a test laptop may stand in for a class of phones, but a
// single machine must not take the server's sockets from everyone else.
constexpr int HoechstensJeAdresse = 256;
constexpr int HoechstensInsgesamt = 2048;

} // namespace HandyProtokoll
