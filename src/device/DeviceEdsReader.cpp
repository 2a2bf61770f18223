// Reading a device description from its normalised EDS text. Every key is found through one
// keyword index, so a device with a thousand parameters costs a thousand index lookups rather
// than a thousand scans of the whole text.
#include <QHash>
#include <algorithm>
#include <array>

#include "app/Conversions.h"
#include "app/CorvixError.h"
#include "app/Windows1252.h"
#include "device/DeviceNetDevice.h"
#include "device/NumberText.h"
#include "library/EdsKeyIndex.h"

namespace corvix {

namespace {

// Parameter instances are 16-bit in the Parameter object; a larger MaxInst cannot describe more.
constexpr int64_t kLastParameterInstance = 0xFFFF;
constexpr int kRequiredParameterFields = 12;

QString text(const QByteArray& bytes)
{
    return DecodeWindows1252(bytes);
}

QByteArray numberedKey(const char* prefix, int64_t n)
{
    return QByteArray(prefix) + QByteArray::number(n) + '=';
}

// The first field of the entry numbered n (1 = the first entry) read as an integer; the entry
// list holds the first fields as read.
struct IoEntries {
    QByteArrayList inputs;
    QByteArrayList outputs;
};

QByteArrayList readIoEntries(const EdsKeyIndex& index, const char* prefix, int64_t from)
{
    QByteArrayList sizes;
    const int64_t end = index.Text().size();
    for (int64_t n = 1;; ++n) {
        int64_t position = -1;
        const QByteArrayList fields =
            ReadValueFields(index, numberedKey(prefix, n), from, end, position);
        if (position < 0) {
            return sizes;
        }
        const QByteArray first = fields.value(0);
        sizes.append(first.isEmpty() ? QByteArray("0") : first);
    }
}

// Field 1 of the entry a connection's info names, or 0 when the number names no entry read.
int64_t defaultSize(const QByteArray& entryNumber, const QByteArrayList& entries)
{
    const auto n = TryTextToInt64(text(entryNumber));
    if (!n || *n < 1 || *n > entries.size()) {
        return 0;
    }
    return TextToInt64(text(entries[*n - 1]));
}

// "ProxyParam" or "ProxiedParam" when the file has such an entry for instance i.
const char* proxyPrefix(const EdsKeyIndex& index, int64_t i)
{
    for (const char* prefix : {"ProxyParam", "ProxiedParam"}) {
        if (index.Find(numberedKey(prefix, i), 0, index.Text().size()) >= 0) {
            return prefix;
        }
    }
    return nullptr;
}

}  // namespace

void TDeviceNetDevice::readEds(const QByteArray& edsText)
{
    const EdsKeyIndex index(edsText);
    ProductName = text(ReadQuotedValue(index, "ProdName=", 0, edsText.size()));
    readIdentity(index);
    readQuickConnect(index);
    readIoInfo(index);
    readParameters(index);
    readGroups(index);
    if (TDevScannerCfgClass::IsScannerEds(edsText)) {
        ScannerConfig = std::make_unique<TDevScannerCfgClass>(this, edsText);
    }
}

void TDeviceNetDevice::readIdentity(const EdsKeyIndex& index)
{
    struct InfoKey {
        const char* key;
        const char* label;
        bool quoted;  // the description is shown without its quotes, the rest as written
        int TDeviceNetDevice::*identity;
    };
    static const std::array<InfoKey, 16> keys = {{
        {"DescText=", "DescText : ", true, nullptr},
        {"CreateDate=", "CreateDate : ", false, nullptr},
        {"CreateTime=", "CreateTime : ", false, nullptr},
        {"ModDate=", "ModDate : ", false, nullptr},
        {"ModTime=", "ModTime : ", false, nullptr},
        {"Revision=", "Revision : ", false, nullptr},
        {"VendCode=", "VendCode : ", false, &TDeviceNetDevice::VendorCode},
        {"ProdType=", "ProdType : ", false, &TDeviceNetDevice::ProductType},
        {"ProdCode=", "ProdCode : ", false, &TDeviceNetDevice::ProductCode},
        {"MajRev=", "MajRev : ", false, &TDeviceNetDevice::MajorRevision},
        {"MinRev=", "MinRev : ", false, nullptr},
        {"VendName=", "VendName : ", false, nullptr},
        {"ProdTypeStr=", "ProdTypeStr : ", false, nullptr},
        {"ProdName=", "ProdName : ", false, nullptr},
        {"Catalog=", "Catalog : ", false, nullptr},
        {"Icon=", "Icon : ", false, nullptr},
    }};
    const int64_t end = index.Text().size();
    for (const InfoKey& k : keys) {
        const QString value = text(k.quoted ? ReadQuotedValue(index, k.key, 0, end)
                                            : ReadValue(index, k.key, 0, end));
        if (value.isEmpty()) {
            continue;
        }
        EdsInfo.append(QLatin1String(k.label) + value);
        if (k.identity) {
            this->*k.identity = TextToInt32(value);
        }
    }
}

void TDeviceNetDevice::readQuickConnect(const EdsKeyIndex& index)
{
    int64_t position = -1;
    const QByteArrayList fields =
        ReadValueFields(index, "DNetQC=", 0, index.Text().size(), position);
    if (position < 0) {
        return;
    }
    try {
        QuickConnectSupport = TextToInt64(BinaryToDecimalText(text(fields.value(0))));
    } catch (const ConversionError&) {
        throw CorvixError(QStringLiteral("Invalid Quick connect support value"));
    }
    if (fields.size() > 1) {
        QuickConnectSecondField = TryTextToInt64(text(fields[1])).value_or(QuickConnectSecondField);
    }
}

void TDeviceNetDevice::readIoInfo(const EdsKeyIndex& index)
{
    const int64_t end = index.Text().size();
    const int64_t from = index.Find("[IOInfo]", 0, end);
    if (from < 0) {
        return;
    }
    int64_t position = -1;
    const QByteArrayList defaults = ReadValueFields(index, "Default=", from, end, position);
    if (!defaults.value(0).isEmpty()) {
        DefaultConnections = TextToInt64(text(defaults[0]));
    }
    const IoEntries entries{readIoEntries(index, "Input", from),
                            readIoEntries(index, "Output", from)};
    struct Connection {
        const char* key;
        int64_t TDeviceNetDevice::*input;
        int64_t TDeviceNetDevice::*output;
    };
    static const std::array<Connection, 4> connections = {{
        {"StrobeInfo=", &TDeviceNetDevice::StrobeInputSize, &TDeviceNetDevice::StrobeOutputSize},
        {"PollInfo=", &TDeviceNetDevice::PollInputSize, &TDeviceNetDevice::PollOutputSize},
        {"CosInfo=", &TDeviceNetDevice::CosInputSize, &TDeviceNetDevice::CosOutputSize},
        {"CyclicInfo=", &TDeviceNetDevice::CyclicInputSize, &TDeviceNetDevice::CyclicOutputSize},
    }};
    for (const Connection& c : connections) {
        const QByteArrayList fields = ReadValueFields(index, c.key, from, end, position);
        if (fields.size() != 3) {
            continue;
        }
        this->*c.input = defaultSize(fields[1], entries.inputs);
        this->*c.output = defaultSize(fields[2], entries.outputs);
    }
}

void TDeviceNetDevice::readParameters(const EdsKeyIndex& index)
{
    const int64_t end = index.Text().size();
    const int64_t from = index.Find("[ParamClass]", 0, end);
    if (from < 0) {
        return;
    }
    hasParameterList_ = true;
    const auto maxInst = TryTextToInt64(text(ReadValue(index, "MaxInst=", from, end)));
    ParamClassDescriptor =
        TryTextToInt64(text(ReadValue(index, "Descriptor=", from, end))).value_or(0);
    if (!maxInst || *maxInst == 0) {
        return;
    }
    const int64_t last = std::min(*maxInst, kLastParameterInstance);
    for (int64_t i = 1; i <= last; ++i) {
        const QString number = QString::number(i);
        if (const char* proxy = proxyPrefix(index, i)) {
            DefinitionErrors.append(QLatin1String(proxy) + number +
                                    QStringLiteral("  is not supported by Corvix"));
            continue;
        }
        const QByteArray key = numberedKey("Param", i);
        int64_t definitionEnd = -1;
        const QByteArrayList definition = ReadValueFields(index, key, 0, end, definitionEnd);
        if (definitionEnd < 0) {
            continue;
        }
        int64_t enumEnd = -1;
        const QByteArrayList enumFields = ReadValueFields(index, key, definitionEnd, end, enumEnd);
        if (definition.size() < kRequiredParameterFields) {
            DefinitionErrors.append(
                QStringLiteral("Too few fields in parameter definition of Parameter ") + number);
            continue;
        }
        std::unique_ptr<TDevParameterClass> parameter;
        try {
            parameter = std::make_unique<TDevParameterClass>(definition, enumFields, int(i));
        } catch (const CorvixError& error) {
            DefinitionErrors.append(
                QStringLiteral("Illegal entry in parameter definition of Parameter ") + number);
            DefinitionErrors.append(error.message());
            continue;
        }
        if (parameter->IsExcluded()) {
            continue;
        }
        parameter->SetDevice(this);
        parameters_.push_back(std::move(parameter));
    }
}

void TDeviceNetDevice::readGroups(const EdsKeyIndex& index)
{
    if (parameters_.empty()) {
        return;
    }
    TParameterGroup all{QStringLiteral("All Parameters"), {}};
    QHash<int64_t, TDevParameterClass*> byNumber;
    for (const auto& parameter : parameters_) {
        all.Members.append(parameter.get());
        byNumber.insert(parameter->Number(), parameter.get());
    }
    ParameterGroups.append(all);
    const int64_t end = index.Text().size();
    int64_t from = index.Find("[Groups]", 0, end);
    if (from < 0) {
        return;
    }
    for (int64_t n = 1;; ++n) {
        int64_t position = -1;
        const QByteArrayList fields =
            ReadValueFields(index, numberedKey("Group", n), from, end, position);
        if (position < 0) {
            return;
        }
        from = position;
        TParameterGroup group{text(fields.value(0)), {}};
        for (qsizetype f = 2; f < fields.size(); ++f) {
            if (TDevParameterClass* member = byNumber.value(TextToInt64(text(fields[f])))) {
                group.Members.append(member);
            }
        }
        ParameterGroups.append(group);
    }
}

}  // namespace corvix
