#include "files/read_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/system.h"

bool ReadWholeFile(const std::string& path, size_t limit, std::string* text, std::string* error) {
    const auto fail = [&](const std::string& why, int code) {
        *error = path + ": " + why;
        errno = code;
        return false;
    };
    const int fd = OpenForReading(path);
    if (fd < 0) {
        const int code = errno;
        return fail(std::strerror(code), code);
    }
    FileStatus st;
    std::string why;
    if (!DescriptorStatus(fd, &st)) {
        why = std::strerror(errno);
    } else if (!st.regular) {
        why = "not a regular file";
    } else if (st.size > limit) {
        why = "larger than " + std::to_string(limit / 1024) + " KiB";
    }
    text->clear();
    // A file that grows while it is read stops at the limit, and is refused all the same.
    char buffer[16384];
    for (long long got = 1; why.empty() && got != 0;) {
        got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            why = std::strerror(errno);
        } else {
            text->append(buffer, static_cast<size_t>(got));
            if (text->size() > limit) why = "larger than " + std::to_string(limit / 1024) + " KiB";
        }
    }
    close(fd);
    if (!why.empty()) {
        text->clear();
        return fail(why, EINVAL);
    }
    return true;
}

std::string Excerpt(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (out.size() >= 80) return out + "...";
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out;
}
