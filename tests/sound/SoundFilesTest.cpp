// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "platform/Text.h"
#include "sound/SoundFiles.h"
#include "sound/UserSounds.h"

namespace tiltophon {
namespace {

using namespace std::string_literals;

TEST(SoundFiles, NamesAreSoundFilesByTheirExtensionInAnyCase) {
    for (auto name : {u"Kick.wav", u"KICK.WAV", u"a.Flac", u"b.ogg", u"c.OGA", u"d.opus",
                      u"e.Mp3", u"My Song (2).flac"}) {
        EXPECT_TRUE(IsSoundFileName(name)) << utf8_from_utf16(name);
    }
    for (auto name : {u"", u".wav", u"Kick.wav.txt", u"Kick.aiff", u"Kick", u"wav", u"Kick.m4a",
                      u"Kick.wa"}) {
        EXPECT_FALSE(IsSoundFileName(name)) << utf8_from_utf16(name);
    }
}

TEST(SoundFiles, TheFirstBytesTellASoundStreamFromSomethingElse) {
    for (const std::string& head :
         {"RIFF\x24\0\0\0WAVEfmt "s, "RF64\xff\xff\xff\xffWAVE"s, "BW64\0\0\0\0WAVE"s,
          "fLaC\0\0\0\x22"s, "OggS\0\x02"s, "ID3\x04\0\0"s, "\xff\xfb\x90\x64"s, "\xff\xf3"s}) {
        EXPECT_TRUE(LooksLikeSound(head)) << head;
    }
    for (const std::string& head :
         {""s, "RIFF"s, "RIFF\x24\0\0\0AVI "s, "RIFF\x24\0\0\0WAV"s, "Hello, world\n"s,
          "\x89PNG\r\n\x1a\n"s, "\xff\xe1"s, "\xff\xe9"s, "\xff"s, "%PDF-1.4"s}) {
        EXPECT_FALSE(LooksLikeSound(head)) << head;
    }
}

TEST(UserSoundNames, NumberedNamesKeepTheExtensionAndPathsGiveTheirLastPart) {
    EXPECT_EQ(NumberedName(u"Kick.wav", 1), u"Kick.wav");
    EXPECT_EQ(NumberedName(u"Kick.wav", 2), u"Kick (2).wav");
    EXPECT_EQ(NumberedName(u"Kick.take.flac", 12), u"Kick.take (12).flac");
    EXPECT_EQ(NumberedName(u"Kick", 3), u"Kick (3)");
    EXPECT_EQ(NumberedName(u".wav", 2), u".wav (2)");

    EXPECT_EQ(FileNameOf(u"/home/u/Music/Kick.wav"), u"Kick.wav");
    EXPECT_EQ(FileNameOf(u"Kick.wav"), u"Kick.wav");
    EXPECT_EQ(FileNameOf(u"/home/u/Music/"), u"");
}

}  // namespace
}  // namespace tiltophon
