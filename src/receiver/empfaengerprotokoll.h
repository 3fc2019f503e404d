#pragma once

// The serial protocol of the handset receiver, shared by the program and by the receiver
// simulator so that both always speak the same bytes. Plain constants: the simulator builds
// without the program's libraries.
namespace EmpfaengerProtokoll {

// Identification: the PC writes the request, the receiver answers with its family's text. No
// terminator and no line end on either side.
inline constexpr char Anfrage[] = "#INFO$";
inline constexpr char AntwortMorvane[] = "#PLENARO$";
inline constexpr char AntwortTandrivelle[] = "#PLENARO_TANDRIVELLE$";

inline constexpr int Baudrate = 115200;

// A button frame: four bytes, no delimiter, no checksum.
inline constexpr int RahmenLaenge = 4;
inline constexpr int KlassensatzHochByte = 0; // class set, big-endian
inline constexpr int KlassensatzTiefByte = 1;
inline constexpr int HandsenderByte = 2;
inline constexpr int KnopfByte = 3;
// Only bits 0 and 1 of the button byte carry the button (0 = A ... 3 = D); the rest is noise.
inline constexpr unsigned KnopfMaske = 0x03;

// Simulators announce their pseudo terminal as "<runtime folder>/<this folder>/<pid><suffix>",
// holding the terminal's path on one line.
inline constexpr char AnkuendigungsOrdner[] = "plenaro-simulator";
inline constexpr char AnkuendigungsEndung[] = ".pty";

} // namespace EmpfaengerProtokoll
