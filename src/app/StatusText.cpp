#include "app/StatusText.h"

#include <QHash>

namespace corvix {

namespace {

// Texts as the devices and scanners report them, blanks at either end included.
const QHash<int, QString>& statusTexts()
{
    static const QHash<int, QString> texts = {
        {0x00, QStringLiteral("Success Service was successfully performed by the object specified.")},
        {0x02, QStringLiteral(" Resource unavailable: Resources needed for the object to perform the "
                              "requested service were unavailable")},
        {0x04, QStringLiteral("Path segment error: The path segment identifier or the segment syntax "
                              "was not understood by the processing node. Path processing shall stop "
                              "when a path segment error is encountered.")},
        {0x05, QStringLiteral("Path destination unknown: The path is referencing an object class, "
                              "instance or structure element that is not known or is not contained in "
                              "the processing node. Path processing shall stop when a path destination "
                              "unknown error is encountered.")},
        {0x07, QStringLiteral("Connection lost: The messaging connection was lost.")},
        {0x08, QStringLiteral("Service not supported: The requested service was not implemented or "
                              "was not defined for this Object Class/Instance.")},
        {0x09, QStringLiteral("Invalid attribute value: Invalid attribute data detected")},
        {0x0A, QStringLiteral("Attribute list error: An attribute in the Get_Attribute_List or "
                              "Set_Attribute_List response has a non-zero status.")},
        {0x0B, QStringLiteral("Already in requested mode/state: The object is already in the "
                              "mode/state being requested by the service ")},
        {0x0C, QStringLiteral("Object state conflict: The object cannot perform the requested "
                              "service in its current mode/state")},
        {0x0D, QStringLiteral("Object already exists: The requested instance of object to be "
                              "created already exists.")},
        {0x0E, QStringLiteral("Attribute not settable: A request to modify a nonmodifiable "
                              "attribute was received. ")},
        {0x0F, QStringLiteral("Privilege violation: A permission/privilege check failed")},
        {0x10, QStringLiteral("Device state conflict: The device\u2019s current mode/state prohibits "
                              "the execution of the requested service.")},
        {0x11, QStringLiteral("Reply data too large: The data to be transmitted in the response "
                              "buffer is larger than the allocated response buffer")},
        {0x13, QStringLiteral("Not enough data: The service did not supply enough data to perform "
                              "the specified operation.")},
        {0x14, QStringLiteral("Attribute not supported: The attribute specified in the request is "
                              "not supported")},
        {0x15, QStringLiteral("Too much data: The service supplied more data than was expected")},
        {0x16, QStringLiteral("Object does not exist: The object specified does not exist in the "
                              "device.")},
        {0x18, QStringLiteral("No stored attribute data: The attribute data of this object was not "
                              "saved prior to the requested service.")},
        {0x19, QStringLiteral("Store operation failure: The attribute data of this object was not "
                              "saved due to a failure during the attempt.")},
        {0x1C, QStringLiteral("Missing attribute list entry data: The service did not supply an "
                              "attribute in a list of attributes that was needed by the service to "
                              "perform the requested behaviour.")},
        {0x1D, QStringLiteral("Invalid attribute value list: The service is returning the list of "
                              "attributes supplied with status information for those attributes "
                              "that were invalid.")},
        {0x1F, QStringLiteral("Vendor specific error: A vendor specific error has been "
                              "encountered. ")},
        {0x20, QStringLiteral("Invalid parameter: A parameter associated with the request was "
                              "invalid. This code is used when a parameter does not meet the "
                              "requirements of this specification and/or the requirements defined "
                              "in an Application Object Specification.")},
        {0x27, QStringLiteral("Unexpected attribute in list: An attempt was made to set an "
                              "attribute that is not able to be set at this time.")},
        {0x28, QStringLiteral("Invalid Member ID: The Member ID specified in the request does not "
                              "exist in the specified Class/Instance/Attribute")},
        {0x29, QStringLiteral("Member not settable: A request to modify a non-modifiable member "
                              "was received")},
        {0x2A, QStringLiteral("Group 2 only server general failure")},
        {70, QStringLiteral("Failed DUP MAC check.")},
        {71, QStringLiteral("Illegal value in Scanlist.")},
        {72, QStringLiteral("Device stopped communicating.")},
        {73, QStringLiteral("Device does not match Scanlist.")},
        {74, QStringLiteral("Port has detected data overrun.")},
        {75, QStringLiteral("Network comm have failed.")},
        {76, QStringLiteral("Timeout with no net traffic for scanner.")},
        {77, QStringLiteral("Data size returned does not match Scanlist.")},
        {78, QStringLiteral("Device in Scanlist not answering.")},
        {79, QStringLiteral("Port failed to transmit msg.")},
        {80, QStringLiteral("Port is in IDLE MODE operation.")},
        {81, QStringLiteral("Port is in FAULT MODE operation.")},
        {82, QStringLiteral("I/O fragment out-of-sequence.")},
        {83, QStringLiteral("Device refused to be Initialized.")},
        {84, QStringLiteral("Device not yet Initialized.")},
        {85, QStringLiteral("Data too big for frag buffer.")},
        {86, QStringLiteral("Device went into idle itself")},
        {87, QStringLiteral("Shared master has not allocated slave")},
        {88, QStringLiteral("Shared master has not allocated")},
        {89, QStringLiteral("Keeper download failed")},
        {90, QStringLiteral("User has disabled port.")},
        {91, QStringLiteral("Bus Off detected on port.")},
        {92, QStringLiteral("No power on CAN transceiver")},
        {95, QStringLiteral("Appl FLASH is being modified by tool")},
        {96, QStringLiteral("Port is in TEST MODE operation.")},
        {97, QStringLiteral("User halted scanner")},
        {98, QStringLiteral("Esc,Overflow,Divide or other proc err.")},
        {99, QStringLiteral("Watchdog has timed-out.")},
    };
    return texts;
}

}  // namespace

QString StatusText(int code)
{
    return statusTexts().value(code, QStringLiteral("Unknown Error"));
}

}  // namespace corvix
