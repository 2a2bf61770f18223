// The scanner block of a device section: the scanner settings, the scan list, the Quick Connect
// flags and the ADR data as one decimal number (or hexadecimal byte text) per line.

#include "scanner/DevScannerCfg.h"

#include "app/Conversions.h"
#include "app/CorvixError.h"

#include <limits>
#include <type_traits>

namespace corvix {

namespace {

const QString ScannerBegin = QStringLiteral("$Scanner Begin");
const QString ScannerEnd = QStringLiteral("$Scanner End");
const QString HtTable = QStringLiteral("$HtTable");
const QString ScanListBegin = QStringLiteral("$ScanList Begin");
const QString ScanListEnd = QStringLiteral("$ScanList End");
const QString QuickConnectBegin = QStringLiteral("$Quick Connect Begin");
const QString QuickConnectEnd = QStringLiteral("$Quick Connect End");
const QString AdrBegin = QStringLiteral("$ADR Begin");
const QString AdrEnd = QStringLiteral("$ADR End");

// The scanner-wide settings, in file order.
template <typename Config, typename Visit>
void visitSettings(Config& config, Visit&& visit)
{
    visit(config.ExpectedPacketRate);
    visit(config.InterscanDelay);
    visit(config.TransmitRetries);
    visit(config.BackgroundPollRatio);
}

template <typename Map, typename Visit>
void visitMap(Map& map, Visit&& visit)
{
    visit(map.MessageType);
    visit(map.TableIndex);
    visit(map.MapCarriedWord);
    visit(map.MapCarriedByte);
    visit(map.BitLength);
    visit(map.BitOffset);
}

// The 71 numbers of one scan-list entry, in file order.
template <typename Entry, typename Visit>
void visitEntry(Entry& entry, Visit&& visit)
{
    visit(entry.Active);
    visit(entry.CarriedByteA);
    visit(entry.MacId);
    visit(entry.VendorKey);
    visit(entry.ProductTypeKey);
    visit(entry.ProductCodeKey);
    visit(entry.ConnectionFlags);
    visit(entry.PollRate);
    visit(entry.StrobeRxSize);
    visit(entry.StrobeTxBit);
    visit(entry.PollRxSize);
    visit(entry.CosRxSize);
    visit(entry.PollTxSize);
    visit(entry.CosTxSize);
    for (auto& map : entry.InputMap) {
        visitMap(map, visit);
    }
    for (auto& map : entry.OutputMap) {
        visitMap(map, visit);
    }
    visit(entry.CarriedByteB);
    visit(entry.CarriedByteC);
    visit(entry.HeartbeatTime);
    visit(entry.AckTime);
    visit(entry.InhibitTime);
    visit(entry.EntryFlags);
    visit(entry.CarriedByteD);
    visit(entry.CarriedByteE);
    visit(entry.CarriedByteF);
}

// Two-digit upper-case hexadecimal bytes, each followed by one blank.
QString bytesText(const QByteArray& bytes)
{
    QString text;
    for (const char byte : bytes) {
        text += QStringLiteral("%1 ").arg(uint8_t(byte), 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

qsizetype findMarker(const QStringList& lines, const QString& marker)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(marker, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

// Reads consecutive lines of the block; every line asked for must exist and hold what is asked.
class LineReader {
public:
    LineReader(const QStringList& lines, qsizetype first) : lines_(lines), next_(first) {}

    template <typename T>
    T number()
    {
        const QString& text = line();
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok, 10);
        if (!ok || value < 0 || uint64_t(value) > std::numeric_limits<T>::max()) {
            fail(QStringLiteral("\"%1\" is not a valid number").arg(text));
        }
        return T(value);
    }

    bool flag()
    {
        const QString& text = line();
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok, 10);
        if (!ok) {
            fail(QStringLiteral("\"%1\" is not a valid number").arg(text));
        }
        return value != 0;
    }

    QByteArray bytes(uint16_t expectedLength)
    {
        const QString& text = line();
        QByteArray result;
        try {
            result = HexTextToBytes(text.trimmed());
        } catch (const ConversionError&) {
            fail(QStringLiteral("\"%1\" is not a valid hexadecimal byte text").arg(text));
        }
        if (result.size() != expectedLength) {
            fail(QStringLiteral("%1 bytes were announced, %2 found").arg(expectedLength)
                     .arg(result.size()));
        }
        return result;
    }

    void skip() { line(); }

private:
    const QString& line()
    {
        if (next_ >= lines_.size()) {
            throw ConversionError(
                QStringLiteral("Scanner block incomplete: line %1 of the device section is "
                               "missing.")
                    .arg(next_ + 1));
        }
        return lines_[next_++];
    }

    [[noreturn]] void fail(const QString& reason) const
    {
        throw ConversionError(QStringLiteral("Scanner block, line %1 of the device section: %2.")
                                  .arg(next_)
                                  .arg(reason));
    }

    const QStringList& lines_;
    qsizetype next_;
};

template <typename T>
void readInto(LineReader& reader, T& field)
{
    field = reader.number<T>();
}

TADRNodeParameterRecord readAdrRecord(LineReader& reader)
{
    TADRNodeParameterRecord record;
    readInto(reader, record.Sequence);
    readInto(reader, record.Service);
    readInto(reader, record.PathLength);
    record.Path = reader.bytes(record.PathLength);
    readInto(reader, record.DataLength);
    if (record.DataLength != 0) {
        record.Data = reader.bytes(record.DataLength);
    }
    return record;
}

void readAdrBlock(LineReader& reader, TADRNodeDataType& adr)
{
    readInto(reader, adr.AdrSpaceTotal);
    readInto(reader, adr.AdrSpaceUsed);
    adr.AutoAddressRecovery = reader.flag();
    for (TADRNodeRecord& node : adr.Nodes) {
        reader.skip();  // the node's MAC ID; the position in the block already says it
        node.ConfigurationRecovery = reader.flag();
        node.AddressRecovery = reader.flag();
        readInto(reader, node.ParameterCount);
        node.Parameters.clear();
        for (int i = 0; i < node.ParameterCount; ++i) {
            node.Parameters.append(readAdrRecord(reader));
        }
    }
}

void writeAdrBlock(QStringList& lines, const TADRNodeDataType& adr)
{
    lines << AdrBegin << QString::number(adr.AdrSpaceTotal) << QString::number(adr.AdrSpaceUsed)
          << BoolToText(adr.AutoAddressRecovery);
    for (int macId = 0; macId < int(adr.Nodes.size()); ++macId) {
        const TADRNodeRecord& node = adr.Nodes[macId];
        // The lengths written are those of the lists and byte strings themselves, so that the
        // block always reads back in step.
        lines << QString::number(macId) << BoolToText(node.ConfigurationRecovery)
              << BoolToText(node.AddressRecovery) << QString::number(node.Parameters.size());
        for (const TADRNodeParameterRecord& record : node.Parameters) {
            lines << QString::number(record.Sequence) << QString::number(record.Service)
                  << QString::number(record.Path.size()) << bytesText(record.Path)
                  << QString::number(record.Data.size());
            if (!record.Data.isEmpty()) {
                lines << bytesText(record.Data);
            }
        }
    }
    lines << AdrEnd;
}

}  // namespace

void TDevScannerCfgClass::WriteScannerBlock(QStringList& lines)
{
    const auto write = [&lines](auto value) { lines << QString::number(value); };
    lines << ScannerBegin;
    visitSettings(*this, write);
    lines << HtTable;
    write(HitachiInputSelection);
    write(HitachiOutputSelection);
    lines << ScanListBegin;
    for (const TScanListEntry& entry : ScanList) {
        visitEntry(entry, write);
    }
    lines << ScanListEnd << QuickConnectBegin;
    for (const bool enabled : QuickConnectInScanner) {
        lines << BoolToText(enabled);
    }
    lines << QuickConnectEnd;
    if (AdrSupported) {
        writeAdrBlock(lines, AdrData);
    }
    lines << ScannerEnd;
    Saved = true;
}

void TDevScannerCfgClass::ReadScannerBlock(const QStringList& lines)
{
    // Everything is read into copies first, so a broken block leaves the configuration as it was.
    struct Settings {
        uint16_t ExpectedPacketRate;
        uint16_t InterscanDelay;
        uint8_t TransmitRetries;
        uint16_t BackgroundPollRatio;
    } settings{ExpectedPacketRate, InterscanDelay, TransmitRetries, BackgroundPollRatio};
    uint16_t inputSelection = HitachiInputSelection;
    uint16_t outputSelection = HitachiOutputSelection;
    auto scanList = ScanList;
    auto quickConnect = QuickConnectInScanner;
    TADRNodeDataType adr = AdrData;

    if (const qsizetype s = findMarker(lines, ScannerBegin); s >= 0) {
        LineReader reader(lines, s + 1);
        visitSettings(settings, [&reader](auto& field) { readInto(reader, field); });
    }
    if (const qsizetype l = findMarker(lines, ScanListBegin); l >= 0) {
        if (l >= 3 && lines[l - 3] == HtTable) {
            LineReader reader(lines, l - 2);
            readInto(reader, inputSelection);
            readInto(reader, outputSelection);
        }
        LineReader reader(lines, l + 1);
        for (TScanListEntry& entry : scanList) {
            visitEntry(entry, [&reader](auto& field) { readInto(reader, field); });
        }
        if (const qsizetype q = findMarker(lines, QuickConnectBegin); q >= 0) {
            LineReader flags(lines, q + 1);
            for (bool& enabled : quickConnect) {
                enabled = flags.flag();
            }
        }
        if (const qsizetype a = findMarker(lines, AdrBegin); a >= 0) {
            LineReader adrReader(lines, a + 1);
            readAdrBlock(adrReader, adr);
        }
    }

    ExpectedPacketRate = settings.ExpectedPacketRate;
    InterscanDelay = settings.InterscanDelay;
    TransmitRetries = settings.TransmitRetries;
    BackgroundPollRatio = settings.BackgroundPollRatio;
    HitachiInputSelection = inputSelection;
    HitachiOutputSelection = outputSelection;
    ScanList = scanList;
    QuickConnectInScanner = quickConnect;
    AdrData = adr;
}

}  // namespace corvix
