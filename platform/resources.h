#pragma once
// Resources carried inside the executable: the sprite sheet and the sound clips.
#include <cstddef>
#include <cstdint>

struct EmbeddedResource {
    const char* name;
    const char* type;
    const unsigned char* bytes;
    size_t size;
};

// The table the build makes from assets/ (tools/embed), ended by an entry with a null name.
extern const EmbeddedResource kEmbeddedResources[];

struct ResourceSpan {
    const uint8_t* data;
    size_t size;
};

// Finds a resource by name and type ("BITMAP", "WAVE"); null when there is none.
const EmbeddedResource* ResourceFind(const char* name, const char* type);
// The bytes of a found resource; a null span when they cannot be had.
ResourceSpan ResourceLoad(const EmbeddedResource* resource);
