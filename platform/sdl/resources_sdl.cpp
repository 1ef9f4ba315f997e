// The real resources: the table the build embedded, as it is.
#include "platform/device/hooks.h"
#include "platform/resources.h"

const EmbeddedResource* ResourceFind(const char* name, const char* type) { return DeviceFindEmbedded(name, type); }

ResourceSpan ResourceLoad(const EmbeddedResource* resource) {
    if (resource == nullptr) return {nullptr, 0};
    return {resource->bytes, resource->size};
}
