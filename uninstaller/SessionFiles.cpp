#include <windows.h>

#include "uninstaller/SessionFiles.h"
#include "uninstaller/UninstallSession.h"

#include <process.h>

#include <new>
#include <utility>

namespace {

std::wstring GetEnvironmentString(const wchar_t* name) {
    std::wstring value(260, L'\0');
    DWORD n = GetEnvironmentVariableW(name, &value[0], static_cast<DWORD>(value.size()));
    if (n >= value.size()) {
        value.resize(n);
        n = GetEnvironmentVariableW(name, &value[0], n);
    }
    value.resize(n < value.size() ? n : 0);
    return value;
}

// The statistics client's server list and hardware keys, and the plug-in archive unpacked
// beside them; true when the archive was unpacked completely.
bool WriteEmbeddedFiles(const std::wstring& tempFolder) {
    ExtractResourceToFile(105, L"STATISCNF", ServerListPathOf(tempFolder).c_str());
    ExtractResourceToFile(104, L"STATISCNF", (tempFolder + L"\\SystemInfoKeys.xml").c_str());
    const std::wstring archive = tempFolder + L"\\Plugins.zip";
    return ExtractResourceToFile(106, L"ZIPRES", archive.c_str()) &&
           UnzipArchiveToDir(archive.c_str(), tempFolder.c_str());
}

} // namespace

std::wstring ServerListPathOf(const std::wstring& tempFolder) {
    return tempFolder + L"\\Serverlist.ini";
}

std::wstring ConfigPathOf(const std::wstring& installDir) {
    return installDir + L"\\installedFileList.txt";
}

SessionFiles PrepareSessionFiles(const std::wstring& installDir) {
    SessionFiles files;
    files.config.reset(new GameConfig);
    files.configValid = ReadCheckedConfig(ConfigPathOf(installDir), installDir, *files.config);
    if (files.configValid) {
        files.tempFolder = GetEnvironmentString(L"TEMP");
        files.archiveUnpacked = WriteEmbeddedFiles(files.tempFolder);
    }
    return files;
}

CSessionFilesTask::CSessionFilesTask(std::wstring installDir) : installDir_(std::move(installDir)) {
    thread_.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Run, this, 0, nullptr)));
}

CSessionFilesTask::~CSessionFilesTask() {
    Wait();
}

unsigned __stdcall CSessionFilesTask::Run(void* task) {
    CSessionFilesTask* const self = static_cast<CSessionFilesTask*>(task);
    try {
        self->files_ = PrepareSessionFiles(self->installDir_);
        self->done_ = true;
    } catch (const std::bad_alloc&) {
        // Take tries again on its own thread, where running short of memory is handled.
    }
    return 0;
}

void CSessionFilesTask::Wait() {
    if (thread_) {
        ::WaitForSingleObject(thread_.Get(), INFINITE);
        thread_.Reset();
    }
}

SessionFiles CSessionFilesTask::Take() {
    Wait();
    if (!done_) {
        files_ = PrepareSessionFiles(installDir_);
    }
    done_ = false;
    return std::move(files_);
}
