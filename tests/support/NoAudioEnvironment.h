#pragma once

#include "tests/support/ScopedEnvironment.h"

#include <filesystem>

namespace zib::test {

// Settings that leave a process without any audio output, whatever the
// machine has: PipeWire, PulseAudio and JACK are looked for at addresses
// where no server is (under `dir`) and none may be started, and ALSA reads
// an empty configuration, so it knows no device. The file it names is made
// in `dir`.
EnvironmentList NoAudioEnvironment(const std::filesystem::path& dir);

} // namespace zib::test
