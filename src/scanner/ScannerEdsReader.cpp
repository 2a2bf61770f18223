// Building a scanner configuration from the scanner's normalised EDS text: the memory tables,
// the features the scanner announces and the linear mapping tables.

#include "scanner/DevScannerCfg.h"

#include "app/CorvixError.h"
#include "app/EdsValueReaders.h"
#include "app/TextSearch.h"
#include "app/Windows1252.h"
#include "device/NumberText.h"

#include <limits>

namespace corvix {

namespace {

// Integer texts of EDS files, limited to what a 32-bit entry can hold (hexadecimal unsigned).
int64_t edsInteger(const QByteArray& text)
{
    const int64_t value = TextToInt64(DecodeWindows1252(text));
    if (value < std::numeric_limits<int32_t>::min() ||
        value > int64_t(std::numeric_limits<uint32_t>::max())) {
        throw ConversionError(
            QStringLiteral("'%1' is not a valid integer value").arg(DecodeWindows1252(text)));
    }
    return value;
}

bool containsText(const QByteArray& text, const QByteArray& key)
{
    return FindText(text, key, 0, text.size()) >= 0;
}

QByteArray valueText(const QByteArray& text, const QByteArray& key)
{
    return ReadValue(text, key, 0, text.size());
}

QByteArray numbered(const char* prefix, int n)
{
    return QByteArray(prefix) + QByteArray::number(n) + '=';
}

// The lists of one direction's memory tables.
struct TableLists {
    QStringList& names;
    QStringList& types;
    int32_t& elementWidth;
    QStringList& sizes;
    QStringList& readOnlyBits;

    void add(const QString& name, int64_t bytes, int64_t reservedBits)
    {
        names.append(name);
        sizes.append(QString::number(bytes));
        readOnlyBits.append(QString::number(reservedBits));
    }
};

struct FixedTable {
    const char* name;
    int bytes;
    int readOnlyBits;
};

void addFixed(TableLists& lists, std::initializer_list<FixedTable> tables)
{
    for (const FixedTable& table : tables) {
        lists.add(QString::fromLatin1(table.name), table.bytes, table.readOnlyBits);
    }
}

// Tables of the scanners that share one block-transfer layout for both directions.
void addBlockTransferTables(TableLists& lists)
{
    addFixed(lists, {{"Discrete", 4, 16},
                     {"BlockXfer 62", 124, 0},
                     {"BlockXfer 61", 122, 0},
                     {"BlockXfer 60", 120, 0},
                     {"BlockXfer 59", 118, 0},
                     {"BlockXfer 58", 116, 0},
                     {"BlockXfer 57", 114, 0}});
}

// Byte size of one element of a CIP elementary data type given by its code (C7 = UINT ...).
int cipTypeSize(unsigned code)
{
    switch (code) {
    case 0xC3: case 0xC7: case 0xD2: return 2;
    case 0xC4: case 0xC8: case 0xD3: return 4;
    case 0xC5: case 0xC9: case 0xD4: return 8;
    default: return 1;
    }
}

int64_t tableSize(int64_t elements, int elementBytes, const QByteArray& key)
{
    const int64_t size = elements * elementBytes;
    if (elements < 0 || size > std::numeric_limits<int32_t>::max()) {
        throw ConversionError(QStringLiteral("Invalid memory table size in the EDS entry %1")
                                  .arg(QString::fromLatin1(key)));
    }
    return size;
}

QByteArrayList tableFields(const QByteArray& text, const QByteArray& key, qsizetype needed)
{
    int64_t end = 0;
    const QByteArrayList fields = ReadValueFields(text, key, 0, text.size(), end);
    if (end >= 0 && fields.size() < needed) {
        throw ConversionError(QStringLiteral("Invalid memory table definition in the EDS entry %1")
                                  .arg(QString::fromLatin1(key)));
    }
    return fields;
}

// Tables written as prefix + n + "=" count, type code, "name"; for n = 1, 2, ...
// Answers whether there was any.
bool readTypedTables(const QByteArray& text, const char* prefix, TableLists& lists)
{
    int n = 1;
    for (;; ++n) {
        const QByteArray key = numbered(prefix, n);
        const QByteArrayList fields = tableFields(text, key, 3);
        if (fields.isEmpty()) {
            break;
        }
        const QByteArray& type = fields[1];
        bool isHex = false;
        const unsigned code = type.toUInt(&isHex, 16);
        lists.types.append(DecodeWindows1252(type));
        lists.elementWidth = !isHex ? 1 : code == 0xD2 ? 2 : code == 0xD3 ? 4 : 1;
        const int elementBytes = isHex ? cipTypeSize(code) : 1;
        lists.add(DecodeWindows1252(fields[2]),
                  tableSize(edsInteger(fields[0]), elementBytes, key), 0);
    }
    return n > 1;
}

// Tables written as prefix + k + "=" "name", width code, count, read-only bits; k = 0, 1, ...
void readSizedTables(const QByteArray& text, const char* prefix, TableLists& lists)
{
    for (int k = 0;; ++k) {
        const QByteArray key = numbered(prefix, k);
        const QByteArrayList fields = tableFields(text, key, 4);
        if (fields.isEmpty()) {
            return;
        }
        const QByteArray& widthCode = fields[1];
        const int width = widthCode.startsWith('2') ? 2 : widthCode.startsWith('3') ? 4 : 1;
        lists.types.append(QString());
        lists.elementWidth = width;
        lists.add(DecodeWindows1252(fields[0]), tableSize(edsInteger(fields[2]), width, key),
                  edsInteger(fields[3]));
    }
}

// One field of a linear mapping table definition, read from pos on: leading quotes are skipped,
// the field ends at a quote, comma or semicolon, and the reader moves past the next comma.
QByteArray nextMappingField(const QByteArray& value, qsizetype& pos)
{
    while (pos < value.size() && value[pos] == '"') {
        ++pos;
    }
    if (pos < value.size() && value[pos] == ',') {
        ++pos;
        return {};
    }
    qsizetype end = pos;
    while (end < value.size() && value[end] != '"' && value[end] != ',' && value[end] != ';') {
        ++end;
    }
    const QByteArray field = value.mid(pos, end - pos);
    const qsizetype comma = value.indexOf(',', end);
    pos = comma < 0 ? value.size() : comma + 1;
    return field;
}

int32_t mappingNumber(const QByteArray& value, qsizetype& pos)
{
    return int32_t(edsInteger(nextMappingField(value, pos)));
}

// Linear mapping tables of one direction ("Input" or "Output"): definitions n = 1, 2, ... each
// holding the table count, a help text and seven fields per table. A definition whose numbers
// do not convert makes the whole direction fall back to plain tables.
void readLinearMappingTables(const QByteArray& text, const QByteArray& direction,
                             QList<THitachiLinearMappingTable>& tables, QString& help)
{
    const QByteArray key = "Internal" + direction + "MappingTable";
    for (int n = 1;; ++n) {
        const QByteArray numberedKey = key + QByteArray::number(n) + '=';
        if (!containsText(text, "90_" + numberedKey) && !containsText(text, "90" + numberedKey)) {
            return;
        }
        const QByteArray value = valueText(text, numberedKey);
        if (value.count(',') % 7 != 1) {
            continue;
        }
        try {
            qsizetype pos = 0;
            const int32_t count = mappingNumber(value, pos);
            help = DecodeWindows1252(nextMappingField(value, pos));
            for (int32_t i = 0; i < count; ++i) {
                THitachiLinearMappingTable table;
                table.Name = DecodeWindows1252(nextMappingField(value, pos));
                table.SpareNumberA = mappingNumber(value, pos);
                table.FirstAddress = mappingNumber(value, pos);
                table.SpareNumberB = mappingNumber(value, pos);
                table.SpareNumberC = mappingNumber(value, pos);
                table.Prefix = DecodeWindows1252(nextMappingField(value, pos));
                table.Suffix = DecodeWindows1252(nextMappingField(value, pos));
                tables.append(table);
            }
        } catch (const ConversionError&) {
            tables.clear();
            return;
        }
    }
}

}  // namespace

bool TDevScannerCfgClass::IsScannerEds(const QByteArray& edsText)
{
    // Normalising strips the underscores of the vendor-specific key; the written form is
    // accepted too for texts that did not pass through the normaliser.
    const bool scannerClass =
        containsText(edsText, R"(1RSNetWorxDCorvix="SdnCnfg.DnScannerDevice";)") ||
        containsText(edsText, R"(1_RSNetWorx_DCorvix="SdnCnfg.DnScannerDevice";)");
    return scannerClass &&
           (containsText(edsText, "[1GenSCT]") || containsText(edsText, "[1Scanner]"));
}

void TDevScannerCfgClass::readEdsMemoryTables(const QByteArray& edsText)
{
    TableLists inputs{InputTableNames, InputTableTypes, InputElementWidth, InputTableSizes,
                      InputReadOnlyBits};
    TableLists outputs{OutputTableNames, OutputTableTypes, OutputElementWidth, OutputTableSizes,
                       OutputReadOnlyBits};
    int kind = -1;
    for (int k = 0; k <= 4 && kind < 0; ++k) {
        if (containsText(edsText, "MemoryTables=" + QByteArray::number(k) + ';')) {
            kind = k;
        }
    }
    switch (kind) {
    case 0:
        if (!readTypedTables(edsText, "1OutTable", outputs)) {
            readSizedTables(edsText, "OutputTable", outputs);
        }
        if (!readTypedTables(edsText, "1InTable", inputs)) {
            readSizedTables(edsText, "InputTable", inputs);
        }
        break;
    case 1:
        addFixed(outputs, {{"Discrete", 64, 16}, {"MFile", 300, 0}});
        addFixed(inputs, {{"Discrete", 64, 16}, {"MFile", 304, 0}});
        break;
    case 2:
        addFixed(outputs, {{"Assembly Data", 492, 0}});
        addFixed(inputs, {{"Assembly Data", 492, 0}});
        break;
    case 3:
        addBlockTransferTables(outputs);
        addBlockTransferTables(inputs);
        break;
    case 4:
        addFixed(outputs, {{"Discrete", 492, 528}});
        addFixed(inputs, {{"Discrete", 364, 16}});
        break;
    default:
        readTypedTables(edsText, "1OutTable", outputs);
        readTypedTables(edsText, "1InTable", inputs);
        break;
    }
}

void TDevScannerCfgClass::readEdsFeatures(const QByteArray& edsText)
{
    SlaveMode = valueText(edsText, "1SlaveMode") == "=1";
    SharedInputs = valueText(edsText, "1SharedInputs") == "=1" ||
                   valueText(edsText, "SharedInputs") == "=1";
    // A scanner without ADR memory either says ADR=0; or has no ADR entry at all.
    if (containsText(edsText, "ADR=")) {
        const QByteArray space = valueText(edsText, "ADR=");
        if (space != "0") {
            const int64_t total = edsInteger(space);
            if (total < 0 || total > std::numeric_limits<uint16_t>::max()) {
                throw ConversionError(
                    QStringLiteral("Invalid ADR memory size %1").arg(QString::fromLatin1(space)));
            }
            AdrSupported = true;
            AdrData.AdrSpaceTotal = uint16_t(total);
            AdrData.TotalIsEstimate = true;
            AdrData.UsedIsEstimate = true;
        }
    }
    QuickConnectSupported = valueText(edsText, "QuickConnect") == "=1";
}

void TDevScannerCfgClass::readEdsLinearMappingTables(const QByteArray& edsText)
{
    readLinearMappingTables(edsText, "Input", InputHitachiTables, InputHitachiHelp);
    readLinearMappingTables(edsText, "Output", OutputHitachiTables, OutputHitachiHelp);
}

}  // namespace corvix
