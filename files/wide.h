#pragma once
// Windows only: the UTF-8 the programs keep every text in, and the UTF-16 Windows' own calls
// take. Bytes that are not UTF-8 become U+FFFD, never a different file's name.
#include <string>

std::wstring Wide(const std::string& utf8);
std::string Utf8(const wchar_t* wide);
