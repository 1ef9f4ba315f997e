#pragma once
// The local time now, as strftime writes it with `format`: stamps in recordings and picture names.
#include <ctime>
#include <string>

inline std::string LocalTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    char text[64];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}
