// The window-description parser: every value form, line numbers in errors, the bounds, and
// a sweep of damaged inputs that must end in a tree or an error (never a crash or a hang).
#include "gui/core/description_parser.h"
#include "gui/core/exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using nestora::gui::DescriptionObject;
using nestora::gui::DescriptionValue;
using nestora::gui::EDescriptionError;
using nestora::gui::ParseDescription;
using Kind = DescriptionValue::Kind;

const char* const kSample = R"(// the settings window
object Form1: TForm1
  Left = 295
  Top = -12
  HotKey = $40C0
  Caption = ' =Nestora='   // a comment after a value
  Quote = 'It''s // not a comment'
  Russian = 'Новая папка'
  Codes = 'a'#13#10'b'#$41
  Long = 'first ' +
    'second'
  Color = clBtnFace
  Font.Name = 'MS Sans Serif'
  BorderIcons = [biSystemMenu, biMinimize]
  NoIcons = []
  Lines = ('one' 'two' 3 clRed)
  OnCreate = FormCreate
  object Panel1: TPanel
    Align = alClient
    Items = <
      item
        Caption = 'x'
      end
      item
        Caption = 'y'
        Width = 10
      end>
    object Label1: TLabel
    end
  end
  object TTimer
    Images = ImgList
  end
end
)";

TEST(DescriptionParser, ReadsTheTreeWithEveryValueForm) {
    const DescriptionObject root = ParseDescription(kSample);
    EXPECT_EQ(root.line, 2);
    EXPECT_EQ(root.name, L"Form1");
    EXPECT_EQ(root.className, "TForm1");
    ASSERT_EQ(root.properties.size(), 14u);

    auto prop = [&](std::size_t i) -> const nestora::gui::DescriptionProperty& {
        return root.properties.at(i);
    };
    EXPECT_EQ(prop(0).name, "Left");
    EXPECT_EQ(prop(0).line, 3);
    EXPECT_EQ(prop(0).value.kind, Kind::Integer);
    EXPECT_EQ(prop(0).value.integer, 295);
    EXPECT_EQ(prop(1).value.integer, -12);
    EXPECT_EQ(prop(2).value.integer, 0x40C0);
    EXPECT_EQ(prop(3).value.kind, Kind::Text);
    EXPECT_EQ(prop(3).value.text, L" =Nestora=");
    EXPECT_EQ(prop(4).value.text, L"It's // not a comment");
    EXPECT_EQ(prop(5).value.text, L"Новая папка");
    EXPECT_EQ(prop(6).value.text, L"a\r\nbA");
    EXPECT_EQ(prop(7).value.text, L"first second");
    EXPECT_EQ(prop(7).line, 10);
    EXPECT_EQ(prop(8).value.kind, Kind::Identifier);
    EXPECT_EQ(prop(8).value.identifier, "clBtnFace");
    EXPECT_EQ(prop(9).name, "Font.Name");
    EXPECT_EQ(prop(10).value.kind, Kind::Set);
    EXPECT_EQ(prop(10).value.names, (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
    EXPECT_EQ(prop(11).value.kind, Kind::Set);
    EXPECT_TRUE(prop(11).value.names.empty());
    ASSERT_EQ(prop(12).value.kind, Kind::List);
    ASSERT_EQ(prop(12).value.elements.size(), 4u);
    EXPECT_EQ(prop(12).value.elements[1].text, L"two");
    EXPECT_EQ(prop(12).value.elements[2].integer, 3);
    EXPECT_EQ(prop(12).value.elements[3].identifier, "clRed");
    EXPECT_EQ(prop(13).value.identifier, "FormCreate");

    ASSERT_EQ(root.children.size(), 2u);
    const DescriptionObject& panel = root.children[0];
    EXPECT_EQ(panel.name, L"Panel1");
    EXPECT_EQ(panel.line, 18);
    ASSERT_EQ(panel.properties.size(), 2u);
    const DescriptionValue& items = panel.properties[1].value;
    ASSERT_EQ(items.kind, Kind::Collection);
    ASSERT_EQ(items.items.size(), 2u);
    EXPECT_EQ(items.items[0].properties[0].value.text, L"x");
    EXPECT_EQ(items.items[1].line, 24);
    EXPECT_EQ(items.items[1].properties[1].value.integer, 10);
    ASSERT_EQ(panel.children.size(), 1u);
    EXPECT_EQ(panel.children[0].className, "TLabel");
    EXPECT_TRUE(panel.children[0].properties.empty());

    const DescriptionObject& unnamed = root.children[1];
    EXPECT_EQ(unnamed.name, L"");
    EXPECT_EQ(unnamed.className, "TTimer");
}

TEST(DescriptionParser, KeywordsIgnoreCaseAndLineEndsMayBeCrLfAfterAByteOrderMark) {
    const DescriptionObject root =
        ParseDescription("\xEF\xBB\xBFOBJECT F: TForm\r\n  A = 1\r\n  Object B: TB\r\n  END\r\nEnd");
    EXPECT_EQ(root.className, "TForm");
    ASSERT_EQ(root.children.size(), 1u);
    EXPECT_EQ(root.children[0].line, 3);
    EXPECT_EQ(root.properties[0].line, 2);
}

TEST(DescriptionParser, ExtremeNumbersAreExactOrRefused) {
    auto value = [](const std::string& text) {
        return ParseDescription("object A: T\n V = " + text + "\nend").properties[0].value.integer;
    };
    EXPECT_EQ(value("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(value("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(value("$7FFFFFFFFFFFFFFF"), INT64_MAX);
    EXPECT_EQ(value("$FFFFFFFF"), 0xFFFFFFFFll);
    EXPECT_THROW(value("9223372036854775808"), EDescriptionError);
    EXPECT_THROW(value("-9223372036854775809"), EDescriptionError);
    EXPECT_THROW(value("99999999999999999999999"), EDescriptionError);
    EXPECT_THROW(value("$10000000000000000"), EDescriptionError);
}

// Each bad description fails with the line of its fault and words that name it.
struct BadCase {
    const char* text;
    const wchar_t* message;
};

class DescriptionParserErrors : public testing::TestWithParam<BadCase> {};

TEST_P(DescriptionParserErrors, NameTheLineAndTheFault) {
    try {
        ParseDescription(GetParam().text);
        FAIL() << "accepted: " << GetParam().text;
    } catch (const EDescriptionError& e) {
        EXPECT_EQ(e.Message(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DescriptionParserErrors,
    testing::Values(
        BadCase{"", L"line 1: the description is empty"},
        BadCase{"  // only a comment\n", L"line 2: the description is empty"},
        BadCase{"object A: T\n  Caption = 'open\nend", L"line 2: the text has no closing quote on its line"},
        BadCase{"object A: T\n  Left 5\nend", L"line 2: expected '=' after Left, found the number 5"},
        BadCase{"object A: T\n  Left = 5\n", L"line 3: the object A (line 1) has no 'end'"},
        BadCase{"object A: T\nend\nobject B: T\nend", L"line 3: unexpected 'object' after the end of the root object"},
        BadCase{"object A: T\n  Left = 1.5\nend", L"line 2: numbers must be whole numbers"},
        BadCase{"object A: T\n  Left = 12abc\nend", L"line 2: a number runs into a name"},
        BadCase{"object A: T\n  Left = \nend", L"line 3: expected a value for Left, found 'end'"},
        BadCase{"object A: T\n  Left = -x\nend", L"line 2: expected a number after '-', found 'x'"},
        BadCase{"object A: T\n  S = [a b]\nend", L"line 2: expected ',' or ']' in the set, found 'b'"},
        BadCase{"object A: T\n  C = 'a' +\nend", L"line 3: expected a text after '+', found 'end'"},
        BadCase{"object A: T\n  C = #55296\nend", L"line 2: #55296 is not a character code"},
        BadCase{"object A: T\n  C = #\nend", L"line 2: '#' must be followed by a character code"},
        BadCase{"object A: T\n  C = 'bad \xC3('\nend", L"line 2: the text is not valid UTF-8"},
        BadCase{"object A: T\n  C = 'overlong \xC0\xAF'\nend", L"line 2: the text is not valid UTF-8"},
        BadCase{"object A: T\n  Name\xC3\xA9 = 1\nend", L"line 2: unexpected byte 195 outside a text"},
        BadCase{"object A: T\n  X = {1}\nend", L"line 2: unexpected character '{'"},
        BadCase{"object A: T\n  I = <\n  item\n    object B: T\n    end\n  end>\nend", L"line 4: collection items cannot hold objects"},
        BadCase{"object A: T\n  I = <\n  thing\n  end>\nend", L"line 3: expected 'item' or '>' in the collection, found 'thing'"},
        BadCase{"object A: T\n  item = 1\nend", L"line 2: expected a property name, 'object' or 'end', found 'item'"},
        BadCase{"object A: T\n  L = (1, 2)\nend", L"line 2: expected a list element or ')', found ','"},
        BadCase{"object A.B: T\nend", L"line 1: expected a component name or class, found 'A.B'"},
        BadCase{"thing A: T\nend", L"line 1: expected 'object', found 'thing'"},
        BadCase{"object A:\nend", L"line 2: expected a class name after ':', found 'end'"}));

TEST(DescriptionParser, NestingAndSizeAreBounded) {
    std::string deep;
    for (int i = 0; i < 40; ++i)
        deep += "object A" + std::to_string(i) + ": T\n";
    for (int i = 0; i < 40; ++i)
        deep += "end\n";
    try {
        ParseDescription(deep);
        FAIL();
    } catch (const EDescriptionError& e) {
        EXPECT_EQ(e.Message(), L"line 33: objects are nested too deeply");
    }
    nestora::gui::DescriptionLimits small;
    small.maxBytes = 64;
    EXPECT_THROW(ParseDescription(std::string(65, ' '), small), EDescriptionError);
    small = {};
    small.maxEntries = 10;
    std::string many = "object A: T\n";
    for (int i = 0; i < 20; ++i)
        many += " P" + std::to_string(i) + " = 1\n";
    many += "end";
    EXPECT_THROW(ParseDescription(many, small), EDescriptionError);

    // Deep collections count as nesting too.
    std::string items = "object A: T\n";
    for (int i = 0; i < 20; ++i)
        items += " I = < item\n";
    EXPECT_THROW(ParseDescription(items), EDescriptionError);
}

// A cheap stand-in for fuzzing, run on every build under the sanitizers: every prefix of
// the sample and many byte-level damages of it parse or fail cleanly.
TEST(DescriptionParser, DamagedInputEndsInATreeOrAnError) {
    const std::string sample = kSample;
    int parsed = 0, refused = 0;
    auto attempt = [&](const std::string& text) {
        try {
            ParseDescription(text);
            ++parsed;
        } catch (const EDescriptionError& e) {
            EXPECT_EQ(e.Message().rfind(L"line ", 0), 0u) << e.what();
            ++refused;
        }
    };
    for (std::size_t n = 0; n <= sample.size(); ++n)
        attempt(sample.substr(0, n));
    std::uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    static const char kBytes[] = {'\'', '#', '<', '>', '[', ']', '(', ')', '=', '$', '-', '+',
                                  '\n', '\0', '\xC3', '\xFF', 'e', '9', '.', ':', '/'};
    for (int i = 0; i < 2000; ++i) {
        std::string text = sample;
        const int damages = 1 + static_cast<int>(next() % 3);
        for (int d = 0; d < damages; ++d) {
            const std::size_t at = next() % text.size();
            switch (next() % 3) {
            case 0:
                text[at] = kBytes[next() % sizeof(kBytes)];
                break;
            case 1:
                text.erase(at, 1 + next() % 8);
                break;
            default:
                text.insert(at, 1, kBytes[next() % sizeof(kBytes)]);
                break;
            }
        }
        attempt(text);
    }
    EXPECT_GT(parsed, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
