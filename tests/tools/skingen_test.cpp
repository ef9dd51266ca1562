// The artwork generator must be deterministic (the build embeds its output, reviews
// diff it) and must write well-formed icon files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

fs::path runInto(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("nestora-skingen-" + name + "-" +
                                                std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string cmd = std::string(SKINGEN_PATH) + " '" + dir.string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return dir;
}

unsigned le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8);
}

} // namespace

TEST(Skingen, OutputIsByteForByteReproducible) {
    const fs::path a = runInto("a"), b = runInto("b");
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(a)) {
        ++files;
        const fs::path twin = b / entry.path().filename();
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_EQ(readAll(entry.path()), readAll(twin)) << entry.path().filename();
    }
    EXPECT_GT(files, 0u);
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(Skingen, ProgramIconHoldsThreeSizesOf32Bits) {
    const fs::path dir = runInto("ico");
    const auto ico = readAll(dir / "nestora.ico");
    ASSERT_GE(ico.size(), 6u + 3 * 16);
    EXPECT_EQ(le16(ico, 0), 0u);
    EXPECT_EQ(le16(ico, 2), 1u); // icon, not cursor
    ASSERT_EQ(le16(ico, 4), 3u);
    const unsigned sizes[] = {16, 32, 48};
    for (unsigned i = 0; i < 3; ++i) {
        const std::size_t e = 6 + 16 * i;
        EXPECT_EQ(ico[e], sizes[i]);
        EXPECT_EQ(ico[e + 1], sizes[i]);
        EXPECT_EQ(le16(ico, e + 6), 32u); // bits per pixel
    }
    fs::remove_all(dir);
}
