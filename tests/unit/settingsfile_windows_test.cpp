// The settings file and the process on Windows: CR LF line ends, one-step
// replacement that never loses the old file, refusals that leave nothing
// behind, and a terminating signal removing a pending temporary file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <windows.h>

#include "core/platform.h"
#include "core/process.h"
#include "core/settingsfile.h"
#include "unit/testfiles.h"

namespace {

using ::testing::ExitedWithCode;
namespace fs = std::filesystem;

std::string rawFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeRaw(const char* path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

int replaceWith(const std::string& text) { return replaceSettingsFile("VYR.ini", text.data(), text.size()); }

class SettingsFileWindows : public ::testing::Test {
protected:
    std::unique_ptr<scopedTempFolder> folder;
    void SetUp() override
    {
        Platform = SYSTEM_PLATFORM;
        folder = std::make_unique<scopedTempFolder>("vyr-settingsfile");
        ASSERT_TRUE(folder->ok());
    }
    void TearDown() override
    {
        std::error_code e;
        fs::permissions("VYR.ini", fs::perms::owner_write, fs::perm_options::add, e);
        folder.reset();
        Platform = SYSTEM_PLATFORM;
    }
};

TEST_F(SettingsFileWindows, LinesEndInCrLfOnDiskAndReadBackAsNewlines)
{
    for (const char* old : {"", "[DISPLAY]\r\nRounded points=1\r\n"}) {  // new file, then over an old one
        if (*old) writeRaw("VYR.ini", old);
        ASSERT_EQ(replaceWith("[DISPLAY]\nRounded points=0\n\n"), 1) << old;
        EXPECT_EQ(rawFile("VYR.ini"), "[DISPLAY]\r\nRounded points=0\r\n\r\n") << old;
        EXPECT_EQ(fileCount("."), 1) << old;  // no temporary file left behind
        FILE* f = openSettingsForReading("VYR.ini");
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(streamText(f), "[DISPLAY]\nRounded points=0\n\n");
        fclose(f);
    }
}

// Nothing replaceable in the file's place: refused, left as it was, and no
// temporary file beside it. The reset refuses the same things.
TEST_F(SettingsFileWindows, FoldersAndReadOnlyFilesAreRefusedAndKept)
{
    for (bool readOnly : {false, true}) {
        std::error_code e;
        fs::remove_all("VYR.ini", e);
        if (readOnly) {
            writeRaw("VYR.ini", "old\r\n");
            fs::permissions("VYR.ini", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove, e);
        } else {
            fs::create_directory("VYR.ini");
            writeRaw("VYR.ini/keep", "x");
        }
        EXPECT_EQ(replaceWith("new\n"), 0) << readOnly;
        EXPECT_EQ(emptySettingsFile("VYR.ini"), 0) << readOnly;
        EXPECT_EQ(rawFile(readOnly ? "VYR.ini" : "VYR.ini/keep"), readOnly ? "old\r\n" : "x") << readOnly;
        EXPECT_EQ(fileCount("."), 1) << readOnly;
        EXPECT_EQ(openSettingsForReading("VYR.ini") != nullptr, readOnly) << readOnly;
        fs::permissions("VYR.ini", fs::perms::owner_write, fs::perm_options::add, e);
    }
}

TEST_F(SettingsFileWindows, AWriteThatDoesNotReachTheDiskLeavesTheOldFileWhole)
{
    writeRaw("VYR.ini", "old\r\n");
    Platform.syncFile = [](int) { return -1; };
    EXPECT_EQ(replaceWith("new\n"), 0);
    EXPECT_EQ(rawFile("VYR.ini"), "old\r\n");
    EXPECT_EQ(fileCount("."), 1);
}

// A reader holding the file without leave to replace it refuses the rename:
// the file is rewritten in place, longer or shorter, with nothing beside it.
TEST_F(SettingsFileWindows, RefusedRenameRewritesInPlace)
{
    writeRaw("VYR.ini", "[DISPLAY]\r\nRounded points=1\r\n");
    HANDLE reader = CreateFileA("VYR.ini", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    for (auto [text, raw] : {std::pair{"[DISPLAY]\nRounded points=0\nSharpness=5\n",
                                       "[DISPLAY]\r\nRounded points=0\r\nSharpness=5\r\n"},
                             std::pair{"[A]\n", "[A]\r\n"}}) {
        EXPECT_EQ(replaceWith(text), 1) << text;
        EXPECT_EQ(rawFile("VYR.ini"), raw);
        EXPECT_EQ(fileCount("."), 1) << text;
    }
    CloseHandle(reader);
}

// The folder of %APPDATA%\VYR\VYR.ini is made at the first save.
TEST_F(SettingsFileWindows, AMissingFolderIsMadeAtTheFirstSave)
{
    EXPECT_EQ(replaceSettingsFile("VYR\\VYR.ini", "[A]\n", 4), 1);
    EXPECT_EQ(rawFile("VYR\\VYR.ini"), "[A]\r\n");
}

TEST_F(SettingsFileWindows, EmptyingCreatesOrTruncates)
{
    EXPECT_EQ(openSettingsForReading("VYR.ini"), nullptr);
    EXPECT_EQ(emptySettingsFile("VYR.ini"), 1);
    EXPECT_EQ(rawFile("VYR.ini"), "");
    writeRaw("VYR.ini", "[DISPLAY]\r\n");
    EXPECT_EQ(emptySettingsFile("VYR.ini"), 1);
    EXPECT_EQ(rawFile("VYR.ini"), "");
    EXPECT_EQ(fileCount("."), 1);
}

// Ctrl+C (SIGINT) and a terminate request: the pending temporary file goes,
// and the process ends with the set status, or as the runtime ends it.
TEST_F(SettingsFileWindows, TerminatingSignalsRemoveThePendingFile)
{
    struct { int sig, exitStatus, expected; } cases[] = {
        {SIGINT, 7, 7},
        {SIGTERM, 0, 0},
        {SIGINT, -1, 3},  // the runtime's status for a fatal signal
    };
    for (auto& c : cases) {
        writeRaw("VYR.ini.pending", "partial");
        EXPECT_EXIT(
            {
                installSignalHandlers();
                setSignalExitStatus(c.exitStatus);
                holdTerminatingSignals();
                setPendingTemporaryFile("VYR.ini.pending");
                releaseTerminatingSignals();
                raise(c.sig);
            },
            ExitedWithCode(c.expected), "")
            << c.sig;
        EXPECT_FALSE(fs::exists("VYR.ini.pending")) << c.sig << " " << c.exitStatus;
    }
}

}  // namespace
