#pragma once

#include <QString>

#include <stdexcept>

namespace corvix {

// Base of the errors our code raises: carries the user-facing text as a QString, so that
// messages built from texts in the Windows code page survive the round trip.
class CorvixError : public std::runtime_error {
public:
    explicit CorvixError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A text that should have been a number (or a number out of range) was not.
class ConversionError : public CorvixError {
public:
    using CorvixError::CorvixError;
};

// A folder could not be created, a file could not be read or written.
class FileError : public CorvixError {
public:
    using CorvixError::CorvixError;
};

}  // namespace corvix
