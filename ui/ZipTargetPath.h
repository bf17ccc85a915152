#pragma once
#include <windows.h>

#include <string>

namespace SkinUI {

// Where an entry extracted to a named target lands. A relative target is
// placed below the base folder and must stay there after the system's own
// path normalisation (which also turns device names such as "con.txt" into
// device paths); an absolute target is the caller's explicit choice unless
// it is confined as well.
class ZipTargetPath {
public:
    // baseDir ends in a slash. False when the target would leave the base
    // folder or cannot be normalised.
    bool Resolve(const std::wstring& baseDir, const std::wstring& target, bool confineAbsolute);

    // The full, normalised path (what CreateFileW and CreateDirectoryW get).
    const std::wstring& FullPath() const { return full_; }
    bool IsRelative() const { return relative_; }
    // The relative target's folder part holds a parent reference.
    bool HasParentReference() const { return parentRef_; }

    // Creates each missing folder of the path (all of it when the target is
    // a folder, else its parent), from the top, or only those below the base
    // folder. Existing folders are left alone; failures show later.
    void CreateFolders(bool wholePathIsFolder, bool onlyBelowBase) const;

private:
    std::wstring base_; // normalised, ending in a backslash
    std::wstring full_;
    bool relative_ = false;
    bool parentRef_ = false;
};

// The target as written holds a component that the file system would not
// keep as written ("...", ". .", "a.", "x "), whichever slash separates it.
// "." and ".." are left to the normalisation and the check of its result.
bool HasDeceptiveComponent(const std::wstring& target);

// GetFullPathNameW without a length limit; empty on failure.
std::wstring ZipFullPath(const std::wstring& path);

} // namespace SkinUI
