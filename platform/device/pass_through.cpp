// What a real backend (SDL, web) does with device calls and resources: every call goes
// through (faults are made only in the headless backend), and the resources are the table
// the build embedded, as it is.
#include "platform/device/hooks.h"
#include "platform/resources.h"

uint32_t BackendCall(const char*, const char*) { return 0; }

const EmbeddedResource* ResourceFind(const char* name, const char* type) { return DeviceFindEmbedded(name, type); }

ResourceSpan ResourceLoad(const EmbeddedResource* resource) {
    if (resource == nullptr) return {nullptr, 0};
    return {resource->bytes, resource->size};
}
