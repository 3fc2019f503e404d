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
inline constexpr int maxHandset = 255;
inline constexpr int maxClassSet = 65535;

// `junk` fills bits 2-7 of the button byte; a real receiver may set them, so the PC has to mask.
QByteArray encodeFrame(const Press &press, std::uint8_t junk = 0);

// Accepts A-D (either case) and 1-4.
std::optional<Button> parseButton(QStringView text);
char buttonLetter(Button button);

// "handset 12/1 A": handset number, class set, button; used by every log line about a press.
QString describe(const Press &press);
QString hexBytes(const QByteArray &bytes);

// Handsets 1..N of a random run or a burst are spread over the class sets round-robin.
Handset handsetAt(int number, const std::vector<std::uint16_t> &classSets);

} // namespace simulator
