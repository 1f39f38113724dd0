// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tiltophon {
namespace {

const std::string kTool = std::string(TILTOPHON_BINARY_DIR) + "/bin/tiltophon-sensor";

struct ToolRun {
    int status = -1;
    std::string output;
};

// Runs `command` through the shell, its standard error joined to its output.
ToolRun run(const std::string& command) {
    ToolRun result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[512];
    while (size_t count = fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, count);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(SensorToolE2ETest, ListsWatchesAndRefusesWhatItDoesNotKnow) {
    ASSERT_TRUE(std::filesystem::exists(kTool)) << kTool;
    ToolRun help = run("'" + kTool + "' --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--watch"), std::string::npos) << help.output;

    // Whatever this machine has, listing works.
    EXPECT_EQ(run("'" + kTool + "'").status, 0);

    // The readings the library hands out, here from a trace.
    std::string trace = (std::filesystem::temp_directory_path() / "tiltophon-sensor-trace.txt");
    std::ofstream(trace) << "10 -20 -1000\n30 40 -990\n";
    ToolRun watch = run("TILTOPHON_SENSOR_PACE=reads:1 TILTOPHON_SENSOR=replay:'" + trace + "' '" +
                        kTool + "' --watch --samples 3");
    std::filesystem::remove(trace);
    EXPECT_EQ(watch.status, 0) << watch.output;
    EXPECT_EQ(watch.output, "    10    -20  -1000\n    30     40   -990\n    10    -20  -1000\n");

    ToolRun unknown = run("TILTOPHON_SENSOR=bluetooth '" + kTool + "' --watch --samples 1");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.output.find("tiltophon-sensor: "), std::string::npos) << unknown.output;
    EXPECT_EQ(run("'" + kTool + "' --frobnicate").status, 1);
    EXPECT_EQ(run("'" + kTool + "' --watch --samples 0").status, 1);
}

}  // namespace
}  // namespace tiltophon
