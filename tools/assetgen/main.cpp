// Makes the game's artwork and sound, the same bytes on every run:
//   assetgen OUTPUT_DIR [--preview FILE.png]  sheet.bmp and the seven clips into OUTPUT_DIR
//   assetgen --icon SIZE FILE.png             the desktop icon, SIZE pixels a side
//   assetgen --icon-rgba SIZE FILE            the same as raw RGBA bytes, for the window
//   assetgen --maskable-icon SIZE FILE.png    sky to the edges, for launchers that shape it
//   assetgen --icon-ico FILE.ico              the icon at the sizes Windows shows, for the .exe
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tools/assetgen/audio.h"
#include "tools/assetgen/files.h"
#include "tools/assetgen/icon.h"
#include "tools/assetgen/sheet.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: skyring-assetgen OUTPUT_DIR [--preview FILE.png]\n"
                 "       skyring-assetgen --icon SIZE FILE.png\n"
                 "       skyring-assetgen --icon-rgba SIZE FILE\n"
                 "       skyring-assetgen --maskable-icon SIZE FILE.png\n"
                 "       skyring-assetgen --icon-ico FILE.ico\n");
    return 2;
}

bool WriteRaw(const char* path, const assetgen::Icon& icon) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(icon.rgba.data(), 1, icon.rgba.size(), file) == icon.rgba.size();
    return std::fclose(file) == 0 && written;
}

enum class IconFile { Png, Raw, MaskablePng };

int MakeIcon(const char* sizeText, const char* path, IconFile kind) {
    char* end = nullptr;
    const long size = std::strtol(sizeText, &end, 10);
    if (end == sizeText || *end != '\0' || size < assetgen::Icon::kMinSize || size > assetgen::Icon::kMaxSize) {
        std::fprintf(stderr, "skyring-assetgen: the icon size must be %d to %d pixels, not %s\n",
                     assetgen::Icon::kMinSize, assetgen::Icon::kMaxSize, sizeText);
        return 2;
    }
    const assetgen::Icon icon =
        assetgen::DrawIcon(static_cast<int>(size), assetgen::MakePalette(),
                           kind == IconFile::MaskablePng ? assetgen::IconShape::Maskable : assetgen::IconShape::Tile);
    if (!(kind == IconFile::Raw ? WriteRaw(path, icon) : assetgen::WriteIconPng(path, icon))) {
        std::fprintf(stderr, "skyring-assetgen: could not write %s\n", path);
        return 1;
    }
    return 0;
}

// The sizes Windows asks for: lists and title bars, the taskbar, the desktop, large views.
int MakeIco(const char* path) {
    std::vector<assetgen::Icon> icons;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256}) icons.push_back(assetgen::DrawIcon(size, assetgen::MakePalette()));
    if (!assetgen::WriteIco(path, icons)) {
        std::fprintf(stderr, "skyring-assetgen: could not write %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--icon-ico") == 0) return argc == 3 ? MakeIco(argv[2]) : Usage();
    for (const auto& [option, kind] : {std::pair{"--icon", IconFile::Png}, std::pair{"--icon-rgba", IconFile::Raw},
                                       std::pair{"--maskable-icon", IconFile::MaskablePng}}) {
        if (argc >= 2 && std::strcmp(argv[1], option) == 0) return argc == 4 ? MakeIcon(argv[2], argv[3], kind) : Usage();
    }
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--preview") == 0)) return Usage();
    const std::string dir = argv[1];
    const assetgen::Palette palette = assetgen::MakePalette();
    const assetgen::Sheet sheet = assetgen::DrawSheet();
    bool ok = assetgen::WriteBmp(dir + "/sheet.bmp", sheet, palette);
    for (const assetgen::Clip& clip : assetgen::MakeClips()) {
        ok = assetgen::WriteWav(dir + "/" + clip.name + ".wav", clip) && ok;
    }
    if (argc == 4) ok = assetgen::WritePreviewPng(argv[3], sheet, palette, 2) && ok;
    if (!ok) {
        std::fprintf(stderr, "skyring-assetgen: could not write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
