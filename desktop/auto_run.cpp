#include "desktop/auto_run.h"

#include "gui/core/class_builder.h"
#include "gui/win/application.h"

namespace nestora::desktop {

const gui::ClassInfo& TabfAutoRun::StaticClassInfo() {
    using T = TabfAutoRun;
    static const gui::ClassInfo info =
        gui::ClassBuilder<T>("TabfAutoRun", &TabfComponent::StaticClassInfo())
            .Creatable()
            .Bool("AutoRun", &T::AutoRun, &T::SetAutoRun)
            .Text("FileName", &T::FileName, &T::SetFileName)
            .Enum("Kind", kAutoExecKindInfo, &T::Kind, &T::SetKind)
            .Build();
    return info;
}

TabfAutoRun::TabfAutoRun(gui::TComponent* owner) : TabfComponent(owner) {
    if (!IsDesigning())
        fileName_ = gui::TApplication::ExeName();
}

template <class F> void TabfAutoRun::Change(F store) {
    if (IsLoading()) {
        store();
        return;
    }
    RemoveAutoRun();
    store();
    ApplyAutoRun();
}

void TabfAutoRun::SetAutoRun(bool autoRun) {
    if (autoRun != autoRun_)
        Change([&] { autoRun_ = autoRun; });
}

void TabfAutoRun::SetFileName(const std::wstring& fileName) {
    if (fileName != fileName_)
        Change([&] { fileName_ = fileName; });
}

void TabfAutoRun::SetKind(TabfAutoExecKind kind) {
    if (kind != kind_)
        Change([&] { kind_ = kind; });
}

void TabfAutoRun::Loaded() {
    TabfComponent::Loaded();
    ApplyAutoRun();
}

void TabfAutoRun::ApplyAutoRun() {
    if (IsDesigning())
        return;
    RemoveAutoRun();
    if (!autoRun_)
        return;
    RegisterAutoExec(kind_, fileName_, registry_);
    ClearAutoExecDisabledMark(kind_, fileName_, registry_);
}

bool TabfAutoRun::DisabledByUser() const {
    return !IsDesigning() && AutoExecDisabled(kind_, fileName_, registry_);
}

void TabfAutoRun::RemoveAutoRun() {
    if (IsDesigning())
        return;
    UnregisterAutoExec(kind_, fileName_, registry_);
}

} // namespace nestora::desktop
