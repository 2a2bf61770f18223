#include "network/DeviceLayout.h"

#include <algorithm>

namespace corvix {

DeviceLayout ArrangeDevices(int count, int listWidth, int columnWidth)
{
    DeviceLayout layout;
    // A font without width must not divide by zero; one column per row is the narrowest view.
    layout.columnsPerRow = columnWidth > 0 ? std::max(1, (listWidth - 50) / columnWidth) : 1;
    const int columns = layout.columnsPerRow;
    layout.positions.reserve(std::max(0, count));
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int place = i % columns;
        const bool rightToLeft = row % 2 == 1;
        const int column = rightToLeft ? columns - 1 - place : place;
        layout.positions.append(QPoint(column * columnWidth + 75, 50 + 150 * row));
    }
    return layout;
}

}  // namespace corvix
