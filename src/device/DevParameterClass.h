#pragma once

#include "app/CallbackThunk.h"
#include "device/DeviceNetDataTypes.h"

#include <CorvixDriverContract.h>

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace corvix {

class TDeviceNetDevice;
class TDeviceNetWork;

// Messages a parameter posts to its notify window, with 0 and the parameter number.
constexpr int ParameterReplyHandledMessage = 0x1491;
constexpr int ParameterRequestSentMessage = 0x1492;

// What the parameter window paints a value in: the state of the last request.
enum class StateColour {
    Navy,    // value valid
    Purple,  // value valid, parameter read-only
    Gray,    // a request is under way
    Red,     // the last request or the value failed
};

// The colour as 0xRRGGBB, for whoever paints it.
uint32_t StateColourRgb(StateColour colour);

// Outcome of the last request, as the parameter window drives uploads and downloads with it.
enum class RequestResult { Done, Stop, Retry, Ignore, IgnoreAll };

// One device parameter: an entry "ParamN=" of the EDS file with every field kept, the value in
// its data type, the enumeration strings and the help text the parameter window shows.
//
// The EDS reader builds it from
//   fields      the field list of the first "ParamN=" entry (ReadValueFields: quotes removed,
//               commas inside quoted strings already turned into dots); fields 1 to 21 are
//               reserved, link path size, link path, descriptor, data type, data size, name,
//               units, help, minimum, maximum, default, multiplier, divisor, base, offset, the
//               four links and decimal precision; at least the first 12 must be there,
//   enumFields  the field list of the next "ParamN=" entry (an [EnumPar] section after
//               [Params]): the display strings for the values Minimum, Minimum + 1, ...; empty
//               when there is none,
//   number      N, the instance of the parameter in the device's Parameter object (1..65535).
// An illegal entry raises CorvixError with the message to list under "Illegal entry in parameter
// definition of Parameter N": a data-type fault ("Defined default value is not within min/max
// range", "300 is not within the valid range of 0..255", a conversion error, ...) or
// "Unsupported parameter data type in EDS-file". A parameter whose descriptor says it is not to be
// kept builds normally and answers IsExcluded(); the reader then drops it.
//
// Objects are neither copied nor moved: the reply callbacks handed to a driver will be bound to
// this address.
class TDevParameterClass {
public:
    TDevParameterClass(const QByteArrayList& fields, const QByteArrayList& enumFields, int number);
    TDevParameterClass(const TDevParameterClass&) = delete;
    TDevParameterClass& operator=(const TDevParameterClass&) = delete;
    ~TDevParameterClass();

    bool IsReadOnly() const;
    bool IsExcluded() const;

    // The value as the user sees it: the enumeration string, or the data type's display text
    // (bit strings without their "0B"). A raw value that cannot be shown turns the state red.
    QString GetDisplayValue();
    // The same followed by a blank and the units.
    QString GetDisplayValueWithUnits();
    // A value typed or chosen by the user; an out-of-range value leaves the old one. Raises
    // ConversionError for a text that is no number where one is needed.
    QString SetFromUserText(const QString& text);
    // A value received from the device; bytes of the wrong size leave the old one.
    QString SetFromNetworkBytes(const QByteArray& bytes);

    int Number() const { return number_; }
    const QString& DisplayName() const { return displayName_; }
    const QString& Units() const { return units_; }
    const QString& HelpText() const { return helpText_; }
    const QStringList& EnumStrings() const { return enumStrings_; }
    const QString& ReservedField() const { return reservedField_; }
    const QString& LinkPathSize() const { return linkPathSize_; }
    const QString& RequestPath() const { return requestPath_; }
    const QString& Descriptor() const { return descriptor_; }
    const QString& DataTypeCode() const { return dataTypeCode_; }
    const QString& DataSize() const { return dataSize_; }
    const QString& MinimumText() const { return minimumText_; }
    const QString& MaximumText() const { return maximumText_; }
    const QString& DefaultText() const { return defaultText_; }
    const QString& Multiplier() const { return multiplier_; }
    const QString& Divisor() const { return divisor_; }
    const QString& Base() const { return base_; }
    const QString& Offset() const { return offset_; }
    const QString& MultiplierLink() const { return multiplierLink_; }
    const QString& DivisorLink() const { return divisorLink_; }
    const QString& BaseLink() const { return baseLink_; }
    const QString& OffsetLink() const { return offsetLink_; }
    const QString& Precision() const { return precision_; }

    TDeviceNetDataTypes& DataType() { return *dataType_; }
    const TDeviceNetDataTypes& DataType() const { return *dataType_; }

    // The owning device, set by the device that keeps the parameter; requests mark it as
    // responding or not.
    TDeviceNetDevice* Device() const { return device_; }
    void SetDevice(TDeviceNetDevice* device) { device_ = device; }

    StateColour GetStateColour() const { return stateColour_; }
    // True while the value is as last written to a file; the device section sets it.
    bool Saved() const { return saved_; }
    void SetSaved(bool saved) { saved_ = saved; }
    // True when the value was last read from or written to the device.
    bool Synchronized() const { return synchronized_; }
    RequestResult GetRequestResult() const { return requestResult_; }
    // When set, a failed request asks nothing and only marks the value red.
    bool SuppressErrorDialog() const { return suppressErrorDialog_; }
    void SetSuppressErrorDialog(bool suppress) { suppressErrorDialog_ = suppress; }

    // Reads the value from the device through the network's driver (Get_Attribute_Single) and
    // writes it (Set_Attribute_Single). Nothing is sent while a request of this parameter is
    // under way, unless that request has waited longer than RequestTimeLimitMs: a driver may
    // drop a request without calling back, and the parameter must not stay locked then.
    // notifyWindow (may be null) gets 0x1492 when the request is sent and 0x1491 when its reply
    // has been handled.
    void ReadFromDevice(QObject* notifyWindow, TDeviceNetWork* network);
    void WriteToDevice(QObject* notifyWindow, TDeviceNetWork* network);
    bool RequestUnderWay() const;
    static inline int RequestTimeLimitMs = 10000;

private:
    StateColour validColour() const;
    QString displayOf(const QString& raw) const;
    void applyScalingRules();
    void keepEnumStringsIfTheyFit();
    void completeHelpText();
    bool sendRequest(QObject* notifyWindow, TDeviceNetWork* network, uint8_t service,
                     const QByteArray& data, CorvixReplyCallback reply);
    void readReply(uint8_t transferStatus, uint8_t service, uint32_t length, const uint8_t* data);
    void writeReply(uint8_t transferStatus, uint8_t service, uint32_t length,
                    const uint8_t* data);
    void askAboutErrorReply(const QString& text, uint32_t length, const uint8_t* data);
    void markDevice(bool responding);
    void notify(int message);

    int number_;
    QString displayName_;
    QString units_;
    QString helpText_;
    QStringList enumStrings_;
    QString reservedField_;
    QString linkPathSize_;
    QString requestPath_;
    QString descriptor_;
    QString dataTypeCode_;
    QString dataSize_;
    QString minimumText_, maximumText_, defaultText_;
    QString multiplier_, divisor_, base_, offset_;
    QString multiplierLink_, divisorLink_, baseLink_, offsetLink_;
    QString precision_;
    int64_t descriptorBits_ = 0;
    std::unique_ptr<TDeviceNetDataTypes> dataType_;
    TDeviceNetDevice* device_ = nullptr;
    StateColour stateColour_ = StateColour::Navy;
    bool saved_ = true;
    bool synchronized_ = false;
    bool suppressErrorDialog_ = false;
    RequestResult requestResult_ = RequestResult::Done;
    QPointer<QObject> notifyWindow_;
    QPointer<TDeviceNetWork> network_;
    QElapsedTimer requestClock_;
    CallbackThunk<CorvixReplyCallback> readReplyThunk_;
    CallbackThunk<CorvixReplyCallback> writeReplyThunk_;
};

}  // namespace corvix
