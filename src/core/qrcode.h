#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// QR codes for addresses shown on screen, error correction level M.
namespace QrCode {

// The modules row by row, true for dark, without the quiet zone; empty when the text is empty or
// longer than the largest code holds.
QVector<QVector<bool>> module(const QByteArray &text);

// A standalone SVG picture of the code: one path for the dark modules on a white square with a
// quiet zone of four modules, measured in modules. Empty where `module` is.
QString svg(const QByteArray &text);

} // namespace QrCode
