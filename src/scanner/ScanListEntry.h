#pragma once

#include <array>
#include <cstdint>

namespace corvix {

// One mapped piece of a node's I/O data inside the scanner's memory tables. A slot whose
// BitLength is 0 is free.
struct TScanListIoMap {
    uint8_t MessageType = 0;  // 0 strobe, 1 poll, 2 change of state, 3 cyclic
    uint8_t TableIndex = 0;   // 0-based index into the direction's memory table list
    uint16_t MapCarriedWord = 0;  // kept as the scanner or the file gave it, never edited
    uint8_t MapCarriedByte = 0;   // kept as the scanner or the file gave it, never edited
    uint16_t BitLength = 0;
    uint16_t BitOffset = 0;  // first bit of the data in the memory table

    bool operator==(const TScanListIoMap&) const = default;
};

// Connection type bits of TScanListEntry::ConnectionFlags.
inline constexpr uint8_t ScanListPolled = 0x02;
inline constexpr uint8_t ScanListBitStrobed = 0x04;
inline constexpr uint8_t ScanListChangeOfState = 0x10;
inline constexpr uint8_t ScanListCyclic = 0x20;

// Bit of TScanListEntry::EntryFlags: the node belongs to another scanner, this one only listens.
inline constexpr uint8_t ScanListSharedInputs = 0x01;

// The scanner's record for one MAC ID. The carried bytes have no meaning to us; they only have
// to survive upload, file and download unchanged.
//
// For the entry of the scanner's own MAC ID (slave mode) the strobe fields swap roles:
// StrobeRxSize holds the strobe-Rx-bit flag and StrobeTxBit the strobe size in bytes.
struct TScanListEntry {
    uint8_t Active = 0;  // 1 = "Active Node"
    uint8_t CarriedByteA = 0;
    uint8_t MacId = 0;  // fixed per entry: entry i describes MAC ID i-1
    uint16_t VendorKey = 0;       // 0 = not checked by the scanner
    uint16_t ProductTypeKey = 0;  // 0 = not checked
    uint16_t ProductCodeKey = 0;  // 0 = not checked
    uint8_t ConnectionFlags = 0;  // ScanListPolled ...; 0x40 is carried from the scanner
    uint8_t PollRate = 0;         // 0 every scan cycle, 1 at background rate
    uint8_t StrobeRxSize = 0;
    uint8_t StrobeTxBit = 0;
    uint8_t PollRxSize = 0;
    uint8_t CosRxSize = 0;
    uint8_t PollTxSize = 0;
    uint8_t CosTxSize = 0;
    std::array<TScanListIoMap, 4> InputMap{};
    std::array<TScanListIoMap, 4> OutputMap{};
    uint8_t CarriedByteB = 0;
    uint8_t CarriedByteC = 0;
    uint16_t HeartbeatTime = 0;  // ms: COS heartbeat, or the send rate of a cyclic connection
    uint16_t AckTime = 0;        // ms
    uint16_t InhibitTime = 0;    // ms
    uint8_t EntryFlags = 0;      // ScanListSharedInputs
    uint8_t CarriedByteD = 0;
    uint8_t CarriedByteE = 0;
    uint8_t CarriedByteF = 0;

    bool operator==(const TScanListEntry&) const = default;
};

}  // namespace corvix
