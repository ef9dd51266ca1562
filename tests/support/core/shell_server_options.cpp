#include "tests/support/core/shell_server_options.h"

#include <cwctype>

namespace nestora::testing {

namespace {

std::optional<std::size_t> Index(const std::wstring& text) {
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    std::size_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::size_t>(c - L'0');
    }
    return value;
}

bool Valid(const ServerOptions& options) {
    for (const auto& window : options.windows) {
        if (window.activeTab >= window.folders.size())
            return false;
    }
    if (options.front && *options.front >= options.windows.size())
        return false;
    if (options.endAfterCount && *options.endAfterCount >= options.windows.size())
        return false;
    return !options.desktopInFront || !options.desktop.empty();
}

void Quote(std::wstring& line, const std::wstring& argument) {
    if (!line.empty())
        line += L' ';
    line += L'"' + argument + L'"';
}

} // namespace

std::optional<ServerOptions> ParseServerOptions(const std::vector<std::wstring>& arguments) {
    ServerOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& name = arguments[i];
        if (name == L"--minimised") {
            if (options.windows.empty())
                return std::nullopt;
            options.windows.back().minimised = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return std::nullopt;
        const std::wstring& value = arguments[++i];
        if (name == L"--record") {
            options.record = value;
        } else if (name == L"--window") {
            options.windows.push_back({{value}});
        } else if (name == L"--tab") {
            if (options.windows.empty())
                return std::nullopt;
            options.windows.back().folders.push_back(value);
            options.windows.back().tabbed = true;
        } else if (name == L"--active-tab") {
            const auto index = Index(value);
            if (options.windows.empty() || !index)
                return std::nullopt;
            options.windows.back().activeTab = *index;
        } else if (name == L"--select") {
            if (options.windows.empty() || value.empty())
                return std::nullopt;
            options.windows.back().selected.push_back(value);
        } else if (name == L"--desktop") {
            options.desktop = value;
        } else if (name == L"--front") {
            options.desktopInFront = value == L"desktop";
            options.front = options.desktopInFront ? std::nullopt : Index(value);
            if (!options.desktopInFront && !options.front)
                return std::nullopt;
        } else if (name == L"--end-after-count") {
            options.endAfterCount = Index(value);
            if (!options.endAfterCount)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (!Valid(options))
        return std::nullopt;
    return options;
}

std::wstring ServerArguments(const ServerOptions& options) {
    std::wstring line;
    if (!options.record.empty()) {
        Quote(line, L"--record");
        Quote(line, options.record);
    }
    for (const auto& window : options.windows) {
        for (std::size_t tab = 0; tab < window.folders.size(); ++tab) {
            Quote(line, tab == 0 ? L"--window" : L"--tab");
            Quote(line, window.folders[tab]);
        }
        // A tabbed window given one folder alone still has its tab.
        if (window.tabbed && window.folders.size() == 1) {
            Quote(line, L"--tab");
            Quote(line, window.folders[0]);
        }
        if (window.activeTab != 0) {
            Quote(line, L"--active-tab");
            Quote(line, std::to_wstring(window.activeTab));
        }
        if (window.minimised)
            Quote(line, L"--minimised");
        for (const std::wstring& name : window.selected) {
            Quote(line, L"--select");
            Quote(line, name);
        }
    }
    if (!options.desktop.empty()) {
        Quote(line, L"--desktop");
        Quote(line, options.desktop);
    }
    if (options.desktopInFront || options.front) {
        Quote(line, L"--front");
        Quote(line, options.desktopInFront ? L"desktop" : std::to_wstring(*options.front));
    }
    if (options.endAfterCount) {
        Quote(line, L"--end-after-count");
        Quote(line, std::to_wstring(*options.endAfterCount));
    }
    return line;
}

std::optional<RecordedCall> ParseRecordedCall(const std::wstring& line) {
    // Three words, then the argument: the rest of the line (a name may hold blanks).
    std::vector<std::wstring> words;
    std::size_t at = 0;
    while (words.size() < 3) {
        while (at < line.size() && std::iswspace(static_cast<wint_t>(line[at])))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && !std::iswspace(static_cast<wint_t>(line[at])))
            ++at;
        if (start == at)
            return std::nullopt;
        words.push_back(line.substr(start, at - start));
    }
    if (words[0] != L"invoke" && words[0] != L"names" && words[0] != L"call")
        return std::nullopt;
    std::wstring argument = at < line.size() ? line.substr(at + 1) : std::wstring();
    while (!argument.empty() && std::iswspace(static_cast<wint_t>(argument.back())))
        argument.pop_back();
    return RecordedCall{words[0], words[1], words[2], std::move(argument)};
}

} // namespace nestora::testing
