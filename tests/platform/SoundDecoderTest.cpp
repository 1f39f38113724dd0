// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "motion/TempFolder.h"
#include "platform/SoundFiles.h"
#include "platform/media/WaveFile.h"
#include "platform/sdl/SoundDecoder.h"
#include "support/CiSkip.h"

namespace tiltophon {
namespace {

namespace fs = std::filesystem;

// How the player decoded sounds before it used libsndfile: SDL's own WAV loader, then
// the same converter fed in the same parts, padded and flushed the same way. Kept here
// to show that the shipped sounds still play exactly as they did.
std::vector<uint8_t> decode_with_sdl_wav_loader(const std::vector<uint8_t>& bytes,
                                                const SDL_AudioSpec& out) {
    SDL_AudioSpec format{};
    Uint8* wav = nullptr;
    Uint32 length = 0;
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!source || !SDL_LoadWAV_RW(source, 1, &format, &wav, &length)) return {};
    const std::size_t in_frame = SDL_AUDIO_BITSIZE(format.format) / 8 * format.channels;
    SDL_AudioStream* stream = SDL_NewAudioStream(format.format, format.channels, format.freq,
                                                 out.format, out.channels, out.freq);
    const std::size_t pad_frames = format.freq != out.freq ? 1024 : 0;
    std::vector<uint8_t> result;
    auto drain = [&] {
        int available;
        while ((available = SDL_AudioStreamAvailable(stream)) > 0) {
            std::size_t done = result.size();
            result.resize(done + std::size_t(available));
            int got = SDL_AudioStreamGet(stream, result.data() + done, available);
            result.resize(done + std::size_t(std::max(got, 0)));
            if (got <= 0) break;
        }
    };
    std::size_t consumed = 0;
    for (std::size_t part = 2048; consumed < length; part = 8192) {
        std::size_t take = std::min<std::size_t>(part * in_frame, length - consumed);
        SDL_AudioStreamPut(stream, wav + consumed, int(take));
        consumed += take;
        if (consumed == length) {
            std::vector<Uint8> silence(pad_frames * in_frame, 0);
            if (pad_frames > 0) SDL_AudioStreamPut(stream, silence.data(), int(silence.size()));
            SDL_AudioStreamFlush(stream);
        }
        drain();
    }
    SDL_FreeAudioStream(stream);
    SDL_FreeWAV(wav);
    return result;
}

// Every shipped sound, to every common device format, byte for byte as before.
TEST(SoundDecoder, ShippedSoundsPlayExactlyAsWithSdlsWavLoader) {
    fs::path sounds = fs::path(TILTOPHON_PROGRAM_DIR) / "Sounds";
    if (!fs::is_directory(sounds)) SKIP_OR_FAIL_IN_CI("the shipped sounds are not built");
    const SDL_AudioSpec formats[] = {
        audio_format(44100, AUDIO_S16SYS, 1), audio_format(44100, AUDIO_S16SYS, 2),
        audio_format(48000, AUDIO_F32SYS, 2), audio_format(22050, AUDIO_U8, 1)};
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(sounds)) {
        if (entry.path().extension() != ".wav") continue;
        std::vector<uint8_t> bytes = file_bytes(entry.path().string());
        for (const SDL_AudioSpec& format : formats) {
            std::vector<uint8_t> before = decode_with_sdl_wav_loader(bytes, format);
            auto now = decode_sound(bytes, format);
            ASSERT_FALSE(before.empty()) << entry.path();
            ASSERT_NE(now, nullptr) << entry.path();
            EXPECT_TRUE(now->bytes == before)
                << entry.path() << " at " << format.freq << " Hz, " << int(format.channels)
                << " channels: " << now->bytes.size() << " bytes, before " << before.size();
            ++compared;
        }
    }
    EXPECT_GE(compared, 20 * 4);
}

// The output as floats, to judge length and loudness whatever the codec.
struct Heard {
    std::size_t frames = 0;
    double rms = 0.0;
};

Heard listen(const DecodedSound& sound, int channels) {
    Heard heard;
    std::size_t samples = sound.bytes.size() / sizeof(float);
    heard.frames = samples / std::size_t(channels);
    double energy = 0.0;
    for (std::size_t i = 0; i < samples; ++i) {
        float v;
        std::memcpy(&v, sound.bytes.data() + i * sizeof(float), sizeof v);
        energy += double(v) * v;
    }
    heard.rms = samples ? std::sqrt(energy / double(samples)) : 0.0;
    return heard;
}

TEST(SoundDecoder, DecodesEveryFormatToTheDeviceFormat) {
    TempFolder temp;
    const SDL_AudioSpec out = audio_format(48000, AUDIO_F32SYS, 2);
    for (const SoundFileKind& kind : every_format()) {
        std::string path = temp.file(std::string("tone.") + kind.name);
        SCOPED_TRACE(std::string(kind.name) + " " + std::to_string(kind.format) + " at " +
                     std::to_string(kind.rate));
        ASSERT_TRUE(write_tone(path, kind, 0.5)) << sf_strerror(nullptr);
        auto sound = decode_sound(read_sound_file(path), out);
        ASSERT_NE(sound, nullptr);
        Heard heard = listen(*sound, 2);
        // Half a second at 48 kHz; encoders may add a frame or two of their own, and
        // the resampler's padding adds up to 1024 input frames.
        EXPECT_GE(heard.frames, 23900u);
        EXPECT_LE(heard.frames, 24000u + 2 * 1024u + 2048u);
        EXPECT_NEAR(heard.rms, 0.5 / std::sqrt(2.0), 0.03);
    }
}

std::vector<uint8_t> cut(std::vector<uint8_t> bytes, double share) {
    bytes.resize(std::size_t(double(bytes.size()) * share));
    return bytes;
}

std::vector<uint8_t> scrambled(std::vector<uint8_t> bytes) {
    // A run of bytes in the middle, as a bad sector or a broken download leaves it.
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64 && i < bytes.size(); ++i) {
        bytes[i] = uint8_t(bytes[i] * 7 + 13);
    }
    return bytes;
}

TEST(SoundDecoder, RefusesCutAndCorruptFilesOfEveryCompressedFormat) {
    TempFolder temp;
    const SDL_AudioSpec out = audio_format(44100, AUDIO_S16SYS, 2);
    for (const SoundFileKind& kind : every_format()) {
        if (std::string_view(kind.name) == "wav") continue;
        std::string path = temp.file(std::string("tone.") + kind.name);
        ASSERT_TRUE(write_tone(path, kind, 1.0));
        std::vector<uint8_t> whole = read_sound_file(path);
        SCOPED_TRACE(kind.name);
        ASSERT_NE(decode_sound(whole, out), nullptr);
        EXPECT_EQ(decode_sound(cut(whole, 0.5), out), nullptr) << "cut in half";
        EXPECT_EQ(decode_sound(cut(whole, 0.97), out), nullptr) << "the end missing";
        EXPECT_EQ(decode_sound(cut(whole, 0.02), out), nullptr) << "only the start";
        if (kind.format != (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III)) {
            // MPEG frames carry no checksum: a decoder cannot tell scrambled samples.
            EXPECT_EQ(decode_sound(scrambled(whole), out), nullptr) << "scrambled";
        }
    }
}

TEST(SoundDecoder, RefusesWhatIsNoSound) {
    const SDL_AudioSpec out = audio_format(44100, AUDIO_S16SYS, 2);
    std::vector<uint8_t> text(400, 'x');
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    png.resize(300, 0);
    std::vector<uint8_t> id3_only = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 10};
    id3_only.resize(200, 0);
    for (const auto& bytes : {std::vector<uint8_t>{}, text, png, id3_only,
                              std::vector<uint8_t>(5000, 0), std::vector<uint8_t>(5000, 0xFF)}) {
        EXPECT_EQ(decode_sound(bytes, out), nullptr) << bytes.size() << " bytes";
    }
}

// A file that says it lasts two hours is refused from its header, before any decoding.
TEST(SoundDecoder, RefusesSoundsLongerThanAMinuteBeforeDecodingThem) {
    TempFolder temp;
    const SDL_AudioSpec out = audio_format(44100, AUDIO_S16SYS, 2);
    // Two hours of 8 kHz mu-law: 57.6 MB, a sparse file that costs nothing to make.
    WaveFormat mulaw{7, 1, 8000, 8};
    std::vector<uint8_t> header = encode_wave(mulaw, std::vector<uint8_t>(2, 0xFF));
    const uint32_t data_bytes = 2 * 3600 * 8000;
    std::memcpy(header.data() + header.size() - 6, &data_bytes, 4);
    header.resize(header.size() - 2);
    uint32_t riff = uint32_t(header.size() - 8 + data_bytes);
    std::memcpy(header.data() + 4, &riff, 4);
    std::string error;
    std::string two_hours = temp.file("two-hours.wav");
    ASSERT_TRUE(write_file(two_hours, header, error)) << error;
    fs::resize_file(two_hours, header.size() + data_bytes);
    std::vector<uint8_t> bytes = read_sound_file(two_hours);
    ASSERT_EQ(bytes.size(), header.size() + data_bytes);
    int parts = 0;
    EXPECT_EQ(decode_sound(bytes, out, [&] { return ++parts > 1000000; }), nullptr);
    EXPECT_EQ(parts, 0) << "decoding began";

    // Sixty seconds play; a little more does not.
    SoundFileKind flac{"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 8000};
    ASSERT_TRUE(write_tone(temp.file("minute.flac"), flac, 60.0));
    ASSERT_TRUE(write_tone(temp.file("longer.flac"), flac, 60.5));
    EXPECT_NE(decode_sound(read_sound_file(temp.file("minute.flac")), out), nullptr);
    parts = 0;
    EXPECT_EQ(decode_sound(read_sound_file(temp.file("longer.flac")), out,
                           [&] { return ++parts > 1000000; }),
              nullptr);
    EXPECT_EQ(parts, 0) << "decoding began";
}

// `wav` encoded by the lame program with `options`; empty when it failed.
std::vector<uint8_t> lame(const TempFolder& temp, const std::string& wav, const std::string& options) {
    const std::string mp3 = temp.file("out.mp3");
    std::string command = "lame --quiet " + options + " '" + wav + "' '" + mp3 + "'";
    if (std::system(command.c_str()) != 0) return {};
    return file_bytes(mp3);
}

class Mp3Test : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v lame >/dev/null") != 0) {
            SKIP_OR_FAIL_IN_CI("the lame encoder is not installed");
        }
        ASSERT_TRUE(write_tone(wav, {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2}, 3.0));
        ASSERT_TRUE(write_tone(silent, {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2}, 0.0));
    }
    // Three seconds, as heard: encoders add up to two frames of their own where no
    // Info frame says to leave them out, and the resampler pads.
    static void expect_whole(const std::shared_ptr<const DecodedSound>& sound) {
        ASSERT_NE(sound, nullptr);
        Heard heard = listen(*sound, 2);
        EXPECT_GE(heard.frames, 3u * 48000u);
        EXPECT_LE(heard.frames, 3u * 48000u + 3u * 1152u * 48000u / 44100u + 1200u);
        EXPECT_NEAR(heard.rms, 0.5 / std::sqrt(2.0), 0.05);
    }

    TempFolder temp;
    const std::string wav = temp.file("tone.wav");
    const std::string silent = temp.file("silent.wav");
    const SDL_AudioSpec out = audio_format(48000, AUDIO_F32SYS, 2);
};

// Without an Info frame the length before decoding is a guess from the first frame's
// bit rate: far too short for VBR, a few frames too long for CBR.
TEST_F(Mp3Test, EveryMp3PlaysItsWholeLengthWithOrWithoutAnInfoFrame) {
    for (const char* options : {"-t -b 128", "-t -V 4", "-t --abr 96", "-t -m m -b 64", "-V 2"}) {
        SCOPED_TRACE(options);
        expect_whole(decode_sound(lame(temp, wav, options), out));
    }
}

TEST_F(Mp3Test, JunkInAnMp3IsSkippedAndAnMp3WithoutSoundIsRefused) {
    const std::vector<uint8_t> mp3 = lame(temp, wav, "-t -b 128");
    ASSERT_FALSE(mp3.empty());
    std::mt19937 random(19);
    std::vector<uint8_t> junk(7000);
    for (uint8_t& byte : junk) byte = uint8_t(random());
    std::vector<uint8_t> junk_inside = mp3;
    junk_inside.insert(junk_inside.begin() + std::ptrdiff_t(mp3.size() / 2), junk.begin(), junk.end());
    expect_whole(decode_sound(junk_inside, out));

    // A tag of 10 MB (a cover picture, say) before the first frame.
    const uint32_t tag = 10u << 20;
    std::vector<uint8_t> tagged = {'I', 'D', '3', 4, 0, 0, uint8_t(tag >> 21 & 0x7F),
                                   uint8_t(tag >> 14 & 0x7F), uint8_t(tag >> 7 & 0x7F),
                                   uint8_t(tag & 0x7F)};
    tagged.resize(tagged.size() + tag, 0);
    tagged.insert(tagged.end(), mp3.begin(), mp3.end());
    expect_whole(decode_sound(tagged, out));
    tagged.resize(tagged.size() - mp3.size());
    EXPECT_EQ(decode_sound(tagged, out), nullptr) << "a tag and no frames";

    for (const char* options : {"-t", ""}) {
        std::vector<uint8_t> empty = lame(temp, silent, options);
        ASSERT_FALSE(empty.empty()) << options;
        EXPECT_EQ(decode_sound(empty, out), nullptr) << "no samples, lame " << options;
    }
}

TEST(SoundDecoder, AnAbandonedDecodingGivesNothing) {
    TempFolder temp;
    ASSERT_TRUE(write_tone(temp.file("a.flac"), every_format()[4], 1.0));
    int parts = 0;
    auto sound = decode_sound(read_sound_file(temp.file("a.flac")),
                              audio_format(44100, AUDIO_S16SYS, 2), [&] { return ++parts == 3; });
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(parts, 3);
}

}  // namespace
}  // namespace tiltophon
