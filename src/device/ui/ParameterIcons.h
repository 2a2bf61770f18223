#pragma once

#include <QPixmap>

namespace corvix::ParameterIcons {

// The 16 by 16 pictures of the parameter grid's transfer columns: reading a value from the
// device (an arrow rising from the device) and writing it to the device (an arrow coming down
// onto it).
constexpr int Size = 16;
const QPixmap& Upload();
const QPixmap& Download();

}  // namespace corvix::ParameterIcons
