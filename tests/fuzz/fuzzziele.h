#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// The entry functions shared by the libFuzzer targets and by the corpus runner of the normal test
// suite. Each takes arbitrary bytes, runs them through the code under test and aborts with a
// message on stderr when a promise of that code is broken; a return means the input was handled.
namespace Fuzzziele {

// The receive path: the input is a series of reads, each a control byte (bits 0-5: length of
// the read, 0 for a quiet line; bits 6-7: pause before it) followed by that many bytes of the
// port; the first two bytes choose the filter settings. The same bytes also script a lesson of
// real frames with stray bytes and held-up reads, which must lose no more than the strays touch.
void empfang(const std::uint8_t *daten, std::size_t laenge);

// The question file reader: the input is the content of a question file.
void frageDatei(const std::uint8_t *daten, std::size_t laenge);

// The readers of the learning platforms' question banks: the input is the content of such a file.
// What they take must load as a question file and come back unchanged from the XML export.
void moodleXml(const std::uint8_t *daten, std::size_t laenge);
void gift(const std::uint8_t *daten, std::size_t laenge);
void aiken(const std::uint8_t *daten, std::size_t laenge);

// Writes `inhalt` to the file `name` in a temporary folder of the process; aborts when it cannot.
QString alsDatei(const char *name, const QByteArray &inhalt);

// Names the broken promise of `ziel` on stderr and aborts, so the fuzzer keeps the input.
[[noreturn]] void gebrochen(const char *ziel, const char *was);

} // namespace Fuzzziele
