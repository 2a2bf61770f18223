#pragma once

#include <QString>

namespace corvix {

// Where installation reports its lines ("Successfully installed: ...", the reason a file was
// refused). The EDS wizard window shows them in its log; the command line prints them. Without
// a log the lines are dropped, as they are when no wizard window is open.
class EdsWizardLog {
public:
    virtual ~EdsWizardLog() = default;
    virtual void AddLogLine(const QString& line) = 0;
};

}  // namespace corvix
