// Rewriting a scratch file by replacing it: the content is the new line only,
// in the file's own letter case, and a link in its place is replaced, never
// written through. The atomic replacement whole documents go through.
#include "core/Failure.h"
#include "core/WorkDir.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qv;

TEST(WorkDirReplace, NewContentSameNameLinksReplaced) {
    qv::test::TempDir tmp;
    WorkDir dir(tmp.path());
    tmp.write("QUORVELGPWPL.TXT", "old line\r\nsecond\r\n");
    dir.replaceLines("quorvelGPWPL.txt", {"new line"});
    EXPECT_EQ(tmp.read("QUORVELGPWPL.TXT"), "new line\r\n");
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "quorvelGPWPL.txt"));

    tmp.write("target.txt", "old\r\n");
    std::filesystem::create_symlink(tmp.path() / "target.txt", tmp.path() / "quorvelGPWGT.txt");
    dir.replaceLines("quorvelGPWGT.txt", {"not through"});
    EXPECT_FALSE(std::filesystem::is_symlink(tmp.path() / "quorvelGPWGT.txt"));
    EXPECT_EQ(tmp.read("quorvelGPWGT.txt"), "not through\r\n");
    EXPECT_EQ(tmp.read("target.txt"), "old\r\n");
}

// The shared replacement every whole-document writer uses.
TEST(WorkDirReplace, AtomicReplacementKeepsModeFollowsLinksAndKeepsThePreviousVersion) {
    namespace fs = std::filesystem;
    qv::test::TempDir tmp;
    WorkDir dir(tmp.path());
    auto mode = [&](const char* name) { return fs::status(tmp.path() / name).permissions() & fs::perms::all; };

    ReplaceOptions privateFile;
    privateFile.newMode = 0600;
    dir.replaceAtomically("new.cfg", "one\r\n", privateFile);
    EXPECT_EQ(mode("new.cfg"), fs::perms::owner_read | fs::perms::owner_write);

    tmp.write("kept.txt", "old\r\n");
    fs::permissions(tmp.path() / "kept.txt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    dir.replaceAtomically("kept.txt", "new\r\n");
    EXPECT_EQ(tmp.read("kept.txt"), "new\r\n");
    EXPECT_EQ(mode("kept.txt"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    tmp.write("real/doc.gpx", "<old/>");
    fs::create_symlink("real/doc.gpx", tmp.path() / "doc.gpx");
    dir.replaceAtomically("doc.gpx", "<new/>");
    EXPECT_TRUE(fs::is_symlink(tmp.path() / "doc.gpx"));
    EXPECT_EQ(tmp.read("real/doc.gpx"), "<new/>");

    for (Durability d : {Durability::Cached, Durability::Synced}) {
        SCOPED_TRACE(d == Durability::Synced ? "synced" : "cached");
        tmp.write("now.txt", "A\r\n");
        tmp.write("now.tmp", "older\r\n");
        ReplaceOptions keep;
        keep.keepPreviousAs = "now.tmp";
        keep.durability = d;
        dir.replaceLinesAtomically("now.txt", {"B", "A"}, keep);
        EXPECT_EQ(tmp.read("now.txt"), "B\r\nA\r\n");
        EXPECT_EQ(tmp.read("now.tmp"), "A\r\n");
        // A previous version that cannot be kept costs only itself.
        fs::remove(tmp.path() / "now.tmp");
        fs::create_directory(tmp.path() / "now.tmp");
        EXPECT_THROW(dir.replaceLinesAtomically("now.txt", {"C"}, keep), qv::Failure);
        EXPECT_EQ(tmp.read("now.txt"), "C\r\n");
        fs::remove(tmp.path() / "now.tmp");
    }

    fs::create_directory(tmp.path() / "dir.kml");
    EXPECT_THROW(dir.replaceAtomically("dir.kml", "x"), qv::Failure);
    EXPECT_TRUE(dir.holds("now.txt", "C\r\n"));
    EXPECT_FALSE(dir.holds("now.txt", "C\r"));
    EXPECT_FALSE(dir.holds("missing.txt", ""));
    for (const auto& e : fs::directory_iterator(tmp.path()))
        EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << e.path();
}

TEST(WorkDirReplace, LinesAreReadWithinTheirLimit) {
    qv::test::TempDir tmp;
    WorkDir dir(tmp.path());
    tmp.write("t.txt", "a\r\nbb\rccc\n" + std::string(10, 'd') + "\r\n\r\ne");
    std::vector<std::string> seen;
    dir.forEachLine("t.txt", 4, [&](const LineRead& l) {
        seen.push_back(std::string(l.text) + (l.cut ? " cut" : "") + (l.ended ? "" : " unended"));
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "bb", "ccc", "dddd cut", "", "e unended"}));
}

// A replacement made of text, blanks and spans of the file's present
// version: the spans are taken from the version as we left it, and from no
// other file that has taken the name since.
TEST(WorkDirReplace, ReplacementKeepingSpansOfThePresentVersion) {
    qv::test::TempDir tmp;
    WorkDir dir(tmp.path());
    dir.replaceAtomically("doc.txt", "head[0123456789]tail");
    const FileIdentity left = dir.identity("doc.txt");
    // A write in place keeps the file open, as a document is between reports.
    const FileIdentity after = dir.writeInPlace("doc.txt", left, {{0, "HEAD"}});
    ASSERT_TRUE(after.present);

    const std::vector<FileSpan> spans = {{3, 5, 10, false}, {17, 0, 3, true}, {20, 0, 4, false}};
    ASSERT_TRUE(dir.replaceAtomicallyKeeping("doc.txt", after, "<<<>>>!!", spans));
    EXPECT_EQ(tmp.read("doc.txt"), "<<<0123456789>>>!   HEAD!");

    // Blanks alone need no present version.
    ASSERT_TRUE(dir.replaceAtomicallyKeeping("doc.txt", {}, "ab", {{1, 0, 2, true}}));
    EXPECT_EQ(tmp.read("doc.txt"), "a  b");

    // Another file under the name: nothing copied from it, nothing replaced.
    const FileIdentity ours = dir.writeInPlace("doc.txt", dir.identity("doc.txt"), {{0, "A"}});
    tmp.write("doc.txt", "a stranger's text");
    EXPECT_FALSE(dir.replaceAtomicallyKeeping("doc.txt", ours, "x", {{0, 0, 1, false}}));
    EXPECT_EQ(tmp.read("doc.txt"), "a stranger's text");
}

// Lines are ended by exactly one CR LF, whatever breaks they carry inside.
TEST(WorkDirReplace, LinesEndedByOneCrLf) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "\r\n"},
        {"plain", "plain\r\n"},
        {"ends\r\n\n\r", "ends\r\n"},
        {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"\n\nx", "\r\n\r\nx\r\n"},
    };
    for (const auto& [line, want] : cases) {
        std::string out = "pre";
        appendCrlfLine(out, line);
        EXPECT_EQ(out, "pre" + want) << line;
    }
}
