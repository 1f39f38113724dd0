// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "motion/PipeWriter.h"
#include "motion/TempFolder.h"
#include "sensor/FifoSource.h"
#include "sensor/IioSource.h"
#include "sensor/LineSplitter.h"
#include "sensor/Reading.h"
#include "sensor/ReplaySource.h"
#include "sensor/SourceConfig.h"

namespace tiltophon::sensor {

void PrintTo(const Reading& r, std::ostream* out) {
    *out << "(" << r.x << ", " << r.y << ", " << r.z << ")";
}

namespace {

TEST(ReadingLineTest, TakesThreeNumbersRoundedAndClampedAndNothingElse) {
    const std::pair<const char*, std::optional<Reading>> cases[] = {
        {"1 2 3", Reading{1, 2, 3}},
        {"  -5\t6,7\r", Reading{-5, 6, 7}},
        {"+5, -6, +0", Reading{5, -6, 0}},
        {"1.6 -1.6 0.4", Reading{2, -2, 0}},
        {"40000 -40000 1e4", Reading{32767, -32768, 10000}},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"1 2", std::nullopt},
        {"1 2 3 4", std::nullopt},
        {"x y z", std::nullopt},
        {"1 2 3x", std::nullopt},
        {"# 1 2 3", std::nullopt},
        {"nan 1 2", std::nullopt},
        {"1 inf 2", std::nullopt},
        {"1e999 1 2", std::nullopt},
        {"+-1 2 3", std::nullopt},
        {"--1 2 3", std::nullopt},
        {"0x10 2 3", std::nullopt},
    };
    for (const auto& [line, expected] : cases) {
        EXPECT_EQ(parse_reading_line(line), expected) << "line '" << line << "'";
    }
}

TEST(LineSplitterTest, JoinsPiecesAndDropsOverlongOrBrokenLines) {
    LineSplitter splitter;
    std::vector<std::string> lines;
    auto collect = [&lines](std::string_view line) { lines.emplace_back(line); };

    splitter.feed("1 2", collect);
    splitter.feed(" 3\n4 5 6\n7", collect);
    EXPECT_EQ(lines, (std::vector<std::string>{"1 2 3", "4 5 6"}));

    // A line longer than the limit goes whole, however it arrives; the next one counts.
    lines.clear();
    splitter.feed(std::string(LineSplitter::kMaxLine, '8'), collect);
    splitter.feed("9\nok\n", collect);
    EXPECT_EQ(lines, (std::vector<std::string>{"ok"}));

    lines.clear();
    splitter.feed("half", collect);
    splitter.drop_partial();
    splitter.feed(" line\n", collect);
    splitter.feed("last", collect);
    splitter.finish(collect);
    EXPECT_EQ(lines, (std::vector<std::string>{" line", "last"}));
}

TEST(ReplayTest, PaceSettings) {
    EXPECT_EQ(parse_replay_pace("")->kind, ReplayPace::Kind::kTime);
    EXPECT_EQ(parse_replay_pace("time")->kind, ReplayPace::Kind::kTime);
    auto reads = parse_replay_pace("reads:3");
    ASSERT_TRUE(reads);
    EXPECT_EQ(reads->kind, ReplayPace::Kind::kReads);
    EXPECT_EQ(reads->reads_per_sample, 3u);
    for (const char* bad : {"reads:0", "reads:", "reads:3x", "fast"}) {
        EXPECT_FALSE(parse_replay_pace(bad)) << bad;
    }
}

TEST(ReplayTest, ReadPaceMovesOnEveryNReadsAndLoops) {
    ReplaySource replay({{1, 0, 0}, {2, 0, 0}}, {ReplayPace::Kind::kReads, 3});
    std::vector<int> xs;
    for (int i = 0; i < 8; ++i) xs.push_back(replay.read().x);
    EXPECT_EQ(xs, (std::vector<int>{1, 1, 1, 2, 2, 2, 1, 1}));
}

TEST(ReplayTest, TimePaceStartsAtTheFirstReadAndMovesEvery50Ms) {
    int64_t now = 10'000;
    ReplaySource replay({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}, {}, [&now] { return now; });
    auto x_at = [&](int64_t t) {
        now = t;
        return replay.read().x;
    };
    EXPECT_EQ(x_at(10'000), 1);
    EXPECT_EQ(x_at(10'049), 1);
    EXPECT_EQ(x_at(10'050), 2);
    EXPECT_EQ(x_at(10'100), 3);
    EXPECT_EQ(x_at(10'150), 1);  // looped
    EXPECT_EQ(x_at(10'000 + 50 * 3000 + 100), 3);
    EXPECT_EQ(x_at(9'000), 1);  // a clock that goes back holds the start
}

TEST(ReplayTest, TraceFilesSkipWhatIsNotAReading) {
    TempFolder folder;
    auto loaded = ReplaySource::load_file(folder.write(
        "trace.txt", "# right swing\r\n0 0 -1000\r\n\nnoise\n300 0 -990\n900 5 -1010"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, (std::vector<Reading>{{0, 0, -1000}, {300, 0, -990}, {900, 5, -1010}}));

    EXPECT_FALSE(ReplaySource::load_file(folder.write("junk.txt", "nothing\nhere\n")));
    EXPECT_FALSE(ReplaySource::load_file(folder.write("empty.txt", "")));
    EXPECT_FALSE(ReplaySource::load_file(folder.file("missing.txt")));
    EXPECT_FALSE(ReplaySource::load_file(folder.path().string()));  // a folder
}

TEST(FifoTest, TheLastCompleteLineWinsAndOutlivesItsWriter) {
    TempFolder folder;
    std::string path = folder.file("sensor");
    FifoSource fifo(path);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(fifo.read(), (Reading{0, 0, 0}));

    PipeWriter writer(path);
    ASSERT_TRUE(writer.ok());
    writer.write("1 2 3\n4 5 6\n");
    EXPECT_EQ(fifo.read(), (Reading{4, 5, 6}));
    writer.write("7 8");
    EXPECT_EQ(fifo.read(), (Reading{4, 5, 6}));
    writer.write(" 9\nrubbish\n");
    EXPECT_EQ(fifo.read(), (Reading{7, 8, 9}));
    EXPECT_EQ(fifo.read(), (Reading{7, 8, 9}));

    // A writer that leaves in the middle of a line: its half line is forgotten, and
    // the next writer's lines are read from the same pipe.
    writer.write("1 1");
    writer.close();
    EXPECT_EQ(fifo.read(), (Reading{7, 8, 9}));
    PipeWriter next(path);
    ASSERT_TRUE(next.ok());
    next.write(" 5\n");
    EXPECT_EQ(fifo.read(), (Reading{7, 8, 9}));
    next.write("-10 20 -1000\n");
    EXPECT_EQ(fifo.read(), (Reading{-10, 20, -1000}));
}

TEST(FifoTest, APathThatIsNoPipeGivesZeros) {
    TempFolder folder;
    FifoSource plain(folder.write("plain", "1 2 3\n"));
    EXPECT_EQ(plain.read(), (Reading{0, 0, 0}));
    FifoSource nowhere(folder.file("no/such/folder/sensor"));
    EXPECT_EQ(nowhere.read(), (Reading{0, 0, 0}));
}

TEST(MountMatrixTest, ParsesNineNumbersRowByRow) {
    auto matrix = parse_mount_matrix("0, 1, 0; -1, 0, 0; 0, 0, 0.5\n");
    ASSERT_TRUE(matrix);
    EXPECT_EQ((*matrix)[0], (std::array<double, 3>{0, 1, 0}));
    EXPECT_EQ((*matrix)[1], (std::array<double, 3>{-1, 0, 0}));
    EXPECT_EQ((*matrix)[2], (std::array<double, 3>{0, 0, 0.5}));
    for (const char* bad :
         {"", "1, 0, 0; 0, 1, 0", "1, 0; 0, 1, 0; 0, 0, 1, 0", "1, 0, 0; 0, 1, 0; 0, 0, 1;",
          "1, 0, 0, 0; 1, 0; 0, 0, 1", "a, 0, 0; 0, 1, 0; 0, 0, 1"}) {
        EXPECT_FALSE(parse_mount_matrix(bad)) << bad;
    }
}

// A fake /sys/bus/iio/devices with 1000 raw units to the g.
class IioTest : public ::testing::Test {
protected:
    std::string device(const std::string& name, int x, int y, int z) {
        folder.write(name + "/in_accel_x_raw", std::to_string(x) + "\n");
        folder.write(name + "/in_accel_y_raw", std::to_string(y) + "\n");
        folder.write(name + "/in_accel_z_raw", std::to_string(z) + "\n");
        folder.write(name + "/in_accel_scale", "0.00980665\n");
        return name;
    }
    TempFolder folder;
};

TEST_F(IioTest, LyingStillScreenUpReadsMinus1000OnZ) {
    folder.write("iio:device0/in_illuminance_raw", "12\n");  // not an accelerometer
    device("iio:device1", 0, 0, 1000);
    IioSource iio(folder.path().string());
    ASSERT_TRUE(iio.has_device());
    EXPECT_EQ(iio.read(), (Reading{0, 0, -1000}));

    // Right edge dipped by 30 degrees: the device feels the push on its -X side.
    folder.write("iio:device1/in_accel_x_raw", "-500\n");
    folder.write("iio:device1/in_accel_z_raw", "866\n");
    EXPECT_EQ(iio.read(), (Reading{500, 0, -866}));
    // Top edge dipped (tilted forward).
    folder.write("iio:device1/in_accel_x_raw", "0\n");
    folder.write("iio:device1/in_accel_y_raw", "-500\n");
    EXPECT_EQ(iio.read(), (Reading{0, -500, -866}));
}

TEST_F(IioTest, OffsetsPerAxisScalesAndTheMountMatrixApply) {
    device("iio:device2", 100, 200, -1000);
    folder.write("iio:device2/in_accel_z_scale", "0.0196133\n");  // 2 mg per unit on Z
    folder.write("iio:device2/in_accel_offset", "10\n");
    folder.write("iio:device2/in_accel_mount_matrix", "0, 1, 0; 1, 0, 0; 0, 0, -1\n");
    device("iio:device10", 0, 0, 0);  // a later device, ignored
    IioSource iio(folder.path().string());
    // Sensor frame (110, 210, -1980) mg; swapped X and Y, Z turned over.
    EXPECT_EQ(iio.read(), (Reading{-210, 110, -1980}));

    folder.write("iio:device2/in_accel_x_raw", "garbage\n");
    folder.write("iio:device2/in_accel_y_raw", "90000\n");
    EXPECT_EQ(iio.read(), (Reading{-32768, 110, -1980}));  // X kept its last value
}

TEST_F(IioTest, AVanishedDeviceReadsRestAndIsFoundAgain) {
    device("iio:device0", 300, 0, 1000);
    int64_t now = 0;
    IioSource iio(folder.path().string(), [&now] { return now; });
    EXPECT_EQ(iio.read(), (Reading{-300, 0, -1000}));

    std::filesystem::remove_all(folder.path() / "iio:device0");
    EXPECT_EQ(iio.read(), (Reading{0, 0, -1000}));  // not the last reading, frozen
    EXPECT_FALSE(iio.has_device());

    device("iio:device1", 0, 500, 1000);
    now += 999;
    EXPECT_EQ(iio.read(), (Reading{0, 0, -1000}));
    now += 1;
    EXPECT_EQ(iio.read(), (Reading{0, 500, -1000}));
}

// The shell's rotation service streams the sensor through its buffer, and the driver
// refuses raw reads meanwhile.
TEST_F(IioTest, ABusyAccelerometerReadsRestIsSaidOnceAndIsTriedEverySecond) {
    device("iio:device0", 300, 0, 1000);
    folder.write("iio:device0/buffer/enable", "1\n");
    int64_t now = 0;
    bool refuse = true;
    int reads = 0;
    std::vector<std::string> said;
    IioSource iio(
        folder.path().string(), [&now] { return now; },
        [&](int fd, char* buffer, unsigned long size) -> long {
            ++reads;
            if (refuse) {
                errno = EBUSY;
                return -1;
            }
            return pread(fd, buffer, size, 0);
        },
        [&](const std::string& line) { said.push_back(line); });
    for (int i = 0; i < 60; ++i, now += 50) {  // three seconds of 50 ms polls
        ASSERT_EQ(iio.read(), (Reading{0, 0, -1000})) << "at " << now;
    }
    EXPECT_TRUE(iio.busy());
    EXPECT_TRUE(iio.has_device()) << "a busy device is not a lost one";
    EXPECT_EQ(reads, 3) << "once at first, then once a second";
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("iio:device0 is busy"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("streams it through its buffer"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("Lock the screen rotation"), std::string::npos) << said[0];

    refuse = false;  // the user locked the rotation
    now += 1000;
    EXPECT_EQ(iio.read(), (Reading{-300, 0, -1000}));
    EXPECT_FALSE(iio.busy());
    refuse = true;  // and unlocked it again: nothing more is said
    now += 50;
    EXPECT_EQ(iio.read(), (Reading{0, 0, -1000}));
    EXPECT_EQ(said.size(), 1u);
}

TEST_F(IioTest, WithoutAnAccelerometerEveryReadingIsZero) {
    folder.write("iio:device0/in_accel_x_raw", "5\n");  // Y and Z missing
    IioSource iio(folder.path().string());
    EXPECT_FALSE(iio.has_device());
    EXPECT_EQ(iio.read(), (Reading{0, 0, 0}));
    IioSource none(folder.file("absent"));
    EXPECT_EQ(none.read(), (Reading{0, 0, 0}));
}

TEST(SourceConfigTest, UnusableSettingsOpenNothing) {
    TempFolder folder;
    std::string trace = "replay:" + folder.write("t.txt", "1 2 3\n");
    EXPECT_TRUE(make_source(trace, ""));
    EXPECT_TRUE(make_source(trace, "reads:3"));
    EXPECT_FALSE(make_source(trace, "reads:0"));
    EXPECT_FALSE(make_source("replay:" + folder.file("missing"), ""));
    EXPECT_FALSE(make_source("fifo:", ""));
    EXPECT_FALSE(make_source("bluetooth", ""));
    EXPECT_TRUE(make_source("fifo:" + folder.file("p"), ""));
}

}  // namespace
}  // namespace tiltophon::sensor
