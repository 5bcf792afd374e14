// Files for the unit tests, the same on every platform: a stream that holds a
// given text, the text a stream holds, and a fresh temporary folder to work
// in. Streams are temporary files (tmpfile), opened in binary mode.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <system_error>

// A stream open for reading and writing that holds text, positioned at its start.
inline FILE* textStream(const std::string& text)
{
    FILE* f = tmpfile();
    if (!f) return nullptr;
    fwrite(text.data(), 1, text.size(), f);
    rewind(f);
    return f;
}

// Everything the stream holds, from its start.
inline std::string streamText(FILE* f)
{
    std::string text;
    rewind(f);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    return text;
}

// A new, empty folder in the system's temporary folder; empty on failure.
inline std::filesystem::path makeTempFolder(const char* prefix)
{
    namespace fs = std::filesystem;
    std::error_code e;
    fs::path base = fs::temp_directory_path(e);
    if (e) return {};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int i = 0; i < 1000; i++) {
        fs::path p = base / (std::string(prefix) + "-" + std::to_string(stamp) + "-" + std::to_string(i));
        if (fs::create_directory(p, e)) return p;
    }
    return {};
}

// The current folder is a fresh temporary folder while the record lives;
// afterwards the previous one again, and the temporary folder is removed.
// The folder is named after the running test and the test run, so that a
// death test's child finds its parent's folder: on Windows the child runs
// the test again from its start in a new process.
struct scopedTempFolder {
    std::filesystem::path previous;  // current folder before
    std::filesystem::path path;      // the temporary folder; empty if it could not be made

    explicit scopedTempFolder(const char* prefix)
    {
        namespace fs = std::filesystem;
        std::error_code e;
        previous = fs::current_path(e);
        fs::path base = fs::temp_directory_path(e);
        if (e) return;
        // The run's name is passed on to child processes through the environment.
        static char runVariable[64];
        const char* run = getenv("VYR_TEST_RUN");
        if (!run) {
            auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
            snprintf(runVariable, sizeof runVariable, "VYR_TEST_RUN=%llx", (unsigned long long)stamp);
            putenv(runVariable);
            run = getenv("VYR_TEST_RUN");
        }
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(prefix) + "-" + (test ? test->name() : "none") + "-" + (run ? run : "");
        path = base / name;
        // Already there in a death test's child: the parent's folder, as the
        // parent left it.
        fs::create_directory(path, e);
        if (!fs::is_directory(path, e)) {
            path.clear();
            return;
        }
        fs::current_path(path, e);
    }
    ~scopedTempFolder()
    {
        std::error_code e;
        std::filesystem::current_path(previous, e);
        if (!path.empty()) std::filesystem::remove_all(path, e);
    }
    bool ok() const { return !path.empty(); }
};

// The number of entries in a folder.
inline int fileCount(const char* folder)
{
    std::error_code e;
    int n = 0;
    for (auto it = std::filesystem::directory_iterator(folder, e); !e && it != std::filesystem::directory_iterator();
         it.increment(e)) {
        n++;
    }
    return n;
}
