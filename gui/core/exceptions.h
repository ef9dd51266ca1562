#pragma once
// The error classes of the framework. Errors are exceptions carrying a wide message that
// the application's default error handler shows to the user as it stands.

#include <exception>
#include <string>
#include <string_view>

namespace nestora::gui {

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }
    // UTF-8 form of the message, for logs and test output.
    const char* what() const noexcept override { return narrow_.c_str(); }

private:
    std::wstring message_;
    std::string narrow_;
};

// A window description or a property value that cannot be applied.
class EDescriptionError : public Exception {
    using Exception::Exception;
};
// A component used against its rules (a wrong owner, a duplicate name, a bad type).
class EComponentError : public Exception {
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
class EOutOfResources : public Exception {
    using Exception::Exception;
};
class EResNotFound : public Exception {
    using Exception::Exception;
};
class ERegistryException : public Exception {
    using Exception::Exception;
};
class EConvertError : public Exception {
    using Exception::Exception;
};

// Replaces each "%s" of pattern, left to right, by the next argument; "%%" gives "%".
// Missing arguments leave "%s" in place; extra arguments are ignored.
std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args);

} // namespace nestora::gui
