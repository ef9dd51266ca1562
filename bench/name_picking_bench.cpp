// Picking the free folder name in a folder where N names are taken already ("New Folder",
// "New Folder (2)" … "New Folder (N)"), three ways side by side in one run:
//   probing  the old way: one directory test per candidate, N + 1 calls;
//   ours     the program's: one listing by "Name*" (the file-system seam the program uses)
//            and the free name picked from it;
//   listing  the bare listing of the whole folder, nothing kept: the floor for any way
//            that reads the folder.
// All three must find the same name. At N = 10,000 ours must be at least 20 times faster
// than probing and within 2 times of the bare listing.
//
// Then the whole press's creation, two ways side by side (only the creation timed; the
// folder is removed again after each run):
//   list first   the listing, the free name picked from it, then CreateDirectoryW;
//   name first   the program's (app::CreateNewFolder): CreateDirectoryW of the plain name,
//                the listing only when that name is taken.
// With the plain name free (N = 0), the usual case, name first must be the faster (it
// saves the listing; the creation itself is most of the cost); with names taken it may
// cost one failed creation more.
#include "bench/bench_stats.h"

#include "app/folder_creation.h"
#include "app/free_folder_name.h"
#include "app/win_file_system.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace nestora;

constexpr wchar_t kBase[] = L"New Folder";

bool DirectoryExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ByProbing(const std::wstring& folder, long* probes) {
    for (unsigned long long k = 1;; ++k) {
        std::wstring name = app::NumberedFolderName(kBase, k);
        ++*probes;
        if (!DirectoryExists(app::JoinPath(folder, name)))
            return name;
    }
}

std::wstring ByListing(app::WindowsFileSystem& fileSystem, const std::wstring& folder) {
    return app::FirstFreeFolderName(kBase, fileSystem.DirectoryNamesStartingWith(folder, kBase));
}

// A find handle and its FindClose.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (Valid())
            ::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

long BareListing(const std::wstring& folder) {
    long entries = 0;
    WIN32_FIND_DATAW data{};
    const FindHandle find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    if (!find.Valid())
        return 0;
    do
        ++entries;
    while (::FindNextFileW(find.get(), &data));
    return entries;
}

std::wstring CreateListFirst(app::WindowsFileSystem& fileSystem, const std::wstring& folder) {
    const std::wstring path = app::JoinPath(folder, ByListing(fileSystem, folder));
    fileSystem.MakeDirectory(path);
    return path;
}

std::wstring CreateNameFirst(app::WindowsFileSystem& fileSystem, const std::wstring& folder) {
    return app::CreateNewFolder(fileSystem, {folder, kBase, kBase}).value_or(std::wstring());
}

// As bench::TimeInTurns, for ways that create a folder: only the creation is timed, the
// folder is removed again after each run.
std::vector<std::vector<double>>
TimeCreationsInTurns(int rounds, const std::vector<std::function<std::wstring()>>& ways) {
    std::vector<std::vector<double>> samples(ways.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t way = 0; way < ways.size(); ++way) {
            const auto start = std::chrono::steady_clock::now();
            const std::wstring made = ways[way]();
            const auto end = std::chrono::steady_clock::now();
            samples[way].push_back(std::chrono::duration<double, std::micro>(end - start).count());
            ::RemoveDirectoryW(made.c_str());
        }
    }
    return samples;
}

// A scratch folder with `taken` of the names taken, removed when done.
class TakenNames {
public:
    explicit TakenNames(int taken) {
        folder_ = std::filesystem::temp_directory_path() /
                  (L"nestora-bench-names-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                   std::to_wstring(taken));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        for (int k = 1; k <= taken; ++k)
            std::filesystem::create_directory(folder_ / app::NumberedFolderName(kBase, k));
    }
    ~TakenNames() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TakenNames(const TakenNames&) = delete;
    TakenNames& operator=(const TakenNames&) = delete;
    std::wstring Folder() const { return folder_.wstring(); }

private:
    std::filesystem::path folder_;
};

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 9;
    bool allMet = true;
    bench::Table table({"taken N", "probes", "probing: us", "ours: us", "bare listing: us",
                        "probing / ours", "ours / listing", "same name"});
    for (const int taken : {0, 100, 10000}) {
        const TakenNames scratch(taken);
        const std::wstring folder = scratch.Folder();
        app::WindowsFileSystem fileSystem;

        long probes = 0;
        const std::wstring probed = ByProbing(folder, &probes);
        const std::wstring listed = ByListing(fileSystem, folder);
        const bool same = probed == listed && probed == app::NumberedFolderName(kBase, taken + 1);

        long ignoredProbes = 0;
        const auto medians = bench::MediansOf(bench::TimeInTurns(
            rounds, {[&] { ByProbing(folder, &ignoredProbes); },
                     [&] { ByListing(fileSystem, folder); }, [&] { BareListing(folder); }}));
        const double speedUp = bench::Ratio(medians[0], medians[1]);
        const double overListing = bench::Ratio(medians[1], medians[2]);
        if (taken == 10000)
            allMet = allMet && speedUp >= 20 && overListing <= 2;
        allMet = allMet && same;
        table.AddRow({std::to_string(taken), std::to_string(probes), bench::Fixed(medians[0], 0),
                      bench::Fixed(medians[1], 0), bench::Fixed(medians[2], 0),
                      bench::Fixed(speedUp, 1), bench::Fixed(overListing, 2), same ? "yes" : "NO"});
    }
    std::printf("Free name with N names taken (median of %d runs in turns)\n\n%s\n", rounds,
                table.Render().c_str());
    std::printf("targets at N = 10000: probing / ours >= 20, ours / listing <= 2: %s\n",
                allMet ? "met" : "MISSED");

    bool createMet = true;
    bench::Table creation(
        {"taken N", "list first: us", "name first: us", "list / name first", "same folder"});
    for (const int taken : {0, 100, 10000}) {
        const TakenNames scratch(taken);
        const std::wstring folder = scratch.Folder();
        app::WindowsFileSystem fileSystem;
        const std::wstring listed = CreateListFirst(fileSystem, folder);
        ::RemoveDirectoryW(listed.c_str());
        const std::wstring named = CreateNameFirst(fileSystem, folder);
        ::RemoveDirectoryW(named.c_str());
        const bool same = !listed.empty() && listed == named;

        const auto medians = bench::MediansOf(
            TimeCreationsInTurns(rounds, {[&] { return CreateListFirst(fileSystem, folder); },
                                          [&] { return CreateNameFirst(fileSystem, folder); }}));
        const double gain = bench::Ratio(medians[0], medians[1]);
        if (taken == 0)
            createMet = createMet && gain > 1;
        createMet = createMet && same;
        creation.AddRow({std::to_string(taken), bench::Fixed(medians[0], 0),
                         bench::Fixed(medians[1], 0), bench::Fixed(gain, 2), same ? "yes" : "NO"});
    }
    std::printf("\nCreating the folder with N names taken (median of %d runs in turns)\n\n%s\n",
                rounds, creation.Render().c_str());
    std::printf("target at N = 0: list first / name first > 1: %s\n", createMet ? "met" : "MISSED");
    allMet = allMet && createMet;
    return allMet ? 0 : 1;
}
