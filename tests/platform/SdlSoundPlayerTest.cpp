// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "motion/TempFolder.h"
#include "platform/SoundFiles.h"
#include "platform/Text.h"
#include "platform/media/WaveFile.h"
#include "platform/sdl/SdlSoundPlayer.h"
#include "platform/sdl/SoundHandOver.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> repeat(std::vector<uint8_t> frame, std::size_t count) {
    std::vector<uint8_t> data;
    for (std::size_t i = 0; i < count; ++i) data.insert(data.end(), frame.begin(), frame.end());
    return data;
}

std::vector<uint8_t> s16(int16_t value, std::size_t frames, int channels = 1) {
    uint8_t lo = uint8_t(value & 0xFF), hi = uint8_t((value >> 8) & 0xFF);
    std::vector<uint8_t> frame;
    for (int c = 0; c < channels; ++c) frame.insert(frame.end(), {lo, hi});
    return repeat(frame, frames);
}

std::vector<uint8_t> constant_wave(int16_t value, std::size_t frames, uint32_t rate = 44100) {
    WaveFormat format;
    format.rate = rate;
    return encode_wave(format, s16(value, frames));
}

// The player converting to 16-bit mono at 44.1 kHz, with the output pulled by the test.
class SdlSoundPlayerThreads : public ::testing::Test {
protected:
    SdlSoundPlayerThreads() : folder(temp.path()) {
        SDL_AudioSpec spec{};
        spec.freq = 44100;
        spec.format = AUDIO_S16SYS;
        spec.channels = 1;
        spec.samples = 256;
        player = std::make_unique<SdlSoundPlayer>(spec);
    }

    std::u16string file(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::string error;
        EXPECT_TRUE(write_file((folder / name).string(), bytes, error)) << error;
        return utf16_from_utf8((folder / name).string());
    }

    void play(const std::u16string& path) {
        player->play_file(path);
        player->wait_until_idle();
    }

    void prepare(std::vector<std::u16string> paths) {
        player->prepare(paths);
        player->wait_until_idle();
    }

    std::vector<int16_t> render(std::size_t frames) {
        std::vector<int16_t> out(frames);
        player->render(reinterpret_cast<uint8_t*>(out.data()), int(frames * 2));
        return out;
    }

    TempFolder temp;
    fs::path folder;
    std::unique_ptr<SdlSoundPlayer> player;
};

TEST_F(SdlSoundPlayerThreads, PlaysEveryCommonWaveEncoding) {
    struct Case {
        const char* name;
        WaveFormat format;
        std::vector<uint8_t> frame;
        int expected;
        int tolerance;
    };
    WaveFormat u8{1, 1, 44100, 8}, pcm24{1, 1, 44100, 24}, pcm32{1, 1, 44100, 32};
    WaveFormat float32{3, 1, 44100, 32}, alaw{6, 1, 8000, 8}, mulaw{7, 1, 8000, 8};
    WaveFormat ext24 = pcm24, stereo{1, 2, 44100, 16};
    ext24.extensible = true;
    float half = 0.5f;
    std::vector<uint8_t> float_frame(4);
    std::memcpy(float_frame.data(), &half, 4);
    const Case cases[] = {
        {"u8", u8, {0xC0}, 16384, 300},
        {"s24", pcm24, {0x00, 0x00, 0x40}, 16384, 2},
        {"s24-extensible", ext24, {0x00, 0x00, 0x40}, 16384, 2},
        {"s32", pcm32, {0x00, 0x00, 0x00, 0x40}, 16384, 2},
        {"f32", float32, float_frame, 16384, 2},
        {"a-law", alaw, {0xAA}, 32256, 300},
        {"mu-law", mulaw, {0x80}, 32124, 300},
        {"stereo", stereo, {0x10, 0x27, 0x10, 0x27}, 10000, 2},
    };
    for (const Case& c : cases) {
        play(file(std::string(c.name) + ".wav", encode_wave(c.format, repeat(c.frame, 8000))));
        std::vector<int16_t> out = render(4000);
        EXPECT_NEAR(out[2000], c.expected, c.tolerance) << c.name;
    }
}

TEST_F(SdlSoundPlayerThreads, DecodesImaAdpcm) {
    // One block: predictor 8000, step index 0, all nibbles zero, so the level holds.
    std::vector<uint8_t> block = {0x40, 0x1F, 0x00, 0x00};
    block.resize(256, 0);
    WaveFormat ima{0x11, 1, 8000, 4, 256};
    std::vector<uint8_t> bytes = encode_wave(ima, repeat(block, 4));
    // The format chunk of IMA ADPCM goes on with the samples per block (505).
    const uint8_t extension[] = {2, 0, 0xF9, 0x01};
    bytes.insert(bytes.begin() + 36, extension, extension + 4);
    bytes[16] += 4;
    uint32_t riff = uint32_t(bytes.size() - 8);
    std::memcpy(bytes.data() + 4, &riff, 4);
    play(file("ima.wav", bytes));
    std::vector<int16_t> out = render(2000);
    EXPECT_NEAR(out[1000], 8000, 40);
}

TEST_F(SdlSoundPlayerThreads, ConvertsLongSoundsWholeAcrossRates) {
    // Two seconds at 22.05 kHz: converted in many parts, doubled in length.
    play(file("long.wav", constant_wave(3000, 44100, 22050)));
    std::vector<int16_t> out = render(100000);
    int level = 0;
    for (int16_t v : out) level += std::abs(v - 3000) <= 8;
    EXPECT_NEAR(level, 88200, 16);  // only the edges ring
    EXPECT_EQ(out.back(), 0);
    EXPECT_EQ(player->sounds_begun(), 1u);
}

TEST_F(SdlSoundPlayerThreads, ANewSoundCutsTheCurrentOneShortAndSilenceFollowsTheEnd) {
    play(file("first.wav", constant_wave(1000, 44100)));
    EXPECT_EQ(render(4410).back(), 1000);
    play(file("second.wav", constant_wave(-2000, 100)));
    std::vector<int16_t> out = render(300);
    EXPECT_EQ(out[0], -2000);
    EXPECT_EQ(out[99], -2000);
    EXPECT_EQ(out[100], 0);
    EXPECT_EQ(render(10)[0], 0);
    EXPECT_EQ(player->sounds_begun(), 2u);
}

TEST_F(SdlSoundPlayerThreads, UnplayableFilesPlayNothingAndLeaveTheCurrentSoundAlone) {
    auto header_only = encode_wave(WaveFormat{}, {});
    auto truncated = constant_wave(5, 1000);
    truncated.resize(truncated.size() - 500);
    auto absurd = constant_wave(5, 100);
    std::memcpy(absurd.data() + 40, "\xF0\xFF\xFF\xFF", 4);
    auto data_first = constant_wave(5, 100);
    std::rotate(data_first.begin() + 12, data_first.begin() + 36, data_first.end());
    auto no_channels = constant_wave(5, 100);
    no_channels[22] = 0;
    auto many_channels = constant_wave(5, 100);
    many_channels[22] = 44;
    many_channels[23] = 1;
    auto no_rate = constant_wave(5, 100);
    std::memset(no_rate.data() + 24, 0, 4);
    // Sixteen bytes of sound at one frame per second.
    auto crawling = encode_wave(WaveFormat{1, 2, 1, 8}, std::vector<uint8_t>(16, 0x90));
    auto unknown_codec = constant_wave(5, 100);
    unknown_codec[20] = 0x34;
    unknown_codec[21] = 0x12;
    auto short_format = constant_wave(5, 100);
    short_format[16] = 8;

    std::vector<std::u16string> bad = {
        utf16_from_utf8((folder / "missing.wav").string()),
        file("empty.wav", {}),
        file("text.wav", std::vector<uint8_t>(100, 'x')),
        file("png.wav", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0, 0, 0}),
        file("header-only.wav", header_only),
        file("truncated.wav", truncated),
        file("absurd.wav", absurd),
        file("data-first.wav", data_first),
        file("no-channels.wav", no_channels),
        file("many-channels.wav", many_channels),
        file("no-rate.wav", no_rate),
        file("crawling.wav", crawling),
        file("unknown-codec.wav", unknown_codec),
        file("short-format.wav", short_format),
        utf16_from_utf8(folder.string()),
        u"",
    };
    fs::create_directory(folder / "folder.wav");
    bad.push_back(utf16_from_utf8((folder / "folder.wav").string()));
    ASSERT_EQ(::mkfifo((folder / "pipe.wav").c_str(), 0600), 0);
    bad.push_back(utf16_from_utf8((folder / "pipe.wav").string()));
    // A well-formed header in front of far more data than any sound of ours.
    auto huge = constant_wave(5, 100);
    file("huge.wav", huge);
    fs::resize_file(folder / "huge.wav", std::uintmax_t{65} << 20);
    bad.push_back(utf16_from_utf8((folder / "huge.wav").string()));

    // Files of the other formats that are empty, cut short or something else entirely.
    bad.push_back(file("empty.mp3", {}));
    bad.push_back(file("text.flac", std::vector<uint8_t>(300, 't')));
    bad.push_back(file("wave-inside.ogg", std::vector<uint8_t>(truncated)));
    std::string ogg = (folder / "cut.ogg").string();
    ASSERT_TRUE(write_tone(ogg, every_format()[6], 0.5));
    fs::resize_file(ogg, fs::file_size(ogg) * 2 / 3);
    bad.push_back(utf16_from_utf8(ogg));
    // Names no file of this system can have: one longer than any path the program
    // keeps, and one with a lone surrogate, which has no UTF-8 form.
    bad.push_back(utf16_from_utf8(folder.string()) + u"/" + std::u16string(300, u'a') + u".wav");
    bad.push_back(utf16_from_utf8(folder.string()) + u"/" + char16_t(0xD800) + u".wav");

    play(file("good.wav", constant_wave(1000, 44100)));
    EXPECT_EQ(render(10)[0], 1000);
    for (const std::u16string& path : bad) {
        play(path);
        EXPECT_EQ(render(10)[0], 1000) << utf8_from_utf16(path);
    }
    EXPECT_EQ(player->sounds_begun(), 1u);

    // A name that is not UTF-8 comes back to the same bytes, so its sound plays.
    std::string latin1 = (folder / "caf\xE9.wav").string();
    std::string error;
    ASSERT_TRUE(write_file(latin1, constant_wave(5, 100), error)) << error;
    play(utf16_from_utf8(latin1));
    EXPECT_EQ(render(10)[0], 5);
}

TEST_F(SdlSoundPlayerThreads, TheNewestRequestWins) {
    auto first = file("a.wav", constant_wave(100, 1000));
    auto second = file("b.wav", constant_wave(200, 1000));
    auto third = file("c.wav", constant_wave(300, 1000));
    for (int i = 0; i < 20; ++i) {
        player->play_file(first);
        player->play_file(second);
    }
    player->play_file(third);
    player->wait_until_idle();
    EXPECT_EQ(render(10)[0], 300);
}

TEST_F(SdlSoundPlayerThreads, OutputKeepsFlowingWhileRequestsArrive) {
    std::vector<std::u16string> paths;
    for (int i = 0; i < 8; ++i) {
        paths.push_back(
            file("s" + std::to_string(i) + ".wav", constant_wave(int16_t(100 * (i + 1)), 30000)));
    }
    std::atomic<bool> done{false};
    int16_t last_heard = 0;
    std::thread device([&] {
        std::vector<int16_t> buffer(256);
        while (!done.load()) {
            player->render(reinterpret_cast<uint8_t*>(buffer.data()), int(buffer.size() * 2));
            if (buffer.back() != 0) last_heard = buffer.back();
        }
    });
    for (int round = 0; round < 5; ++round) {
        for (auto& path : paths) player->play_file(path);
    }
    player->wait_until_idle();
    done = true;
    device.join();
    // The last sound asked for is the one playing, or the last one heard if the
    // device has played it to the end already.
    int16_t now = render(1)[0];
    EXPECT_EQ(now != 0 ? now : last_heard, 800);
}

TEST_F(SdlSoundPlayerThreads, PreparedSoundsPlayReadyAndOthersStillPlay) {
    auto a = file("a.wav", constant_wave(100, 1000));
    auto b = file("b.flac", {});
    ASSERT_TRUE(write_tone(utf8_from_utf16(b), every_format()[4], 0.2));
    auto c = file("c.wav", constant_wave(300, 1000));
    prepare({a, b});
    EXPECT_TRUE(player->is_ready(a));
    EXPECT_TRUE(player->is_ready(b));
    EXPECT_FALSE(player->is_ready(c));

    player->play_file(a);  // no waiting: a ready sound is handed over at once
    EXPECT_EQ(player->sounds_played_ready(), 1u);
    EXPECT_EQ(render(10)[5], 100);
    play(c);  // not prepared: decoded on request
    EXPECT_EQ(player->sounds_played_ready(), 1u);
    EXPECT_EQ(render(10)[5], 300);
    player->play_file(b);
    EXPECT_EQ(player->sounds_played_ready(), 2u);
    std::vector<int16_t> tone = render(8820);
    EXPECT_NEAR(*std::max_element(tone.begin(), tone.end()), 16384, 400);
    EXPECT_EQ(player->sounds_begun(), 3u);
}

// A slot changed a moment ago: its new sound plays at once all the same.
TEST_F(SdlSoundPlayerThreads, ASoundNotReadyYetPlaysTheSlowWayAndIsKeptReady) {
    auto slow = file("slow.wav", constant_wave(700, 88200, 22050));
    std::vector<std::u16string> wanted = {slow};
    player->prepare(wanted);
    player->play_file(slow);
    player->wait_until_idle();
    EXPECT_NEAR(render(4000)[2000], 700, 2);
    EXPECT_TRUE(player->is_ready(slow));
    player->play_file(slow);
    EXPECT_NEAR(render(4000)[2000], 700, 2);
    EXPECT_GE(player->sounds_played_ready(), 1u);
}

TEST_F(SdlSoundPlayerThreads, ASlotChangedWhileItsSoundPlaysLetsTheSoundFinish) {
    auto a = file("a.wav", constant_wave(100, 4410));
    auto b = file("b.wav", constant_wave(200, 4410));
    prepare({a});
    player->play_file(a);
    EXPECT_EQ(render(1000)[999], 100);
    prepare({b});
    EXPECT_FALSE(player->is_ready(a)) << "a sound no slot holds is forgotten";
    EXPECT_TRUE(player->is_ready(b));
    std::vector<int16_t> rest = render(4000);
    EXPECT_EQ(rest[3409], 100) << "the playing sound goes on to its end";
    EXPECT_EQ(rest[3410], 0);
    player->play_file(b);
    EXPECT_EQ(render(10)[5], 200);
}

TEST_F(SdlSoundPlayerThreads, ADeviceFormatChangeDecodesTheReadySoundsAgain) {
    auto a = file("a.wav", constant_wave(8192, 4410));
    prepare({a});
    player->play_file(a);
    EXPECT_EQ(render(10)[5], 8192);

    SDL_AudioSpec stereo_float{};
    stereo_float.freq = 48000;
    stereo_float.format = AUDIO_F32SYS;
    stereo_float.channels = 2;
    stereo_float.samples = 256;
    player->set_device_format(stereo_float);
    std::vector<float> out(512);
    player->render(reinterpret_cast<uint8_t*>(out.data()), int(out.size() * 4));
    EXPECT_EQ(out[100], 0.0f) << "a sound in the old format must not go on";
    player->wait_until_idle();
    EXPECT_TRUE(player->is_ready(a));
    uint64_t ready_before = player->sounds_played_ready();
    player->play_file(a);
    EXPECT_EQ(player->sounds_played_ready(), ready_before + 1);
    player->render(reinterpret_cast<uint8_t*>(out.data()), int(out.size() * 4));
    EXPECT_NEAR(out[200], 0.25f, 0.001f);
    EXPECT_NEAR(out[201], 0.25f, 0.001f);
}

TEST_F(SdlSoundPlayerThreads, KeepsAtMostSixSoundsReadyAndNoneItCannotPlay) {
    std::vector<std::u16string> wanted;
    for (int i = 0; i < 8; ++i) {
        wanted.push_back(
            file("s" + std::to_string(i) + ".wav", constant_wave(int16_t(i + 1), 100)));
    }
    auto broken = file("broken.flac", std::vector<uint8_t>(100, 'x'));
    wanted.insert(wanted.begin(), broken);
    prepare(wanted);
    int ready = 0;
    for (const auto& path : wanted) ready += player->is_ready(path);
    EXPECT_EQ(ready, 5) << "the first six asked for, one of them unplayable";
    EXPECT_FALSE(player->is_ready(broken));
    player->play_file(broken);
    player->wait_until_idle();
    EXPECT_EQ(player->sounds_begun(), 0u);
    EXPECT_EQ(render(10)[0], 0);
}

// Sounds that are not kept ready are remembered among the recent ones, the least
// recently played going first; those beyond the room are decoded again when played.
TEST_F(SdlSoundPlayerThreads, SoundsBeyondTheReadyBudgetLiveInABoundedRecentCache) {
    // 2000 bytes each in the device's format; the huge one fits nowhere.
    const auto a = file("a.wav", constant_wave(100, 1000)),
               b = file("b.wav", constant_wave(200, 1000)),
               c = file("c.wav", constant_wave(300, 1000)),
               huge = file("huge.wav", constant_wave(400, 5000));
    SoundMemory memory;
    memory.ready_bytes = 1000;  // no slot's sound fits: every one is over the budget
    memory.recent_count = 2;
    memory.recent_bytes = 5000;
    player = std::make_unique<SdlSoundPlayer>(audio_format(44100, AUDIO_S16SYS, 1), memory);

    // A slot's sound over the budget is decoded once, ahead, and kept as a recent one:
    // a hundred swings neither decode it again nor leave anything behind.
    prepare({a});
    EXPECT_FALSE(player->is_ready(a));
    EXPECT_TRUE(player->is_recent(a));
    for (int swing = 0; swing < 100; ++swing) {
        play(a);
        ASSERT_EQ(render(10)[5], 100) << "swing " << swing;
    }
    EXPECT_EQ(player->sounds_decoded(), 1u);
    EXPECT_EQ(player->sounds_played_ready(), 100u);

    struct Step {
        std::u16string played;
        int16_t level;
        uint64_t decoded;  // files decoded so far
        std::vector<std::u16string> recent;
    };
    const Step steps[] = {
        {b, 200, 2, {a, b}},    {a, 100, 2, {a, b}},  // a is now the more recent
        {c, 300, 3, {a, c}},                          // b, played least recently, goes
        {b, 200, 4, {b, c}},                          // a, played before c came, goes
        {huge, 400, 5, {b, c}},                       // larger than all the room: played, not kept
        {huge, 400, 6, {b, c}}, {c, 300, 6, {b, c}},
    };
    player->prepare({});
    for (const Step& step : steps) {
        play(step.played);
        const std::string name = utf8_from_utf16(step.played);
        EXPECT_EQ(render(10)[5], step.level) << name;
        EXPECT_EQ(player->sounds_decoded(), step.decoded) << name;
        for (const auto& path : {a, b, c, huge}) {
            const bool expected =
                std::find(step.recent.begin(), step.recent.end(), path) != step.recent.end();
            EXPECT_EQ(player->is_recent(path), expected)
                << "after " << name << ": " << utf8_from_utf16(path);
        }
    }
}

// Many threads hand sounds over while the device's callback plays them: every frame
// is one of the sounds' or silence, nothing is read after it was freed (the address
// sanitizer's builds catch that), and the newest request is what plays at the end.
TEST(SoundHandOverThreads, TheCallbackOnlyEverPlaysLiveSoundsAndTheNewestWins) {
    SoundHandOver output;
    std::atomic<uint64_t> requests{0};
    std::atomic<bool> done{false};
    std::atomic<long> wrong{0};
    std::thread device([&] {
        std::vector<int16_t> buffer(64);
        while (!done.load()) {
            output.render(reinterpret_cast<uint8_t*>(buffer.data()), buffer.size() * 2);
            for (int16_t v : buffer) wrong += v % 100 != 0 || v < 0 || v > 400;
        }
    });
    auto sound_of = [](int16_t level) {
        auto sound = std::make_shared<DecodedSound>();
        sound->bytes = s16(level, 300);
        return sound;
    };
    std::vector<std::thread> producers;
    for (int p = 0; p < 3; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < 3000; ++i) {
                const uint64_t request = requests.fetch_add(1) + 1;
                // Every sound is made afresh, so each one let go of is freed.
                output.hand_over(request,
                                 i % 7 == 0 ? nullptr : sound_of(int16_t(100 * (1 + (i + p) % 4))));
            }
        });
    }
    for (auto& producer : producers) producer.join();
    done = true;
    device.join();
    EXPECT_EQ(wrong.load(), 0);

    ASSERT_TRUE(output.hand_over(requests.fetch_add(1) + 1, sound_of(400)));
    EXPECT_FALSE(output.hand_over(1, sound_of(100))) << "an old request came too late";
    std::vector<int16_t> last(4);
    output.render(reinterpret_cast<uint8_t*>(last.data()), 8);
    EXPECT_EQ(last[0], 400);
}

TEST(SdlSoundPlayerNoDevice, IsSilentWithoutAnAudioDevice) {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    std::string saved = previous ? previous : "";
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        SdlSoundPlayer player;
        EXPECT_EQ(player.device_spec().freq, 0);
        player.play_file(u"/nowhere/Kick.wav");
        player.wait_until_idle();
        EXPECT_EQ(player.sounds_begun(), 0u);
    }
    if (previous) {
        ::setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        ::unsetenv("SDL_AUDIODRIVER");
    }
}

}  // namespace
}  // namespace tiltophon
