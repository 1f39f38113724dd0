// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <memory>
#include <thread>
#include <vector>

#include "platform/sdl/SdlWindowSystem.h"

namespace tiltophon {
namespace {

std::vector<Message> g_received;

LResult record_proc(Window* window, uint32_t message, WParam first, LParam second) {
    g_received.push_back({message, first, second});
    return window->default_proc(message, first, second);
}

// The real window system on SDL's dummy video driver. Every test queues what it
// expects before asking for it, so no wait is ever for real time.
class SdlWindowSystemThreadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ::setenv("TILTOPHON_SCREEN", "240x320@96", 1);
        g_received.clear();
        system = std::make_unique<SdlWindowSystem>();
        ::unsetenv("TILTOPHON_SCREEN");
        ASSERT_TRUE(system->ok()) << SDL_GetError();
        window = static_cast<SdlWindow*>(system->create_window(u"C", u"Tiltophon", record_proc));
        ASSERT_NE(window, nullptr);
        // The first paint of a new window.
        ASSERT_EQ(next().message, msg::kPaint);
        system->dispatch({msg::kPaint, 0, 0});
    }

    Message next() {
        Message message;
        EXPECT_TRUE(system->get_message(message));
        return message;
    }

    void expect_pen(uint32_t kind, uint16_t x, uint16_t y) {
        Message m = next();
        EXPECT_EQ(m.message, kind);
        EXPECT_EQ(m.lparam, make_point_param(x, y))
            << "at " << low_word(m.lparam) << "," << high_word(m.lparam);
    }

    static void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError(); }
    static SDL_Event mouse_button(Uint32 type, int32_t x, int32_t y, Uint32 which = 0) {
        SDL_Event event{};
        event.type = type;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.which = which;
        event.button.x = x;
        event.button.y = y;
        return event;
    }
    static SDL_Event finger(Uint32 type, float x, float y, SDL_FingerID id = 7) {
        SDL_Event event{};
        event.type = type;
        event.tfinger.fingerId = id;
        event.tfinger.x = x;
        event.tfinger.y = y;
        return event;
    }

    std::unique_ptr<SdlWindowSystem> system;
    SdlWindow* window = nullptr;
};

TEST_F(SdlWindowSystemThreadsTest, TheScreenComesFromTheEnvironmentAndTheWindowIsCreatedFirst) {
    EXPECT_EQ(system->screen().width, 240);
    EXPECT_EQ(system->screen().height, 320);
    EXPECT_EQ(system->screen().dpi_x, 96);
    EXPECT_EQ(window->client_rect(), (Rect{0, 0, 240, 320}));
    ASSERT_FALSE(g_received.empty());
    EXPECT_EQ(g_received.front().message, msg::kCreate);
    EXPECT_EQ(system->query_orientation(), -1);
}

TEST_F(SdlWindowSystemThreadsTest, MessagesPostedFromOtherThreadsArriveInOrderBeforeThePaint) {
    std::thread poster([this] {
        window->post_message(msg::kApp + 1, 1, 0);
        window->invalidate(nullptr, true);
        window->post_message(msg::kApp + 1, 2, 0);
    });
    poster.join();
    EXPECT_EQ(next().wparam, 1u);
    EXPECT_EQ(next().wparam, 2u);
    Message paint = next();
    EXPECT_EQ(paint.message, msg::kPaint);
    system->dispatch(paint);
    EXPECT_EQ(g_received.back().message, msg::kPaint);
}

TEST_F(SdlWindowSystemThreadsTest, PenInputIsScaledToTheScreenAndTouchCountsOnce) {
    // The window drawn at twice the screen's size.
    SDL_SetWindowSize(SDL_GetWindowFromID(window->sdl_id()), 480, 640);
    push(mouse_button(SDL_MOUSEBUTTONDOWN, 100, 200));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 102;
    motion.motion.y = 204;
    push(motion);
    push(mouse_button(SDL_MOUSEBUTTONUP, 104, 206));
    // A touch comes with a mouse click made up from it; only the touch counts.
    push(mouse_button(SDL_MOUSEBUTTONDOWN, 1, 1, SDL_TOUCH_MOUSEID));
    push(finger(SDL_FINGERDOWN, 0.5f, 0.25f));
    push(finger(SDL_FINGERDOWN, 0.1f, 0.1f, 8));  // a second finger is ignored
    push(finger(SDL_FINGERUP, 0.5f, 0.5f));

    expect_pen(msg::kPenDown, 50, 100);
    expect_pen(msg::kPenMove, 51, 102);
    expect_pen(msg::kPenUp, 52, 103);
    expect_pen(msg::kPenDown, 120, 80);
    expect_pen(msg::kPenUp, 120, 160);
}

TEST_F(SdlWindowSystemThreadsTest, APenOutsideTheFrameStaysOnItsEdge) {
    // A window wider than the frame's shape: the 240 x 320 frame is shown 240 x 320 in
    // the middle of 600 x 320, with bands of 180 on either side.
    SDL_SetWindowSize(SDL_GetWindowFromID(window->sdl_id()), 600, 320);
    push(mouse_button(SDL_MOUSEBUTTONDOWN, 200, 100));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 250;
    motion.motion.y = -40;  // dragged past the top: y 0, not 65,496
    push(motion);
    motion.motion.x = 100;  // into the left band
    motion.motion.y = 5000;
    push(motion);
    push(mouse_button(SDL_MOUSEBUTTONUP, 900, 10));
    push(finger(SDL_FINGERDOWN, 0.0f, 1.5f));

    expect_pen(msg::kPenDown, 20, 100);
    expect_pen(msg::kPenMove, 70, 0);
    expect_pen(msg::kPenMove, 0, 319);
    expect_pen(msg::kPenUp, 239, 10);
    expect_pen(msg::kPenDown, 0, 319);
}

TEST_F(SdlWindowSystemThreadsTest, FocusBecomesActivationAndQuitBecomesCloseThenTheLoopEnds) {
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    push(focus);
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    push(focus);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    push(quit);

    Message m = next();
    EXPECT_EQ(m.message, msg::kActivate);
    EXPECT_EQ(m.wparam, activate::kActive);
    m = next();
    EXPECT_EQ(m.message, msg::kActivate);
    EXPECT_EQ(m.wparam, activate::kInactive);
    m = next();
    EXPECT_EQ(m.message, msg::kClose);

    system->dispatch(m);
    EXPECT_TRUE(window->is_destroyed());
    EXPECT_EQ(g_received.back().message, msg::kDestroy);
    system->post_quit(3);
    EXPECT_FALSE(system->get_message(m));
    EXPECT_EQ(m.message, msg::kQuit);
    EXPECT_EQ(m.wparam, 3u);
}

TEST_F(SdlWindowSystemThreadsTest, DigitKeysTheStopKeyAndDroppedFilesBecomeTheirMessages) {
    auto key = [](Uint32 type, SDL_Scancode code, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.scancode = code;
        event.key.repeat = repeat;
        return event;
    };
    push(key(SDL_KEYDOWN, SDL_SCANCODE_A));
    push(key(SDL_KEYDOWN, SDL_SCANCODE_1));
    push(key(SDL_KEYDOWN, SDL_SCANCODE_1, 1));  // held down: no second press
    push(key(SDL_KEYUP, SDL_SCANCODE_1));
    push(key(SDL_KEYDOWN, SDL_SCANCODE_KP_5));
    push(key(SDL_KEYDOWN, SDL_SCANCODE_0));
    push(key(SDL_KEYDOWN, SDL_SCANCODE_KP_0));
    SDL_Event stop = key(SDL_KEYDOWN, SDL_SCANCODE_AUDIOSTOP);
    stop.key.keysym.sym = SDLK_AUDIOSTOP;
    push(stop);
    for (const char* path : {"/home/u/Kick.wav", "/home/u/K\xc3\xa4se.flac"}) {
        SDL_Event drop{};
        drop.type = SDL_DROPFILE;
        drop.drop.file = SDL_strdup(path);
        push(drop);
    }

    std::vector<Message> got;
    for (int i = 0; i < 8; ++i) got.push_back(next());
    auto is = [](const Message& m, uint32_t message, WParam first) {
        return m.message == message && m.wparam == first;
    };
    EXPECT_TRUE(is(got[0], msg::kKeyDown, u'1'));
    EXPECT_TRUE(is(got[1], msg::kKeyUp, u'1'));
    EXPECT_TRUE(is(got[2], msg::kKeyDown, u'5'));
    EXPECT_TRUE(is(got[3], msg::kKeyDown, u'0'));
    EXPECT_TRUE(is(got[4], msg::kKeyDown, u'0'));
    EXPECT_TRUE(is(got[5], msg::kKeyDown, key::kStop));
    EXPECT_TRUE(is(got[6], msg::kDropFiles, 0));
    EXPECT_TRUE(is(got[7], msg::kDropFiles, 0));
    EXPECT_EQ(window->take_dropped_files(),
              (std::vector<std::u16string>{u"/home/u/Kick.wav", u"/home/u/K\u00e4se.flac"}));
    EXPECT_TRUE(window->take_dropped_files().empty());
}

// A screen that cannot be is said once on stderr, and the display decides instead:
// SDL's dummy display is a 1024 x 768 desktop.
TEST(SdlWindowSystemScreenTest, ABadScreenInTheEnvironmentIsSaidOnceAndTheDefaultUsed) {
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    for (const char* bad : {"0x0", "-480x640", "480x-640@192", "99999x99999", "480x640@0", "big"}) {
        ::setenv("TILTOPHON_SCREEN", bad, 1);
        ::testing::internal::CaptureStderr();
        ScreenInfo screen;
        {
            SdlWindowSystem system;
            screen = system.screen();
        }
        std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(screen.width, 480) << bad;
        EXPECT_EQ(screen.height, 640) << bad;
        EXPECT_EQ(screen.dpi_y, 192) << bad;
        EXPECT_NE(said.find(std::string("TILTOPHON_SCREEN=\"") + bad + "\" is not a screen"),
                  std::string::npos)
            << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    ::unsetenv("TILTOPHON_SCREEN");
    // The program's name for the sound server and the screen saver.
    EXPECT_STREQ(SDL_GetHint(SDL_HINT_APP_NAME), "Tiltophon");
}

TEST(SdlWindowSystemTest, OnlySdlVideodriverMayChooseADriverThatShowsNothing) {
    auto unasked = &SdlWindowSystem::invisible_driver_unasked;
    // What SDL falls back to without a display.
    EXPECT_TRUE(unasked("offscreen", nullptr));
    EXPECT_TRUE(unasked("dummy", ""));
    EXPECT_TRUE(unasked("offscreen", "x11,wayland"));
    EXPECT_TRUE(unasked("dummy", "dumm")) << "only a whole name asks";
    // Asked for by name, in any letter case, alone or in a list.
    EXPECT_FALSE(unasked("dummy", "dummy"));
    EXPECT_FALSE(unasked("dummy", "DUMMY"));
    EXPECT_FALSE(unasked("offscreen", "wayland,offscreen"));
    // Drivers that show a window are never a problem.
    EXPECT_FALSE(unasked("x11", nullptr));
    EXPECT_FALSE(unasked("wayland", "dummy"));
    EXPECT_FALSE(unasked("KMSDRM", nullptr));
}

}  // namespace
}  // namespace tiltophon
