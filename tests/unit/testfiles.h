// Files for the unit tests, the same on every platform: a stream that holds a
// given text, the text a stream holds, and a fresh temporary folder to work
// in. Streams are temporary files (tmpfile), opened in binary mode.
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
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
struct scopedTempFolder {
    std::filesystem::path previous;  // current folder before
    std::filesystem::path path;      // the temporary folder; empty if it could not be made

    explicit scopedTempFolder(const char* prefix)
    {
        std::error_code e;
        previous = std::filesystem::current_path(e);
        path = makeTempFolder(prefix);
        if (!path.empty()) std::filesystem::current_path(path, e);
    }
    ~scopedTempFolder()
    {
        std::error_code e;
        std::filesystem::current_path(previous, e);
        if (!path.empty()) std::filesystem::remove_all(path, e);
    }
    bool ok() const { return !path.empty(); }
};
