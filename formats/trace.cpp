#include "formats/trace.h"

#include <libdeflate.h>

#include <cstdio>

#include "sim/world.h"

namespace {

void AppendObject(std::string& out, int32_t slot) {
    const GameObject& o = ObjectTable[slot];
    char text[256];
    std::snprintf(text, sizeof text, "[%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d]", slot, o.active, o.x, o.y,
                  o.fieldY, o.sprite.left, o.sprite.top, o.sprite.right, o.sprite.bottom, o.dx, o.dy, o.heading,
                  o.speed, o.spinTimer, o.altitude, o.formationSlot);
    out += text;
}

}  // namespace

uint32_t ItemFieldCrc() {
    // Each array's int32 values, in memory, are already their 4-byte little-endian bytes.
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && sizeof ItemField.itemX[0] == 4);
    constexpr size_t bytes = 5000 * sizeof(int32_t);
    uint32_t crc = libdeflate_crc32(0, &ItemField.itemX[1], bytes);
    crc = libdeflate_crc32(crc, &ItemField.itemY[1], bytes);
    return libdeflate_crc32(crc, &ItemField.itemKind[1], bytes);
}

uint32_t PageCrc(const uint8_t* page) { return libdeflate_crc32(0, page, 640 * 480); }

std::string TraceLine(int64_t frame, uint32_t screenCrc, const std::vector<std::pair<int32_t, int32_t>>& sounds,
                      size_t debugLines) {
    char head[512];
    std::snprintf(head, sizeof head,
                  "{\"frame\":%lld,\"frameCounter\":%d,\"restartRequested\":%d,\"crashed\":%d,\"rng\":%u,"
                  "\"controlFlags\":%d,\"balloonCount\":%d,\"bestBalloonCount\":%d,\"catchCount\":%d,"
                  "\"bestCatchCount\":%d,\"formationSize\":%d,\"objects\":[",
                  static_cast<long long>(frame), frameCounter, restartRequested, crashed, rngState, ControlFlags,
                  balloonCount, bestBalloonCount, catchCount, bestCatchCount, formationSize);
    std::string out = head;
    AppendObject(out, PLAYER_SLOT);
    out += ',';
    AppendObject(out, AIRCRAFT_SLOT);
    for (int32_t slot = FIRST_DIVER_SLOT; slot <= LAST_DIVER_SLOT; ++slot) {
        out += ',';
        AppendObject(out, slot);
    }
    char tail[128];
    std::snprintf(tail, sizeof tail, "],\"items\":%u,\"screen\":%u,\"sounds\":[", ItemFieldCrc(), screenCrc);
    out += tail;
    for (size_t i = 0; i < sounds.size(); ++i) {
        if (i > 0) out += ',';
        out += "[" + std::to_string(sounds[i].first) + "," + std::to_string(sounds[i].second) + "]";
    }
    out += "],\"debugLines\":" + std::to_string(debugLines) + "}";
    return out;
}
