#include "gif.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QTextStream>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace gif {
namespace {

constexpr int kMaxColours = 256;

// Flattens alpha to on/off so every frame is something GIF can express exactly.
QImage flatten(const QImage &source, const Options &options)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            if (a == 255)
                continue;
            if (a < options.alphaThreshold) {
                line[x] = 0;
            } else if (options.matte.isValid()) {
                const QRgb m = options.matte.rgb();
                const auto blend = [a](int c, int mc) {
                    return (c * a + mc * (255 - a) + 127) / 255;
                };
                line[x] =
                    qRgb(blend(qRed(p), qRed(m)), blend(qGreen(p), qGreen(m)), blend(qBlue(p), qBlue(m)));
            } else {
                line[x] = p | 0xff000000u;
            }
        }
    }
    return image;
}

struct Entry
{
    QRgb colour;
    quint32 count;
};

int channel(QRgb c, int axis)
{
    return axis == 0 ? qRed(c) : axis == 1 ? qGreen(c) : qBlue(c);
}

// Median cut over the colour histogram. Boxes are split where the spread times sqrt(weight) is largest:
// that keeps enough steps for long gradients while still giving small accents their own entry.
std::vector<QRgb> medianCut(std::vector<Entry> entries, int maxColours)
{
    if (static_cast<int>(entries.size()) <= maxColours) {
        std::vector<QRgb> palette;
        for (const Entry &e : entries)
            palette.push_back(e.colour);
        std::sort(palette.begin(), palette.end());
        return palette;
    }

    struct Box
    {
        size_t begin;
        size_t end;
        int axis = 0;
        int spread = 0;
        double weight = 0;
    };
    const auto measure = [&entries](Box &box) {
        std::array<int, 3> lo{255, 255, 255};
        std::array<int, 3> hi{0, 0, 0};
        box.weight = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            for (int axis = 0; axis < 3; ++axis) {
                lo[axis] = std::min(lo[axis], channel(entries[i].colour, axis));
                hi[axis] = std::max(hi[axis], channel(entries[i].colour, axis));
            }
            box.weight += entries[i].count;
        }
        box.spread = -1;
        for (int axis = 0; axis < 3; ++axis) {
            if (hi[axis] - lo[axis] > box.spread) {
                box.spread = hi[axis] - lo[axis];
                box.axis = axis;
            }
        }
    };

    std::vector<Box> boxes{{0, entries.size()}};
    measure(boxes.front());
    while (static_cast<int>(boxes.size()) < maxColours) {
        int best = -1;
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2)
                continue;
            const double score = boxes[i].spread * std::sqrt(boxes[i].weight);
            if (score > bestScore) {
                bestScore = score;
                best = static_cast<int>(i);
            }
        }
        if (best < 0)
            break;
        Box box = boxes[best];
        const int axis = box.axis;
        std::sort(entries.begin() + box.begin, entries.begin() + box.end,
                  [axis](const Entry &a, const Entry &b) {
                      const int ca = channel(a.colour, axis);
                      const int cb = channel(b.colour, axis);
                      return ca != cb ? ca < cb : a.colour < b.colour;
                  });
        double half = box.weight / 2;
        size_t split = box.begin + 1;
        for (size_t i = box.begin; i < box.end - 1; ++i) {
            half -= entries[i].count;
            split = i + 1;
            if (half <= 0)
                break;
        }
        Box low{box.begin, split};
        Box high{split, box.end};
        measure(low);
        measure(high);
        boxes[best] = low;
        boxes.push_back(high);
    }

    std::vector<QRgb> palette;
    for (const Box &box : boxes) {
        double r = 0, g = 0, b = 0;
        for (size_t i = box.begin; i < box.end; ++i) {
            r += qRed(entries[i].colour) * double(entries[i].count);
            g += qGreen(entries[i].colour) * double(entries[i].count);
            b += qBlue(entries[i].colour) * double(entries[i].count);
        }
        palette.push_back(qRgb(int(std::lround(r / box.weight)), int(std::lround(g / box.weight)),
                               int(std::lround(b / box.weight))));
    }
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    return palette;
}

int nearest(const std::vector<QRgb> &palette, QRgb c, int firstOpaque)
{
    int best = firstOpaque;
    long bestDistance = -1;
    for (int i = firstOpaque; i < static_cast<int>(palette.size()); ++i) {
        // Weighted like the eye: green differences matter most, blue least.
        const long dr = qRed(palette[i]) - qRed(c);
        const long dg = qGreen(palette[i]) - qGreen(c);
        const long db = qBlue(palette[i]) - qBlue(c);
        const long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// Variable-width LZW as GIF wants it: codes packed least significant bit first into 255-byte sub-blocks.
class LzwWriter final
{
public:
    explicit LzwWriter(int minCodeSize)
        : m_minCodeSize(minCodeSize)
    {
    }

    QByteArray compress(const std::vector<quint8> &indices)
    {
        const int clearCode = 1 << m_minCodeSize;
        const int endCode = clearCode + 1;
        std::unordered_map<quint32, quint16> table;
        table.reserve(8192);
        int codeSize = m_minCodeSize + 1;
        int nextCode = endCode + 1;

        putCode(clearCode, codeSize);
        if (indices.empty()) {
            putCode(endCode, codeSize);
            return finish();
        }
        int prefix = indices.front();
        for (size_t i = 1; i < indices.size(); ++i) {
            const int k = indices[i];
            const quint32 key = (quint32(prefix) << 8) | quint32(k);
            const auto found = table.find(key);
            if (found != table.end()) {
                prefix = found->second;
                continue;
            }
            putCode(prefix, codeSize);
            table.emplace(key, quint16(nextCode));
            // The decoder learns each code one step later, so it widens as soon as the new code no
            // longer fits; widening here right after adding that code keeps both sides in step.
            if (nextCode == (1 << codeSize) && codeSize < 12)
                ++codeSize;
            ++nextCode;
            if (nextCode == 4096) {
                putCode(clearCode, codeSize);
                table.clear();
                codeSize = m_minCodeSize + 1;
                nextCode = endCode + 1;
            }
            prefix = k;
        }
        putCode(prefix, codeSize);
        // Reading that last code makes the decoder add one more entry, which may widen its codes.
        if (nextCode == (1 << codeSize) && codeSize < 12)
            ++codeSize;
        putCode(endCode, codeSize);
        return finish();
    }

private:
    void putCode(int code, int size)
    {
        m_bits |= quint32(code) << m_bitCount;
        m_bitCount += size;
        while (m_bitCount >= 8) {
            m_bytes.append(char(m_bits & 0xff));
            m_bits >>= 8;
            m_bitCount -= 8;
        }
    }

    QByteArray finish()
    {
        if (m_bitCount > 0)
            m_bytes.append(char(m_bits & 0xff));
        QByteArray out;
        out.append(char(m_minCodeSize));
        for (qsizetype pos = 0; pos < m_bytes.size(); pos += 255) {
            const qsizetype n = std::min<qsizetype>(255, m_bytes.size() - pos);
            out.append(char(n));
            out.append(m_bytes.constData() + pos, n);
        }
        out.append(char(0));
        return out;
    }

    int m_minCodeSize = 2;
    quint32 m_bits = 0;
    int m_bitCount = 0;
    QByteArray m_bytes;
};

void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

} // namespace

Encoded encode(const std::vector<Frame> &frames, const Options &options)
{
    Encoded result;
    if (frames.empty())
        return result;
    const QSize size = frames.front().image.size();

    std::vector<QImage> flat;
    QHash<QRgb, quint32> histogram;
    bool transparent = false;
    for (const Frame &frame : frames) {
        flat.push_back(flatten(frame.image, options));
        const QImage &image = flat.back();
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(line[x]) == 0)
                    transparent = true;
                else
                    ++histogram[line[x]];
            }
        }
    }

    // One palette for all frames: the animation changes little, and a global table keeps frames small.
    std::vector<Entry> entries;
    entries.reserve(histogram.size());
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
        entries.push_back({it.key(), it.value()});
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.colour < b.colour; });
    const int firstOpaque = transparent ? 1 : 0;
    std::vector<QRgb> palette = medianCut(entries, kMaxColours - firstOpaque);
    if (palette.empty())
        palette.push_back(qRgb(0, 0, 0));
    if (transparent)
        palette.insert(palette.begin(), qRgb(0, 0, 0));

    int tableBits = 1;
    while ((1 << tableBits) < static_cast<int>(palette.size()))
        ++tableBits;
    const int minCodeSize = std::max(2, tableBits);

    QHash<QRgb, int> mapping;
    for (const Entry &e : entries)
        mapping.insert(e.colour, nearest(palette, e.colour, firstOpaque));

    QByteArray &out = result.data;
    out.append("GIF89a");
    put16(out, size.width());
    put16(out, size.height());
    out.append(char(0x80 | ((8 - 1) << 4) | (tableBits - 1)));
    out.append(char(0)); // background index: the transparent entry when there is one
    out.append(char(0));
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = i < static_cast<int>(palette.size()) ? palette[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }

    if (frames.size() > 1 && options.loop) {
        out.append("\x21\xff\x0b", 3);
        out.append("NETSCAPE2.0");
        out.append("\x03\x01", 2);
        put16(out, 0); // repeat forever
        out.append(char(0));
    }

    for (size_t f = 0; f < flat.size(); ++f) {
        const QImage &image = flat[f];
        std::vector<quint8> indices;
        indices.reserve(size_t(size.width()) * size_t(size.height()));
        QImage expected(size, QImage::Format_ARGB32);
        for (int y = 0; y < size.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            auto *shown = reinterpret_cast<QRgb *>(expected.scanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                const int index = qAlpha(line[x]) == 0 ? 0 : mapping.value(line[x]);
                indices.push_back(quint8(index));
                shown[x] = (transparent && index == 0) ? 0 : palette[index];
            }
        }
        result.expected.push_back(expected);

        // Graphic control: delay, and with transparency "restore to background" so frames do not pile up.
        const int disposal = transparent ? 2 : 1;
        out.append("\x21\xf9\x04", 3);
        out.append(char((disposal << 2) | (transparent ? 1 : 0)));
        put16(out, (frames[f].delayMs + 5) / 10);
        out.append(char(0));
        out.append(char(0));

        out.append(char(0x2c));
        put16(out, 0);
        put16(out, 0);
        put16(out, size.width());
        put16(out, size.height());
        out.append(char(0));
        out.append(LzwWriter(minCodeSize).compress(indices));
    }
    out.append(char(0x3b));
    return result;
}

QString verify(const QString &path, const Encoded &encoded, const std::vector<Frame> &frames)
{
    QImageReader reader(path, "gif");
    if (!reader.canRead())
        return QStringLiteral("not readable as GIF: %1").arg(reader.errorString());
    if (reader.imageCount() != static_cast<int>(frames.size()))
        return QStringLiteral("%1 frames instead of %2").arg(reader.imageCount()).arg(frames.size());
    if (frames.size() > 1 && reader.loopCount() != -1)
        return QStringLiteral("loop count %1, expected endless").arg(reader.loopCount());
    for (size_t f = 0; f < frames.size(); ++f) {
        const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (read.isNull())
            return QStringLiteral("frame %1 unreadable: %2").arg(f).arg(reader.errorString());
        if (frames.size() > 1 && reader.nextImageDelay() != (frames[f].delayMs + 5) / 10 * 10)
            return QStringLiteral("frame %1 delay %2 ms").arg(f).arg(reader.nextImageDelay());
        const QImage &want = encoded.expected[f];
        if (read.size() != want.size())
            return QStringLiteral("frame %1 has size %2x%3").arg(f).arg(read.width()).arg(read.height());
        for (int y = 0; y < want.height(); ++y) {
            for (int x = 0; x < want.width(); ++x) {
                const QRgb a = read.pixel(x, y);
                const QRgb b = want.pixel(x, y);
                if (qAlpha(a) != qAlpha(b) || (qAlpha(a) != 0 && (a & 0xffffff) != (b & 0xffffff))) {
                    return QStringLiteral("frame %1 pixel %2,%3 is %4, expected %5")
                        .arg(f)
                        .arg(x)
                        .arg(y)
                        .arg(a, 8, 16, QLatin1Char('0'))
                        .arg(b, 8, 16, QLatin1Char('0'));
                }
            }
        }
    }
    return {};
}

void write(const QString &path, const std::vector<Frame> &frames, const Options &options)
{
    const Encoded encoded = encode(frames, options);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encoded.data) != encoded.data.size()) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        std::exit(1);
    }
    file.close();
    const QString problem = verify(path, encoded, frames);
    if (!problem.isEmpty()) {
        QTextStream(stderr) << path << ": " << problem << '\n';
        std::exit(1);
    }
}

} // namespace gif
