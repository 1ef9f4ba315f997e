#include "shell/pictures.h"

#include <filesystem>
#include <string>

#include "files/folders.h"
#include "formats/page_png.h"
#include "shell/local_time.h"
#include "shell/warn.h"

void SavePicture(const uint8_t* page, const PALETTEENTRY palette[256]) {
    const std::string folder = PicturesFolder();
    if (folder.empty()) return Warn("no folder for pictures");
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::u8path(folder), ec);
    // A second picture in the same second gets a number of its own.
    const std::string stem = InFolder(folder, "skyring-" + LocalTime("%Y-%m-%d-%H%M%S"));
    std::string path = stem + ".png";
    for (int n = 2; std::filesystem::exists(std::filesystem::u8path(path), ec); ++n) {
        path = stem + "-" + std::to_string(n) + ".png";
    }
    std::string error;
    if (WritePagePng(path, page, palette, &error)) {
        Warn("the screen is saved as " + path);
    } else {
        Warn("could not save the screen: " + error);
    }
}
