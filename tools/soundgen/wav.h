#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace soundgen {

// The 44-byte canonical header as found in a file; kept field by field so a check can say
// exactly which one is off.
struct WavHeader
{
    std::string riff;
    std::uint32_t riffSize = 0;
    std::string wave;
    std::string fmtId;
    std::uint32_t fmtSize = 0;
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::string dataId;
    std::uint32_t dataSize = 0;
};

struct WavFile
{
    WavHeader header;
    std::uintmax_t fileSize = 0;
    std::vector<std::int16_t> samples;
};

// Mono 16-bit PCM at kSampleRate, canonical header, little endian whatever the host.
bool writeWav(const std::filesystem::path &path, const std::vector<std::int16_t> &samples,
              std::string &error);

// Reads the header literally (no chunk search), since only the plain layout is wanted.
bool readWav(const std::filesystem::path &path, WavFile &wav, std::string &error);

} // namespace soundgen
