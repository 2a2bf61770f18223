#pragma once

#include <QIcon>

namespace corvix::StateImages {

// A red cross over a device that a running bus no longer finds.
QIcon Missing();
// A small question mark badge beside a device without EDS file.
QIcon NoEdsFile();
// A plain box for a device when not even the library's default icon exists.
QIcon GenericDevice();

}  // namespace corvix::StateImages
