// The class/instance editor's reply port called as a driver calls it, without a driver.
#include <gtest/gtest.h>

#include "app/CallbackThunk.h"
#include "device/ClassInstanceReplyPort.h"
#include "network/DeviceNetWork.h"
#include "support/WaitFor.h"

namespace corvix {
namespace {

using test::WaitFor;
using Reply = TClassInstanceReplyPort::Reply;

// The driver's call of the reply callback: transfer status and reply service, no data.
void Answer(CorvixReplyCallback callback, uint8_t transferStatus)
{
    callback(0x0E, transferStatus, 0, 0, nullptr);
}

TEST(ClassInstanceReplyPort, OnlyTheFirstReplyToARequestIsAwaited)
{
    TDeviceNetWork network;
    QList<bool> awaited;
    TClassInstanceReplyPort port([&](const Reply& reply) { awaited.append(reply.awaited); });
    port.Expect(network);
    EXPECT_EQ(port.Outstanding(), 1);
    // A driver that reports the failure of one request twice.
    Answer(port.Address(), CORVIX_TRANSFER_NODE_OFFLINE);
    Answer(port.Address(), CORVIX_TRANSFER_NODE_OFFLINE);
    EXPECT_EQ(awaited, (QList<bool>{true, false}));
    EXPECT_EQ(port.Outstanding(), 0);
}

TEST(ClassInstanceReplyPort, ReleasedWithoutRequestsOutItGoesAtOnce)
{
    TDeviceNetWork network;
    const long before = thunk_detail::ClosureBase::liveCount();
    auto port = std::make_unique<TClassInstanceReplyPort>([](const Reply&) {});
    port->Expect(network);  // no driver session: nothing can answer
    TClassInstanceReplyPort::Release(std::move(port), &network);
    EXPECT_EQ(thunk_detail::ClosureBase::liveCount(), before);
}

TEST(ClassInstanceReplyPort, ReleasedFromInsideItsOwnReplyItGoesAfterwards)
{
    // The receiver's message box lets the user close the editor while the reply is handled.
    TDeviceNetWork network;
    const long before = thunk_detail::ClosureBase::liveCount();
    std::unique_ptr<TClassInstanceReplyPort> port;
    int replies = 0;
    port = std::make_unique<TClassInstanceReplyPort>([&](const Reply&) {
        ++replies;
        TClassInstanceReplyPort::Release(std::move(port), &network);
    });
    port->Expect(network);
    const CorvixReplyCallback address = port->Address();
    Answer(address, CORVIX_TRANSFER_SUCCESS);
    EXPECT_EQ(replies, 1);
    EXPECT_TRUE(WaitFor([&] { return thunk_detail::ClosureBase::liveCount() == before; }));
}

}  // namespace
}  // namespace corvix
