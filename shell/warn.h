#pragma once
// One line to the player on standard error: "Skyring: <text>".
#include <cstdio>
#include <string>

inline void Warn(const std::string& text) { std::fprintf(stderr, "Skyring: %s\n", text.c_str()); }
