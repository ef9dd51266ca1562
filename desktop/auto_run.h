#pragma once
// TabfAutoRun: makes a program start with Windows by keeping one value in one of the
// system's run keys. Its state is AutoRun: the value is there exactly when AutoRun is set
// (as far as the registry lets it be written). It never reads the registry to find out.
//
// Life story:
//   created   AutoRun false, Kind aekMachineRun, FileName the executable's full path
//             (empty in design mode).
//   loaded    the window description has set its properties: the value the settings
//             describe is deleted and, with AutoRun, written anew. While the description is
//             being read the setters only store their values: the entry is settled once, at
//             the loaded step, not once per property line (a description setting Kind would
//             otherwise delete a same-named entry under HKEY_LOCAL_MACHINE that this
//             program never wrote).
//   running   a change of AutoRun, FileName or Kind deletes the value the old settings
//             described and, with AutoRun, writes the one the new settings describe: the
//             entry moves with Kind and FileName, and goes with AutoRun false.
//   destroyed nothing: the entry outlives the program, which is its point.
//
// Windows 8 and later let the user disable an entry (Task Manager) without deleting it:
// DisabledByUser tells, and writing the entry takes that mark away.
//
// Failures are swallowed (see desktop/auto_exec.h); a property keeps its new value even
// when the registry was not changed. In design mode the registry is never touched.

#include "gui/win/graphics_win32.h"

#include "desktop/abf_component.h"
#include "desktop/auto_exec.h"

#include <string>

namespace nestora::desktop {

class TabfAutoRun : public TabfComponent {
public:
    explicit TabfAutoRun(gui::TComponent* owner);

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    bool AutoRun() const { return autoRun_; }
    void SetAutoRun(bool autoRun);
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& fileName);
    TabfAutoExecKind Kind() const { return kind_; }
    void SetKind(TabfAutoExecKind kind);

    // The registry it works on (tests: scratch keys).
    void SetRegistry(const AutoExecRegistry& registry) { registry_ = registry; }
    const AutoExecRegistry& Registry() const { return registry_; }

    void Loaded() override;

    // Deletes the value, then writes it when AutoRun is set, taking away a mark that has
    // disabled it (setting AutoRun is the user's latest choice).
    virtual void ApplyAutoRun();
    // Windows will not start the entry the settings describe: it has been disabled (Task
    // Manager's mark, desktop/auto_exec.h). False in design mode.
    bool DisabledByUser() const;
    // Deletes the value of the current settings.
    virtual void RemoveAutoRun();

private:
    // The common step of the three setters.
    template <class F> void Change(F store);

    bool autoRun_ = false;
    std::wstring fileName_;
    TabfAutoExecKind kind_ = TabfAutoExecKind::aekMachineRun;
    AutoExecRegistry registry_;
};

} // namespace nestora::desktop
