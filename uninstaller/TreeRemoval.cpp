#include <windows.h>

#include "ui/Win32Handles.h"
#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/LongPath.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/TextConvert.h"
#include "uninstaller/UninstallSession.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

// Depth-first walk that keeps one open enumeration per level instead of recursing, so neither
// the stack nor the memory grows with the size of the tree, only with its depth. The visitor
// gets:
//   bool Enter(path, lower)    a sub-directory; true to walk into it
//   void Link(path, lower)     a link to a folder (junction, symbolic link): never walked into
//   void File(path, lower)
//   void Leave(path, lower)    a walked directory whose enumeration has been closed
//   void Unlisted(path, lower, error)  a directory to walk (the root too) whose enumeration
//                              could not start; it is neither walked nor left
// `lower` is the full path ASCII-lower-cased. A root that is missing or itself a link is not
// walked.
template <typename Visitor> void WalkTree(const std::wstring& root, Visitor& visitor) {
    const DWORD rootAttributes = ::GetFileAttributesW(ApiPath(root).c_str());
    if (rootAttributes == INVALID_FILE_ATTRIBUTES ||
        (rootAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return;
    }
    struct OpenDir {
        std::wstring path;
        std::wstring lower;
        SkinUI::CFindHandle find;
    };
    std::vector<OpenDir> open;
    WIN32_FIND_DATAW data;
    const auto start = [&](const std::wstring& path, const std::wstring& lower) {
        SkinUI::CFindHandle find(::FindFirstFileW(ApiPath(path + L"\\*.*").c_str(), &data));
        if (!find) {
            visitor.Unlisted(path, lower, ::GetLastError());
            return false;
        }
        open.push_back(OpenDir{path, lower, std::move(find)});
        return true;
    };
    bool haveEntry = start(root, AsciiLower(root));
    while (!open.empty()) {
        if (!haveEntry) {
            // The enumeration is closed (with its entry) before the visitor sees the folder.
            const std::wstring path = std::move(open.back().path);
            const std::wstring lower = std::move(open.back().lower);
            open.pop_back();
            visitor.Leave(path, lower);
            haveEntry = !open.empty() && ::FindNextFileW(open.back().find.Get(), &data);
            continue;
        }
        if (!IsDotEntry(data.cFileName)) {
            const OpenDir& dir = open.back();
            const std::wstring lowerName = AsciiLower(data.cFileName);
            const std::wstring path = dir.path + L"\\" + data.cFileName;
            const std::wstring lower = dir.lower + L"\\" + lowerName;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                visitor.File(path, lower);
            } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                visitor.Link(path, lower);
            } else if (visitor.Enter(path, lower) && start(path, lower)) {
                continue; // data holds the child's first entry
            }
        }
        haveEntry = ::FindNextFileW(open.back().find.Get(), &data);
    }
}

class FileCounter {
public:
    bool Enter(const std::wstring&, const std::wstring&) { return true; }
    void Link(const std::wstring&, const std::wstring&) {}
    void File(const std::wstring&, const std::wstring&) { ++count; }
    void Leave(const std::wstring&, const std::wstring&) {}
    void Unlisted(const std::wstring&, const std::wstring&, DWORD) {}

    unsigned count = 0;
};

// Removes the link itself and returns the error that kept it (0 when it went). The handle is
// checked to be the link: where the platform opens the target instead (Wine's Unix links),
// deleting through it would remove the target, so the link stays.
DWORD RemoveFolderLink(const std::wstring& path) {
    const SkinUI::CFileHandle handle(::CreateFileW(
        ApiPath(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) {
        return ::GetLastError();
    }
    DWORD error = ERROR_NOT_A_REPARSE_POINT;
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    if (::GetFileInformationByHandleEx(handle.Get(), FileAttributeTagInfo, &tag, sizeof tag) &&
        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        FILE_DISPOSITION_INFO disposition = {};
        disposition.DeleteFile = TRUE;
        error = ::SetFileInformationByHandle(handle.Get(), FileDispositionInfo, &disposition,
                                             sizeof disposition)
                    ? ERROR_SUCCESS
                    : ::GetLastError();
    }
    return error;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(ApiPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolderLink(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(ApiPath(path).c_str());
    const DWORD link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & link) == link;
}

// The folder whose tree is removed for an installation folder: the folder itself or, where it is
// a link (a game moved to another drive), the link's target once the same guard as for any
// installation folder accepts it. Empty when nothing may be walked.
std::wstring WalkedFolder(const std::wstring& root) {
    if (!IsFolderLink(root)) {
        return root;
    }
    const std::wstring target = ResolvedForm(root);
    if (target.empty() || IsFolderLink(target) || !IsSafeInstallDir(target) ||
        AsciiLower(target) == AsciiLower(root)) {
        return std::wstring();
    }
    return target;
}

// The keep lists name paths below the installation folder as written; the walk meets them below
// the link's target.
PathSet Rebased(const PathSet& paths, const std::wstring& root, const std::wstring& walked) {
    const std::wstring from = AsciiLower(root) + L"\\";
    const std::wstring to = AsciiLower(walked) + L"\\";
    PathSet rebased;
    for (const std::wstring& path : paths) {
        rebased.insert(path.compare(0, from.size(), from) == 0 ? to + path.substr(from.size())
                                                               : path);
    }
    return rebased;
}

std::wstring SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                         FORMAT_MESSAGE_FROM_SYSTEM,
                     nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const std::wstring result = text != nullptr ? text : L"";
    ::LocalFree(text);
    return result;
}

// What a report says of a file that stays: the platform's reason for the failed delete or, where
// the platform claimed success but the file is still there, "still present".
std::wstring ReasonText(DWORD error) {
    return error != ERROR_SUCCESS ? SystemErrorText(error) : L"still present";
}

void ReportUndeletedFile(UninstallSession* session, const std::wstring& lowerName, DWORD error) {
    if (session == nullptr) {
        return;
    }
    const std::string report = WideToUtf8(lowerName + L"," + ReasonText(error));
    SendEvent(*session, EVENT_FILE_NOT_DELETED, nullptr, 0, report.c_str());
}

std::wstring NameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/") + 1);
}

std::wstring ParentOf(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

// The reports of one removal: each path at most once, with the reason the platform gave.
class LeftoverReports {
public:
    LeftoverReports(IRemovalObserver& observer, UninstallSession* session)
        : observer_(observer), session_(session) {}

    void Report(const std::wstring& lower, DWORD error) {
        if (!reported_.insert(lower).second) {
            return;
        }
        const std::wstring name = NameOf(lower);
        ReportUndeletedFile(session_, name, error);
        observer_.OnFileNotDeleted(name, error);
    }

    // A folder that could not be removed, with the platform's reason.
    void FolderFailed(const std::wstring& lower, DWORD error) { folderErrors_[lower] = error; }
    DWORD FolderError(const std::wstring& lower) const {
        const auto found = folderErrors_.find(lower);
        return found != folderErrors_.end() ? found->second : ERROR_SUCCESS;
    }

private:
    IRemovalObserver& observer_;
    UninstallSession* const session_;
    std::set<std::wstring> reported_;
    std::map<std::wstring, DWORD> folderErrors_;
};

class TreeRemover {
public:
    TreeRemover(IRemovalObserver& observer, LeftoverReports& reports, unsigned& counter,
                unsigned total, const PathSet& skipDirs, const PathSet& skipFiles)
        : observer_(observer), reports_(reports), counter_(counter), total_(total),
          skipDirs_(skipDirs), skipFiles_(skipFiles) {}

    bool Enter(const std::wstring&, const std::wstring& lower) {
        return skipDirs_.count(lower) == 0;
    }

    void Link(const std::wstring& path, const std::wstring& lower) {
        if (skipDirs_.count(lower) != 0) {
            return;
        }
        const DWORD error = RemoveFolderLink(path);
        if (error != ERROR_SUCCESS && Exists(path)) {
            reports_.Report(lower, error);
        }
    }

    void File(const std::wstring& path, const std::wstring& lower) {
        if (skipFiles_.count(lower) == 0) {
            DeleteOneFile(path, lower);
        }
        observer_.OnRemovalProgress(ProgressPercentage(counter_, total_));
        ++counter_;
    }

    void Leave(const std::wstring& path, const std::wstring& lower) {
        const std::wstring api = ApiPath(path);
        if (::RemoveDirectoryW(api.c_str())) {
            return;
        }
        DWORD error = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(api.c_str());
        if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            // A read-only folder goes like a read-only file: writable first.
            ::SetFileAttributesW(api.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (::RemoveDirectoryW(api.c_str())) {
                return;
            }
            error = ::GetLastError();
        }
        reports_.FolderFailed(lower, error);
    }

    // What could not be listed stays; the leftovers' walk reports it.
    void Unlisted(const std::wstring&, const std::wstring&, DWORD) {}

    // The installation folder when it is a link: its target's tree has been walked; the link
    // goes last.
    void RemoveInstallLink(const std::wstring& root) {
        if (Exists(root)) {
            reports_.FolderFailed(AsciiLower(root), RemoveFolderLink(root));
        }
    }

private:
    void DeleteOneFile(const std::wstring& path, const std::wstring& lower) {
        const std::wstring api = ApiPath(path);
        if (::DeleteFileW(api.c_str())) {
            return;
        }
        ::SetFileAttributesW(api.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (::DeleteFileW(api.c_str())) {
            return;
        }
        reports_.Report(lower, ::GetLastError());
    }

    IRemovalObserver& observer_;
    LeftoverReports& reports_;
    unsigned& counter_;
    const unsigned total_;
    const PathSet& skipDirs_;
    const PathSet& skipFiles_;
};

// Walks what the removal left and reports whatever the keep lists and the reports so far do not
// explain: a delete can claim success while the file stays (a read-only volume under Wine, a
// file another process holds open with delete sharing on Windows), and a folder can stay with
// nothing in it. A folder that still holds something is explained by what it holds.
class LeftoverFinder {
public:
    LeftoverFinder(LeftoverReports& reports, const PathSet& skipDirs, const PathSet& skipFiles)
        : reports_(reports), skipDirs_(skipDirs), skipFiles_(skipFiles) {}

    bool Enter(const std::wstring&, const std::wstring& lower) {
        Found(lower);
        return skipDirs_.count(lower) == 0;
    }

    void Link(const std::wstring&, const std::wstring& lower) {
        Found(lower);
        if (skipDirs_.count(lower) == 0) {
            reports_.Report(lower, reports_.FolderError(lower));
        }
    }

    void File(const std::wstring&, const std::wstring& lower) {
        Found(lower);
        if (skipFiles_.count(lower) == 0) {
            reports_.Report(lower, ERROR_SUCCESS);
        }
    }

    void Leave(const std::wstring&, const std::wstring& lower) {
        sawAnything_ = true;
        if (holding_.erase(lower) == 0) {
            reports_.Report(lower, reports_.FolderError(lower));
        }
    }

    void Unlisted(const std::wstring&, const std::wstring& lower, DWORD error) {
        sawAnything_ = true;
        reports_.Report(lower, error);
    }

    bool SawAnything() const { return sawAnything_; }

private:
    void Found(const std::wstring& lower) {
        sawAnything_ = true;
        holding_.insert(ParentOf(lower));
    }

    LeftoverReports& reports_;
    const PathSet& skipDirs_;
    const PathSet& skipFiles_;
    std::set<std::wstring> holding_; // walked folders found to hold something
    bool sawAnything_ = false;
};

} // namespace

int ProgressPercentage(unsigned counter, unsigned total) {
    if (total == 0) {
        return 0;
    }
    const double percentage = counter * 100.0 / total;
    return percentage >= 100.0 ? 100 : static_cast<int>(percentage);
}

unsigned CountFiles(UninstallSession& /*session*/, const wchar_t* directory) {
    if (directory == nullptr) {
        return 0;
    }
    FileCounter counter;
    const std::wstring walked = WalkedFolder(NormalizeInstallDir(directory));
    if (!walked.empty()) {
        WalkTree(walked, counter);
    }
    return counter.count;
}

void DeleteTree(IRemovalObserver& observer, UninstallSession* session, const wchar_t* directory,
                unsigned* counter, unsigned total, const PathSet& skipDirs,
                const PathSet& skipFiles) {
    if (directory == nullptr || counter == nullptr || !IsSafeInstallDir(directory)) {
        return;
    }
    const std::wstring root = NormalizeInstallDir(directory);
    const std::wstring walked = WalkedFolder(root);
    const PathSet walkedSkipDirs = Rebased(skipDirs, root, walked);
    const PathSet walkedSkipFiles = Rebased(skipFiles, root, walked);
    LeftoverReports reports(observer, session);
    TreeRemover remover(observer, reports, *counter, total, walkedSkipDirs, walkedSkipFiles);
    LeftoverFinder leftovers(reports, walkedSkipDirs, walkedSkipFiles);
    if (!walked.empty()) {
        WalkTree(walked, remover);
        if (walked != root) {
            remover.RemoveInstallLink(root);
        }
        WalkTree(walked, leftovers);
    }
    // The installation folder stays while nothing in it explains why (a link whose target was
    // refused, or that the platform cannot remove).
    if (!leftovers.SawAnything() && Exists(root)) {
        const std::wstring lowerRoot = AsciiLower(root);
        reports.Report(lowerRoot, reports.FolderError(lowerRoot));
    }
}
