// Rewriting a scratch file by replacing it: the content is the new line only,
// in the file's own letter case, and a link is written through, not replaced.
#include "core/WorkDir.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qv;

TEST(WorkDirReplace, NewContentSameNameLinksWrittenThrough) {
    qv::test::TempDir tmp;
    WorkDir dir(tmp.path());
    tmp.write("QUORVELGPWPL.TXT", "old line\r\nsecond\r\n");
    dir.replaceLines("quorvelGPWPL.txt", {"new line"});
    EXPECT_EQ(tmp.read("QUORVELGPWPL.TXT"), "new line\r\n");
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / "quorvelGPWPL.txt"));

    tmp.write("target.txt", "old\r\n");
    std::filesystem::create_symlink(tmp.path() / "target.txt", tmp.path() / "quorvelGPWGT.txt");
    dir.replaceLines("quorvelGPWGT.txt", {"through"});
    EXPECT_TRUE(std::filesystem::is_symlink(tmp.path() / "quorvelGPWGT.txt"));
    EXPECT_EQ(tmp.read("target.txt"), "through\r\n");
}
