// The fuzzer's seed corpus: it holds every named good and damaged case (so the fuzzer
// starts from each kind of fault) and the sample theme, and every file in it, findings
// included, goes through the fuzz target's checks in the ordinary build.
//
// NESTORA_WRITE_THEME_CORPUS=1 rewrites the named cases' files before checking them.
#include "skin/menus/theme_file_error.h"
#include "skin/menus/theme_file_parser.h"

#include "theme_file_cases.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = THEME_CORPUS_DIR;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// File name -> the bytes it must hold.
std::map<std::string, std::vector<std::uint8_t>> ExpectedSeeds() {
    std::map<std::string, std::vector<std::uint8_t>> seeds;
    for (auto& c : nestora::theme_test::GoodCases())
        seeds["valid-" + c.name + ".theme"] = c.bytes;
    for (auto& c : nestora::theme_test::DamagedCases())
        seeds["damaged-" + c.name + ".theme"] = c.bytes;
    seeds["valid-sample.theme"] = ReadAll(SAMPLE_THEME_COMMITTED);
    return seeds;
}

TEST(ThemeCorpus, HoldsEveryNamedCaseAndTheSample) {
    const auto seeds = ExpectedSeeds();
    if (const char* write = std::getenv("NESTORA_WRITE_THEME_CORPUS"); write && *write == '1') {
        for (const auto& [name, bytes] : seeds) {
            std::ofstream(kCorpus / name, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    }
    for (const auto& [name, bytes] : seeds) {
        ASSERT_TRUE(fs::exists(kCorpus / name)) << name;
        EXPECT_TRUE(ReadAll(kCorpus / name) == bytes) << name << " differs from its case";
    }
}

TEST(ThemeCorpus, ValidSeedsLoadAndDamagedSeedsAreRefused) {
    std::size_t valid = 0, damaged = 0;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        const auto bytes = ReadAll(entry.path());
        if (name.rfind("valid-", 0) == 0) {
            ++valid;
            EXPECT_NO_THROW(nestora::skin::ParseThemeFile(std::span(bytes), L"seed")) << name;
        } else if (name.rfind("damaged-", 0) == 0) {
            ++damaged;
            EXPECT_THROW(nestora::skin::ParseThemeFile(std::span(bytes), L"seed"),
                         nestora::skin::ThemeFileError)
                << name;
        }
    }
    EXPECT_EQ(valid, nestora::theme_test::GoodCases().size() + 1);
    EXPECT_EQ(damaged, nestora::theme_test::DamagedCases().size());
}

TEST(ThemeCorpus, EveryFileHoldsUpUnderTheFuzzTargetsChecks) {
    // The target aborts on a finding, which fails this program as a whole.
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        const auto bytes = ReadAll(entry.path());
        EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
        ++files;
    }
    EXPECT_GT(files, 0u);
}

} // namespace
