#include "tests/e2e/game_session.h"

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

GameSession::GameSession(int width, int height) : server_(StartXServer(width, height)) {
    char name[] = "/tmp/skyring-session-XXXXXX";
    if (mkdtemp(name) != nullptr) folder_ = name;
}

GameSession::~GameSession() {
    KillChild(game_);
    KillChild(other_);
    StopXServer(server_);
    if (!folder_.empty()) RunCommand("rm -rf '" + folder_ + "'");
}

bool GameSession::Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                        const std::string& shell) {
    if (server_.pid <= 0 || folder_.empty()) return false;
    std::vector<std::string> argv = {GAME_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    if (!shell.empty()) argv.insert(argv.begin(), {"/bin/sh", "-c", shell + " \"$0\" \"$@\""});
    std::vector<std::string> env = {"DISPLAY=" + server_.display, "SDL_VIDEODRIVER=x11", "SDL_RENDER_DRIVER=software",
                                    "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + Path("sound.raw"),
                                    "XDG_CONFIG_HOME=" + Path("config"), "XDG_PICTURES_DIR=" + Path("pictures")};
    env.insert(env.end(), environment.begin(), environment.end());
    game_ = Spawn(argv, env, true);
    window_ = SettledWindow(server_, "Direct X Game ", 500, 10000);
    if (window_.empty()) return false;
    FocusGame();
    return true;
}

std::string GameSession::Path(const std::string& name) const { return folder_ + "/" + name; }

std::string GameSession::Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void GameSession::Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
}

void GameSession::WriteSettings(const std::string& text) const {
    RunCommand("mkdir -p '" + Path("config/skyring") + "'");
    Write("config/skyring/settings.ini", text);
}

void GameSession::Xdo(const std::string& command) const { RunCommand(::Xdo(server_) + command); }

void GameSession::FocusElsewhere() {
    if (other_.pid <= 0) {
        other_ = Spawn({"/usr/bin/xlogo", "-geometry", "40x40+0+0"}, {"DISPLAY=" + server_.display});
        otherWindow_ = SettledWindow(server_, "xlogo", 300, 5000);
    }
    Xdo("windowfocus --sync " + otherWindow_);
}

void GameSession::FocusGame() const { Xdo("windowfocus --sync " + window_); }

int GameSession::SkyPixels() const {
    const Screenshot shot = Shot();
    int count = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) count += shot.At(x, y) == kSkyColour ? 1 : 0;
    }
    return count;
}

std::vector<int16_t> GameSession::Sound() const {
    const std::string bytes = Read("sound.raw");
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    }
    return samples;
}

bool GameSession::SilentFrom(size_t from) const {
    const std::vector<int16_t> samples = Sound();
    for (size_t i = 2 * from; i < samples.size(); ++i) {
        if (samples[i] != 0) return false;
    }
    return true;
}

int GameSession::End(int timeoutMs) {
    FocusGame();
    Xdo("key Escape");
    return WaitForExit(timeoutMs);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}
