#include <windows.h>

#include "statistics/HardwareRows.h"

namespace {

const char* const kOlderMemoryTypes[] = {
    "DRAM",  "Synchronous DRAM", "Cache DRAM", "EDO",   "EDRAM", "VRAM",  "SRAM",  "RAM",   "ROM",
    "Flash", "EEPROM",           "FEPROM",     "EPROM", "CDRAM", "3DRAM", "SDRAM", "SGRAM", "RDRAM",
};

bool IntegerOf(const VARIANT& v, std::uint64_t& value) {
    switch (V_VT(&v)) {
    case VT_I1:
        value = static_cast<std::uint64_t>(static_cast<std::int64_t>(V_I1(&v)));
        return true;
    case VT_UI1:
        value = V_UI1(&v);
        return true;
    case VT_I2:
        value = static_cast<std::uint64_t>(static_cast<std::int64_t>(V_I2(&v)));
        return true;
    case VT_UI2:
        value = V_UI2(&v);
        return true;
    case VT_I4:
    case VT_INT:
        value = static_cast<std::uint64_t>(static_cast<std::int64_t>(V_I4(&v)));
        return true;
    case VT_UI4:
    case VT_UINT:
        value = V_UI4(&v);
        return true;
    case VT_I8:
        value = static_cast<std::uint64_t>(V_I8(&v));
        return true;
    case VT_UI8:
        value = V_UI8(&v);
        return true;
    case VT_BOOL:
        value = V_BOOL(&v) ? 1 : 0;
        return true;
    case VT_BSTR:
        value = ParseDecimalUInt64(
            std::wstring(V_BSTR(&v) ? V_BSTR(&v) : L"", ::SysStringLen(V_BSTR(&v))), 0);
        return true;
    default:
        return false;
    }
}

} // namespace

std::uint64_t ParseDecimalUInt64(const std::wstring& text, std::uint64_t start) {
    std::uint64_t value = start;
    for (wchar_t c : text) {
        value = value * 10 + static_cast<std::uint64_t>(static_cast<std::int64_t>(c - L'0'));
    }
    return value;
}

std::string WideToUtf8Text(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return std::string();
    }
    std::string utf8(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], length,
                          nullptr, nullptr);
    return utf8;
}

bool ReadWideTextProperty(const WmiPropertySource& row, const wchar_t* name, std::wstring& text) {
    ComVariant value;
    if (!row.Get(name, value)) {
        return false;
    }
    const VARIANT* source = &value.Get();
    ComVariant converted;
    if (value.Type() != VT_BSTR) {
        if (FAILED(::VariantChangeTypeEx(converted.Receive(), const_cast<VARIANT*>(source),
                                         LOCALE_INVARIANT, 0, VT_BSTR))) {
            return false;
        }
        source = &converted.Get();
    }
    const BSTR b = V_BSTR(source);
    text = b ? std::wstring(b, ::SysStringLen(b)) : std::wstring();
    return true;
}

bool ReadTextProperty(const WmiPropertySource& row, const wchar_t* name, std::string& text) {
    std::wstring wide;
    if (!ReadWideTextProperty(row, name, wide)) {
        return false;
    }
    text = WideToUtf8Text(wide);
    return true;
}

bool ReadUInt32Property(const WmiPropertySource& row, const wchar_t* name, std::uint32_t& value) {
    std::uint64_t wide = 0;
    if (!ReadUInt64Property(row, name, wide)) {
        return false;
    }
    value = static_cast<std::uint32_t>(wide);
    return true;
}

bool ReadUInt64Property(const WmiPropertySource& row, const wchar_t* name, std::uint64_t& value) {
    ComVariant v;
    return row.Get(name, v) && IntegerOf(v.Get(), value);
}

const char* CpuTypeName(std::uint32_t processorType) {
    switch (processorType) {
    case 1:
        return "Other";
    case 2:
        return "Unknown";
    case 3:
        return "Central Processor";
    case 4:
        return "Math Processor";
    case 5:
        return "DSP Processor";
    case 6:
        return "Video Processor";
    default:
        return "Error";
    }
}

const char* CpuArchitectureName(std::uint32_t architecture) {
    switch (architecture) {
    case 0:
        return "x86";
    case 1:
        return "MIPS";
    case 2:
        return "Alpha";
    case 3:
        return "PowerPC";
    case 6:
        return "Itanium-based systems";
    case 9:
        return "x64";
    default:
        return "Error";
    }
}

const char* MemoryTypeName(std::uint32_t memoryType) {
    if (memoryType == 20) {
        return "DDR";
    }
    if (memoryType == 21) {
        return "DDR-2";
    }
    if (memoryType >= 2 && memoryType <= 19) {
        return kOlderMemoryTypes[memoryType - 2];
    }
    return "DDR-3";
}

std::string WidthHeightText(std::uint32_t width, std::uint32_t height) {
    const float ratio =
        width == 0 || height == 0 ? -1.0f : static_cast<float>(width) / static_cast<float>(height);
    ComBstr text;
    // The invariant locale keeps the decimal point whatever the user's settings.
    if (FAILED(::VarBstrFromR4(ratio, LOCALE_INVARIANT, 0, text.Receive()))) {
        return std::string();
    }
    return WideToUtf8Text(text.Text());
}

Json::Value CpuElementFromRow(const WmiPropertySource& row, const std::string* registryName) {
    Json::Value cpu(Json::objectValue);
    std::string text;
    if (registryName != nullptr) {
        cpu["CPU_Name"] = *registryName;
    } else if (ReadTextProperty(row, L"Name", text)) {
        cpu["CPU_Name"] = text;
    }
    if (ReadTextProperty(row, L"Manufacturer", text)) {
        cpu["CPU_Manufacturer"] = text;
    }
    std::uint32_t number = 0;
    if (ReadUInt32Property(row, L"ProcessorType", number)) {
        cpu["CPU_Type"] = CpuTypeName(number);
    }
    if (ReadUInt32Property(row, L"Architecture", number)) {
        cpu["CPU_Architecture"] = CpuArchitectureName(number);
    }
    return cpu;
}

Json::Value MemoryElementFromRow(const WmiPropertySource& row) {
    Json::Value module(Json::objectValue);
    std::uint32_t number = 0;
    if (ReadUInt32Property(row, L"MemoryType", number)) {
        module["Memory_Type"] = MemoryTypeName(number);
    }
    std::uint64_t capacity = 0;
    if (ReadUInt64Property(row, L"Capacity", capacity)) {
        module["Memory_Capacity"] = Json::UInt64(capacity);
    }
    if (ReadUInt32Property(row, L"Speed", number)) {
        module["Memory_Frequency"] = Json::UInt(number);
    }
    return module;
}

Json::Value DiskElementFromRow(const WmiPropertySource& row) {
    Json::Value disk(Json::objectValue);
    std::string text;
    if (ReadTextProperty(row, L"Caption", text)) {
        disk["Disk_Caption"] = text;
    }
    std::uint64_t size = 0;
    if (ReadUInt64Property(row, L"Size", size)) {
        disk["Disk_Capacity"] = Json::Int64(static_cast<std::int64_t>(size));
    }
    return disk;
}

Json::Value VideoCardElementFromRow(const WmiPropertySource& row) {
    Json::Value card(Json::objectValue);
    std::string text;
    if (ReadTextProperty(row, L"Name", text)) {
        card["Video_Card_Name"] = text;
    }
    std::uint32_t ram = 0;
    if (ReadUInt32Property(row, L"AdapterRAM", ram)) {
        card["Video_Card_Memory_Capacity"] = Json::UInt(ram);
    }
    if (ReadTextProperty(row, L"DriverVersion", text)) {
        card["Video_Card_Driver_Version"] = text;
    }
    return card;
}

Json::Value SoundCardElementFromRow(const WmiPropertySource& row) {
    Json::Value card(Json::objectValue);
    std::string text;
    if (ReadTextProperty(row, L"Name", text)) {
        card["Sound_Card_Name"] = text;
    }
    if (ReadTextProperty(row, L"Manufacturer", text)) {
        card["Sound_Card_Manufacturer"] = text;
    }
    return card;
}

Json::Value MonitorElementFromRow(const WmiPropertySource& row, std::uint32_t maxWidth,
                                  std::uint32_t maxHeight) {
    Json::Value monitor(Json::objectValue);
    std::wstring id;
    // Replaced before the conversion: in a double-byte code page a trail byte may equal '\\'.
    if (ReadWideTextProperty(row, L"PNPDeviceID", id)) {
        for (wchar_t& c : id) {
            if (c == L'\\') {
                c = L' ';
            }
        }
        monitor["Manufacturer"] = WideToUtf8Text(id);
    }
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    if (ReadUInt32Property(row, L"ScreenHeight", height)) {
        monitor["Current_Resolution_Height"] = Json::UInt(height);
    }
    if (ReadUInt32Property(row, L"ScreenWidth", width)) {
        monitor["Current_Resolution_Width"] = Json::UInt(width);
    }
    monitor["Width_Height"] = WidthHeightText(width, height);
    monitor["Max_Height"] = Json::UInt(maxHeight);
    monitor["Max_Width"] = Json::UInt(maxWidth);
    return monitor;
}
