#pragma once

#include "core/SerialAdapter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace corvix::sim {

// The serial adapter on a pseudo-terminal: the driver opens the terminal's slave path as its
// serial port. Bytes go to and from the SerialAdapter state machine.
class PtyFrontEnd : public QObject {
    Q_OBJECT
public:
    // Opens the pseudo-terminal; throws CorvixError when the system has none to give.
    // linkPath, when not empty, becomes a symbolic link to the slave path.
    PtyFrontEnd(SimNetwork& network, bool lineRate, const QString& linkPath = {});
    ~PtyFrontEnd() override;

    QString slavePath() const { return slavePath_; }
    SerialAdapter& adapter() { return adapter_; }

private:
    void readMaster();
    void service();
    std::int64_t nowUs() const { return clock_.nsecsElapsed() / 1000; }

    SerialAdapter adapter_;
    int master_ = -1;
    int slave_ = -1;  // kept open so the master never sees a hang-up between driver sessions
    QString slavePath_;
    QString linkPath_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer timer_;
    QElapsedTimer clock_;
};

}  // namespace corvix::sim
