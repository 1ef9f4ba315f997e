#pragma once
// Control of the headless backend, for tests and tools: a virtual clock, an inspectable
// message queue, in-memory pages, a call log and fault injection.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/display.h"

// Back to the state of a fresh program: no window, an empty queue, the clock at 0, no
// device objects, no faults, empty logs, the embedded resources only.
void HeadlessReset();

// Makes the nth call (1 = the next one) of operation, counted from now, return code.
// For operations that return a pointer or a handle, any code means null.
void HeadlessFailCall(const std::string& operation, int nth, uint32_t code);

// Every platform call since the last clear, as "Operation" or "Operation object".
const std::vector<std::string>& HeadlessCallLog();
void HeadlessClearCallLog();
// Long runs switch the log off; faults still apply.
void HeadlessSetCallLogging(bool on);

// Lines written with DebugOutput, each as written.
std::vector<std::string> HeadlessDebugLines();
size_t HeadlessDebugLineCount();
void HeadlessClearDebugLines();

// The virtual clock: TickCount returns it; MessageWait moves it on by its timeout.
void HeadlessSetTick(uint32_t tick);

// Resources that tests supply or hide; they win over the embedded ones.
void HeadlessSetResource(const std::string& name, const std::string& type, std::vector<uint8_t> bytes);
void HeadlessHideResource(const std::string& name, const std::string& type);

// The page last made visible and its palette; null without a display.
const uint8_t* HeadlessVisiblePage();
const PALETTEENTRY* HeadlessPalette();
// As when another program takes the screen away.
void HeadlessLoseSurfaces();

// The messages waiting in the queue, oldest first.
std::vector<MSG> HeadlessPendingMessages();
// The window the program made, or null.
WindowHandle HeadlessWindow();
