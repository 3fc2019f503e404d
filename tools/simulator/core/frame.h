#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "empfaengerprotokoll.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace simulator {

// Button codes as the receiver puts them into bits 0-1 of a frame's last byte.
enum class Button : std::uint8_t { A = 0, B = 1, C = 2, D = 3 };

struct Handset
{
    std::uint16_t classSet = 1;
    std::uint8_t number = 1;
};

struct Press
{
    Handset handset;
    Button button = Button::A;
};

inline constexpr int frameSize = EmpfaengerProtokoll::RahmenLaenge;
inline constexpr int maxHandset = 127; // the receiver numbers handsets 1-127
inline constexpr int maxClassSet = 65535;

// `junk` fills bits 2-7 of the button byte; a real receiver may set them, so the PC has to mask.
QByteArray encodeFrame(const Press &press, std::uint8_t junk = 0);

// Accepts A-D (either case) and 1-4.
std::optional<Button> parseButton(QStringView text);
char buttonLetter(Button button);

// "handset 12/1 A": handset number, class set, button; used by every log line about a press.
QString describe(const Press &press);
QString hexBytes(const QByteArray &bytes);

// The Nth handset of a random run or a burst: handsets are dealt to the class sets round-robin,
// and each class set numbers its handsets from 1, so N can reach maxHandset times the class sets.
Handset handsetAt(int number, const std::vector<std::uint16_t> &classSets);

} // namespace simulator
