// TForm1: the global hotkey and what a press of it does.
#include "app/main_window.h"

#include "app/hotkey_registration.h"

#include "gui/win/application.h"

namespace nestora::app {

int TForm1::HotKeyId() const {
    return HotKeyIdFromAtom(hotKeyAtom_.get());
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
    if (!registration)
        return;
    // The result is not examined: a combination another program holds simply has no
    // effect until it is registered again.
    hotKeyRegistered_ = seams_.hotKey.registerKey(Handle(), HotKeyId(), registration->modifiers,
                                                  registration->virtualKey);
}

void TForm1::UnregisterHotKey() {
    if (!hotKeyRegistered_)
        return;
    hotKeyRegistered_ = false;
    if (HandleAllocated())
        seams_.hotKey.unregisterKey(Handle(), HotKeyId());
}

void TForm1::WMHotKey(gui::TMessage&) {
    const std::unique_ptr<ShellAutomation> shell = seams_.shell();
    const std::unique_ptr<PressWindows> windows = seams_.pressWindows(gui::Application().Handle());
    NewFolderTargets targets(*seams_.fileSystem, *seams_.desktop,
                             {EditNameFolder->Text(), DefaultFolderName()});
    HandleHotKeyPress(shell.get(), *windows, targets);
}

void TForm1::NewFolderOnDesktop() {
    NewFolderTargets targets(*seams_.fileSystem, *seams_.desktop,
                             {EditNameFolder->Text(), DefaultFolderName()});
    targets.CreateOnDesktop();
}

} // namespace nestora::app
