// The deterministic backend: nothing here touches a screen, a sound card or the real clock.
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/debug.h"
#include "platform/device/hooks.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/resources.h"
#include "platform/window.h"

struct PlatformWindow {};

namespace {

struct Fault {
    int callsLeft;
    uint32_t code;
};

struct State {
    std::vector<std::string> callLog;
    bool logging = true;
    std::multimap<std::string, Fault> faults;
    // The lines written, one after another, and where each ends: a long run writes a hundred
    // lines a frame, and this keeps its storage from one clear to the next.
    std::string debugText;
    std::vector<size_t> debugLineEnds;
    uint32_t tick = 0;
    std::unique_ptr<PlatformWindow> window;
    std::map<std::pair<std::string, std::string>, std::unique_ptr<EmbeddedResource>> supplied;
    std::map<std::pair<std::string, std::string>, std::vector<uint8_t>> suppliedBytes;
};

// At namespace scope rather than inside S(): every device call reaches it, and a local
// static would be checked for its construction each time.
State state;

State& S() { return state; }

}  // namespace

uint32_t BackendCall(const char* operation, const char* object) {
    State& s = S();
    if (s.logging) s.callLog.push_back(object ? std::string(operation) + " " + object : std::string(operation));
    if (s.faults.empty()) return 0;
    uint32_t result = 0;
    auto range = s.faults.equal_range(operation);
    for (auto it = range.first; it != range.second;) {
        if (--it->second.callsLeft == 0) {
            result = it->second.code;
            it = s.faults.erase(it);
        } else {
            ++it;
        }
    }
    return result;
}

void HeadlessReset() {
    DeviceDisplayForget();
    DeviceDebugForget();
    DeviceMessagesForget();
    HeadlessAudioReset();
    State& s = S();
    s = State{};
}

void HeadlessFailCall(const std::string& operation, int nth, uint32_t code) {
    S().faults.insert({operation, Fault{nth, code}});
}

const std::vector<std::string>& HeadlessCallLog() { return S().callLog; }
void HeadlessClearCallLog() { S().callLog.clear(); }
void HeadlessSetCallLogging(bool on) { S().logging = on; }

std::vector<std::string> HeadlessDebugLines() {
    const State& s = S();
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end : s.debugLineEnds) {
        lines.push_back(s.debugText.substr(start, end - start));
        start = end;
    }
    return lines;
}

size_t HeadlessDebugLineCount() { return S().debugLineEnds.size(); }

void HeadlessClearDebugLines() {
    State& s = S();
    s.debugText.clear();
    s.debugLineEnds.clear();
}

void BackendDebugOutput(const char* line) {
    State& s = S();
    s.debugText += line;
    s.debugLineEnds.push_back(s.debugText.size());
}

bool DebugLinesShown() { return false; }

void HeadlessSetTick(uint32_t tick) { S().tick = tick; }
uint32_t TickCount() { return S().tick; }

void HeadlessSetResource(const std::string& name, const std::string& type, std::vector<uint8_t> bytes) {
    State& s = S();
    auto key = std::make_pair(name, type);
    s.suppliedBytes[key] = std::move(bytes);
    auto entry = std::make_unique<EmbeddedResource>();
    entry->name = s.suppliedBytes.find(key)->first.first.c_str();
    entry->type = s.suppliedBytes.find(key)->first.second.c_str();
    entry->bytes = s.suppliedBytes[key].data();
    entry->size = s.suppliedBytes[key].size();
    s.supplied[key] = std::move(entry);
}

void HeadlessHideResource(const std::string& name, const std::string& type) {
    State& s = S();
    auto key = std::make_pair(name, type);
    s.suppliedBytes.erase(key);
    s.supplied[key] = nullptr;  // a null entry hides the embedded one
}

const EmbeddedResource* ResourceFind(const char* name, const char* type) {
    if (BackendCall("ResourceFind", name)) return nullptr;
    if (name == nullptr || type == nullptr) return nullptr;
    State& s = S();
    auto it = s.supplied.find({name, type});
    if (it != s.supplied.end()) return it->second.get();
    return DeviceFindEmbedded(name, type);
}

ResourceSpan ResourceLoad(const EmbeddedResource* resource) {
    const char* name = resource ? resource->name : nullptr;
    if (BackendCall("ResourceLoad", name) || resource == nullptr) return {nullptr, 0};
    return {resource->bytes, resource->size};
}

uint32_t BackendDisplayOpen(WindowHandle) { return 0; }
void BackendDisplayClose() {}
void BackendPresent(const uint8_t*, const PALETTEENTRY*) {}

const uint8_t* HeadlessVisiblePage() { return DeviceVisiblePage(); }
const PALETTEENTRY* HeadlessPalette() { return DevicePaletteColours(); }
void HeadlessLoseSurfaces() { DeviceLoseSurfaces(); }

WindowHandle WindowCreate(const char*, const char*, WindowProcedure procedure) {
    if (BackendCall("WindowCreate")) return nullptr;
    State& s = S();
    if (s.window || procedure == nullptr) return nullptr;
    s.window = std::make_unique<PlatformWindow>();
    DeviceWindowOpened(s.window.get(), procedure);
    return s.window.get();
}

void WindowDestroy(WindowHandle window) {
    BackendCall("WindowDestroy");
    State& s = S();
    if (window == nullptr || window != s.window.get()) return;
    // Messages still queued for a dead window are dropped when taken.
    DeviceWindowDestroyed(window);
    s.window.reset();
}

WindowHandle HeadlessWindow() { return S().window.get(); }

intptr_t WindowDefaultProcedure(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    BackendCall("WindowDefaultProcedure");
    if (message == WM_CLOSE) WindowDestroy(window);
    return 0;
}

void CursorHide() { BackendCall("CursorHide"); }

// Nothing arrives from a player: the queue holds only what the program and its tests post, and
// a wait moves the virtual clock on.
void BackendPollEvents() {}
void BackendWaitEvents(uint32_t timeoutMs) { S().tick += timeoutMs; }
bool BackendWaitForEvent() { return false; }
void BackendWake() {}
void BackendHold(bool) {}
double BackendNowMs() { return S().tick; }

std::vector<MSG> HeadlessPendingMessages() { return DevicePendingMessages(); }
