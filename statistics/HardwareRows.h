#pragma once
#include <windows.h>

#include <json/json.h>

#include <cstdint>
#include <string>

#include "statistics/WmiSession.h"

// The conversions from one WMI row to one element of a hardware group. Each call builds a fresh
// element, so a property that a row lacks never carries over from an earlier row; a missing or
// null property leaves its member out.

// value * 10 + digit for each character, in 64 bits; WMI hands 64-bit numbers over as decimal text.
std::uint64_t ParseDecimalUInt64(const std::wstring& text, std::uint64_t start);

// UTF-16 to UTF-8, the encoding of every text in a report's JSON.
std::string WideToUtf8Text(const std::wstring& text);

// Property readers: false when the property is missing or null (or of a type that doesn't convert).
bool ReadWideTextProperty(const WmiPropertySource& row, const wchar_t* name, std::wstring& text);
bool ReadTextProperty(const WmiPropertySource& row, const wchar_t* name, std::string& text);
bool ReadUInt32Property(const WmiPropertySource& row, const wchar_t* name, std::uint32_t& value);
bool ReadUInt64Property(const WmiPropertySource& row, const wchar_t* name, std::uint64_t& value);

const char* CpuTypeName(std::uint32_t processorType);
const char* CpuArchitectureName(std::uint32_t architecture);
// 20 "DDR", 21 "DDR-2", 0, 1 and 22 or more "DDR-3", 2 to 19 the older module types by name.
const char* MemoryTypeName(std::uint32_t memoryType);
// width / height as a float in text, or the text of -1.0 when either is 0.
std::string WidthHeightText(std::uint32_t width, std::uint32_t height);

// registryName: the processor name from the registry, or null when its key did not open (the
// row's Name is used then).
Json::Value CpuElementFromRow(const WmiPropertySource& row, const std::string* registryName);
Json::Value MemoryElementFromRow(const WmiPropertySource& row);
Json::Value DiskElementFromRow(const WmiPropertySource& row);
Json::Value VideoCardElementFromRow(const WmiPropertySource& row);
Json::Value SoundCardElementFromRow(const WmiPropertySource& row);
Json::Value MonitorElementFromRow(const WmiPropertySource& row, std::uint32_t maxWidth,
                                  std::uint32_t maxHeight);
