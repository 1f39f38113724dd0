// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The sound sets in the program folder, as a user gets them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "platform/Platform.h"
#include "platform/media/PngImageCodec.h"
#include "platform/posix/PosixFileSystem.h"
#include "sound/SoundBank.h"

namespace {

namespace fs = std::filesystem;

TEST(ShippedSounds, EverySetHasShortCleanSounds) {
    fs::path sounds = fs::path(TILTOPHON_PROGRAM_DIR) / "Sounds";
    for (const char* set : {"Drums", "Bells", "Voices", "Synth"}) {
        std::set<fs::path> wavs;
        for (const auto& entry : fs::directory_iterator(sounds / set)) {
            if (entry.path().extension() == ".wav") wavs.insert(entry.path());
        }
        EXPECT_GE(wavs.size(), 5u) << set;
        for (const fs::path& path : wavs) {
            SCOPED_TRACE(path.string());
            SDL_AudioSpec spec{};
            Uint8* data = nullptr;
            Uint32 bytes = 0;
            ASSERT_NE(SDL_LoadWAV(path.c_str(), &spec, &data, &bytes), nullptr) << SDL_GetError();
            EXPECT_EQ(spec.format, AUDIO_S16LSB);
            EXPECT_EQ(spec.channels, 1);
            EXPECT_EQ(spec.freq, 44100);
            std::size_t count = bytes / 2;
            const auto* samples = reinterpret_cast<const int16_t*>(data);
            EXPECT_GT(count, 4410u);
            EXPECT_LE(count, 66150u) << "longer than 1.5 s";
            int peak = 0;
            double energy = 0.0;
            for (std::size_t i = 0; i < count; ++i) {
                peak = std::max(peak, std::abs(int(samples[i])));
                energy += double(samples[i]) * samples[i];
            }
            EXPECT_NEAR(peak, 29164, 400) << "normalised to -1 dBFS";
            EXPECT_GT(std::sqrt(energy / double(count)), 1600.0) << "audible";
            // Starting and ending at rest: no click at either end.
            if (count > 0) {
                EXPECT_LT(std::abs(samples[0]), 100);
                EXPECT_LT(std::abs(samples[count - 1]), 100);
            }
            SDL_FreeWAV(data);
        }
    }
}

// The bank finds every shipped sound with its set's two pictures.
TEST(ShippedSounds, TheBankFindsEverySoundWithItsPictures) {
    using namespace tiltophon;
    PosixFileSystem files;
    PngImageCodec images;
    Platform services;
    services.files = &files;
    services.images = &images;
    install_platform(services);
    SoundBank bank;
    bank.Scan(utf16_from_utf8(std::string(TILTOPHON_PROGRAM_DIR) + "/Sounds/"));
    bank.Sort(FolderAscending);
    install_platform({});

    ASSERT_GE(bank.Count(), 20);
    EXPECT_EQ(bank.EntryAt(0)->FolderName.view(), u"Bells");
    for (int32_t i = 0; i < bank.Count(); ++i) {
        const SoundEntry* entry = bank.EntryAt(i);
        EXPECT_NE(entry->BigImage, nullptr) << utf8_from_utf16(entry->FilePath);
        EXPECT_NE(entry->SmallImage, nullptr) << utf8_from_utf16(entry->FilePath);
        EXPECT_TRUE(fs::is_regular_file(utf8_from_utf16(entry->FilePath)));
    }
}

}  // namespace
