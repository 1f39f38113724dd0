// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Recording.h"
#include "motion/MotionMessage.h"
#include "motion/TempFolder.h"
#include "screens/ScreensTestKit.h"
#include "settings/Settings.h"
#include "sound/SoundSlots.h"
#include "sound/TakeCutter.h"
#include "support/FileSizeLimit.h"
#include "support/ReadFile.h"
#include "vavurud/Button.h"
#include "vavurud/ButtonEx.h"
#include "vavurud/CheckButton.h"
#include "vavurud/SelectList.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;
using testing::ProgramTest;

constexpr int kRate = SoundRecorder::kRate;

// `ms` of a 440 Hz tone of the given amplitude on a constant offset.
std::vector<float> tone(int ms, float amplitude, float offset = 0) {
    std::vector<float> samples(static_cast<std::size_t>(kRate * ms / 1000));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = offset + amplitude * static_cast<float>(std::sin(2 * M_PI * 440 * i / kRate));
    }
    return samples;
}

std::vector<float> silence(int ms, float offset = 0) {
    return std::vector<float>(static_cast<std::size_t>(kRate * ms / 1000), offset);
}

struct Decoded {
    SF_INFO info{};
    std::vector<float> samples;
};

Decoded decode(const fs::path& path) {
    Decoded out;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &out.info);
    if (!file) return out;
    out.samples.resize(static_cast<std::size_t>(out.info.frames * out.info.channels));
    sf_readf_float(file, out.samples.data(), out.info.frames);
    sf_close(file);
    return out;
}

float peak_of(const std::vector<float>& samples) {
    float peak = 0;
    for (float sample : samples) peak = std::max(peak, std::abs(sample));
    return peak;
}

// The whole program with a user library of its own, on the pick screen of slot 1.
class RecordingTest : public ProgramTest {
public:
    RecordingTest() { program.files.set_data_home(utf16_from_utf8(data.path().string())); }

    void open_pick_screen() {
        program.store_full_board();
        start();
        tap(s.sounds_tab);
        program.settle();
        tap(s.sound_rows[1]);
        program.settle();
        ASSERT_TRUE(s.pick_page->is_visible());
    }
    fs::path my_sounds() const { return data.path() / "tiltophon" / "Sounds" / "My Sounds"; }
    HeadlessSoundRecorder& microphone() { return program.headless.recorder; }
    std::u16string caption() const { return std::u16string(s.record_button->text()); }
    void hear(const std::vector<float>& samples) { microphone().hear(samples); }
    void record(const std::vector<float>& take, uint32_t ms = 1000) {
        tap(s.record_button);
        hear(take);
        program.advance(ms);
        tap(s.record_button);
        program.headless.windows.pump();
    }
    std::u16string selected_row() const {
        ListItem item;
        if (!s.sound_list->get_item(s.sound_list->get_selected(), item)) return {};
        return item.text.str() + u"/" + item.subtext.str();
    }
    std::u16string last_sound_played() const {
        auto sounds = program.headless.devices.sounds();
        return sounds.empty() ? std::u16string() : sounds.back().path;
    }
    void swing() {
        program.window()->post_message(kMotionMessage, static_cast<WParam>(MotionCode::kYNegative), 0);
        program.headless.windows.pump();
    }

    TempFolder data;
};

// The tone between quiet ends, on an offset, comes back as a file of the tone alone,
// at the same level every time, selected in the list; a second take never replaces
// the first; OK puts it in the slot and a swing plays it.
TEST_F(RecordingTest, ATakeIsCutSavedSelectedAndPlayedBySwings) {
    open_pick_screen();
    EXPECT_EQ(caption(), u"RECORD");

    tap(s.record_button);
    EXPECT_TRUE(microphone().is_recording());
    hear(silence(300, 0.05f));
    hear(tone(500, 0.25f, 0.05f));
    hear(silence(300, 0.05f));
    program.advance(1250);
    EXPECT_EQ(caption(), u"0:01");
    // A swing during the take plays as usual.
    const std::size_t played = program.headless.devices.sounds().size();
    swing();
    EXPECT_EQ(program.headless.devices.sounds().size(), played + 1);
    tap(s.record_button);
    program.headless.windows.pump();

    EXPECT_FALSE(microphone().is_recording());
    EXPECT_EQ(caption(), u"RECORD");
    ASSERT_EQ(names_in(my_sounds()), std::vector<std::string>{"Recording 1.flac"});
    Decoded first = decode(my_sounds() / "Recording 1.flac");
    EXPECT_EQ(first.info.samplerate, kRate);
    EXPECT_EQ(first.info.channels, 1);
    EXPECT_NEAR(static_cast<double>(first.samples.size()), kRate * 0.5, kRate * 0.002);
    EXPECT_NEAR(peak_of(first.samples), TakeCutter::kPeak, 0.002);
    EXPECT_NEAR(first.samples.front(), 0.0f, 1e-3);
    EXPECT_NEAR(first.samples.back(), 0.0f, 1e-3);
    EXPECT_EQ(selected_row(), u"My Sounds/Recording 1.flac");

    const std::string first_bytes = read_file((my_sounds() / "Recording 1.flac").string());
    record(tone(200, 0.9f));
    EXPECT_EQ(names_in(my_sounds()),
              (std::vector<std::string>{"Recording 1.flac", "Recording 2.flac"}));
    EXPECT_EQ(read_file((my_sounds() / "Recording 1.flac").string()), first_bytes);
    EXPECT_EQ(selected_row(), u"My Sounds/Recording 2.flac");

    tap(s.ok_button);
    program.settle();
    const std::u16string path = utf16_from_utf8((my_sounds() / "Recording 2.flac").string());
    EXPECT_EQ(s.sound_slots->Entry(1)->FilePath.str(), path);
    swing();
    EXPECT_EQ(last_sound_played(), path);
}

TEST_F(RecordingTest, ATakeEndsByItselfAfterTenSeconds) {
    open_pick_screen();
    tap(s.record_button);
    hear(tone(12000, 0.5f));
    program.advance(kLongestTakeMs - 200);
    EXPECT_TRUE(microphone().is_recording());
    EXPECT_EQ(caption(), u"0:09");
    program.advance(400);
    program.headless.windows.pump();
    EXPECT_FALSE(microphone().is_recording());
    EXPECT_EQ(caption(), u"RECORD");
    Decoded saved = decode(my_sounds() / "Recording 1.flac");
    // The tone starts at a zero crossing, which the cut leaves out.
    EXPECT_NEAR(static_cast<double>(saved.samples.size()), kRate * SoundRecorder::kMaxSeconds, 2);
}

// Whatever goes wrong, nothing (and nothing half-written) is saved, the button is
// back at rest, the list is as it was, and a problem of the setup is said in one line.
TEST_F(RecordingTest, TakesThatCannotBeSavedLeaveNothing) {
    struct Case {
        const char* what;
        std::function<void(RecordingTest&)> before;  // before the take
        std::vector<float> take;
        std::function<void(RecordingTest&)> during;  // while it runs
        int stderr_lines;
    };
    const auto nothing = [](RecordingTest&) {};
    const std::vector<Case> cases = {
        {"only silence", nothing, silence(2000), nothing, 0},
        {"pure offset", nothing, silence(2000, 0.4f), nothing, 0},
        {"a click shorter than 50 ms", nothing, tone(30, 0.5f), nothing, 0},
        {"no microphone", [](RecordingTest& t) { t.microphone().set_present(false); },
         tone(500, 0.5f), nothing, 1},
        {"a microphone that fails", nothing, tone(500, 0.5f),
         [](RecordingTest& t) { t.microphone().fail(); }, 1},
        {"My Sounds is a file",
         [](RecordingTest& t) { t.data.write("tiltophon/Sounds/My Sounds", "not a folder"); },
         tone(500, 0.5f), nothing, 1},
    };
    open_pick_screen();
    const int32_t rows = s.sound_list->item_count();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before(*this);
        ::testing::internal::CaptureStderr();
        tap(s.record_button);
        hear(c.take);
        program.advance(300);
        c.during(*this);
        program.advance(300);
        // A take that failed has ended already, and a tap would start another.
        if (microphone().is_recording()) tap(s.record_button);
        program.headless.windows.pump();
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.stderr_lines) << said;
        EXPECT_FALSE(microphone().is_recording());
        EXPECT_EQ(caption(), u"RECORD");
        EXPECT_EQ(s.sound_list->item_count(), rows);
        if (fs::is_directory(my_sounds())) {
            EXPECT_TRUE(names_in(my_sounds()).empty());
        }
        microphone().set_present(true);
    }
}

TEST_F(RecordingTest, AFullDiskLeavesNoFileBehind) {
    open_pick_screen();
    fs::create_directories(my_sounds());
    {
        FileSizeLimit full_disk(4 * 1024);
        ASSERT_TRUE(full_disk.ok());
        ::testing::internal::CaptureStderr();
        record(tone(800, 0.5f));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    EXPECT_TRUE(names_in(my_sounds()).empty());
    EXPECT_EQ(caption(), u"RECORD");
}

}  // namespace
}  // namespace tiltophon
