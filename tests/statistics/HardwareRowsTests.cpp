#include <windows.h>

#include "statistics/HardwareRows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>

namespace {

// A WMI row made of named VARIANTs; null properties are kept as VT_NULL, as WMI hands them over.
class FakeRow : public WmiPropertySource {
public:
    FakeRow& Text(const wchar_t* name, const wchar_t* value) {
        VARIANT& v = Slot(name);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = ::SysAllocString(value);
        return *this;
    }
    // WMI delivers uint16 and uint32 properties as VT_I4.
    FakeRow& Number(const wchar_t* name, LONG value) {
        VARIANT& v = Slot(name);
        V_VT(&v) = VT_I4;
        V_I4(&v) = value;
        return *this;
    }
    FakeRow& Byte(const wchar_t* name, BYTE value) {
        VARIANT& v = Slot(name);
        V_VT(&v) = VT_UI1;
        V_UI1(&v) = value;
        return *this;
    }
    FakeRow& Null(const wchar_t* name) {
        V_VT(&Slot(name)) = VT_NULL;
        return *this;
    }

    bool Get(const wchar_t* name, ComVariant& value) const override {
        const auto it = values_.find(name);
        if (it == values_.end()) {
            return false;
        }
        if (FAILED(::VariantCopy(value.Receive(), const_cast<VARIANT*>(&it->second->Get())))) {
            return false;
        }
        return value.Type() != VT_NULL && value.Type() != VT_EMPTY;
    }

private:
    VARIANT& Slot(const wchar_t* name) {
        auto& slot = values_[name];
        slot = std::make_unique<ComVariant>();
        return *slot->Receive();
    }
    std::map<std::wstring, std::unique_ptr<ComVariant>> values_;
};

} // namespace

TEST(HardwareRows, ParseDecimalUInt64) {
    EXPECT_EQ(0u, ParseDecimalUInt64(L"", 0));
    EXPECT_EQ(0u, ParseDecimalUInt64(L"0", 0));
    EXPECT_EQ(8589934592u, ParseDecimalUInt64(L"8589934592", 0));
    EXPECT_EQ(18446744073709551615u, ParseDecimalUInt64(L"18446744073709551615", 0));
    EXPECT_EQ(53u, ParseDecimalUInt64(L"3", 5));
    // Nothing checks for digits: 'a' counts as 49.
    EXPECT_EQ(59u, ParseDecimalUInt64(L"1a", 0));
}

// The names themselves are the platform's table; what matters is where the table ends.
TEST(HardwareRows, NamesOutsideTheTablesAreErrorsOrTheDefault) {
    EXPECT_STREQ("Central Processor", CpuTypeName(3));
    EXPECT_STREQ("Video Processor", CpuTypeName(6));
    EXPECT_STREQ("Error", CpuTypeName(0));
    EXPECT_STREQ("Error", CpuTypeName(7));
    EXPECT_STREQ("x86", CpuArchitectureName(0));
    EXPECT_STREQ("x64", CpuArchitectureName(9));
    EXPECT_STREQ("Error", CpuArchitectureName(5));
    EXPECT_STREQ("Error", CpuArchitectureName(12));
    EXPECT_STREQ("DRAM", MemoryTypeName(2));
    EXPECT_STREQ("RDRAM", MemoryTypeName(19));
    EXPECT_STREQ("DDR", MemoryTypeName(20));
    EXPECT_STREQ("DDR-2", MemoryTypeName(21));
    for (const unsigned type : {0u, 1u, 22u, 24u, 0xFFFFFFFFu}) {
        EXPECT_STREQ("DDR-3", MemoryTypeName(type)) << type;
    }
}

TEST(HardwareRows, WidthHeightText) {
    EXPECT_EQ("1.777778", WidthHeightText(1920, 1080));
    EXPECT_EQ("1.6", WidthHeightText(1280, 800));
    EXPECT_EQ("-1", WidthHeightText(1920, 0));
    EXPECT_EQ("-1", WidthHeightText(0, 1080));
    EXPECT_EQ("-1", WidthHeightText(0, 0));
    // The values are taken as unsigned.
    EXPECT_EQ("1", WidthHeightText(0xFFFFFFFFu, 0xFFFFFFFFu));
}

TEST(HardwareRows, CpuElement) {
    FakeRow row;
    row.Text(L"Name", L"Row CPU").Text(L"Manufacturer", L"GenuineIntel");
    row.Number(L"ProcessorType", 3).Number(L"Architecture", 9);
    const std::string registryName = "Intel(R) Core(TM) i7";

    const Json::Value fromRegistry = CpuElementFromRow(row, &registryName);
    EXPECT_EQ("Intel(R) Core(TM) i7", fromRegistry["CPU_Name"].asString());
    EXPECT_EQ("GenuineIntel", fromRegistry["CPU_Manufacturer"].asString());
    EXPECT_EQ("Central Processor", fromRegistry["CPU_Type"].asString());
    EXPECT_EQ("x64", fromRegistry["CPU_Architecture"].asString());

    EXPECT_EQ("Row CPU", CpuElementFromRow(row, nullptr)["CPU_Name"].asString());

    FakeRow sparse;
    sparse.Null(L"Name").Number(L"ProcessorType", 42);
    const Json::Value cpu = CpuElementFromRow(sparse, nullptr);
    EXPECT_FALSE(cpu.isMember("CPU_Name"));
    EXPECT_FALSE(cpu.isMember("CPU_Manufacturer"));
    EXPECT_FALSE(cpu.isMember("CPU_Architecture"));
    EXPECT_EQ("Error", cpu["CPU_Type"].asString());
}

TEST(HardwareRows, MemoryElementsAreFreshPerRow) {
    FakeRow first;
    first.Number(L"MemoryType", 24).Text(L"Capacity", L"8589934592").Number(L"Speed", 1600);
    FakeRow second;
    second.Byte(L"MemoryType", 9).Text(L"Capacity", L"4294967296").Null(L"Speed");

    const Json::Value a = MemoryElementFromRow(first);
    EXPECT_EQ("DDR-3", a["Memory_Type"].asString());
    ASSERT_TRUE(a["Memory_Capacity"].isUInt64());
    EXPECT_EQ(8589934592u, a["Memory_Capacity"].asUInt64());
    EXPECT_EQ(1600u, a["Memory_Frequency"].asUInt());

    // The second module lacks Speed: its element has no frequency rather than the first one's.
    const Json::Value b = MemoryElementFromRow(second);
    EXPECT_EQ("RAM", b["Memory_Type"].asString());
    EXPECT_EQ(4294967296u, b["Memory_Capacity"].asUInt64());
    EXPECT_FALSE(b.isMember("Memory_Frequency"));

    EXPECT_EQ(Json::Value(Json::objectValue), MemoryElementFromRow(FakeRow()));
}

TEST(HardwareRows, DiskVideoAndSoundElements) {
    FakeRow disk;
    disk.Text(L"Size", L"128034708480");
    const Json::Value d = DiskElementFromRow(disk);
    EXPECT_FALSE(d.isMember("Disk_Caption"));
    ASSERT_TRUE(d["Disk_Capacity"].isInt64());
    EXPECT_EQ(128034708480, d["Disk_Capacity"].asInt64());

    FakeRow video;
    video.Text(L"Name", L"Radeon").Number(L"AdapterRAM", -1).Text(L"DriverVersion", L"8.17");
    const Json::Value v = VideoCardElementFromRow(video);
    EXPECT_EQ("Radeon", v["Video_Card_Name"].asString());
    // 4 GiB cards report 0xFFFFFFFF through the signed VARIANT.
    EXPECT_EQ(0xFFFFFFFFu, v["Video_Card_Memory_Capacity"].asUInt());
    EXPECT_EQ("8.17", v["Video_Card_Driver_Version"].asString());

    FakeRow sound;
    sound.Text(L"Name", L"High Definition Audio").Null(L"Manufacturer");
    const Json::Value s = SoundCardElementFromRow(sound);
    EXPECT_EQ("High Definition Audio", s["Sound_Card_Name"].asString());
    EXPECT_FALSE(s.isMember("Sound_Card_Manufacturer"));
}

TEST(HardwareRows, MonitorElement) {
    FakeRow row;
    row.Text(L"PNPDeviceID", L"DISPLAY\\DEL4026\\5&2AB3&0&UID1")
        .Number(L"ScreenWidth", 1920)
        .Number(L"ScreenHeight", 1080);
    const Json::Value m = MonitorElementFromRow(row, 2560, 1440);
    EXPECT_EQ("DISPLAY DEL4026 5&2AB3&0&UID1", m["Manufacturer"].asString());
    EXPECT_EQ(1080u, m["Current_Resolution_Height"].asUInt());
    EXPECT_EQ(1920u, m["Current_Resolution_Width"].asUInt());
    EXPECT_EQ("1.777778", m["Width_Height"].asString());
    EXPECT_EQ(1440u, m["Max_Height"].asUInt());
    EXPECT_EQ(2560u, m["Max_Width"].asUInt());

    // What Wine gives: no device id and no screen size.
    const Json::Value bare = MonitorElementFromRow(FakeRow(), 1024, 768);
    EXPECT_FALSE(bare.isMember("Manufacturer"));
    EXPECT_FALSE(bare.isMember("Current_Resolution_Height"));
    EXPECT_FALSE(bare.isMember("Current_Resolution_Width"));
    EXPECT_EQ("-1", bare["Width_Height"].asString());
    EXPECT_EQ(768u, bare["Max_Height"].asUInt());

    FakeRow noHeight;
    noHeight.Number(L"ScreenWidth", 1920).Number(L"ScreenHeight", 0);
    EXPECT_EQ("-1", MonitorElementFromRow(noHeight, 0, 0)["Width_Height"].asString());
}

TEST(HardwareRows, TextsAreStoredInTheAnsiCodePage) {
    FakeRow row;
    row.Text(L"Name", L"声卡 Realtek").Text(L"Manufacturer", L"瑞昱\\公司");
    const Json::Value s = SoundCardElementFromRow(row);
    // The report's JSON is UTF-8 whatever the ANSI code page.
    EXPECT_EQ("\xE5\xA3\xB0\xE5\x8D\xA1 Realtek", s["Sound_Card_Name"].asString());
    EXPECT_EQ(WideToUtf8Text(L"瑞昱\\公司"), s["Sound_Card_Manufacturer"].asString());

    // A device id whose characters would have a trail byte of '\' in code page 936 ("乗" is
    // 0x81 0x5C there): only real backslashes become blanks.
    FakeRow monitor;
    monitor.Text(L"PNPDeviceID", L"乗\\X");
    const std::string id = MonitorElementFromRow(monitor, 0, 0)["Manufacturer"].asString();
    EXPECT_EQ(WideToUtf8Text(L"乗 X"), id);
}

TEST(HardwareRows, NonTextValuesConvertToText) {
    FakeRow row;
    row.Number(L"Name", 42);
    EXPECT_EQ("42", SoundCardElementFromRow(row)["Sound_Card_Name"].asString());
}
