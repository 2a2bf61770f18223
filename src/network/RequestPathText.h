#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace corvix {

// A CIP request path as the program addresses objects: class, instance, optional attribute.
struct RequestPath {
    uint16_t classId = 0;
    uint16_t instance = 0;
    std::optional<uint8_t> attribute;

    friend bool operator==(const RequestPath&, const RequestPath&) = default;
};

// The path text drivers are handed: "20 0F 24 00 30 02". A class or instance of 256 or more
// takes the 16-bit segment with its two bytes low first ("20 0F 25 2C 01 30 01").
QString BuildPathText(const RequestPath& path);

// Reads a path text back. Accepts exactly what BuildPathText writes in either segment width,
// plus one trailing blank; raises ConversionError with a message naming the fault otherwise.
RequestPath ParsePathText(const QString& text);

}  // namespace corvix
