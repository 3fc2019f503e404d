#include "wav.h"

#include "dsp.h"

#include <fstream>
#include <iterator>

namespace soundgen {

namespace {

void putU16(std::vector<unsigned char> &out, std::uint16_t v)
{
    out.push_back(static_cast<unsigned char>(v & 0xff));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void putU32(std::vector<unsigned char> &out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<unsigned char>((v >> shift) & 0xff));
}

void putTag(std::vector<unsigned char> &out, const char *tag)
{
    out.insert(out.end(), tag, tag + 4);
}

std::uint16_t getU16(const std::vector<unsigned char> &in, std::size_t at)
{
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

std::uint32_t getU32(const std::vector<unsigned char> &in, std::size_t at)
{
    return static_cast<std::uint32_t>(in[at]) | (static_cast<std::uint32_t>(in[at + 1]) << 8) |
           (static_cast<std::uint32_t>(in[at + 2]) << 16) | (static_cast<std::uint32_t>(in[at + 3]) << 24);
}

std::string getTag(const std::vector<unsigned char> &in, std::size_t at)
{
    return std::string(in.begin() + static_cast<std::ptrdiff_t>(at),
                       in.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

constexpr std::size_t kHeaderSize = 44;

} // namespace

bool writeWav(const std::filesystem::path &path, const std::vector<std::int16_t> &samples, std::string &error)
{
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<unsigned char> bytes;
    bytes.reserve(kHeaderSize + dataSize);
    putTag(bytes, "RIFF");
    putU32(bytes, 36 + dataSize);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    putU32(bytes, 16);
    putU16(bytes, 1); // PCM
    putU16(bytes, 1); // mono
    putU32(bytes, kSampleRate);
    putU32(bytes, kSampleRate * 2);
    putU16(bytes, 2);
    putU16(bytes, 16);
    putTag(bytes, "data");
    putU32(bytes, dataSize);
    for (std::int16_t s : samples)
        putU16(bytes, static_cast<std::uint16_t>(s));

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool readWav(const std::filesystem::path &path, WavFile &wav, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string();
        return false;
    }
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < kHeaderSize) {
        error = "shorter than a WAV header";
        return false;
    }
    WavHeader &h = wav.header;
    h.riff = getTag(bytes, 0);
    h.riffSize = getU32(bytes, 4);
    h.wave = getTag(bytes, 8);
    h.fmtId = getTag(bytes, 12);
    h.fmtSize = getU32(bytes, 16);
    h.format = getU16(bytes, 20);
    h.channels = getU16(bytes, 22);
    h.sampleRate = getU32(bytes, 24);
    h.byteRate = getU32(bytes, 28);
    h.blockAlign = getU16(bytes, 32);
    h.bitsPerSample = getU16(bytes, 34);
    h.dataId = getTag(bytes, 36);
    h.dataSize = getU32(bytes, 40);
    wav.fileSize = bytes.size();

    // Samples are taken from whatever follows the header; comparing against dataSize is the
    // checker's job.
    const std::size_t count = (bytes.size() - kHeaderSize) / 2;
    wav.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        wav.samples[i] = static_cast<std::int16_t>(getU16(bytes, kHeaderSize + 2 * i));
    return true;
}

} // namespace soundgen
