// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "motion/FakeSensor.h"

#include <cstring>

#include "platform/Platform.h"
#include "platform/headless/HeadlessDevices.h"

namespace tiltophon::fake_sensor {

namespace {

Calls g_calls;
SampleRecord g_current;
std::vector<SampleRecord> g_trace;
uint32_t g_trace_start = 0;

SensorHandle fake_open(uint32_t kind) {
    ++g_calls.opens;
    g_calls.open_kind = kind;
    return kHandle;
}

void fake_close(SensorHandle handle) {
    ++g_calls.closes;
    g_calls.closed_handle = handle;
}

int fake_read(SensorHandle handle, void* record) {
    ++g_calls.reads;
    g_calls.read_handle = handle;
    SampleRecord sample = g_current;
    if (!g_trace.empty()) {
        uint32_t elapsed = platform().clock->tick_count_ms() - g_trace_start;
        size_t index = elapsed / 50;
        sample = g_trace[index < g_trace.size() ? index : g_trace.size() - 1];
    }
    std::memset(sample.reserved, 0xA5, sizeof sample.reserved);
    std::memcpy(record, &sample, sizeof sample);
    return 1;
}

}  // namespace

void install(FakeLibraryLoader& loader, Entries entries) {
    g_calls = {};
    g_current = {};
    g_trace.clear();
    FakeLibraryLoader::Symbols symbols;
    if (entries.open) symbols["HTCSensorOpen"] = reinterpret_cast<void*>(&fake_open);
    if (entries.close) symbols["HTCSensorClose"] = reinterpret_cast<void*>(&fake_close);
    if (entries.read) symbols["HTCSensorGetDataOutput"] = reinterpret_cast<void*>(&fake_read);
    loader.add_library(std::string(kSensorLibraryName), std::move(symbols));
}

void set_reading(int16_t x, int16_t y, int16_t z) {
    g_trace.clear();
    g_current = reading(x, y, z);
}

void play(std::vector<SampleRecord> trace, uint32_t start_ms) {
    g_trace = std::move(trace);
    g_trace_start = start_ms;
}

const Calls& calls() {
    return g_calls;
}

}  // namespace tiltophon::fake_sensor

namespace tiltophon {

std::vector<Message>& motion_messages() {
    static std::vector<Message> messages;
    return messages;
}

LResult record_motion(Window* window, uint32_t message, WParam first, LParam second) {
    if (message == kMotionMessage) motion_messages().push_back({message, first, second});
    return window->default_proc(message, first, second);
}

std::vector<MotionCode> take_motion_codes() {
    std::vector<MotionCode> codes;
    for (const Message& m : motion_messages()) codes.push_back(static_cast<MotionCode>(m.wparam));
    motion_messages().clear();
    return codes;
}

}  // namespace tiltophon
