// Any bytes as the player's settings file: every line is taken or warned about, never more.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> warnings;
    const ShellSettings settings = ParseSettings(text, "settings.ini", &warnings);
    // What is read back from the settings' own text is those settings, without a warning.
    std::vector<std::string> none;
    const ShellSettings again = ParseSettings(SettingsText(settings), "settings.ini", &none);
    if (!none.empty() || again.windowed != settings.windowed || again.muted != settings.muted ||
        again.integerScaling != settings.integerScaling || again.pauseOnFocusLoss != settings.pauseOnFocusLoss) {
        __builtin_trap();
    }
    // At most one warning a line.
    size_t lines = 1;
    for (char c : text) lines += c == '\n' ? 1 : 0;
    if (warnings.size() > lines) __builtin_trap();
    return 0;
}
