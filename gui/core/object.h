#pragma once
// The roots of the class tree: TObject (run-time class information) and TPersistent
// (objects that can be copied with Assign and described by published properties).
//
// Every class that publishes properties, or whose class name matters to anyone (window
// descriptions create objects by class name; some components look for "Tsui…" classes),
// declares its own class information:
//
//     static const gui::ClassInfo& StaticClassInfo();
//     const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }
//
// and defines StaticClassInfo() with a ClassBuilder (gui/core/class_builder.h).

#include <string_view>

namespace nestora::gui {

class ClassInfo;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = default;
    TObject& operator=(const TObject&) = default;
    virtual ~TObject() = default;

    static const ClassInfo& StaticClassInfo();
    virtual const ClassInfo& GetClassInfo() const { return StaticClassInfo(); }

    std::string_view ClassName() const;
    bool InheritsFrom(const ClassInfo& ancestor) const;
};

class TPersistent : public TObject {
public:
    static const ClassInfo& StaticClassInfo();
    const ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // Copies the state of source into this object. The default asks source to do it
    // (AssignTo) and fails with EConvertError when neither side knows how.
    virtual void Assign(const TPersistent& source);

protected:
    virtual void AssignTo(TPersistent& dest) const;
};

} // namespace nestora::gui
