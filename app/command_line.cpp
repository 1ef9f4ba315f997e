#include "app/command_line.h"

#include <cstring>
#include <functional>
#include <string>

#include "tools/options/options.h"

namespace {

const char kUsage[] =
    "usage: skyring [--window | --fullscreen] [--mute] [--scaling sharp|integer] [--pause-on-focus-loss]\n"
    "               [--record FILE | --play FILE] [--trace FILE]\n"
    "       skyring --help | --version\n"
    "Free-fall parachuting: leave the aircraft, grip the other divers into a ring, land.\n"
    "  --window               play in a window: the largest whole multiple of 640x480 that fits\n"
    "  --fullscreen           play on the whole screen (the default)\n"
    "  --mute                 start with the sound off\n"
    "  --scaling sharp        fill the screen: crisp pixels, a soft edge where they meet (the default)\n"
    "  --scaling integer      whole multiples of 640x480 only, with wider black bars\n"
    "  --pause-on-focus-loss  pause while another window has the focus\n"
    "  --record FILE          write what you do as a script skyring-replay and --play read\n"
    "  --play FILE            play a recording on the screen; Escape ends it\n"
    "  --trace FILE           write one JSON line per frame, as skyring-replay --trace does\n"
    "Options last for this run; what you change in play is kept in\n"
    "$XDG_CONFIG_HOME/skyring/settings.ini (~/.config/skyring/settings.ini).\n"
    "keys:\n"
    "  Left, Right     turn                 P, Pause        pause and resume\n"
    "  Down            dive head first      M               sound off and on\n"
    "  Up              let go               Alt+Enter, F11  window or full screen\n"
    "  Escape          quit                 F12             save a picture of the screen\n"
    "gamepad:\n"
    "  D-pad or left stick  as the arrow keys    A  dive        B  let go\n"
    "  Start                pause and resume     Back+Start     quit\n";

}  // namespace

int ParseGameCommandLine(int argc, char** argv, GameOptions* options) {
    const auto flag = [](const char* name, std::function<void()> set) {
        return CommandLine::Option{name,
                                   [set](const char*, std::string*) {
                                       set();
                                       return true;
                                   },
                                   false};
    };
    GameOptions& o = *options;
    const CommandLine line{"skyring",
                           kUsage,
                           "skyring " SKYRING_VERSION "\n",
                           {flag("--window", [&o] { o.windowed = true; }),
                            flag("--fullscreen", [&o] { o.windowed = false; }),
                            flag("--mute", [&o] { o.muted = true; }),
                            flag("--pause-on-focus-loss", [&o] { o.pauseOnFocusLoss = true; }),
                            {"--scaling", [&o](const char* value, std::string* error) {
                                 if (std::strcmp(value, "sharp") == 0) {
                                     o.scaling = Scaling::Sharp;
                                 } else if (std::strcmp(value, "integer") == 0) {
                                     o.scaling = Scaling::Integer;
                                 } else {
                                     *error = "--scaling is sharp or integer, not '" + Excerpt(value) + "'\n" + kUsage;
                                     return false;
                                 }
                                 return true;
                             }},
                            NameOption("--record", &o.files.record), NameOption("--play", &o.files.play),
                            NameOption("--trace", &o.files.trace)}};
    if (const int status = ParseCommandLine(line, argc, argv); status >= 0) return status;
    if (!o.files.record.empty() && !o.files.play.empty()) {
        return Fail("skyring", std::string("--record and --play cannot go together\n") + kUsage);
    }
    return -1;
}

ShellSettings ApplyOptions(const GameOptions& options, ShellSettings fromFile) {
    fromFile.windowed = options.windowed.value_or(fromFile.windowed);
    fromFile.muted = options.muted.value_or(fromFile.muted);
    fromFile.scaling = options.scaling.value_or(fromFile.scaling);
    fromFile.pauseOnFocusLoss = options.pauseOnFocusLoss.value_or(fromFile.pauseOnFocusLoss);
    return fromFile;
}
