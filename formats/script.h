#pragma once
// Input scripts: one event per line, "<frame> <action> [<key>]".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/window.h"

enum class ScriptAction { KeyDown, KeyUp, Activate, Deactivate, Close };

struct ScriptEvent {
    int64_t frame;  // the frame-loop iteration in whose wait the event is dispatched
    ScriptAction action;
    uint32_t key;   // virtual-key code, for KeyDown and KeyUp
};

// A line may be this long at most.
constexpr size_t kMaxScriptLine = 4096;
// The longest recording read: weeks of play.
constexpr size_t kMaxScriptBytes = 16 << 20;

// Parses a whole script. On the first bad line returns false with error set to
// "<name>:<line>: <what is wrong>".
bool ParseScript(const std::string& text, const std::string& name, std::vector<ScriptEvent>* events, std::string* error);
// Reads and parses a script file: a regular file of at most kMaxScriptBytes.
bool ReadScriptFile(const std::string& path, std::vector<ScriptEvent>* events, std::string* error);

// The message a script event stands for, posted to the window: it is dispatched in the next
// frame's wait, as a recorded event was.
void PostScriptEvent(WindowHandle window, const ScriptEvent& event);
// The event a message from the player stands for, in the given frame; false for a message
// that no script can hold.
bool ScriptEventOf(uint32_t message, uintptr_t wParam, int64_t frame, ScriptEvent* event);
// The script line of an event, with its line end.
std::string ScriptLine(const ScriptEvent& event);
