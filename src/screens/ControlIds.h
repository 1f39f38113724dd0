// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>

namespace tiltophon {

// The identifier of every control: the vocabulary of the command table and of
// navigation. A control's identifier travels in the low word of its command message.
namespace control_id {

constexpr uint32_t kRootPanel = 1;
constexpr uint32_t kFramePanel = 5;

constexpr uint32_t kTopBarPicture = 16;
constexpr uint32_t kCloseButton = 17;
constexpr uint32_t kAboutButton = 18;
constexpr uint32_t kMainPanel = 19;
constexpr uint32_t kAboutPage = 20;
constexpr uint32_t kPickPage = 21;
constexpr uint32_t kBottomBarPicture = 22;

constexpr uint32_t kHomeTab = 32;
constexpr uint32_t kSoundsTab = 33;
constexpr uint32_t kSettingsTab = 34;
// The tab pages; also the character codes of '#', '$' and '%'.
constexpr uint32_t kHomePage = 35;
constexpr uint32_t kSoundsPage = 36;
constexpr uint32_t kSettingsPage = 37;

constexpr uint32_t kAboutTitleLabel = 48;
constexpr uint32_t kAboutPlatformLabel = 49;
constexpr uint32_t kAboutVersionLabel = 50;
constexpr uint32_t kAboutLogoPicture = 51;
constexpr uint32_t kAboutWebLabel = 52;
constexpr uint32_t kAboutMailLabel = 53;
constexpr uint32_t kDonateButton = 54;
constexpr uint32_t kAboutNoticeLabel = 55;
constexpr uint32_t kBackButton = 56;

constexpr uint32_t kSoundList = 64;
constexpr uint32_t kOkButton = 65;
constexpr uint32_t kCancelButton = 66;
constexpr uint32_t kRecordButton = 67;

// Slot buttons of slots 1 to 5 are 80 to 84; corner pictures 1 to 4 are 85 to 88.
constexpr uint32_t kFirstSlotButton = 80;
constexpr uint32_t kFirstCornerPicture = 85;
constexpr uint32_t kMotionToggle = 89;
constexpr uint32_t kPulseToggle = 256;

constexpr uint32_t kSoundsPicture = 96;
// Sound rows of slots 1 to 5 are 97 to 101, the codes 'a' to 'e'.
constexpr uint32_t kFirstSoundRow = 97;
// Play buttons by slot; element 0 is unused. Slot 5's is 112, not 106.
constexpr std::array<uint32_t, 6> kPlayButtons = {0, 102, 103, 104, 105, 112};

constexpr uint32_t kSensitivityLabel = 128;
constexpr uint32_t kXAxisLabel = 129;
constexpr uint32_t kYAxisLabel = 130;
constexpr uint32_t kZAxisLabel = 131;
constexpr uint32_t kXSensitivitySelector = 132;
constexpr uint32_t kYSensitivitySelector = 133;
constexpr uint32_t kZSensitivitySelector = 134;
constexpr uint32_t kXButtonCloseLabel = 135;
constexpr uint32_t kXButtonCloseCheck = 136;
constexpr uint32_t kAnimationsLabel = 137;
constexpr uint32_t kAnimationsCheck = 144;
constexpr uint32_t kTouchVibrationsLabel = 145;
constexpr uint32_t kTouchVibrationsCheck = 146;
constexpr uint32_t kSoundsOverlapLabel = 147;
constexpr uint32_t kSoundsOverlapCheck = 148;

constexpr uint32_t slot_button(int32_t slot) {
    return kFirstSlotButton + slot - 1;
}
constexpr uint32_t sound_row(int32_t slot) {
    return kFirstSoundRow + slot - 1;
}

}  // namespace control_id

}  // namespace tiltophon
