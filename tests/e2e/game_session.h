#pragma once
// The real game in a private X server, as the tests of the player's shell meet it: a folder of
// its own for settings, pictures, recordings and the sound it plays (SDL's disk driver), its
// standard output and error to read, keys through xdotool, and a second client to take the
// focus away.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/xserver.h"

constexpr uint32_t kSkyColour = 0x00D6FF;  // the backdrop, (0, 214, 255)

class GameSession {
public:
    GameSession(int width = 640, int height = 480);
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Runs the game with these arguments and extra "NAME=value" entries (over the session's
    // own), through `shell` when given ("ulimit -f 1; exec"); false when its window did not
    // settle. The window then has the focus.
    bool Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {},
               const std::string& shell = "");
    // A path inside the session's folder, and its contents.
    std::string Path(const std::string& name) const;
    std::string Read(const std::string& name) const;
    void Write(const std::string& name, const std::string& text) const;
    // The game's settings file.
    std::string Settings() const { return Read("config/skyring/settings.ini"); }
    void WriteSettings(const std::string& text) const;

    // xdotool commands aimed at the server ("key F12", "keydown Left").
    void Xdo(const std::string& command) const;
    // The focus to another client (started the first time) or back to the game.
    void FocusElsewhere();
    void FocusGame() const;
    Screenshot Shot() const { return TakeScreenshot(server_.display); }
    // How many pixels of the screen show the bright sky of an unpaused picture.
    int SkyPixels() const;

    // The game's interleaved 16-bit stereo output so far, and whether the frames from `from`
    // on are all silent.
    std::vector<int16_t> Sound() const;
    bool SilentFrom(size_t from) const;

    // Waits for a line the game writes (standard output or error).
    bool WaitForLine(const std::string& line, int timeoutMs) { return ::WaitForLine(game_, line, timeoutMs); }
    // Escape, then the exit status (-1 when it did not end within timeoutMs).
    int End(int timeoutMs = 5000);
    int WaitForExit(int timeoutMs) { return ::WaitForExit(game_, timeoutMs); }
    const XServer& server() const { return server_; }

private:
    std::string folder_;
    XServer server_;
    Child game_;
    Child other_;
    std::string window_, otherWindow_;
};

// A recording or trace file's lines.
std::vector<std::string> Lines(const std::string& text);
