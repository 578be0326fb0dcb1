// What the working-directory files survive: line ends carried in from the
// receive path, a disk that fills up in the middle of an entry, links planted
// where scratch files go, and files too big to hold in memory.
#include "core/ErrorLog.h"
#include "core/WorkDir.h"
#include "mapfiles/MapFileIo.h"
#include "shell/App.h"
#include "support/FakeSerialPort.h"
#include "support/Fakes.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace qv;
using namespace qv::test;

namespace {

// Every line end in the text is one CR LF.
bool onlyCrLf(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    }
    return true;
}

} // namespace

TEST(FileSafety, EveryLineWrittenEndsInExactlyOneCrLf) {
    struct Case {
        const char* line;
        const char* written;
    } cases[] = {
        {"plain", "plain\r\n"},
        {"replayed\n", "replayed\r\n"},
        {"serial\r", "serial\r\n"},
        {"both\r\n", "both\r\n"},
        {"reversed\n\r", "reversed\r\n"},
        {"header:\rinfo\r", "header:\r\ninfo\r\n"},
        {"lone\nfeed", "lone\r\nfeed\r\n"},
        {"", "\r\n"},
    };
    using Writer = void (*)(const WorkDir&, const std::string&);
    const struct {
        const char* name;
        Writer write;
    } writers[] = {
        {"appendLine", [](const WorkDir& d, const std::string& l) { d.appendLine("f.txt", l); }},
        {"appendLines", [](const WorkDir& d, const std::string& l) { d.appendLines("f.txt", {l}); }},
        {"writeLines", [](const WorkDir& d, const std::string& l) { d.writeLines("f.txt", {l}); }},
        {"replaceLines", [](const WorkDir& d, const std::string& l) { d.replaceLines("f.txt", {l}); }},
        {"map file replace", [](const WorkDir& d, const std::string& l) { mapfile::replaceLines(d, "f.txt", {l}); }},
    };
    TempDir tmp;
    WorkDir dir(tmp.path());
    for (const auto& w : writers) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(w.name) + " " + c.line);
            fs::remove(tmp.path() / "f.txt");
            w.write(dir, c.line);
            EXPECT_EQ(tmp.read("f.txt"), c.written);
        }
    }

    // End to end: a replayed line and a TNC line that both fail to decode,
    // with the debug log on, leave entries and log lines with one CR LF each.
    FakeClock clock;
    FakeUi ui;
    App app(tmp.path(), ui, clock);
    FakeSerialPort port;
    app.attachSerial(&port);
    app.st.marks.debugLog = true;
    app.receive.replayLine("N0CALL>APRS:=49O3.50N/07201.75W-");
    port.opened = true;
    port.feedReceived("K1ABC>APRS:=49O3.50N/07201.75W-\r");
    for (const char* f : {kErrorFile, kDebugLogFile}) {
        SCOPED_TRACE(f);
        const std::string text = tmp.read(f);
        EXPECT_NE(text.find("K1ABC>APRS:=49O3.50N/07201.75W-\r\n"), std::string::npos) << text;
        EXPECT_NE(text.find("N0CALL>APRS:=49O3.50N/07201.75W-\r\n"), std::string::npos) << text;
        EXPECT_TRUE(onlyCrLf(text)) << text;
    }
}

TEST(FileSafety, AnEntryLandsWholeOrNotAtAllOnAFullDisk) {
    TempDir tmp;
    FakeClock clock;
    WorkDir dir(tmp.path());
    ErrorLog log(dir, clock);
    log.entry(61, "Disk full", " in SUB SAVEFILES ");
    const std::string before = tmp.read(kErrorFile);
    // Room for a few more bytes only, at every size short of a whole entry.
    for (std::size_t room = 1; room < before.size(); room += 7) {
        SCOPED_TRACE(room);
        {
            FileSizeLimit full(before.size() + room);
            log.entry(61, "Disk full", " in SUB SAVEFILES ");
            EXPECT_THROW(dir.appendLines("quorvel.olt", {std::string(before.size() + room, 'x')}), Failure);
        }
        EXPECT_EQ(tmp.read(kErrorFile), before);
        EXPECT_EQ(tmp.read("quorvel.olt"), "");
    }
    log.entry(61, "Disk full", " in SUB SAVEFILES ");
    EXPECT_EQ(tmp.read(kErrorFile), before + before);
}

TEST(FileSafety, ScratchFilesNeverFollowALinkPlantedForThem) {
    TempDir tmp, outside;
    outside.write("secret.txt", "keep me\r\n");
    const fs::path victim = outside.path() / "secret.txt";
    FakeClock clock;
    FakeUi ui;
    // The names scratch files used to have, and any other a reader could guess.
    struct Case {
        const char* planted;
        std::function<void(App&)> write;
        const char* target;
    } cases[] = {
        {".quorvelNGTOPOnow.txt.part", [](App& a) { mapfile::replaceLines(a.dir, "quorvelNGTOPOnow.txt", {"A-0905"}); },
         "quorvelNGTOPOnow.txt"},
        {"quorvel.cfg.tmp", [](App& a) { a.savesettings(); }, "quorvel.cfg"},
        {"quorvelGPWPL.txt", [](App& a) { a.receive.replayLine("$GPWPL,4807.038,N,01131.000,E,WPTNME*5C"); },
         "quorvelGPWPL.txt"},
        {"quorvel.rrr",
         [](App& a) {
             std::string lines;
             for (int i = 0; i < 1100; ++i)
                 lines += "old entry\r\n";
             std::ofstream(a.dir.root() / "quorvel.err", std::ios::binary) << lines;
             a.log.errorfileresize();
         },
         "quorvel.err"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.planted);
        App app(tmp.path(), ui, clock);
        std::string planted = c.planted;
        if (planted == "quorvel.cfg.tmp") planted += std::to_string(::getpid());
        fs::create_symlink(victim, tmp.path() / planted);
        c.write(app);
        EXPECT_EQ(outside.read("secret.txt"), "keep me\r\n");
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(tmp.path() / c.target)));
        fs::remove(tmp.path() / planted);
    }
    // No scratch file is left behind.
    for (const auto& e : fs::directory_iterator(tmp.path()))
        EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}

TEST(FileSafety, FilesAreReadInLinesOfBoundedLength) {
    TempDir tmp;
    FakeClock clock;
    WorkDir dir(tmp.path());
    ErrorLog log(dir, clock);
    // Millions of empty lines, one endless line, then the entries that matter.
    {
        std::ofstream out(tmp.path() / kErrorFile, std::ios::binary);
        out << std::string(5'000'000, '\n') << std::string(3'000'000, 'x') << "\r\n";
        for (int i = 1; i <= 1000; ++i)
            out << "entry " << i << "\r\n";
    }
    log.errorfileresize();
    const auto lines = dir.readLines(kErrorFile);
    ASSERT_EQ(lines.size(), 1001u);
    // The endless line comes out cut: trimming needs memory for the kept lines only.
    EXPECT_LT(lines[0].size(), 100'000u);
    EXPECT_EQ(lines[0], std::string(lines[0].size(), 'x'));
    EXPECT_EQ(lines[1], "entry 1");
    EXPECT_EQ(lines[1000], "entry 1000");
}
