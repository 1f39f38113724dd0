// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Text.h"
#include "platform/Window.h"

namespace tiltophon {

// The window timer with which the sound list glides after a flick.
constexpr uint32_t ListScrollTimerId = 4;
constexpr uint32_t ListScrollTickMs = 11;

// The donation page the About screen's button opens.
constexpr std::u16string_view DonationUrl = u"https://tiltophon.org/donate";

// Where the system keeps the default browser's command line.
constexpr std::u16string_view kDefaultBrowserKey = u"Software\\Microsoft\\Shell\\Rai\\:DEFBROWSER";
constexpr std::u16string_view kDefaultBrowserValue = u"1";
// Started with the address when no default browser is set.
constexpr std::u16string_view kFallbackBrowser = u"xdg-open";

// Opens the address in the default browser, as a process of its own that the
// program neither waits for nor keeps. 1 when the process was started, else 0.
int open_in_browser(std::u16string_view url);

// The program of a command line: the text between the first pair of double quotes
// when the line starts with one (after blanks), else everything up to the first
// blank. Empty when there is none.
PathText browser_program(std::u16string_view command_line);

// The timer routine of the list's glide.
void on_list_glide_tick(Window* window, uint32_t timer_id);

// Holding a slot button of Home this long ends every sound playing; the timer that
// waits for it.
constexpr uint32_t StopAllHoldTimerId = 7;
constexpr uint32_t StopAllHoldMs = 600;
void on_stop_all_hold(Window* window, uint32_t timer_id);

}  // namespace tiltophon
