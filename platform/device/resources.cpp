#include <cstring>

#include "platform/device/hooks.h"
#include "platform/resources.h"

const EmbeddedResource* DeviceFindEmbedded(const char* name, const char* type) {
    if (name == nullptr || type == nullptr) return nullptr;
    for (const EmbeddedResource* r = kEmbeddedResources; r->name != nullptr; ++r) {
        if (std::strcmp(r->name, name) == 0 && std::strcmp(r->type, type) == 0) return r;
    }
    return nullptr;
}
