// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/AppState.h"
#include "app/KeepAwakeTimer.h"
#include "program/HeadlessPlatform.h"

namespace tiltophon {
namespace {

constexpr std::u16string_view kPowerKey = u"\\System\\CurrentControlSet\\Control\\Power";
constexpr uint32_t kTimerId = 6;

LResult plain_proc(Window* window, uint32_t message, WParam first, LParam second) {
    return window->default_proc(message, first, second);
}

class KeepAwakeTimerTest : public ::testing::Test {
protected:
    KeepAwakeTimerTest() { app().keep_awake = &timer; }

    void power(std::optional<uint32_t> battery, std::optional<uint32_t> external,
               std::optional<uint32_t> screen) {
        registry = std::make_unique<MemoryRegistry>();
        headless.services().registry = registry.get();
        install_platform(headless.services());
        auto set = [&](std::u16string_view name, std::optional<uint32_t> value) {
            if (value) registry->write_dword(RegistryRoot::kLocalMachine, kPowerKey, name, *value);
        };
        set(u"BattPowerOff", battery);
        set(u"ExtPowerOff", external);
        set(u"ScreenPowerOff", screen);
    }

    HeadlessPlatform headless;
    std::unique_ptr<MemoryRegistry> registry;
    Window* window = headless.windows.create_window(u"C", u"T", plain_proc);
    KeepAwakeTimer timer{window, kTimerId, keep_awake_tick};
};

TEST_F(KeepAwakeTimerTest, IntervalIsNinetyPercentOfTheShortestUsableTimeout) {
    struct Case {
        std::optional<uint32_t> battery, external, screen;
        uint32_t interval_ms;
    };
    const Case cases[] = {
        {180, 300, 60, 54000},
        {std::nullopt, std::nullopt, std::nullopt, 900000},
        {0, std::nullopt, std::nullopt, 900000},
        {5000, std::nullopt, std::nullopt, 900000},
        {5000, std::nullopt, 1200, 900000},
        {std::nullopt, 600, std::nullopt, 540000},
        {1, 300, 0, 900},
        {1000, 1000, 1000, 900000},
    };
    for (const Case& c : cases) {
        power(c.battery, c.external, c.screen);
        EXPECT_EQ(timer.power_off_interval(), c.interval_ms)
            << "battery " << c.battery.value_or(0) << ", external " << c.external.value_or(0)
            << ", screen " << c.screen.value_or(0);
    }

    // A value stored as text cannot be read and counts as missing.
    power(std::nullopt, std::nullopt, std::nullopt);
    registry->write_string(RegistryRoot::kLocalMachine, kPowerKey, u"ScreenPowerOff", u"60");
    EXPECT_EQ(timer.power_off_interval(), 900000u);
}

TEST_F(KeepAwakeTimerTest, StartingTwiceMakesOneTimerWithTheFirstInterval) {
    power(180, std::nullopt, std::nullopt);
    timer.start();
    power(60, std::nullopt, std::nullopt);
    timer.start();
    EXPECT_EQ(headless.windows.window()->timers_set_count(), 1);
    EXPECT_EQ(headless.windows.window()->timer_period(kTimerId), 162000u);

    // The power settings are read again at the next start.
    timer.stop();
    timer.start();
    EXPECT_EQ(headless.windows.window()->timer_period(kTimerId), 54000u);
}

TEST_F(KeepAwakeTimerTest, TheSystemIsHeldAwakeFromStartToStopOnce) {
    power(std::nullopt, std::nullopt, std::nullopt);
    headless.windows.advance(1000);
    timer.start();
    timer.start();
    headless.windows.advance(2000);
    timer.stop();
    timer.stop();
    auto holds = headless.devices.idle_holds();
    ASSERT_EQ(holds.size(), 2u);
    EXPECT_TRUE(holds[0].on);
    EXPECT_EQ(holds[0].at_ms, 1000u);
    EXPECT_FALSE(holds[1].on);
    EXPECT_EQ(holds[1].at_ms, 3000u);
    // The countdown itself is still restarted only at the ticks.
    EXPECT_TRUE(headless.devices.idle_resets().empty());
}

TEST_F(KeepAwakeTimerTest, EachTickRestartsTheIdleCountdownUntilStopped) {
    power(60, std::nullopt, std::nullopt);
    timer.start();
    headless.windows.advance(54000 * 3);
    EXPECT_EQ(headless.devices.idle_resets(), (std::vector<uint32_t>{54000, 108000, 162000}));

    timer.stop();
    timer.stop();
    EXPECT_FALSE(timer.is_running());
    EXPECT_FALSE(headless.windows.window()->has_timer(kTimerId));
    headless.windows.advance(54000 * 2);
    // A tick that was already on its way when the timer stopped does nothing.
    keep_awake_tick(window, kTimerId);
    EXPECT_EQ(headless.devices.idle_resets().size(), 3u);
}

}  // namespace
}  // namespace tiltophon
