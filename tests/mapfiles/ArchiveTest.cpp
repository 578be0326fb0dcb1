// Archive sets under data/, the delete commands and the view commands.
#include "mapfiles/Archive.h"
#include "core/Context.h"
#include "core/ErrorLog.h"
#include "core/Station.h"
#include "core/Steps.h"
#include "core/WorkDir.h"
#include "platform/ProcessRunner.h"
#include "support/FakeProcess.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

using namespace qv;
namespace fs = std::filesystem;

namespace {

struct StepRecorder final : Steps {
    std::vector<std::string> ran;
    void changeimportSA_Click() override { ran.push_back("changeimportSA_Click"); }
    void changeimportNGTOPO_Click() override { ran.push_back("changeimportNGTOPO_Click"); }
};

class ArchiveTest : public ::testing::Test {
protected:
    test::TempDir tmp;
    test::FakeClock clock;
    test::FakeUi ui;
    test::FakeProcess process;
    StepRecorder steps;
    Station st;
    WorkDir dir{tmp.path()};
    ErrorLog log{dir, clock};
    Context ctx{st, dir, log, ui, clock, steps};
    Archive archive{ctx};

    void SetUp() override {
        ctx.process = &process;
        st.marks.exportarchiveVisible = true;
    }
    void writeCurrentSet() {
        tmp.write("quorvel.txf", "T\r\n");
        tmp.write("quorvel.rxf", "R\r\n");
        tmp.write("quorvel.mxf", "M\r\n");
        tmp.write("quorvel.wpt", "W\r\n");
    }
    bool has(const std::string& name) const { return fs::exists(tmp.path() / name); }
};

} // namespace

TEST_F(ArchiveTest, FirstArchiveCreatesDataAndMovesTheSetThere) {
    writeCurrentSet();
    archive.exportarchive_Click();
    for (const char* ext : {"TXF", "RXF", "MXF", "WPT"})
        EXPECT_TRUE(has(std::string("data/quorvel01.") + ext)) << ext;
    EXPECT_EQ(tmp.read("data/quorvel01.MXF"), "M\r\n");
    for (const char* f : {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvel.wpt"})
        EXPECT_FALSE(has(f)) << f;
    EXPECT_EQ(st.marks.PGMmessage, "Exported as ./data/quorvel01.MXF");
    EXPECT_FALSE(st.marks.exportarchiveVisible);
    EXPECT_EQ(st.map.exportarchiveCaption, "Data files have been Archived.");
    EXPECT_FALSE(has("quorvel.err"));
}

// The open formats go with the set when they are there; the live link stays,
// pointing at the next quorvel.kml.
TEST_F(ArchiveTest, OpenFormatsPresentGoWithTheSet) {
    writeCurrentSet();
    tmp.write("quorvel.gpx", "G");
    tmp.write("quorvel.geojson", "J");
    tmp.write("quorvellive.kml", "L");
    archive.exportarchive_Click();
    EXPECT_EQ(tmp.read("data/quorvel01.GPX"), "G");
    EXPECT_EQ(tmp.read("data/quorvel01.GEOJSON"), "J");
    EXPECT_FALSE(has("data/quorvel01.KML"));
    EXPECT_FALSE(has("quorvel.gpx"));
    EXPECT_FALSE(has("quorvel.geojson"));
    EXPECT_TRUE(has("quorvellive.kml"));
    EXPECT_EQ(st.marks.PGMmessage, "Exported as ./data/quorvel01.MXF");
    EXPECT_FALSE(has("quorvel.err"));
}

TEST_F(ArchiveTest, NumbersInUseAreSkippedAndNeverReused) {
    struct Case {
        std::vector<std::string> present;
        const char* expected;
        int beeps;
    } cases[] = {
        {{"quorvel01.TXF", "quorvel02.TXF", "quorvel03.TXF", "quorvel04.TXF", "quorvel05.TXF", "quorvel06.TXF",
          "quorvel07.TXF", "quorvel08.TXF", "quorvel09.TXF"},
         "quorvel10",
         11},
        {{"quorvel01.TXF", "quorvel02.rxf", "quorvel03.MXF"}, "quorvel04", 1 + 2 + 2 + 1 + 1},
        {{"quorvel01.WPT"}, "quorvel02", 2 + 1 + 1}, // a leftover waypoint copy holds its number
        {{"quorvel1.TXF", "quorvel001.TXF"}, "quorvel01", 2},
        {{"quorvel01.GPX", "quorvel02.geojson"}, "quorvel03", 2 + 2 + 2},
    };
    for (const auto& c : cases) {
        test::TempDir d;
        WorkDir wd{d.path()};
        ErrorLog el{wd, clock};
        test::FakeUi u;
        Station s;
        Context cx{s, wd, el, u, clock, steps};
        fs::create_directory(d.path() / "data");
        for (const auto& f : c.present)
            d.write("data/" + f, "old\r\n");
        for (const char* f : {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvel.wpt"})
            d.write(f, "new\r\n");
        Archive(cx).exportarchive_Click();
        EXPECT_EQ(s.marks.PGMmessage, std::string("Exported as ./data/") + c.expected + ".MXF") << c.expected;
        EXPECT_EQ(d.read(std::string("data/") + c.expected + ".TXF"), "new\r\n") << c.expected;
        for (const auto& f : c.present)
            EXPECT_EQ(d.read("data/" + f), f == std::string(c.expected) + ".WPT" ? "new\r\n" : "old\r\n") << f;
        EXPECT_EQ(u.beeps, c.beeps) << c.expected;
    }
}

TEST_F(ArchiveTest, MissingWaypointFileStopsAfterTheCopiesAndDeletesNothing) {
    writeCurrentSet();
    fs::remove(tmp.path() / "quorvel.wpt");
    st.marks.exportarchiveVisible = true;
    archive.exportarchive_Click();
    EXPECT_EQ(st.marks.PGMmessage, "ERR53 File not found in SUBexportarchive");
    for (const char* f : {"quorvel.txf", "quorvel.rxf", "quorvel.mxf"})
        EXPECT_TRUE(has(f)) << f;
    for (const char* f : {"data/quorvel01.TXF", "data/quorvel01.RXF", "data/quorvel01.MXF"})
        EXPECT_TRUE(has(f)) << f;
    EXPECT_TRUE(st.marks.exportarchiveVisible);
}

// Only a complete set is "Exported"; otherwise the status names what stayed
// behind, the new-data mark stays, and no original without its copy goes.
TEST_F(ArchiveTest, IncompleteSetsSayWhatWasNotArchived) {
    struct Case {
        const char* name;
        std::function<void(test::TempDir&)> spoil;
        const char* status;
        std::vector<std::string> kept;
    } cases[] = {
        {"waypoint copy fails",
         [](test::TempDir& d) {
             fs::remove(d.path() / "quorvel.wpt");
             fs::create_directory(d.path() / "quorvel.wpt");
         },
         "Archived as ./data/quorvel01 WITHOUT quorvel.wpt (see quorvel.err)",
         {"quorvel.wpt"}},
        {"no copy at all",
         [](test::TempDir& d) { d.write("data", "a file where the directory should be"); },
         "NOT archived: quorvel.txf, quorvel.rxf, quorvel.mxf, quorvel.wpt (see quorvel.err)",
         {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvel.wpt"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir d;
        WorkDir wd{d.path()};
        ErrorLog el{wd, clock};
        test::FakeUi u;
        Station s;
        s.marks.exportarchiveVisible = true;
        Context cx{s, wd, el, u, clock, steps};
        for (const char* f : {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvel.wpt"})
            d.write(f, "new\r\n");
        c.spoil(d);
        Archive(cx).exportarchive_Click();
        EXPECT_EQ(s.marks.PGMmessage, c.status);
        EXPECT_TRUE(s.marks.exportarchiveVisible);
        for (const char* f : {"quorvel.txf", "quorvel.rxf", "quorvel.mxf", "quorvel.wpt"}) {
            const bool kept = std::find(c.kept.begin(), c.kept.end(), f) != c.kept.end();
            EXPECT_EQ(fs::exists(d.path() / f), kept) << f;
        }
        EXPECT_NE(d.read("quorvel.err").find(" in SUB EXPORTARCHIVECLICK "), std::string::npos);
    }
}

TEST_F(ArchiveTest, FreshStartMatchesWithoutCaseAndKeepsConfigurationAndErrors) {
    fs::create_directory(tmp.path() / "data");
    const char* doomed[] = {"data/quorvel01.TXF", "data/QUORVEL02.mxf",
                            "data/quorvel01.WPT", "quorvel.TXF",
                            "quorvelhistory.rxf", "quorvelHistory.MXF",
                            "QUORVEL.WPT",        "quorvelID3.PLT",
                            "quorvelSA5now.TXT",  "quorvelNGTOPOnowCall.tmp",
                            "quorvel.olt",        "quorvel.log",
                            "quorvel.imp",        "Quorvel.Mic",
                            "quorvel.rrr",        "quorvel.gpx",
                            "data/quorvel01.GPX", "QUORVEL.KML",
                            "quorvellive.kml",    "data/quorvel01.kml",
                            "quorvel.geojson",    "quorvelreplaced.GEOJSON"};
    const char* kept[] = {"quorvel.cfg", "quorvel.err", "notes.txt", "data/other.txt", "quorvelGPWGT.txt"};
    for (const char* f : doomed)
        tmp.write(f, "x");
    for (const char* f : kept)
        tmp.write(f, "x");
    ui.answers = {Answer::Yes};
    archive.killeverything_Click();
    for (const char* f : doomed)
        EXPECT_FALSE(has(f)) << f;
    for (const char* f : kept)
        EXPECT_TRUE(has(f)) << f;
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
    EXPECT_EQ(ui.messages[1].text, "You now have a FRESH START. ALL data and archive files are deleted");
}

TEST_F(ArchiveTest, DeleteCommandsAskAndDeleteOnlyOnYes) {
    writeCurrentSet();
    tmp.write("quorvelID1.plt", "p");
    tmp.write("quorvelNGTOPOnow.txt", "n");
    for (const char* f : {"quorvel.gpx", "quorvel.kml", "quorvellive.kml", "quorvel.geojson"})
        tmp.write(f, "x");
    // Cancel is the default button: a question closed without a choice deletes nothing.
    archive.deleteTXF_Click();
    EXPECT_TRUE(has("quorvel.txf"));
    // Delete-all asks nine questions: route, tracks, marker, waypoint, track
    // files, TOPO!, then the GPX, KML and GeoJSON files.
    ui.messages.clear();
    ui.answers = {Answer::Yes, Answer::Yes, Answer::No,  Answer::Yes, Answer::Cancel,
                  Answer::Yes, Answer::No,  Answer::Yes, Answer::Yes};
    archive.deletealldatafiles_Click();
    ASSERT_EQ(ui.messages.size(), 9u);
    EXPECT_EQ(ui.messages[0].text, "Are you sure you want to DELETE the ROUTE data file?");
    EXPECT_EQ(ui.messages[5].text, "Are you sure you want to DELETE *ALL* the TOPO! data files?");
    EXPECT_EQ(ui.messages[7].text, "Are you sure you want to DELETE the KML map files?");
    EXPECT_TRUE(has("quorvel.gpx"));
    EXPECT_FALSE(has("quorvel.kml"));
    EXPECT_FALSE(has("quorvellive.kml"));
    EXPECT_FALSE(has("quorvel.geojson"));
    EXPECT_FALSE(has("quorvel.rxf"));
    EXPECT_FALSE(has("quorvel.txf"));
    EXPECT_TRUE(has("quorvel.mxf"));
    EXPECT_FALSE(has("quorvel.wpt"));
    EXPECT_TRUE(has("quorvelID1.plt"));
    EXPECT_FALSE(has("quorvelNGTOPOnow.txt"));
    // Deleting what is already gone is no error.
    ui.answers = {Answer::Yes};
    archive.deleteTXF_Click();
    EXPECT_FALSE(has("quorvel.err"));
}

TEST_F(ArchiveTest, ViewCommandsOpenTheEditorOrSayTheFileIsMissing) {
    process.env["VISUAL"] = "gvim -f";
    tmp.write("quorvel.MXF", "M");
    archive.viewmxf_Click();
    ASSERT_EQ(process.started.size(), 1u);
    EXPECT_EQ(process.started[0].program, "gvim");
    EXPECT_EQ(process.started[0].args, (std::vector<std::string>{"-f", (tmp.path() / "quorvel.MXF").string()}));

    archive.viewplt_Click(7);
    archive.viewmxfhistory_Click();
    archive.viewgeojson_Click();
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text, "QUORVELID7.PLT file does not exist.");
    EXPECT_EQ(ui.messages[1].text, "QUORVELhistory.MXF file does not exist.");
    EXPECT_EQ(ui.messages[2].text, "QUORVEL.GEOJSON file does not exist.");
    ui.messages.clear();

    archive.ViewSA_Click(); // no path chosen yet: the chooser opens instead
    EXPECT_EQ(ui.messages.back().text, "A Street Atlas file has not been selected for import");
    EXPECT_EQ(steps.ran, std::vector<std::string>{"changeimportSA_Click"});

    st.map.importPathNatGeoTopo = (tmp.path() / "quorvelNGTOPOnow.txt").string();
    archive.ViewNGTOPO_Click();
    EXPECT_EQ(ui.messages.back().text, st.map.importPathNatGeoTopo + " file does not exist.");
    EXPECT_EQ(process.started.size(), 1u);
}

TEST(TextEditor, ChoosesVisualThenEditorInATerminalThenTheDesktop) {
    struct Case {
        std::map<std::string, std::string> env;
        std::set<std::string> installed, failing;
        std::string program;
        std::vector<std::string> args;
    } cases[] = {
        {{{"VISUAL", "kate"}, {"EDITOR", "vi"}}, {}, {}, "kate", {"f"}},
        {{{"VISUAL", "kate"}, {"EDITOR", "vi"}}, {"xterm"}, {"kate"}, "xterm", {"-e", "vi", "f"}},
        {{{"EDITOR", "nano -w"}},
         {"x-terminal-emulator", "xterm"},
         {},
         "x-terminal-emulator",
         {"-e", "nano", "-w", "f"}},
        {{{"EDITOR", "vi"}, {"TERMINAL", "foot"}}, {"foot", "xterm"}, {}, "foot", {"-e", "vi", "f"}},
        {{{"EDITOR", "vi"}}, {}, {}, "xdg-open", {"f"}},
        {{{"VISUAL", "  "}}, {}, {}, "xdg-open", {"f"}},
    };
    for (const auto& c : cases) {
        test::FakeProcess p;
        p.env = c.env;
        p.installed = c.installed;
        p.failing = c.failing;
        EXPECT_TRUE(openInTextEditor(p, "f"));
        ASSERT_EQ(p.started.size(), 1u) << c.program;
        EXPECT_EQ(p.started[0].program, c.program);
        EXPECT_EQ(p.started[0].args, c.args) << c.program;
    }
}

TEST(TextEditor, FileNameWithBlanksAndShellCharactersArrivesUnharmed) {
    test::TempDir tmp;
    const fs::path script = tmp.path() / "editor.sh";
    const fs::path out = tmp.path() / "args.txt";
    tmp.write("editor.sh",
              "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"$QV_EDITOR_OUT.tmp\"\nmv \"$QV_EDITOR_OUT.tmp\" "
              "\"$QV_EDITOR_OUT\"\n");
    fs::permissions(script, fs::perms::owner_all);
    const std::string name = (tmp.path() / "my map; $(touch pwned) `touch pwned2` 'q\" & |.mxf").string();
    ::setenv("VISUAL", script.c_str(), 1);
    ::setenv("QV_EDITOR_OUT", out.c_str(), 1);
    QtProcessRunner runner;
    EXPECT_TRUE(openInTextEditor(runner, name));
    for (int i = 0; i < 500 && !fs::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::unsetenv("VISUAL");
    ::unsetenv("QV_EDITOR_OUT");
    EXPECT_EQ(tmp.read("args.txt"), "1\n" + name + "\n");
    EXPECT_FALSE(fs::exists(tmp.path() / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists("pwned2"));
}
