// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "program/CommandLine.h"

namespace tiltophon {
namespace {

using Action = CommandLine::Action;

CommandLine parse(std::initializer_list<const char*> arguments) {
    std::vector<std::string> words{"tiltophon"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    return parse_command_line(static_cast<int>(words.size()), argv.data());
}

TEST(CommandLineTest, NoArgumentsRunAndTheQuestionsAreAnsweredInEitherSpelling) {
    EXPECT_EQ(parse({}).action, Action::kRun);
    EXPECT_EQ(parse({"--help"}).action, Action::kHelp);
    EXPECT_EQ(parse({"-h"}).action, Action::kHelp);
    EXPECT_EQ(parse({"--version"}).action, Action::kVersion);
    EXPECT_EQ(parse({"-V"}).action, Action::kVersion);
    EXPECT_EQ(parse({"--vers"}).action, Action::kVersion) << "an unambiguous abbreviation";
    EXPECT_EQ(parse({"-Vh"}).action, Action::kHelp) << "help wins over version";
}

TEST(CommandLineTest, FullScreenOrWindowRunsTheProgramAndTheLastOneWins) {
    EXPECT_EQ(parse({}).screen_mode, ScreenMode::kAuto);
    struct Case {
        std::initializer_list<const char*> arguments;
        ScreenMode mode;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{"--fullscreen"}, ScreenMode::kFullScreen},
             {{"-f"}, ScreenMode::kFullScreen},
             {{"--window"}, ScreenMode::kWindow},
             {{"-w"}, ScreenMode::kWindow},
             {{"--window", "--fullscreen"}, ScreenMode::kFullScreen},
             {{"-fw"}, ScreenMode::kWindow},
         }) {
        CommandLine line = parse(c.arguments);
        EXPECT_EQ(line.action, Action::kRun) << *c.arguments.begin();
        EXPECT_EQ(line.screen_mode, c.mode) << *c.arguments.begin();
    }
}

TEST(CommandLineTest, AMisuseNamesWhatWasTypedAndWinsOverTheQuestions) {
    struct Case {
        std::initializer_list<const char*> arguments;
        std::string problem;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{"--frobnicate"}, "unknown option '--frobnicate'"},
             {{"-x"}, "unknown option '-x'"},
             {{"-hx"}, "unknown option '-x'"},
             {{"--help=yes"}, "option '--help' takes no value"},
             {{"--version", "--nope", "--other"}, "unknown option '--nope'"},
             {{"--help", "-xh"}, "unknown option '-x'"},
             {{"--help", "song.wav", "--version"}, "unexpected argument 'song.wav'"},
             {{"song.wav"}, "unexpected argument 'song.wav'"},
             {{"--help", "--", "-h"}, "unexpected argument '-h'"},
         }) {
        CommandLine line = parse(c.arguments);
        EXPECT_EQ(line.action, Action::kMisuse) << c.problem;
        EXPECT_EQ(line.problem, c.problem);
    }
    // The scan starts afresh each time, so a parse after a misuse is not confused by it.
    EXPECT_EQ(parse({"-V"}).action, Action::kVersion);
}

}  // namespace
}  // namespace tiltophon
