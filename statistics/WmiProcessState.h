#pragma once
#include <windows.h>

#include <json/json.h>

#include <cstdint>

class WmiSession;

// Process-wide WMI state shared by every statistics component on every thread: the opened flag,
// the cached hardware groups and the memory total, under one lock. Used by the WMI session and the
// collectors only.
namespace WmiProcessState {

enum class Group { Cpu, Memory, Video };

// Serialises opening. False when the flag is set and force is false (nothing to do); otherwise
// the caller opens and must call EndOpen.
bool BeginOpen(bool force);
// setFlag: the open counts as done. promisedGroups: cached-group bits that session will collect
// (0 when it has no services).
void EndOpen(bool setFlag, const WmiSession* session, int promisedGroups);
// The session goes or closes: its promises are void.
void DropPromises(const WmiSession* session);
bool IsOpened();

enum class Answer { Cached, CollectHere, Nothing };
// Cached: value (and for memory, total) hold the cache. CollectHere: the session has services and
// must collect and then call FinishGroup. Nothing: no cache and nobody to wait for. Waits while
// another session collects the group or has promised it.
Answer AcquireGroup(const WmiSession& session, Group group, Json::Value& value,
                    std::int64_t* total);
// After CollectHere: result is the complete enumeration, or null when the query failed.
void FinishGroup(const WmiSession& session, Group group, const Json::Value* result,
                 std::int64_t total);

void CountQuery();
std::uint32_t QueryCount();
void Reset();

} // namespace WmiProcessState
