// Copies into a mapping of a file another program cuts short, and the lists
// of track points that keep their older points in a scratch file.
#include "core/GuardedCopy.h"
#include "mapfiles/PointList.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>

using namespace qv;
using qv::mapfile::PointList;
using qv::mapfile::TrackPoint;

// A store past the file's end faults: the copy says so, the program goes on.
TEST(MappedWrites, ACopyPastTheEndOfAFileCutShortFailsAndTheProgramGoesOn) {
    qv::test::TempDir tmp;
    tmp.write("doc", std::string(3 * 4096, ' '));
    const int fd = ::open((tmp.path() / "doc").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    auto* map = static_cast<char*>(::mmap(nullptr, 3 * 4096, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    ASSERT_NE(map, MAP_FAILED);
    EXPECT_TRUE(copyGuarded(map + 5000, "point", 5));
    ASSERT_EQ(::ftruncate(fd, 100), 0);
    EXPECT_FALSE(copyGuarded(map + 5000, "point", 5));
    char byte = 0;
    EXPECT_FALSE(copyGuarded(&byte, map + 9000, 1));
    EXPECT_TRUE(copyGuarded(map + 10, "in", 2));
    ::munmap(map, 3 * 4096);
    ::close(fd);
    EXPECT_EQ(tmp.read("doc").substr(8, 6), "  in  ");
}

// Every point comes back, across the chunks in the file and the newest in
// memory, after moves, swaps, a clear and a list built from a long vector.
TEST(MappedWrites, PointListsGiveBackEveryPoint) {
    auto point = [](std::size_t i) { return TrackPoint{i * 1e-3, -(i * 1e-3), static_cast<std::int64_t>(i)}; };
    auto expectAll = [&](const PointList& l, std::size_t n, std::size_t from = 0) {
        ASSERT_EQ(l.size(), n);
        for (std::size_t i : {std::size_t{0}, n / 2, n - 1, PointList::kChunk - 1, PointList::kChunk, std::size_t{1}})
            if (i < n) {
                EXPECT_EQ(l[i].lat, point(from + i).lat) << i;
                EXPECT_EQ(l[i].time, point(from + i).time) << i;
            }
        EXPECT_EQ(l.back().time, point(from + n - 1).time);
    };
    const std::size_t n = 3 * PointList::kChunk + 7;
    PointList a;
    for (std::size_t i = 0; i < n; ++i)
        a.push_back(point(i));
    expectAll(a, n);
    std::vector<TrackPoint> v;
    for (std::size_t i = 0; i < n; ++i)
        v.push_back(point(100 + i));
    PointList b = std::move(v);
    expectAll(b, n, 100);
    a.swap(b);
    expectAll(a, n, 100);
    expectAll(b, n);
    PointList c = std::move(b);
    expectAll(c, n);
    EXPECT_TRUE(b.empty());
    c.clear();
    c.push_back(point(5));
    expectAll(c, 1, 5);
}
