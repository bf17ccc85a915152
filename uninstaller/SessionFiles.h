#pragma once
#include <windows.h>

#include "ui/Win32Handles.h"
#include "uninstaller/GameConfig.h"

#include <memory>
#include <string>

// What a session's start reads and writes before anything is shown: the configuration, the
// check of the installation folder and the embedded files in the temporary folder. None of it
// needs a window or an apartment, so it may run on any thread.
struct SessionFiles {
    std::unique_ptr<GameConfig> config;
    // False on a configuration error; then nothing was written.
    bool configValid = false;
    std::wstring tempFolder;
    // The plug-in archive was written and unpacked completely.
    bool archiveUnpacked = false;
};

// The configuration's path inside an installation directory.
std::wstring ConfigPathOf(const std::wstring& installDir);

// The server list written to the temporary folder.
std::wstring ServerListPathOf(const std::wstring& tempFolder);

SessionFiles PrepareSessionFiles(const std::wstring& installDir);

// Prepares a session's files on a worker thread, so that the starting program can open its
// apartment and its display meanwhile (most of the time before the first window is spent
// there). When no thread can be started, Take does the work on the caller's thread.
class CSessionFilesTask {
public:
    explicit CSessionFilesTask(std::wstring installDir);
    // Waits for the worker: it writes into this object.
    ~CSessionFilesTask();
    CSessionFilesTask(const CSessionFilesTask&) = delete;
    CSessionFilesTask& operator=(const CSessionFilesTask&) = delete;

    // Waits for the worker and hands over what it prepared; once only.
    SessionFiles Take();

private:
    static unsigned __stdcall Run(void* task);
    void Wait();

    const std::wstring installDir_;
    SessionFiles files_;
    bool done_ = false;
    SkinUI::CKernelHandle thread_;
};
