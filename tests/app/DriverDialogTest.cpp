#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "app/ui/DriverDialog.h"

namespace corvix {
namespace {

const QList<DriverListEntry> TwoDrivers = {
    {QStringLiteral("/d/serial.so"),
     QStringLiteral("Serial adapter"),
     QStringLiteral("RS232 to DeviceNet"),
     {}},
    {QStringLiteral("/d/gateway.so"), QStringLiteral("Gateway"), {}, {}},
};

TEST(DriverDialogTest, AnswersTheEntryNumberOrMinusOne)
{
    struct Case {
        const char* name;
        QList<DriverListEntry> drivers;
        int row;      // selected before the answer; -1 clears the selection
        bool cancel;  // Cancel instead of OK
        bool okEnabled;
        int expected;
    };
    const Case cases[] = {
        {"first entry preselected", TwoDrivers, 0, false, true, 1},
        {"second entry", TwoDrivers, 1, false, true, 2},
        {"cancel", TwoDrivers, 1, true, true, -1},
        {"nothing selected", TwoDrivers, -1, false, false, -1},
        {"no drivers at all", {}, -1, false, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TDriverDialog dialog(c.drivers);
        if (c.row < 0) {
            dialog.List()->clearSelection();
        } else {
            dialog.List()->setCurrentRow(c.row);
        }
        EXPECT_EQ(dialog.OkButton()->isEnabled(), c.okEnabled);
        if (c.cancel) {
            dialog.reject();
        } else {
            dialog.OkButton()->click();
        }
        EXPECT_EQ(dialog.result() == QDialog::Accepted ? dialog.Choice() : -1, c.expected);
    }
}

TEST(DriverDialogTest, ListShowsCaptionsWithDescriptionsAsHints)
{
    TDriverDialog dialog(TwoDrivers);
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Driver Dialog"));
    EXPECT_EQ(dialog.List()->item(0)->text(), QStringLiteral("Serial adapter"));
    EXPECT_EQ(dialog.List()->item(0)->toolTip(), QStringLiteral("RS232 to DeviceNet"));
    EXPECT_EQ(dialog.List()->item(1)->toolTip(), QStringLiteral("Gateway"));
}

}  // namespace
}  // namespace corvix
