// Makes the game's artwork and sound: assetgen OUTPUT_DIR [--preview FILE.png]
// Writes sheet.bmp and the seven clips into OUTPUT_DIR, the same bytes on every run.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/assetgen/audio.h"
#include "tools/assetgen/files.h"
#include "tools/assetgen/sheet.h"

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--preview") == 0)) {
        std::fprintf(stderr, "usage: skyring-assetgen OUTPUT_DIR [--preview FILE.png]\n");
        return 2;
    }
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
