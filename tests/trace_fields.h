#pragma once
// Reading a trace line's values in tests, without a JSON library.
#include <string>

// The text of one key's value in a trace line, up to the next comma or bracket.
inline std::string Field(const std::string& line, const std::string& key) {
    const size_t at = line.find("\"" + key + "\":");
    if (at == std::string::npos) return "";
    const size_t start = at + key.size() + 3;
    return line.substr(start, line.find_first_of(",]}", start) - start);
}

// The 16 numbers of an object's array, found by its slot.
inline std::string ObjectOf(const std::string& line, int slot) {
    const size_t at = line.find("[" + std::to_string(slot) + ",");
    return line.substr(at, line.find(']', at) - at + 1);
}
