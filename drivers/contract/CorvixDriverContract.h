/*
 * The contract between the program, its interface drivers and its tool plug-ins.
 *
 * Every driver is a shared library in the "Drivers" folder beside the program; every tool a shared
 * library in "Tools". The host finds the exports below by name. This header is plain C so that a
 * driver may be written in either language; it compiles as C99 and as C++.
 *
 * On 32-bit Windows exports and callbacks use the standard call convention. Elsewhere the platform's
 * own convention applies and CORVIX_STDCALL is empty. Driver handles stay 32-bit session ids on
 * every platform; module handles, owner windows and data pointers are pointer-sized.
 */
#ifndef CORVIX_DRIVER_CONTRACT_H
#define CORVIX_DRIVER_CONTRACT_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define CORVIX_STDCALL __stdcall
#else
#define CORVIX_STDCALL
#endif

#if defined(_WIN32)
#define CORVIX_EXPORT __declspec(dllexport)
#else
#define CORVIX_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Handles and callbacks -------------------------------------------------------------- */

/* A driver session; 0 means "no session". The host never interprets it. */
typedef uint32_t CorvixDriverHandle;

/* statusCallback(code): a network status code (CORVIX_NET_...). */
typedef void(CORVIX_STDCALL* CorvixStatusCallback)(uint32_t code);

/* browseCallback(length, data): one browse record (CORVIX_BROWSE_...), once per MAC ID 0..63. */
typedef void(CORVIX_STDCALL* CorvixBrowseCallback)(int32_t length, const uint8_t* data);

/* replyCallback(tag, transferStatus, replyService, replyLength, replyData): the end of one
 * request. replyData is valid only during the call. */
typedef void(CORVIX_STDCALL* CorvixReplyCallback)(uint32_t tag, uint8_t transferStatus,
                                                  uint8_t replyService, uint32_t replyLength,
                                                  const uint8_t* replyData);

/* The host's settings functions handed over by SetupRegisterCallbacks. They use the platform's
 * default convention (host and drivers are built together). Names are zero-terminated texts. */
typedef int32_t (*CorvixReadIntegerFn)(const char* name, int32_t defaultValue);
typedef void (*CorvixWriteIntegerFn)(const char* name, int32_t value);
typedef int32_t (*CorvixReadBoolFn)(const char* name); /* 0 or 1; 0 when missing */
typedef void (*CorvixWriteBoolFn)(const char* name, int32_t value);
/* Copies the stored text, zero-terminated and cut to resultSize - 1 bytes, into result and
 * returns its full length; leaves result unchanged and returns -1 when the value is missing. */
typedef int32_t (*CorvixReadStringFn)(const char* name, char* result, uint32_t resultSize);
typedef void (*CorvixWriteStringFn)(const char* name, const char* value);

/* ---- Driver exports --------------------------------------------------------------------- */

#define CORVIX_EXPORT_DRIVER_NAME "VelmoraCorvixDriverForDeviceNet"
#define CORVIX_EXPORT_HELP_TEXT "GetHelpText"
#define CORVIX_EXPORT_SETUP_REGISTER_CALLBACKS "SetupRegisterCallbacks"
#define CORVIX_EXPORT_SET_UP_AND_GO_ONLINE "SetUpAndGoOnline"
#define CORVIX_EXPORT_NETWORK_WHO "NetWorkWho"
#define CORVIX_EXPORT_NETWORK_REQUEST "NetWorkRequest"
#define CORVIX_EXPORT_CLOSE_DRIVER "CloseDriver"

typedef const char*(CORVIX_STDCALL* CorvixDriverNameFn)(void);
typedef const char*(CORVIX_STDCALL* CorvixGetHelpTextFn)(void);
typedef void(CORVIX_STDCALL* CorvixSetupRegisterCallbacksFn)(
    CorvixReadIntegerFn readInteger, CorvixWriteIntegerFn writeInteger, CorvixReadBoolFn readBool,
    CorvixWriteBoolFn writeBool, CorvixReadStringFn readString, CorvixWriteStringFn writeString);
/* settingsLength/settingsText: on entry 0/NULL asks for the set-up window, a length above 0 hands
 * over the stored settings text. On return a driver that keeps settings points them at its
 * current settings text (valid until CloseDriver; the host copies it at once). */
typedef CorvixDriverHandle(CORVIX_STDCALL* CorvixSetUpAndGoOnlineFn)(
    void* ownerWindow, CorvixStatusCallback statusCallback, int32_t* settingsLength,
    const char** settingsText);
typedef void(CORVIX_STDCALL* CorvixNetWorkWhoFn)(CorvixDriverHandle driverHandle,
                                                 CorvixBrowseCallback browseCallback);
/* Always returns 0; the outcome arrives through replyCallback (or never: callers keep a time-out
 * of their own). */
typedef uint8_t(CORVIX_STDCALL* CorvixNetWorkRequestFn)(
    CorvixDriverHandle driverHandle, uint32_t tag, uint8_t macId, const char* pathText,
    uint8_t service, uint32_t dataLength, const uint8_t* data, CorvixReplyCallback replyCallback);
typedef int32_t(CORVIX_STDCALL* CorvixCloseDriverFn)(CorvixDriverHandle driverHandle);

/* ---- Tool exports ----------------------------------------------------------------------- */

#define CORVIX_EXPORT_TOOL_NAME "VelmoraCorvixToolForDeviceNet"
#define CORVIX_EXPORT_TOOL_RUN "Run"

typedef const char*(CORVIX_STDCALL* CorvixToolNameFn)(void);
/* macId: the selected node in the low 8 bits; the upper bits carry no meaning. */
typedef void(CORVIX_STDCALL* CorvixToolRunFn)(CorvixDriverHandle driverHandle, void* driverModule,
                                              uint32_t macId);

/* ---- Network status codes (status callback) --------------------------------------------- */

enum {
    CORVIX_NET_ONLINE = 4,
    CORVIX_NET_BUS_OFF = 8,
    CORVIX_NET_DUPLICATE_MAC_ID = 16,
    CORVIX_NET_OFFLINE = 32,
    CORVIX_NET_NO_POWER = 64,
    CORVIX_NET_UNKNOWN_ERROR = 256,
    CORVIX_NET_INTERFACE_TIMEOUT = 512,
    CORVIX_NET_DRIVER_RELEASED = 1285
};

/* ---- Transfer status codes (reply callback) --------------------------------------------- */

enum {
    CORVIX_TRANSFER_SUCCESS = 1,
    CORVIX_TRANSFER_IN_PROGRESS = 2,
    CORVIX_TRANSFER_NODE_OFFLINE = 4,
    CORVIX_TRANSFER_SCANNER_OFFLINE = 5,
    CORVIX_TRANSFER_NO_TX_ID = 6,
    CORVIX_TRANSFER_NODE_ERRORED = 11,
    CORVIX_TRANSFER_TOO_MUCH_DATA = 12,
    CORVIX_TRANSFER_DEVICE_TIMED_OUT = 15,
    CORVIX_TRANSFER_BLOCK_QUEUED = 16,
    CORVIX_TRANSFER_BLOCK_ALLOCED = 17,
    CORVIX_TRANSFER_CONNECTION_IN_PROGRESS = 18,
    CORVIX_TRANSFER_CONNECTION_ERROR = 19,
    CORVIX_TRANSFER_CONNECTION_FORMAT_ERROR = 20
};

/* The text a caller shows for a transfer status; NULL for a code that has none. */
static inline const char* CorvixTransferStatusText(uint32_t code)
{
    switch (code) {
        case CORVIX_TRANSFER_SUCCESS: return "Success";
        case CORVIX_TRANSFER_IN_PROGRESS: return "Transmission in progress";
        case CORVIX_TRANSFER_NODE_OFFLINE: return "Node is offline";
        case CORVIX_TRANSFER_SCANNER_OFFLINE: return "Scanner is offline";
        case CORVIX_TRANSFER_NO_TX_ID: return "No TX Id";
        case CORVIX_TRANSFER_NODE_ERRORED: return "Node is errored";
        case CORVIX_TRANSFER_TOO_MUCH_DATA: return "To much data";
        case CORVIX_TRANSFER_DEVICE_TIMED_OUT: return "Device timed out";
        case CORVIX_TRANSFER_BLOCK_QUEUED: return "Block is queued";
        case CORVIX_TRANSFER_BLOCK_ALLOCED: return "Block is alloced";
        case CORVIX_TRANSFER_CONNECTION_IN_PROGRESS: return "Connection is in progress";
        case CORVIX_TRANSFER_CONNECTION_ERROR: return "Connection error";
        case CORVIX_TRANSFER_CONNECTION_FORMAT_ERROR: return "Connection format error";
        default: return NULL;
    }
}

/* ---- Browse records --------------------------------------------------------------------- */

enum {
    CORVIX_MAC_ID_COUNT = 64,
    CORVIX_BROWSE_RECORD_PRESENT = 13, /* the node answered */
    CORVIX_BROWSE_RECORD_ABSENT = 1,   /* no node at this MAC ID */
    /* Offsets inside a record; multi-byte fields low byte first. */
    CORVIX_BROWSE_MAC_ID = 0,
    CORVIX_BROWSE_VENDOR_ID = 1,
    CORVIX_BROWSE_DEVICE_TYPE = 3,
    CORVIX_BROWSE_PRODUCT_CODE = 5,
    CORVIX_BROWSE_MAJOR_REVISION = 7,
    CORVIX_BROWSE_MINOR_REVISION = 8,
    CORVIX_BROWSE_SERIAL_NUMBER = 9
};

/* ---- Request paths and services --------------------------------------------------------- */

enum {
    CORVIX_SEGMENT_CLASS_8 = 0x20,
    CORVIX_SEGMENT_CLASS_16 = 0x21,
    CORVIX_SEGMENT_INSTANCE_8 = 0x24,
    CORVIX_SEGMENT_INSTANCE_16 = 0x25,
    CORVIX_SEGMENT_ATTRIBUTE_8 = 0x30
};

enum {
    CORVIX_SERVICE_GET_ATTRIBUTES_ALL = 0x01,
    CORVIX_SERVICE_SET_ATTRIBUTES_ALL = 0x02,
    CORVIX_SERVICE_RESET = 0x05,
    CORVIX_SERVICE_GET_ATTRIBUTE_SINGLE = 0x0E,
    CORVIX_SERVICE_SET_ATTRIBUTE_SINGLE = 0x10,
    CORVIX_SERVICE_SAVE = 0x16,
    CORVIX_SERVICE_GET_MEMBER = 0x18,
    CORVIX_SERVICE_SET_MEMBER = 0x1A,
    CORVIX_SERVICE_GET_ENUM_STRING = 0x4B,
    CORVIX_SERVICE_UNCONNECTED_SEND = 0x52,
    CORVIX_SERVICE_REPLY_FLAG = 0x80,
    CORVIX_SERVICE_ERROR_REPLY = 0x94
};

#ifdef __cplusplus
}
#endif

#endif /* CORVIX_DRIVER_CONTRACT_H */
