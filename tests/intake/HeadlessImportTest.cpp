// End to end: the quorvel executable replays a feed headless into a fresh
// working directory and leaves the files a user would look at.
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

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
                             "N7BAD>APRS:!45X1.25N/12240.75W-\r\n"
                             "\x01\x02 noise \xff\r\n");
    const Outcome r = quorvel("--headless --workdir " + tmp.path().string() + " import");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Replayed 5 lines from quorvel.imp"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("QUORVEL IMPORT NOTICE | Quorvel has completed the import of the QUORVEL.IMP file. | OK"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("quorvelmessages.txt"), std::string::npos) << r.out;
    EXPECT_EQ(tmp.read("quorvelmessages.txt"), "W1XYZ>APRS,TCPIP*,qAC,T2TEST::N0CALL   :hello{1\r\n");
    EXPECT_EQ(tmp.read("quorvelAPRScompressed.txt"), "/090530z/5L!!<*e7>7P[\r\n");
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
    const std::string cmd = "timeout --preserve-status -s TERM 1 " + std::string(QUORVEL_BINARY) +
                            " --headless --workdir " + tmp.path().string() + " > " +
                            (outDir.path() / "out.txt").string() + " 2>&1";
    const int status = std::system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << outDir.read("out.txt");
    EXPECT_NE(outDir.read("out.txt").find("Stopped"), std::string::npos);
}
