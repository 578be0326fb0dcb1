// Files the working directory keeps open between writes, against another
// program that deletes, archives, replaces, empties or rewrites them between
// two of our writes: every line lands in the file the name leads to at the
// moment of writing, a failure is the one a fresh open would give, and what
// the working directory remembers of a file is dropped once it changed.
#include "core/Failure.h"
#include "core/WorkDir.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>

namespace fs = std::filesystem;
using namespace qv;
using qv::test::TempDir;

namespace {

struct Meddling {
    const char* what;
    std::function<void(const TempDir&)> act;
    const char* file;     // what "quorvel.mxf" (or the name the act leaves) then holds
    const char* archived; // data/quorvel01.mxf, when the act moved the file there
    const char* holder = "quorvel.mxf";
};

void replaceByRename(const TempDir& t, const char* name, const char* content) {
    t.write("incoming.part", content);
    fs::rename(t.path() / "incoming.part", t.path() / name);
}

const Meddling kMeddlings[] = {
    {"left alone", [](const TempDir&) {}, "H\r\none\r\ntwo\r\n", nullptr},
    {"deleted", [](const TempDir& t) { fs::remove(t.path() / "quorvel.mxf"); }, "H\r\ntwo\r\n", nullptr},
    {"archived",
     [](const TempDir& t) {
         fs::create_directory(t.path() / "data");
         fs::rename(t.path() / "quorvel.mxf", t.path() / "data/quorvel01.mxf");
     },
     "H\r\ntwo\r\n", "H\r\none\r\n"},
    {"replaced by a rename", [](const TempDir& t) { replaceByRename(t, "quorvel.mxf", "x\r\n"); }, "x\r\ntwo\r\n",
     nullptr},
    {"emptied in place", [](const TempDir& t) { t.write("quorvel.mxf", ""); }, "two\r\n", nullptr},
    {"rewritten in place", [](const TempDir& t) { t.write("quorvel.mxf", "y\r\n"); }, "y\r\ntwo\r\n", nullptr},
    {"made a link to another file",
     [](const TempDir& t) {
         t.write("target.mxf", "t\r\n");
         fs::remove(t.path() / "quorvel.mxf");
         fs::create_symlink("target.mxf", t.path() / "quorvel.mxf");
     },
     "t\r\ntwo\r\n", nullptr, "target.mxf"},
    {"renamed to other letter case",
     [](const TempDir& t) { fs::rename(t.path() / "quorvel.mxf", t.path() / "QUORVEL.MXF"); }, "H\r\none\r\ntwo\r\n",
     nullptr, "QUORVEL.MXF"},
};

} // namespace

// Alone, each append looks the name up; in passes over the map files, the
// directory's watch tells the next pass what happened between them.
TEST(KeptOpenFiles, AnAppendGoesWhereTheNameLeadsWhateverHappenedSince) {
    for (const bool inPasses : {false, true})
        for (const Meddling& m : kMeddlings) {
            SCOPED_TRACE(m.what);
            SCOPED_TRACE(inPasses ? "in passes" : "alone");
            TempDir tmp;
            WorkDir dir(tmp.path());
            if (inPasses) dir.beginPass();
            dir.appendLines("quorvel.mxf", {"one"}, {"H"});
            EXPECT_EQ(dir.lastAppendedLine("quorvel.mxf"), std::optional<std::string>("one"));
            if (inPasses) dir.endPass();
            m.act(tmp);
            if (inPasses) dir.beginPass();
            const bool untouched = std::string(m.what) == "left alone";
            EXPECT_EQ(dir.untouchedSinceAppend("quorvel.mxf"), untouched);
            if (!inPasses) {
                EXPECT_EQ(dir.lastAppendedLine("quorvel.mxf").has_value(), untouched);
            }

            dir.appendLines("quorvel.mxf", {"two"}, {"H"});
            EXPECT_EQ(tmp.read(m.holder), m.file);
            if (m.archived) {
                EXPECT_EQ(tmp.read("data/quorvel01.mxf"), m.archived);
            }
            EXPECT_EQ(dir.lastAppendedLine("quorvel.mxf"), std::optional<std::string>("two"));
            EXPECT_TRUE(dir.untouchedSinceAppend("quorvel.mxf"));
            if (inPasses) dir.endPass();
        }
}

// What stands in the name's place by the next append decides the failure,
// as if the file had never been open; a name set right again takes lines.
TEST(KeptOpenFiles, AFileThatCannotBeWrittenAnyMoreFailsAsAFreshOpenWould) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> act;
        int failure;
        bool needsNonRoot;
    };
    const Case cases[] = {
        {"a directory in its place",
         [](const TempDir& t) {
             fs::remove(t.path() / "quorvel.olt");
             fs::create_directory(t.path() / "quorvel.olt");
         },
         err::PathFileAccess, false},
        {"made read-only", [](const TempDir& t) { fs::permissions(t.path() / "quorvel.olt", fs::perms::owner_read); },
         err::PermissionDenied, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsNonRoot && ::geteuid() == 0) continue; // root writes whatever the mode
        TempDir tmp;
        WorkDir dir(tmp.path());
        dir.appendLine("quorvel.olt", "one");
        c.act(tmp);
        try {
            dir.appendLine("quorvel.olt", "two");
            ADD_FAILURE() << "the append went through";
        } catch (const Failure& f) {
            EXPECT_EQ(f.number(), c.failure);
        }
        std::error_code ec;
        fs::remove_all(tmp.path() / "quorvel.olt", ec);
        dir.appendLine("quorvel.olt", "three");
        EXPECT_EQ(tmp.read("quorvel.olt"), "three\r\n");
    }
}

// A scratch file rewritten for every received line is written over while it
// is still ours; anything else in its place is replaced, a link never
// written through.
TEST(KeptOpenFiles, AScratchFileIsRewrittenOnlyWhileItIsStillOurs) {
    const Meddling cases[] = {
        {"left alone", [](const TempDir&) {}, "second, longer line\r\n", nullptr},
        {"deleted", [](const TempDir& t) { fs::remove(t.path() / "quorvelGPWPL.txt"); }, "second, longer line\r\n",
         nullptr},
        {"replaced by a rename", [](const TempDir& t) { replaceByRename(t, "quorvelGPWPL.txt", "other\r\nlines\r\n"); },
         "second, longer line\r\n", nullptr},
        {"made a link",
         [](const TempDir& t) {
             t.write("target.txt", "keep\r\n");
             fs::remove(t.path() / "quorvelGPWPL.txt");
             fs::create_symlink("target.txt", t.path() / "quorvelGPWPL.txt");
         },
         "second, longer line\r\n", nullptr},
    };
    for (const Meddling& m : cases) {
        SCOPED_TRACE(m.what);
        TempDir tmp;
        WorkDir dir(tmp.path());
        dir.replaceLines("quorvelGPWPL.txt", {"first line"});
        m.act(tmp);
        dir.replaceLines("quorvelGPWPL.txt", {"second, longer line"});
        EXPECT_EQ(tmp.read("quorvelGPWPL.txt"), m.file);
        EXPECT_FALSE(fs::is_symlink(tmp.path() / "quorvelGPWPL.txt"));
        if (fs::exists(tmp.path() / "target.txt")) {
            EXPECT_EQ(tmp.read("target.txt"), "keep\r\n");
        }
        // Shorter again, and the same text twice: nothing of the longer line stays.
        dir.replaceLines("quorvelGPWPL.txt", {"third"});
        dir.replaceLines("quorvelGPWPL.txt", {"third"});
        EXPECT_EQ(tmp.read("quorvelGPWPL.txt"), "third\r\n");
    }
}

// The lines of a rebuilt file are handed back from memory only while the
// file is the very one put in place.
TEST(KeptOpenFiles, RememberedLinesLastOnlyWhileTheFileStaysAsReplaced) {
    const Meddling cases[] = {
        {"left alone", [](const TempDir&) {}, nullptr, nullptr},
        {"deleted", [](const TempDir& t) { fs::remove(t.path() / "now.txt"); }, nullptr, nullptr},
        {"replaced by a rename", [](const TempDir& t) { replaceByRename(t, "now.txt", "A\r\nB\r\n"); }, nullptr,
         nullptr},
        {"rewritten in place", [](const TempDir& t) { t.write("now.txt", "A, longer\r\n"); }, nullptr, nullptr},
        {"appended to",
         [](const TempDir& t) {
             WorkDir other(t.path());
             other.appendLine("now.txt", "C");
         },
         nullptr, nullptr},
    };
    for (const Meddling& m : cases) {
        SCOPED_TRACE(m.what);
        TempDir tmp;
        WorkDir dir(tmp.path());
        ReplaceOptions remember;
        remember.remember = true;
        remember.keepPreviousAs = "now.tmp";
        dir.replaceLinesAtomically("now.txt", {"A", "B"}, remember);
        dir.replaceLinesAtomically("now.txt", {"B", "A"}, remember);
        EXPECT_EQ(tmp.read("now.tmp"), "A\r\nB\r\n");
        m.act(tmp);
        const auto* known = dir.linesAsReplaced("now.txt");
        if (std::string(m.what) == "left alone") {
            ASSERT_NE(known, nullptr);
            EXPECT_EQ(*known, (std::vector<std::string>{"B", "A"}));
        } else {
            EXPECT_EQ(known, nullptr);
        }
        EXPECT_EQ(dir.linesAsReplaced("never.txt"), nullptr);
    }
}

// A file rebuilt again and again keeps its previous version beside it: the
// new text goes over the previous version's file and the two names swap.
// Whatever another program did to either name in between, the file ends up
// whole with the new lines, the previous name holds what the file held just
// before, no link is written through, modes stay, and no scratch file is left.
// In passes the watch stands in for looking at the names, and has to tell our
// own swaps from what the other program did.
TEST(KeptOpenFiles, ARebuiltFileKeepsItsPreviousVersionWhateverHappenedBetween) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> act;
        const char* previous; // what now.tmp then holds
        unsigned mode = 0644; // of now.txt
    };
    const Case cases[] = {
        {"left alone", [](const TempDir&) {}, "C\r\n"},
        {"file replaced by a rename", [](const TempDir& t) { replaceByRename(t, "now.txt", "X\r\n"); }, "X\r\n"},
        {"file rewritten in place", [](const TempDir& t) { t.write("now.txt", "Z, longer\r\n"); }, "Z, longer\r\n"},
        {"file deleted", [](const TempDir& t) { fs::remove(t.path() / "now.txt"); }, "B\r\n"},
        {"file made private", [](const TempDir& t) { fs::permissions(t.path() / "now.txt", fs::perms(0600)); }, "C\r\n",
         0600},
        {"previous version deleted", [](const TempDir& t) { fs::remove(t.path() / "now.tmp"); }, "C\r\n"},
        {"previous version replaced", [](const TempDir& t) { replaceByRename(t, "now.tmp", "Y\r\n"); }, "C\r\n"},
        {"previous version made a link",
         [](const TempDir& t) {
             t.write("target.txt", "T\r\n");
             fs::remove(t.path() / "now.tmp");
             fs::create_symlink("target.txt", t.path() / "now.tmp");
         },
         "C\r\n"},
    };
    for (const bool inPasses : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (inPasses ? ", in passes" : ""));
            TempDir tmp;
            WorkDir dir(tmp.path());
            ReplaceOptions keep;
            keep.remember = true;
            keep.keepPreviousAs = "now.tmp";
            auto rebuild = [&](const char* line) {
                std::optional<WorkDirPass> pass;
                if (inPasses) pass.emplace(dir);
                dir.replaceLinesAtomically("now.txt", {line}, keep);
            };
            for (const char* line : {"A", "B", "C", "B", "C"})
                rebuild(line);
            EXPECT_EQ(tmp.read("now.tmp"), "B\r\n");
            c.act(tmp);
            rebuild("D");
            EXPECT_EQ(tmp.read("now.txt"), "D\r\n");
            EXPECT_FALSE(fs::is_symlink(tmp.path() / "now.tmp"));
            EXPECT_EQ(tmp.read("now.tmp"), c.previous);
            EXPECT_EQ(static_cast<unsigned>(fs::status(tmp.path() / "now.txt").permissions()), c.mode);
            if (fs::exists(tmp.path() / "target.txt")) {
                EXPECT_EQ(tmp.read("target.txt"), "T\r\n");
            }
            for (const auto& e : fs::directory_iterator(tmp.path()))
                EXPECT_TRUE(e.path().filename().string().starts_with("now.") || e.path().filename() == "target.txt" ||
                            e.path().filename() == "incoming.part")
                    << e.path();
            // Handed back from memory, in a pass on the watch's word.
            std::optional<WorkDirPass> pass;
            if (inPasses) pass.emplace(dir);
            const auto* known = dir.linesAsReplaced("now.txt");
            ASSERT_NE(known, nullptr);
            EXPECT_EQ(*known, std::vector<std::string>{"D"});
        }
}

// A name found present is vouched for by the watch in later passes, only
// until something happens to it.
TEST(KeptOpenFiles, APresentNameIsTakenOnTrustOnlyUntilSomethingHappensToIt) {
    const struct {
        const char* what;
        std::function<void(const TempDir&)> act;
        bool present;
    } cases[] = {
        {"left alone", [](const TempDir&) {}, true},
        {"deleted", [](const TempDir& t) { fs::remove(t.path() / "live.kml"); }, false},
        {"replaced by a rename", [](const TempDir& t) { replaceByRename(t, "live.kml", "x"); }, true},
        {"made a directory",
         [](const TempDir& t) {
             fs::remove(t.path() / "live.kml");
             fs::create_directory(t.path() / "live.kml");
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir tmp;
        WorkDir dir(tmp.path());
        tmp.write("live.kml", "k");
        for (int pass = 0; pass < 2; ++pass) {
            WorkDirPass p(dir);
            EXPECT_TRUE(dir.presentAsWritten("live.kml"));
        }
        c.act(tmp);
        WorkDirPass p(dir);
        EXPECT_EQ(dir.presentAsWritten("live.kml"), c.present);
    }
}
