#pragma once
// The window-description parser: UTF-8 text in, a tree of objects and property lines out.
//
// A window description stores the layout of a form: one object block per component with
// its name, class and property lines, nested for child controls, collection items inside
// < … >. The syntax:
//
//     object Form1: TForm1                 // the root: the form itself
//       Left = 295                         // integers: decimal, negative, or $hex
//       Caption = ' =Nestora='             // texts in single quotes, '' for a quote;
//       Hint = 'line one'#13#10'two'       //   #code adds a character; pieces written
//       Title = 'long text ' +             //   without blanks between them, or joined
//         'goes on'                        //   with + (also across lines), are one text
//       Color = clBtnFace                  // identifiers: True/False, colour names,
//       OnCreate = FormCreate              //   enumeration values, component and
//       Images = ImgList                   //   method names, nil
//       BorderIcons = [biSystemMenu, biMinimize]    // sets
//       Lines = ('first' 'second')         // lists
//       Font.Name = 'MS Sans Serif'        // nested objects by dotted names
//       Items = <                          // collections: item … end blocks
//         item
//           Caption = 'x'
//         end>
//       object Label1: TLabel              // owned components, nested where the
//         Caption = 'Hello'                //   enclosing one is their parent
//       end
//     end
//
// Comments run from // to the end of the line. Keywords (object, end, item) and
// identifiers are ASCII and compared without regard to case by the loader; texts are UTF-8.
// Bad input raises EDescriptionError whose message starts "line N: " and names the fault;
// input size, nesting depth and the number of entries are bounded (Limits below), so any
// byte sequence ends in a tree or an error, never in a crash or a hang.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::gui {

struct DescriptionProperty;

// One item … end block of a collection value.
struct DescriptionItem {
    int line = 0;
    std::vector<DescriptionProperty> properties;
};

struct DescriptionValue {
    enum class Kind {
        Integer,    // integer
        Text,       // text
        Identifier, // identifier (may be dotted: Form2.Images)
        Set,        // names
        List,       // elements (integers, texts or identifiers)
        Collection, // items
    };
    Kind kind = Kind::Integer;
    int line = 0;
    std::int64_t integer = 0;
    std::wstring text;
    std::string identifier;
    std::vector<std::string> names;
    std::vector<DescriptionValue> elements;
    std::vector<DescriptionItem> items;
};

struct DescriptionProperty {
    int line = 0;
    std::string name; // dotted for nested objects: "Font.Name"
    DescriptionValue value;
};

struct DescriptionObject {
    int line = 0;
    std::wstring name;     // empty for an unnamed component
    std::string className;
    std::vector<DescriptionProperty> properties;
    std::vector<DescriptionObject> children;
};

struct DescriptionLimits {
    std::size_t maxBytes = 1u << 20;   // the whole text
    int maxDepth = 32;                  // objects, collections and items nested
    std::size_t maxEntries = 100000;    // objects, properties, items and list elements
};

// Parses a whole description: exactly one root object, then nothing but blanks and
// comments. A UTF-8 byte-order mark at the start is skipped.
DescriptionObject ParseDescription(std::string_view utf8, const DescriptionLimits& limits = {});

} // namespace nestora::gui
