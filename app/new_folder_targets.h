// The folder targets of a press (hotkey_press.h) made real: a new folder in an Explorer
// window's folder, or on the desktop, where it is then put into rename mode.
//
// The name is the settings field's at the time of the press, checked at every creation
// (folder_name.h): a bad name gives way to the language's default name. The desktop is a
// seam (DesktopShell): where it is, telling the shell about the new folder, and the rename.
#pragma once

#include "app/folder_creation.h"
#include "app/hotkey_press.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace nestora::app {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // The desktop's folder; empty when it can't be found.
    virtual std::wstring DesktopPath() = 0;
    // Tells the shell that the folder at path was created, so its views show it now.
    virtual void AnnounceNewFolder(const std::wstring& path) = 0;
    // Selects the folder at path alone in the desktop's view and puts it into rename mode,
    // at once or once the view shows it. False when the view can't be reached; nothing
    // else is done then (no key is sent blindly into whatever has the focus).
    virtual bool StartRename(const std::wstring& path) = 0;
};

// What a press could not do, for the user to be told (empty functions: nothing is told).
struct FolderReports {
    // No folder was made in target: the system's error code (see kBadTargetError).
    std::function<void(const std::wstring& target, std::uint32_t error)> notMade;
    // The window pressed in shows no folder on disk.
    std::function<void()> noFolderOnDisk;
};

// The error told for a target that is no absolute path (the system's ERROR_BAD_PATHNAME).
inline constexpr std::uint32_t kBadTargetError = 161;

struct FolderNames {
    std::wstring name;        // the settings field's, unchecked
    std::wstring defaultName; // the current language's
};

class NewFolderTargets final : public FolderTargets {
public:
    NewFolderTargets(FolderFileSystem& fileSystem, DesktopShell& desktop, FolderNames names,
                     FolderReports reports = {})
        : fileSystem_(fileSystem), desktop_(desktop), names_(std::move(names)),
          reports_(std::move(reports)) {}

    void CreateInFolder(const std::wstring& folder) override;
    void CreateOnDesktop() override;
    void ReportNoFolderOnDisk() override;

private:
    std::optional<std::wstring> Create(const std::wstring& target);

    FolderFileSystem& fileSystem_;
    DesktopShell& desktop_;
    FolderNames names_;
    FolderReports reports_;
};

} // namespace nestora::app
