#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <vector>

// A small GIF89a writer: the pages name several pictures .gif and Qt can only read that format.
namespace gif {

struct Frame
{
    QImage image;
    int delayMs = 100;
};

struct Options
{
    // GIF has on/off transparency only. When a matte is given, edge pixels that are partly transparent are
    // blended onto it, so anti-aliased outlines stay smooth on a page of that colour.
    QColor matte;
    // Below this alpha a pixel becomes the transparent index.
    int alphaThreshold = 128;
    // Animated files loop forever (the start screen repeats its hint until a handset reports in).
    bool loop = true;
};

struct Encoded
{
    QByteArray data;
    // What a decoder must show for each frame; used to check the file after writing.
    std::vector<QImage> expected;
};

Encoded encode(const std::vector<Frame> &frames, const Options &options = {});

// Reads `path` back and compares frame count, size, delays and every pixel with `expected`.
// Returns an empty string on success, otherwise what differs.
QString verify(const QString &path, const Encoded &encoded, const std::vector<Frame> &frames);

// Encodes, writes and verifies; aborts the program when any step fails.
void write(const QString &path, const std::vector<Frame> &frames, const Options &options = {});

} // namespace gif
