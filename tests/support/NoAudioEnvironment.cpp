#include "tests/support/NoAudioEnvironment.h"

#include <fstream>
#include <unistd.h>

namespace zib::test {

EnvironmentList NoAudioEnvironment(const std::filesystem::path& dir)
{
    const std::filesystem::path empty = dir / "empty.conf";
    std::ofstream{empty};
    const std::string none = (dir / "no-server").string();
    return {
        {"PIPEWIRE_RUNTIME_DIR", dir.string()},
        {"PIPEWIRE_REMOTE", none},
        {"PULSE_SERVER", "unix:" + none},
        {"PULSE_CLIENTCONFIG", empty.string()}, // no autospawn, no default server of the machine's
        {"JACK_DEFAULT_SERVER", "zib-no-server-" + std::to_string(::getpid())},
        {"JACK_NO_START_SERVER", "1"},
        {"ALSA_CONFIG_PATH", empty.string()},
    };
}

} // namespace zib::test
