// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Captions.h"
#include "platform/Messages.h"
#include "platform/Window.h"

namespace tiltophon {

class Button;

// Posted to the main window by the threads that open and save a take; the first
// parameter is a TakeNews, the second the number of a saved recording.
inline constexpr uint32_t kTakeMessage = msg::kApp + 3;
// Counts the seconds of a take on the Record button.
inline constexpr uint32_t kRecordTimerId = 8;
inline constexpr uint32_t kRecordTickMs = 100;
// A take ends by itself after this long.
inline constexpr uint32_t kLongestTakeMs = 10000;

enum class TakeNews : uint32_t { kStarted = 1, kNoMicrophone, kSaved, kNothingSaved };

// The pick screen's Record button. A tap starts a take from the default microphone; a
// second tap, or kLongestTakeMs, ends it. The microphone is opened and closed, and the
// take cut, encoded and saved, on threads of their own: the window and the swings'
// sounds never wait for them. A saved take is "Recording N.flac" in the user's "My
// Sounds" set, at once in the pick list and selected.
void on_record_button(Window* window);

// kTakeMessage.
void on_take_news(Window* window, uint32_t news, uint32_t number);

// Ends a take under way without saving it and waits until no thread of a take posts
// to the window any more. For the window's teardown.
void cancel_recording();

// The Record button's caption at rest.
constexpr std::u16string_view kRecordCaption = english_caption(u"RECORD");

// The Record button's looks (set up by the screen builder): at rest, and while a take
// runs with its length so far.
void show_record_button_at_rest(Button& button);
void show_record_button_recording(Button& button, uint32_t elapsed_ms);

// The name of the Nth recording: "Recording N.flac".
std::u16string RecordingName(uint32_t number);

}  // namespace tiltophon
