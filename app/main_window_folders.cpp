// TForm1: the global hotkey and what a press of it does.
#include "app/main_window.h"

#include "app/hotkey_registration.h"
#include "app/win_system_error.h"

#include "gui/win/application.h"

namespace nestora::app {

int TForm1::HotKeyId() const {
    return HotKeyIdFromAtom(hotKeyAtom_.get());
}

int TForm1::SelectionKeyId() const {
    return SelectionKeyIdFromHotKeyId(HotKeyId());
}

std::wstring TForm1::HotKeyText() const {
    return ShortcutToText(EditHotKey->HotKey(), seams_.keyNames);
}

void TForm1::SetHotKeyForFolder() {
    // A registration still in place would make the new one fail and keep the old
    // combination working instead of the one in the field.
    UnregisterHotKey();
    const std::optional<HotKeyRegistration> registration =
        HotKeyRegistrationFor(EditHotKey->HotKey());
    hotKeyTaken_ = false;
    if (!registration)
        return;
    hotKeyRegistered_ = seams_.hotKey.registerKey(Handle(), HotKeyId(), registration->modifiers,
                                                  registration->virtualKey);
    // Another program holds the combination: a press would reach that program, never this
    // one, so the user is told at once, and the hint stops advertising the key.
    hotKeyTaken_ = !hotKeyRegistered_;
    if (hotKeyTaken_) {
        ShowTrayBalloon(HotKeyTakenText(Texts(), HotKeyText()),
                        desktop::TabfTrayIconInfoType::tiiWarning);
        return;
    }
    // The selection key comes and goes with the hotkey. When another program holds it there
    // is none, and nothing is said: the hotkey the user chose works.
    if (const std::optional<HotKeyRegistration> selection =
            SelectionKeyRegistrationFor(EditHotKey->HotKey()))
        selectionKeyRegistered_ = seams_.hotKey.registerKey(
            Handle(), SelectionKeyId(), selection->modifiers, selection->virtualKey);
}

void TForm1::ShowTrayBalloon(const std::wstring& text, desktop::TabfTrayIconInfoType type) {
    abfTray->SetInfoTitle(std::wstring(Texts().applicationTitle));
    abfTray->SetInfoText(text);
    abfTray->SetInfoType(type);
    abfTray->ShowBalloon();
}

void TForm1::UnregisterHotKey() {
    if (hotKeyRegistered_) {
        hotKeyRegistered_ = false;
        if (HandleAllocated())
            seams_.hotKey.unregisterKey(Handle(), HotKeyId());
    }
    if (selectionKeyRegistered_) {
        selectionKeyRegistered_ = false;
        if (HandleAllocated())
            seams_.hotKey.unregisterKey(Handle(), SelectionKeyId());
    }
}

void TForm1::WMHotKey(gui::TMessage& message) {
    const PressKind kind = static_cast<int>(message.WParam) == SelectionKeyId()
                               ? PressKind::withSelection
                               : PressKind::newFolder;
    const std::unique_ptr<ShellAutomation> shell = seams_.shell();
    const std::unique_ptr<PressWindows> windows = seams_.pressWindows(gui::Application().Handle());
    NewFolderTargets targets = Targets();
    HandleHotKeyPress(shell.get(), *windows, targets, kind);
}

void TForm1::NewFolderOnDesktop() {
    NewFolderTargets targets = Targets();
    targets.CreateOnDesktop(PressKind::newFolder);
}

NewFolderTargets TForm1::Targets() {
    // Told in a balloon, not a box: a press must not steal the focus from the window the
    // user was working in.
    FolderReports reports;
    reports.notMade = [this](const std::wstring& target, std::uint32_t error) {
        ShowTrayBalloon(FolderNotMadeText(Texts(), target, SystemErrorText(error, language_)),
                        desktop::TabfTrayIconInfoType::tiiError);
    };
    reports.noFolderOnDisk = [this] {
        ShowTrayBalloon(std::wstring(Texts().noFolderOnDisk),
                        desktop::TabfTrayIconInfoType::tiiInfo);
    };
    NewFolderTargets targets(*seams_.fileSystem, *seams_.desktop,
                             {EditNameFolder->Text(), DefaultFolderName()}, std::move(reports));
    targets.SetSelectionMover(seams_.mover.get());
    targets.SetRenameStarter([this](std::unique_ptr<RenameView> view, const std::wstring& path) {
        windowRename_.Start(std::move(view), path);
    });
    return targets;
}

} // namespace nestora::app
