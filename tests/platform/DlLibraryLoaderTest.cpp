// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "platform/posix/DlLibraryLoader.h"

namespace tiltophon {
namespace {

TEST(DlLibraryLoaderTest, LooksInTheProgramFolderFirstThenWhereTheSystemLooks) {
    DlLibraryLoader program(TILTOPHON_PROGRAM_DIR);
    void* own = program.load_library("libHTCSensorSDK.so");
    ASSERT_NE(own, nullptr);
    EXPECT_NE(program.find_symbol(own, "HTCSensorOpen"), nullptr);
    EXPECT_EQ(program.find_symbol(own, "NoSuchEntry"), nullptr);
    EXPECT_EQ(program.find_symbol(nullptr, "HTCSensorOpen"), nullptr);

    // Missing from the program folder, a library is still found where the system looks.
    EXPECT_NE(program.load_library("libc.so.6"), nullptr);
    DlLibraryLoader elsewhere(std::string(TILTOPHON_PROGRAM_DIR) + "/no-such-folder");
    EXPECT_NE(elsewhere.load_library("libc.so.6"), nullptr);
    // A path is taken as it stands.
    EXPECT_EQ(elsewhere.load_library(std::string(TILTOPHON_PROGRAM_DIR) + "/libc.so.6"), nullptr);
    EXPECT_EQ(elsewhere.load_library(std::string(TILTOPHON_PROGRAM_DIR) + "/libHTCSensorSDK.so"),
              own);
    EXPECT_EQ(program.load_library("libNoSuchLibrary.so"), nullptr);
    EXPECT_EQ(program.load_library(""), nullptr);
}

}  // namespace
}  // namespace tiltophon
