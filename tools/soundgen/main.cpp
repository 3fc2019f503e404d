#include "dsp.h"
#include "sounds.h"
#include "wav.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace soundgen;

namespace {

int generate(const fs::path &folder)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "cannot create %s: %s\n", folder.string().c_str(), ec.message().c_str());
        return 1;
    }
    for (const SoundDef &sound : catalogue()) {
        const std::vector<std::int16_t> pcm = finish(sound.make());
        std::string error;
        if (!writeWav(folder / (sound.name + ".wav"), pcm, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("%-8s %5.3f s\n", sound.name.c_str(), static_cast<double>(pcm.size()) / kSampleRate);
    }
    return 0;
}

double toDbfs(double level)
{
    return level > 0.0 ? 20.0 * std::log10(level / 32768.0) : -999.0;
}

// Collects every problem with one file rather than stopping at the first.
std::vector<std::string> problemsOf(const SoundDef &sound, const WavFile &wav)
{
    std::vector<std::string> problems;
    const auto expect = [&problems](bool ok, const std::string &what) {
        if (!ok)
            problems.push_back(what);
    };
    const WavHeader &h = wav.header;
    expect(h.riff == "RIFF", "no RIFF tag");
    expect(h.wave == "WAVE", "no WAVE tag");
    expect(h.fmtId == "fmt ", "fmt chunk not at byte 12");
    expect(h.fmtSize == 16, "fmt chunk size " + std::to_string(h.fmtSize));
    expect(h.format == 1, "format " + std::to_string(h.format) + ", not PCM");
    expect(h.channels == 1, std::to_string(h.channels) + " channels");
    expect(h.sampleRate == kSampleRate, "sample rate " + std::to_string(h.sampleRate));
    expect(h.byteRate == kSampleRate * 2, "byte rate " + std::to_string(h.byteRate));
    expect(h.blockAlign == 2, "block align " + std::to_string(h.blockAlign));
    expect(h.bitsPerSample == 16, std::to_string(h.bitsPerSample) + " bits");
    expect(h.dataId == "data", "data chunk not at byte 36");
    expect(h.dataSize + 44 == wav.fileSize,
           "data size " + std::to_string(h.dataSize) + " disagrees with file size");
    expect(h.riffSize + 8 == wav.fileSize,
           "RIFF size " + std::to_string(h.riffSize) + " disagrees with file size");

    const double seconds = static_cast<double>(wav.samples.size()) / kSampleRate;
    expect(seconds >= 0.03, "too short");
    expect(seconds <= sound.maxSeconds, "longer than " + std::to_string(sound.maxSeconds) + " s");
    if (wav.samples.empty())
        return problems;

    int peak = 0;
    double energy = 0.0;
    for (std::int16_t s : wav.samples) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
        energy += static_cast<double>(s) * s;
    }
    const double peakDb = toDbfs(peak);
    const double rmsDb = toDbfs(std::sqrt(energy / static_cast<double>(wav.samples.size())));
    expect(std::fabs(peakDb - kPeakDbfs) <= 0.25, "peak at " + std::to_string(peakDb) + " dBFS");
    expect(rmsDb > -45.0, "nearly silent (RMS " + std::to_string(rmsDb) + " dBFS)");
    // The fades must bring both ends to rest, or playback starts and stops with a click.
    expect(wav.samples.front() == 0 && wav.samples.back() == 0, "does not start and end at zero");
    return problems;
}

int check(const fs::path &folder)
{
    int passed = 0;
    int failed = 0;
    for (const SoundDef &sound : catalogue()) {
        const fs::path path = folder / (sound.name + ".wav");
        WavFile wav;
        std::string error;
        std::vector<std::string> problems;
        if (!readWav(path, wav, error))
            problems.push_back(error);
        else
            problems = problemsOf(sound, wav);

        if (problems.empty()) {
            int peak = 0;
            for (std::int16_t s : wav.samples)
                peak = std::max(peak, std::abs(static_cast<int>(s)));
            std::printf("ok    %-8s %5.3f s  peak %5.2f dBFS\n", sound.name.c_str(),
                        static_cast<double>(wav.samples.size()) / kSampleRate, toDbfs(peak));
            ++passed;
        } else {
            for (const std::string &p : problems)
                std::printf("FAIL  %-8s %s\n", sound.name.c_str(), p.c_str());
            ++failed;
        }
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}

void usage()
{
    std::fprintf(stderr, "usage: soundgen <output folder>\n"
                         "       soundgen --check <folder>\n");
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] != "--check" && args[0] != "--help")
        return generate(args[0]);
    if (args.size() == 2 && args[0] == "--check")
        return check(args[1]);
    usage();
    return 2;
}
