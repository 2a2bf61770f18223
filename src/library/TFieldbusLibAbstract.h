#pragma once

#include <QObject>
#include <QString>

namespace corvix {

class UserPrompt;

// The library of device descriptions of one fieldbus. Each window and network document that
// needs the library creates its own instance; all instances of a fieldbus share one folder.
// The operations a fieldbus does not provide tell the user so and do nothing.
class TFieldbusLibAbstract : public QObject {
    Q_OBJECT

public:
    // owner is the window (or document) that created the instance; it is not owned.
    explicit TFieldbusLibAbstract(QObject* owner, UserPrompt* prompt = nullptr);

    virtual void RebuildLibrary();
    virtual void CountDevices(int& count);  // unused by DeviceNet, kept for other fieldbuses
    virtual bool InstallEdsFile(const QString& fileName);

    const QString& LibraryPath() const { return libraryPath_; }
    QObject* OwnerForm() const { return ownerForm_; }

Q_SIGNALS:
    // The library index was rebuilt: the main window lets its network windows bind their
    // devices to the EDS files now present.
    void LibraryRebuilt();

protected:
    UserPrompt& prompt() const;
    QString libraryPath_;

private:
    void notImplemented() const;

    QObject* ownerForm_;
    UserPrompt* prompt_;
};

}  // namespace corvix
