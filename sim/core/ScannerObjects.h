#pragma once

#include "core/CipMessage.h"

#include <QList>

#include <array>

namespace corvix::sim {

// The scanner-specific objects of a simulated scanner: settings and status (class 0x90), the
// scan list (class 0x91, instance n for MAC ID n - 1) and automatic device replacement (0x8F).
struct SimScanner {
    static constexpr int Nodes = 64;
    static constexpr int ScanRecordSize = 100;
    static constexpr int SettingsSize = 12;

    bool runMode = false;
    bool autoAddressRecovery = false;
    QByteArray settings = QByteArray(SettingsSize, '\0');
    std::array<QByteArray, Nodes> scanList;             // 100-byte records as last written
    std::array<std::uint8_t, Nodes> faultTable{};       // status code per MAC ID, 0 = no fault
    std::array<bool, Nodes> addressRecovery{};          // class 0x91 attribute 0x17
    std::array<bool, Nodes> quickConnect{};             // class 0x91 attribute 0x18
    std::array<std::uint8_t, Nodes> configRecovery{};   // class 0x8F attribute 2
    std::array<QList<QByteArray>, Nodes> adrRecords;    // class 0x8F attribute 4 members
    std::uint16_t adrSpaceTotal = 8192;
    // Some scanners know only the values 0 and 1 for configuration recovery.
    bool refuseRecoveryTwo = false;

    SimScanner();
    std::uint16_t adrSpaceUsed() const;
};

// Answers a request to class 0x90, 0x91 or 0x8F; ownMacId fills the scanner's own byte of the
// status table.
CipReply HandleScannerRequest(SimScanner& scanner, std::uint8_t ownMacId, const CipRequest& request);

}  // namespace corvix::sim
