#include "gui/core/description_parser.h"

#include "gui/core/exceptions.h"
#include "gui/core/text.h"
#include "gui/core/utf.h"

#include <limits>
#include <optional>

namespace nestora::gui {

namespace {

enum class TokenKind {
    End,
    Identifier, // possibly dotted
    Integer,    // unsigned magnitude; a leading '-' is its own token
    TextPiece,  // one 'quoted' run or one #code
    Symbol,     // = : [ ] , < > ( ) + -
};

struct Token {
    TokenKind kind = TokenKind::End;
    int line = 1;
    bool afterBlank = false;   // blanks, line ends or comments came before it
    std::string spelling;      // identifier or symbol as written
    std::uint64_t integer = 0; // Integer
    std::wstring text;         // TextPiece
};

[[noreturn]] void Fail(int line, std::wstring_view what) {
    throw EDescriptionError(L"line " + IntToStr(line) + L": " + std::wstring(what));
}

bool IsIdentStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsIdentPart(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Strict UTF-8: a text that is not valid UTF-8 is refused rather than guessed at.
bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        char32_t cp = 0;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1;
            cp = b0 & 0x1Fu;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2;
            cp = b0 & 0x0Fu;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3;
            cp = b0 & 0x07u;
        } else {
            return false;
        }
        if (i + extra >= s.size())
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0u) != 0x80u)
                return false;
            cp = (cp << 6) | (b & 0x3Fu);
        }
        const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// A short, printable rendering of a token for error messages.
std::wstring Describe(const Token& t) {
    switch (t.kind) {
    case TokenKind::End:
        return L"the end of the text";
    case TokenKind::Integer:
        return L"the number " + IntToStr(t.integer);
    case TokenKind::TextPiece:
        return L"a text";
    case TokenKind::Identifier:
    case TokenKind::Symbol: {
        std::string s = t.spelling.substr(0, 40);
        if (t.spelling.size() > 40)
            s += "...";
        return L"'" + WidenAscii(s) + L"'";
    }
    }
    return L"?";
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        current_ = Scan();
    }

    const Token& Peek() const { return current_; }
    Token Next() {
        Token t = std::move(current_);
        current_ = Scan();
        return t;
    }

private:
    Token Scan() {
        const std::size_t before = pos_;
        SkipBlanks();
        Token t;
        t.line = line_;
        t.afterBlank = pos_ != before;
        if (pos_ >= text_.size())
            return t;
        const char c = text_[pos_];
        if (IsIdentStart(c)) {
            t.kind = TokenKind::Identifier;
            t.spelling = ScanIdentifier();
            while (pos_ + 1 < text_.size() && text_[pos_] == '.' && IsIdentStart(text_[pos_ + 1])) {
                ++pos_;
                t.spelling += '.';
                t.spelling += ScanIdentifier();
            }
            return t;
        }
        if (IsDigit(c) || c == '$') {
            t.kind = TokenKind::Integer;
            t.integer = ScanInteger();
            return t;
        }
        if (c == '\'' || c == '#') {
            t.kind = TokenKind::TextPiece;
            t.text = c == '\'' ? ScanQuoted() : ScanCharCode();
            return t;
        }
        static constexpr std::string_view kSymbols = "=:[],<>()+-";
        if (kSymbols.find(c) != std::string_view::npos) {
            t.kind = TokenKind::Symbol;
            t.spelling = std::string(1, c);
            ++pos_;
            return t;
        }
        if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F)
            Fail(line_, L"unexpected character '" + std::wstring(1, static_cast<wchar_t>(c)) + L"'");
        Fail(line_, L"unexpected byte " + IntToStr(static_cast<unsigned char>(c)) +
                        L" outside a text");
    }

    void SkipBlanks() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n')
                    ++pos_;
            } else {
                return;
            }
        }
    }

    std::string ScanIdentifier() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsIdentPart(text_[pos_]))
            ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    std::uint64_t ScanInteger() {
        constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
        std::uint64_t value = 0;
        bool any = false;
        if (text_[pos_] == '$') {
            ++pos_;
            int digit = 0;
            while (pos_ < text_.size() && (digit = HexValue(text_[pos_])) >= 0) {
                if (value > (kMax >> 4))
                    Fail(line_, L"the number is too large");
                value = (value << 4) | static_cast<std::uint64_t>(digit);
                any = true;
                ++pos_;
            }
            if (!any)
                Fail(line_, L"'$' must be followed by hexadecimal digits");
        } else {
            while (pos_ < text_.size() && IsDigit(text_[pos_])) {
                const auto digit = static_cast<std::uint64_t>(text_[pos_] - '0');
                if (value > (kMax - digit) / 10)
                    Fail(line_, L"the number is too large");
                value = value * 10 + digit;
                ++pos_;
            }
        }
        if (pos_ < text_.size() && (IsIdentPart(text_[pos_]) || text_[pos_] == '.'))
            Fail(line_, text_[pos_] == '.' ? L"numbers must be whole numbers"
                                           : L"a number runs into a name");
        return value;
    }

    std::wstring ScanQuoted() {
        const int startLine = line_;
        ++pos_; // opening quote
        std::string bytes;
        for (;;) {
            if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
                Fail(startLine, L"the text has no closing quote on its line");
            const char c = text_[pos_++];
            if (c == '\'') {
                if (pos_ < text_.size() && text_[pos_] == '\'') {
                    bytes += '\'';
                    ++pos_;
                    continue;
                }
                break;
            }
            bytes += c;
        }
        if (!IsValidUtf8(bytes))
            Fail(startLine, L"the text is not valid UTF-8");
        return Utf8ToWide(bytes);
    }

    std::wstring ScanCharCode() {
        ++pos_; // '#'
        if (pos_ >= text_.size() || !(IsDigit(text_[pos_]) || text_[pos_] == '$'))
            Fail(line_, L"'#' must be followed by a character code");
        const std::uint64_t code = ScanInteger();
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            Fail(line_, L"#" + IntToStr(code) + L" is not a character code");
        std::wstring out;
        AppendCodePoint(out, static_cast<char32_t>(code));
        return out;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    Token current_;
};

class Parser {
public:
    Parser(std::string_view text, const DescriptionLimits& limits) : lexer_(text), limits_(limits) {}

    DescriptionObject ParseRoot() {
        if (lexer_.Peek().kind == TokenKind::End)
            Fail(lexer_.Peek().line, L"the description is empty");
        DescriptionObject root = ParseObject(1);
        if (lexer_.Peek().kind != TokenKind::End)
            Fail(lexer_.Peek().line,
                 L"unexpected " + Describe(lexer_.Peek()) + L" after the end of the root object");
        return root;
    }

private:
    static bool IsKeyword(const Token& t, std::string_view keyword) {
        return t.kind == TokenKind::Identifier && EqualsIgnoreCaseAscii(t.spelling, keyword);
    }
    static bool IsSymbol(const Token& t, char symbol) {
        return t.kind == TokenKind::Symbol && t.spelling[0] == symbol;
    }

    void Count(int line) {
        if (++entries_ > limits_.maxEntries)
            Fail(line, L"the description has too many entries");
    }
    void CheckDepth(int depth, int line) const {
        if (depth > limits_.maxDepth)
            Fail(line, L"objects are nested too deeply");
    }

    static bool IsReserved(const Token& t) {
        return IsKeyword(t, "object") || IsKeyword(t, "end") || IsKeyword(t, "item");
    }

    std::string ExpectSimpleIdentifier(std::wstring_view what) {
        const Token t = lexer_.Next();
        if (t.kind != TokenKind::Identifier || t.spelling.find('.') != std::string::npos ||
            IsReserved(t))
            Fail(t.line, L"expected " + std::wstring(what) + L", found " + Describe(t));
        return t.spelling;
    }

    DescriptionObject ParseObject(int depth) {
        const Token keyword = lexer_.Next();
        if (!IsKeyword(keyword, "object"))
            Fail(keyword.line, L"expected 'object', found " + Describe(keyword));
        CheckDepth(depth, keyword.line);
        Count(keyword.line);
        DescriptionObject object;
        object.line = keyword.line;
        const std::string first = ExpectSimpleIdentifier(L"a component name or class");
        if (IsSymbol(lexer_.Peek(), ':')) {
            lexer_.Next();
            object.name = WidenAscii(first);
            object.className = ExpectSimpleIdentifier(L"a class name after ':'");
        } else {
            object.className = first;
        }
        for (;;) {
            const Token& t = lexer_.Peek();
            if (IsKeyword(t, "end")) {
                lexer_.Next();
                return object;
            }
            if (IsKeyword(t, "object")) {
                object.children.push_back(ParseObject(depth + 1));
                continue;
            }
            if (t.kind == TokenKind::End)
                Fail(t.line, L"the object " + (object.name.empty() ? WidenAscii(object.className)
                                                                   : object.name) +
                                 L" (line " + IntToStr(object.line) + L") has no 'end'");
            object.properties.push_back(ParseProperty(depth));
        }
    }

    DescriptionProperty ParseProperty(int depth) {
        const Token name = lexer_.Next();
        if (name.kind != TokenKind::Identifier || IsKeyword(name, "item"))
            Fail(name.line, L"expected a property name, 'object' or 'end', found " + Describe(name));
        Count(name.line);
        const Token equals = lexer_.Next();
        if (!IsSymbol(equals, '='))
            Fail(equals.line, L"expected '=' after " + WidenAscii(name.spelling) + L", found " +
                                  Describe(equals));
        DescriptionProperty property;
        property.line = name.line;
        property.name = name.spelling;
        property.value = ParseValue(depth, name.spelling);
        return property;
    }

    DescriptionValue ParseValue(int depth, const std::string& propertyName) {
        DescriptionValue value;
        const Token& first = lexer_.Peek();
        value.line = first.line;
        if (first.kind == TokenKind::TextPiece) {
            value.kind = DescriptionValue::Kind::Text;
            value.text = ParseText();
            return value;
        }
        if (first.kind == TokenKind::Integer || IsSymbol(first, '-')) {
            value.kind = DescriptionValue::Kind::Integer;
            value.integer = ParseInteger();
            return value;
        }
        if (first.kind == TokenKind::Identifier && !IsReserved(first)) {
            value.kind = DescriptionValue::Kind::Identifier;
            value.identifier = lexer_.Next().spelling;
            return value;
        }
        if (IsSymbol(first, '[')) {
            lexer_.Next();
            value.kind = DescriptionValue::Kind::Set;
            if (IsSymbol(lexer_.Peek(), ']')) {
                lexer_.Next();
                return value;
            }
            for (;;) {
                Count(lexer_.Peek().line);
                value.names.push_back(ExpectSimpleIdentifier(L"a set element"));
                const Token sep = lexer_.Next();
                if (IsSymbol(sep, ']'))
                    return value;
                if (!IsSymbol(sep, ','))
                    Fail(sep.line, L"expected ',' or ']' in the set, found " + Describe(sep));
            }
        }
        if (IsSymbol(first, '(')) {
            lexer_.Next();
            value.kind = DescriptionValue::Kind::List;
            CheckDepth(depth + 1, value.line);
            for (;;) {
                const Token& t = lexer_.Peek();
                if (IsSymbol(t, ')')) {
                    lexer_.Next();
                    return value;
                }
                Count(t.line);
                DescriptionValue element;
                element.line = t.line;
                if (t.kind == TokenKind::TextPiece) {
                    element.kind = DescriptionValue::Kind::Text;
                    element.text = ParseText();
                } else if (t.kind == TokenKind::Integer || IsSymbol(t, '-')) {
                    element.kind = DescriptionValue::Kind::Integer;
                    element.integer = ParseInteger();
                } else if (t.kind == TokenKind::Identifier && !IsReserved(t)) {
                    element.kind = DescriptionValue::Kind::Identifier;
                    element.identifier = lexer_.Next().spelling;
                } else {
                    Fail(t.line, L"expected a list element or ')', found " + Describe(t));
                }
                value.elements.push_back(std::move(element));
            }
        }
        if (IsSymbol(first, '<')) {
            lexer_.Next();
            value.kind = DescriptionValue::Kind::Collection;
            CheckDepth(depth + 1, value.line);
            for (;;) {
                const Token t = lexer_.Next();
                if (IsSymbol(t, '>'))
                    return value;
                if (!IsKeyword(t, "item"))
                    Fail(t.line, L"expected 'item' or '>' in the collection, found " + Describe(t));
                Count(t.line);
                CheckDepth(depth + 2, t.line);
                DescriptionItem item;
                item.line = t.line;
                while (!IsKeyword(lexer_.Peek(), "end")) {
                    if (lexer_.Peek().kind == TokenKind::End)
                        Fail(lexer_.Peek().line, L"the item of line " + IntToStr(t.line) +
                                                     L" has no 'end'");
                    if (IsKeyword(lexer_.Peek(), "object"))
                        Fail(lexer_.Peek().line, L"collection items cannot hold objects");
                    item.properties.push_back(ParseProperty(depth + 2));
                }
                lexer_.Next(); // end
                value.items.push_back(std::move(item));
            }
        }
        Fail(first.line, L"expected a value for " + WidenAscii(propertyName) + L", found " +
                             Describe(first));
    }

    std::int64_t ParseInteger() {
        bool negative = false;
        if (IsSymbol(lexer_.Peek(), '-')) {
            negative = true;
            lexer_.Next();
        }
        const Token t = lexer_.Next();
        if (t.kind != TokenKind::Integer)
            Fail(t.line, L"expected a number after '-', found " + Describe(t));
        constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        if (negative) {
            if (t.integer > kMax + 1)
                Fail(t.line, L"the number is too large");
            return t.integer == kMax + 1 ? std::numeric_limits<std::int64_t>::min()
                                         : -static_cast<std::int64_t>(t.integer);
        }
        if (t.integer > kMax)
            Fail(t.line, L"the number is too large");
        return static_cast<std::int64_t>(t.integer);
    }

    // Pieces written without blanks between them join; '+' joins across blanks and lines.
    std::wstring ParseText() {
        std::wstring text;
        for (;;) {
            Token piece = lexer_.Next();
            if (text.size() + piece.text.size() > limits_.maxBytes)
                Fail(piece.line, L"the text is too long");
            text += piece.text;
            // 'a'#13'b' is one text; in a list, 'a' 'b' are two.
            if (lexer_.Peek().kind == TokenKind::TextPiece && !lexer_.Peek().afterBlank)
                continue;
            if (IsSymbol(lexer_.Peek(), '+')) {
                lexer_.Next();
                if (lexer_.Peek().kind != TokenKind::TextPiece)
                    Fail(lexer_.Peek().line,
                         L"expected a text after '+', found " + Describe(lexer_.Peek()));
                continue;
            }
            return text;
        }
    }

    Lexer lexer_;
    const DescriptionLimits& limits_;
    std::size_t entries_ = 0;
};

} // namespace

DescriptionObject ParseDescription(std::string_view utf8, const DescriptionLimits& limits) {
    if (utf8.size() > limits.maxBytes)
        throw EDescriptionError(L"line 1: the description is larger than " +
                                IntToStr(limits.maxBytes) + L" bytes");
    Parser parser(utf8, limits);
    return parser.ParseRoot();
}

} // namespace nestora::gui
