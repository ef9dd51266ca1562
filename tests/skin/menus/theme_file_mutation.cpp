#include "theme_file_mutation.h"

#include "skin/menus/theme_file_parser.h"

#include <random>
#include <span>

namespace nestora::theme_test {

namespace {

const std::wstring kName = L"mutant.theme";
const std::wstring kPrefix = L"Theme file 'mutant.theme' is damaged: ";

// Reads every byte a loaded theme hands out, so that a span reaching outside the buffer
// trips AddressSanitizer, and checks each entry against the file's size.
bool EntriesLieInside(const nestora::skin::ThemeFile& theme, std::uint64_t& checksum) {
    for (const auto* list : {&theme.Bitmaps(), &theme.Integers(), &theme.Flags(), &theme.Texts()}) {
        for (const nestora::skin::ThemeEntry& entry : *list) {
            if (std::uint64_t{entry.dataAt} + entry.dataSize > theme.FileSize() ||
                std::uint64_t{entry.keyAt} + entry.keyLength > theme.FileSize())
                return false;
            for (std::uint8_t b : theme.Data(entry))
                checksum += b;
            checksum += theme.Key(entry).size();
        }
    }
    // The lookups of the first key of each list must find an entry.
    if (!theme.Integers().empty() && !theme.FindInteger(theme.Key(theme.Integers()[0])))
        return false;
    if (!theme.Bitmaps().empty() && !theme.Bitmap(theme.Key(theme.Bitmaps()[0])))
        return false;
    return true;
}

void TryOne(std::span<const std::uint8_t> bytes, MutationOutcome& outcome,
            const std::string& what) {
    auto problem = [&](const std::string& text) {
        if (outcome.crashedOrWrong++ == 0)
            outcome.firstProblem = what + ": " + text;
    };
    try {
        const nestora::skin::ThemeFile theme = nestora::skin::ParseThemeFile(bytes, kName);
        ++outcome.loaded;
        if (!EntriesLieInside(theme, outcome.checksum))
            problem("an entry lies outside the file");
    } catch (const nestora::skin::ThemeFileError& e) {
        ++outcome.refused;
        if (e.Message().rfind(kPrefix, 0) != 0 || e.Message().size() == kPrefix.size())
            problem(std::string("message without the file or the fault: ") + e.what());
    } catch (const std::exception& e) {
        problem(std::string("unexpected exception: ") + e.what());
    }
}

} // namespace

MutationOutcome TryTruncations(const std::vector<std::uint8_t>& original) {
    MutationOutcome outcome;
    for (std::size_t length = 0; length < original.size(); ++length)
        TryOne({original.data(), length}, outcome, "cut to " + std::to_string(length));
    return outcome;
}

MutationOutcome TryMutations(const std::vector<std::uint8_t>& original, std::size_t count,
                             std::uint32_t seed) {
    MutationOutcome outcome;
    // mt19937's raw output is fixed by the standard; its distributions are not, so the
    // places are taken from the raw numbers directly.
    std::mt19937 random(seed);
    for (std::size_t n = 0; n < count; ++n) {
        std::vector<std::uint8_t> copy = original;
        const unsigned changes = 1 + random() % 4;
        std::string what = "mutant " + std::to_string(n) + ":";
        for (unsigned c = 0; c < changes; ++c) {
            const std::size_t at = random() % copy.size();
            if (random() % 2 == 0)
                copy[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            else
                copy[at] = static_cast<std::uint8_t>(random());
            what += " " + std::to_string(at);
        }
        TryOne(copy, outcome, what);
    }
    return outcome;
}

} // namespace nestora::theme_test
