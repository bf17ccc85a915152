#pragma once
#include <windows.h>

#include <json/json.h>

#include "statistics/WmiSession.h"

// The WMI hardware collectors. Each writes its members into out (an object the caller owns) and
// returns 0 when done (also when a filled cache answered), 1 when the session has no services
// (and, for the cached groups, the cache is empty: nothing written), or the HRESULT of a query
// that cannot be started. They run on the caller's thread; call them on the thread that opened
// the session.
//
// CPU, memory and video card are collected once per process and cached. A caller whose session
// has no services waits while another thread collects a group, or has opened WMI for it and not
// yet collected it, and then answers from the cache: several reports at once cost one collection.

// "CPU": array of {"CPU_Name", "CPU_Manufacturer", "CPU_Type", "CPU_Architecture"}.
int CollectCpu(const WmiSession& session, Json::Value& out);
// "Memory_Total_Capacity" (Int64) and "Memory": array of {"Memory_Type", "Memory_Capacity"
// (UInt64), "Memory_Frequency" (UInt)}.
int CollectMemory(const WmiSession& session, Json::Value& out);
// "Video_Card": array of {"Video_Card_Name", "Video_Card_Memory_Capacity" (UInt),
// "Video_Card_Driver_Version"}.
int CollectVideoCard(const WmiSession& session, Json::Value& out);
// "Disk": array of {"Disk_Caption", "Disk_Capacity" (Int64)}; "Disk_File_System" of C:\.
int CollectDisk(const WmiSession& session, Json::Value& out);
// "Monitor": array of {"Manufacturer", "Current_Resolution_Height", "Current_Resolution_Width",
// "Width_Height", "Max_Height", "Max_Width"}; "BitsPerPel" (UInt) of the last display
// configuration row.
int CollectMonitor(const WmiSession& session, Json::Value& out);
// "Sound_Card": array of {"Sound_Card_Name", "Sound_Card_Manufacturer"}.
int CollectSoundCard(const WmiSession& session, Json::Value& out);
