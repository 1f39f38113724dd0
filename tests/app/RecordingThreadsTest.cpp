// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Recording.h"
#include "motion/MotionMessage.h"
#include "motion/TempFolder.h"
#include "screens/ScreensTestKit.h"
#include "support/FileSizeLimit.h"
#include "support/ReadFile.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
constexpr int kRate = SoundRecorder::kRate;

// `ms` of a 440 Hz tone of the given amplitude on a constant offset.
std::vector<float> tone(int ms, float amplitude, float offset = 0) {
    std::vector<float> samples(static_cast<std::size_t>(kRate * ms / 1000), offset);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] += amplitude * static_cast<float>(std::sin(2 * M_PI * 440 * i / kRate));
    }
    return samples;
}

// Frames of a mono FLAC at the take's rate, or -1.
double frames_in(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file) sf_close(file);
    return file && info.channels == 1 && info.samplerate == kRate ? double(info.frames) : -1;
}

// The whole program with a user library of its own, on the pick screen of slot 1.
class RecordingThreadsTest : public testing::ProgramTest {
public:
    RecordingThreadsTest() { program.files.set_data_home(utf16_from_utf8(data.path().string())); }

    void open_pick_screen() {
        program.store_full_board();
        start();
        tap(s.sounds_tab);
        program.settle();
        tap(s.sound_rows[1]);
        program.settle();
    }
    fs::path my_sounds() const { return data.path() / "tiltophon/Sounds/My Sounds"; }
    HeadlessSoundRecorder& microphone() { return program.headless.recorder; }
    std::u16string caption() const { return std::u16string(s.record_button->text()); }
    std::u16string selected_row() const {
        ListItem item;
        s.sound_list->get_item(s.sound_list->get_selected(), item);
        return item.text.str() + u"/" + item.subtext.str();
    }
    std::size_t swing() {
        program.window()->post_message(kMotionMessage, WParam(MotionCode::kYNegative), 0);
        program.headless.windows.pump();
        return program.headless.devices.sounds().size();
    }

    TempFolder data;
    std::optional<FileSizeLimit> full_disk;
};

// A tone between quiet ends comes back cut to the tone, selected in the list; a swing
// during the take plays as usual; a second take, ended by the 10 s limit, never
// replaces the first. (Cutting itself, and OK and a swing after a take, are checked
// by TakeCutterTest and the sound-server end-to-end test.)
TEST_F(RecordingThreadsTest, TakesAreCutSavedAndSelectedAndSwingsPlayDuringThem) {
    open_pick_screen();
    tap(s.record_button);
    microphone().hear(tone(300, 0, 0.05f));
    microphone().hear(tone(500, 0.25f, 0.05f));
    microphone().hear(tone(300, 0, 0.05f));
    program.advance(1250);
    EXPECT_EQ(caption(), u"0:01");
    const std::size_t played = program.headless.devices.sounds().size();
    EXPECT_EQ(swing(), played + 1);
    tap(s.record_button);
    program.headless.windows.pump();

    EXPECT_EQ(caption(), u"RECORD");
    ASSERT_EQ(names_in(my_sounds()), std::vector<std::string>{"Recording 1.flac"});
    EXPECT_NEAR(frames_in(my_sounds() / "Recording 1.flac"), kRate * 0.5, 2);
    EXPECT_EQ(selected_row(), u"My Sounds/Recording 1.flac");

    const std::string first_bytes = read_file((my_sounds() / "Recording 1.flac").string());
    tap(s.record_button);
    microphone().hear(tone(12000, 0.9f));
    program.advance(kLongestTakeMs + 200);
    EXPECT_FALSE(microphone().is_recording());
    EXPECT_EQ(read_file((my_sounds() / "Recording 1.flac").string()), first_bytes);
    EXPECT_NEAR(frames_in(my_sounds() / "Recording 2.flac"), kRate * SoundRecorder::kMaxSeconds, 2);
    EXPECT_EQ(selected_row(), u"My Sounds/Recording 2.flac");
}

// Whatever goes wrong, nothing (not even half-written) is saved, the button is at rest,
// the list is as it was, and a problem of the setup is said in one line.
TEST_F(RecordingThreadsTest, TakesThatCannotBeSavedLeaveNothing) {
    struct Case {
        const char* what;
        std::vector<float> take;
        std::function<void(RecordingThreadsTest&)> before, during;
        int stderr_lines;
    };
    const auto nothing = [](RecordingThreadsTest&) {};
    const std::vector<Case> cases = {
        {"only silence", tone(2000, 0), nothing, nothing, 0},
        {"pure offset", tone(2000, 0, 0.4f), nothing, nothing, 0},
        {"a click shorter than 50 ms", tone(30, 0.5f), nothing, nothing, 0},
        {"no microphone", tone(500, 0.5f), [](RecordingThreadsTest& t) { t.microphone().set_present(false); },
         nothing, 1},
        {"a microphone that fails", tone(500, 0.5f), nothing,
         [](RecordingThreadsTest& t) { t.microphone().fail(); }, 1},
        {"a full disk", tone(800, 0.5f), [](RecordingThreadsTest& t) { t.full_disk.emplace(4096); },
         nothing, 1},
        {"My Sounds is a file", tone(500, 0.5f),
         [](RecordingThreadsTest& t) {
             fs::remove_all(t.my_sounds());
             t.data.write("tiltophon/Sounds/My Sounds", "not a folder");
         },
         nothing, 1},
    };
    open_pick_screen();
    const int32_t rows = s.sound_list->item_count();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before(*this);
        ::testing::internal::CaptureStderr();
        tap(s.record_button);
        microphone().hear(c.take);
        program.advance(300);
        c.during(*this);
        program.advance(300);
        if (microphone().is_recording()) tap(s.record_button);
        program.headless.windows.pump();
        full_disk.reset();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.stderr_lines) << said;
        EXPECT_EQ(caption(), u"RECORD");
        EXPECT_EQ(s.sound_list->item_count(), rows);
        EXPECT_TRUE(!fs::is_directory(my_sounds()) || names_in(my_sounds()).empty());
        microphone().set_present(true);
    }
}

}  // namespace
}  // namespace tiltophon
