// End to end: the quorvel executable replays a feed headless into a fresh
// working directory and leaves the files a user would look at.
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qv::test;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome quorvel(const std::string& args) {
    Outcome r;
    const std::string cmd = std::string(QUORVEL_BINARY) + " " + args + " 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    r.status = ::pclose(p);
    return r;
}

} // namespace

TEST(HeadlessImport, ReplaysTheFeedAndReportsTheFilesWritten) {
    TempDir tmp;
    tmp.write("quorvel.imp", "N0CALL>APRS,WIDE2-1 <UI> [12/07/26 09:05:04]:!4903.50N/07201.75W-Test\r\n"
                             "W1XYZ>APRS,TCPIP*,qAC,T2TEST::N0CALL   :hello{1\r\n"
                             "N7CMP>APRS:/090530z/5L!!<*e7>7P[\r\n"
                             "N7CUT>APRS:/090530z/5L!!<*e\r\n"
                             "N7BAD>APRS:!45X1.25N/12240.75W-\r\n"
                             "\x01\x02 noise \xff\r\n");
    const Outcome r = quorvel("--headless --workdir " + tmp.path().string() + " import");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Replayed 6 lines from quorvel.imp"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("N7CMP"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("QUORVEL IMPORT NOTICE | Quorvel has completed the import of the QUORVEL.IMP file. | OK"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("quorvelmessages.txt"), std::string::npos) << r.out;
    EXPECT_EQ(tmp.read("quorvelmessages.txt"), "W1XYZ>APRS,TCPIP*,qAC,T2TEST::N0CALL   :hello{1\r\n");
    // The compressed report cut short is kept; the whole one is decoded.
    EXPECT_EQ(tmp.read("quorvelAPRScompressed.txt"), "/090530z/5L!!<*e\r\n");
    const std::string errors = tmp.read("quorvel.err");
    EXPECT_NE(errors.find("\r\nERROR  13Type mismatch in SUB APRSfixed "), std::string::npos) << errors;
    EXPECT_NE(errors.find("N7BAD>APRS:!45X1.25N/12240.75W-"), std::string::npos) << errors;
}

TEST(HeadlessImport, BundledSampleRunsClean) {
    TempDir tmp;
    for (const auto& e : std::filesystem::directory_iterator(std::string(QUORVEL_SOURCE_DIR) + "/examples"))
        std::filesystem::copy_file(e.path(), tmp.path() / e.path().filename());
    const Outcome r = quorvel("--headless --workdir " + tmp.path().string() + " import");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("stations heard"), std::string::npos) << r.out;
    EXPECT_FALSE(tmp.read("quorvelmessages.txt").empty());
}

TEST(HeadlessImport, MissingReplayFileFailsAndBadArgumentsAreRefused) {
    TempDir tmp;
    EXPECT_NE(quorvel("--headless --workdir " + tmp.path().string() + " import").status, 0);
    EXPECT_NE(quorvel("--headless --workdir " + tmp.path().string() + " --bogus").status, 0);
    EXPECT_NE(quorvel("--headless --workdir " + (tmp.path() / "missing").string() + " import").status, 0);
}

TEST(HeadlessImport, WaitsForSigtermAndExitsCleanly) {
    TempDir tmp, outDir;
    // The signal is sent once the program says it is running, so a slow start
    // (a loaded machine, a sanitizer build) is not mistaken for a failure.
    const std::string out = (outDir.path() / "out.txt").string();
    const std::string cmd = "sh -c '" + std::string(QUORVEL_BINARY) + " --headless --workdir " + tmp.path().string() +
                            " > " + out + " 2>&1 & p=$!; for i in $(seq 300); do grep -q Running " + out +
                            " && break; sleep 0.1; done; kill -TERM $p; wait $p'";
    const int status = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << outDir.read("out.txt");
    EXPECT_NE(outDir.read("out.txt").find("Stopped"), std::string::npos);
}

TEST(HeadlessImport, ReceivedTextIsPrintedWithItsControlCharactersEscaped) {
    TempDir tmp;
    tmp.write("quorvel.imp", "W1XYZ>APRS,TCPIP*,qAC,T2TEST::N0CALL   :hi \x1b]0;owned\x07\x1b[2J\x9b\x33\x31m{1\r\n");
    const Outcome r = quorvel("--headless --workdir " + tmp.path().string() + " import");
    EXPECT_EQ(r.status, 0) << r.out;
    for (char c : {'\x1b', '\x07', '\x9b'})
        EXPECT_EQ(r.out.find(c), std::string::npos) << static_cast<int>(c) << " in " << r.out;
    EXPECT_NE(r.out.find("hi \\x1B]0;owned\\x07\\x1B[2J\\x9B31m{1"), std::string::npos) << r.out;
}

TEST(HeadlessImport, AWorkingDirectoryThatCannotBeWrittenIsAnErrorNotASilence) {
    TempDir tmp, outDir;
    const std::filesystem::path readOnly = tmp.path() / "readonly";
    std::filesystem::create_directory(readOnly);
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    struct Case {
        const char* what;
        std::string dir;
        bool skip;
    } cases[] = {
        {"read-only directory", readOnly.string(), ::geteuid() == 0},
        {"a directory no one can write", "/proc/self", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.skip) continue; // root writes anywhere
        const std::string cmd = "timeout --preserve-status -s TERM 2 " + std::string(QUORVEL_BINARY) +
                                " --headless --workdir " + c.dir + " > " + (outDir.path() / "out.txt").string() +
                                " 2> " + (outDir.path() / "err.txt").string();
        const int status = std::system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 0) << outDir.read("out.txt");
        EXPECT_NE(outDir.read("err.txt").find("cannot be written"), std::string::npos) << outDir.read("err.txt");
    }
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_all);
}

TEST(HeadlessImport, HugeConfigurationAndErrorFilesAreReadInBoundedMemory) {
    TempDir tmp;
    const std::string feeds(8 << 20, '\n');
    tmp.write("quorvel.cfg", "QUORVEL CONFIGURATION SETTINGS. Do not change unless you know what you are doing!\r\n"
                             "2.0\r\n0\r\n" +
                                 feeds + "NEW_CONFIG_FORMAT_BELOW\r\n\"TACTICALTEAM1\",\"Engine 7\"\r\n" + feeds);
    tmp.write("quorvel.err", feeds + "last entry\r\n");
    tmp.write("quorvel.imp", "N0CALL>APRS:!4903.50N/07201.75W-\r\n");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const std::string dir = tmp.path().string();
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execl(QUORVEL_BINARY, QUORVEL_BINARY, "--headless", "--workdir", dir.c_str(), "import", nullptr);
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ASSERT_EQ(::wait4(pid, &status, 0, &usage), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // Held as lines, each file took hundreds of megabytes.
    EXPECT_LT(usage.ru_maxrss, 200 * 1024) << "peak " << usage.ru_maxrss << " kB";
    // Read all the same: the setting after the empty lines, and the trimmed file's last entry.
    EXPECT_NE(tmp.read("quorvel.cfg").find("\"TACTICALTEAM1\",\"Engine 7\""), std::string::npos);
    const std::string err = tmp.read("quorvel.err");
    EXPECT_LT(err.size(), 4096u);
    EXPECT_NE(err.find("last entry\r\n"), std::string::npos);
}
