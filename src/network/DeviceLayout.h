#pragma once

#include <QList>
#include <QPoint>

namespace corvix {

// Where the bus view puts its device icons. Devices hang from the bus in pairs of rows 150 px
// apart: the first row of a pair runs left to right, the second right to left, so that the
// trunk line snakes from one device to the next.
struct DeviceLayout {
    int columnsPerRow = 1;
    QList<QPoint> positions;  // top-left of each icon, in list order
};

// The layout of count devices in a list view listWidth pixels wide, with columnWidth the text
// width the window allots to one device (that of "ABCDEFGHIJKLMNOPQRST" in its font).
DeviceLayout ArrangeDevices(int count, int listWidth, int columnWidth);

}  // namespace corvix
