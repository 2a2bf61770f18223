#include "device/DataTypeFactory.h"

#include "device/CardinalDataTypes.h"
#include "device/FloatDataTypes.h"
#include "device/StringDataTypes.h"
#include "device/TimeDateDataTypes.h"

namespace corvix {

namespace {

template <typename Type>
std::unique_ptr<TDeviceNetDataTypes> make(const DataTypeDefinition& definition)
{
    return std::make_unique<Type>(definition);
}

using Maker = std::unique_ptr<TDeviceNetDataTypes> (*)(const DataTypeDefinition&);

struct CodeEntry {
    int dnetCode;
    int cipCode;
    Maker maker;
};

constexpr CodeEntry kCodes[] = {
    {4, 0xC1, &make<TDevBOOL_C1>},        {5, 0xC2, &make<TDevSINT_C2>},
    {3, 0xC3, &make<TDevINT_C3>},         {6, 0xC4, &make<TDevDINT_C4>},
    {7, 0xC5, &make<TDevLINT_C5>},        {8, 0xC6, &make<TDevUSINT_C6>},
    {2, 0xC7, &make<TDevUINT_C7>},        {9, 0xC8, &make<TDevUDINT_C8>},
    {11, 0xCA, &make<TDevREAL_CA>},       {12, 0xCB, &make<TDevLREAL_CB>},
    {17, 0xCD, &make<TDevDATE_CD>},       {18, 0xCE, &make<TDevTIME_OF_DAY_CE>},
    {19, 0xCF, &make<TDevDATE_AND_TIME_CF>}, {20, 0xD0, &make<TDevSTRING_D0>},
    {24, 0xD1, &make<TDevBYTE_D1>},       {1, 0xD2, &make<TDevWORD_D2>},
    {25, 0xD3, &make<TDevDWORD_D3>},      {21, 0xD5, &make<TDevSTRING2_D5>},
    {15, 0xD6, &make<TDevFTIME_D6>},      {16, 0xD7, &make<TDevLTIME_D7>},
    {13, 0xD8, &make<TDevITIME_D8>},      {22, 0xD9, &make<TDevSTRINGN_D9>},
    {23, 0xDA, &make<TDevSHORT_STRING_DA>}, {14, 0xDB, &make<TDevTIME_DB>},
};

}  // namespace

std::unique_ptr<TDeviceNetDataTypes> CreateDeviceNetDataType(int64_t edsCode,
                                                             const DataTypeDefinition& definition)
{
    for (const CodeEntry& entry : kCodes) {
        if (edsCode == entry.dnetCode || edsCode == entry.cipCode) {
            return entry.maker(definition);
        }
    }
    return nullptr;
}

bool IsBoolDataTypeCode(int64_t edsCode) { return edsCode == 4 || edsCode == 0xC1; }

bool IsStringDataTypeCode(int64_t edsCode)
{
    for (const int code : {20, 0xD0, 21, 0xD5, 22, 0xD9, 23, 0xDA}) {
        if (edsCode == code) {
            return true;
        }
    }
    return false;
}

}  // namespace corvix
