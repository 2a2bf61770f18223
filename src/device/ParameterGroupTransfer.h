#pragma once

#include <CorvixDriverContract.h>

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QEventLoop;

namespace corvix {

class TDevParameterClass;
class TDeviceNetDevice;
class TDeviceNetWork;

// Reads or writes every parameter of one group of a device, one request at a time, for the
// parameter page's "upload all" and "download all". The page drives it and shows what it
// reports; everything runs on the window thread, waiting for each reply while processing events
// so that replies, progress and the user's Cancel (Stop) are handled during the run.
//
// The object is the notify window of the parameters it sends, so it receives their 0x1492
// (request sent) and 0x1491 (reply handled) messages and passes them on as signals.
//
// A run ends when every parameter is done, on Stop (the progress window's Cancel, the page
// hidden or closed, a Cancel answer to a parameter's error question), when the network goes
// offline, or when the node stops answering. Every wait has a time limit, since a driver may
// drop a request without ever calling back.
class TParameterGroupTransfer : public QObject {
    Q_OBJECT
public:
    TParameterGroupTransfer(TDeviceNetDevice* device, TDeviceNetWork* network,
                            QObject* parent = nullptr);
    ~TParameterGroupTransfer() override;

    // Read all parameters of the group from the device. Returns when the run has ended.
    void UploadAll(int groupIndex);
    // Write all writable parameters of the group; a run that reaches its end sends the save
    // request when the device's parameter class asks for one.
    void DownloadAll(int groupIndex);
    // One parameter read or written; a write is followed by the save request as above.
    void UploadOne(TDevParameterClass* parameter);
    void DownloadOne(TDevParameterClass* parameter);
    // Sends Save (0x16) to the Parameter object class when bit 2 of the device's parameter
    // class descriptor asks for it; the reply is ignored. Returns whether it was sent.
    bool SaveParameterClass();

    // Ends the current run after the request under way; its late reply is still shown.
    void Stop();
    bool Running() const { return running_; }
    bool Stopped() const { return stop_; }

    // How long one reply is waited for before the node counts as not answering.
    static inline int ReplyTimeLimitMs = 10000;
    // How often a wait looks at its conditions again; a reply of ours or Stop ends the wait at
    // once, so the next request goes out as soon as the line allows.
    static inline int PollMs = 10;

Q_SIGNALS:
    // The run started with total requests to make.
    void started(int total);
    // "Processing parameter request k/total", once at the start and after every reply that
    // is not retried; position is the number of requests finished plus one.
    void progressChanged(const QString& text, int position, int total);
    void requestSent(int parameterNumber);
    void replyHandled(int parameterNumber);
    // The run has ended, whether it ran through or was stopped.
    void finished(bool completed);

protected:
    bool event(QEvent* event) override;

private:
    enum class Direction { Upload, Download };
    void run(Direction direction, int groupIndex);
    bool transferOne(Direction direction, TDevParameterClass* parameter, bool ignoreAll);
    // Processes events until done; false when the run must end first (stopped, offline) or the
    // reply time limit passed, which counts as the node not answering.
    bool waitUntil(const std::function<bool()>& done);
    // Handles events for PollMs, or until wakeUp().
    void pause();
    void wakeUp();
    bool mayGoOn() const;
    void advance();
    void replyArrived(int parameterNumber);
    void nodeNotAnswering();

    TDeviceNetDevice* device_;
    QPointer<TDeviceNetWork> network_;
    bool running_ = false;
    bool stop_ = false;
    bool retry_ = false;
    int total_ = 0;
    int position_ = 0;
    int awaitedNumber_ = 0;
    bool awaitedReplied_ = false;
    QEventLoop* pause_ = nullptr;
};

}  // namespace corvix
