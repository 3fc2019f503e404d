#include "frame.h"

#include <vector>

namespace simulator {

QByteArray encodeFrame(const Press &press, std::uint8_t junk)
{
    QByteArray frame(frameSize, '\0');
    namespace P = EmpfaengerProtokoll;
    frame[P::KlassensatzHochByte] = char(press.handset.classSet >> 8);
    frame[P::KlassensatzTiefByte] = char(press.handset.classSet & 0xff);
    frame[P::HandsenderByte] = char(press.handset.number);
    frame[P::KnopfByte] = char((junk & ~P::KnopfMaske & 0xff) | std::uint8_t(press.button));
    return frame;
}

std::optional<Button> parseButton(QStringView text)
{
    if (text.size() != 1)
        return std::nullopt;
    switch (text.front().toUpper().unicode()) {
    case 'A':
    case '1':
        return Button::A;
    case 'B':
    case '2':
        return Button::B;
    case 'C':
    case '3':
        return Button::C;
    case 'D':
    case '4':
        return Button::D;
    default:
        return std::nullopt;
    }
}

char buttonLetter(Button button)
{
    return char('A' + int(button));
}

QString describe(const Press &press)
{
    return QStringLiteral("handset %1/%2 %3")
        .arg(press.handset.number)
        .arg(press.handset.classSet)
        .arg(QLatin1Char(buttonLetter(press.button)));
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

Handset handsetAt(int number, const std::vector<std::uint16_t> &classSets)
{
    // Each class set numbers its own handsets from 1, as a real class does.
    const std::size_t sets = classSets.empty() ? 1 : classSets.size();
    const std::uint16_t classSet = classSets.empty() ? 1 : classSets[std::size_t(number - 1) % sets];
    return Handset{classSet, std::uint8_t(std::size_t(number - 1) / sets + 1)};
}

} // namespace simulator
