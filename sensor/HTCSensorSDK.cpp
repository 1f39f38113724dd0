// SPDX-FileCopyrightText: 2026 The Tiltophon developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "HTCSensorSDK.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "SourceConfig.h"

namespace tiltophon::sensor {

namespace {

constexpr uint32_t kAccelerometer = 1;

// A handle is a slot number (1 to 15) in its low four bits and the slot's open count
// above, so it is never 0 and a closed handle does not come back at once.
constexpr uint32_t kSlotBits = 4;
constexpr size_t kSlots = (1u << kSlotBits) - 1;

struct Slot {
    std::unique_ptr<SensorSource> source;
    uint32_t generation = 0;
};

struct Sensors {
    std::mutex mutex;
    std::array<Slot, kSlots> slots;
};

// Lives until the process ends: nothing is torn down under a late reader at exit.
Sensors& sensors() {
    static Sensors* all = new Sensors;
    return *all;
}

uint32_t handle_of(size_t index, uint32_t generation) {
    return (generation << kSlotBits) | static_cast<uint32_t>(index + 1);
}

// The open slot a handle names, or null.
Slot* find(Sensors& all, uint32_t handle) {
    uint32_t number = handle & kSlots;
    if (number == 0) return nullptr;
    Slot& slot = all.slots[number - 1];
    if (!slot.source || handle_of(number - 1, slot.generation) != handle) return nullptr;
    return &slot;
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void store(void* record, const Reading& reading) {
    auto* bytes = static_cast<unsigned char*>(record);
    std::memcpy(bytes + 0, &reading.x, sizeof reading.x);
    std::memcpy(bytes + 2, &reading.y, sizeof reading.y);
    std::memcpy(bytes + 4, &reading.z, sizeof reading.z);
}

}  // namespace

}  // namespace tiltophon::sensor

using namespace tiltophon::sensor;

extern "C" uint32_t HTCSensorOpen(uint32_t kind) {
    if (kind != kAccelerometer) return 0;
    try {
        auto source =
            make_source(environment("TILTOPHON_SENSOR"), environment("TILTOPHON_SENSOR_PACE"));
        if (!source) return 0;
        Sensors& all = sensors();
        std::lock_guard lock(all.mutex);
        for (size_t i = 0; i < kSlots; ++i) {
            Slot& slot = all.slots[i];
            if (slot.source) continue;
            slot.source = std::move(source);
            slot.generation = (slot.generation + 1) & (~0u >> kSlotBits);
            return handle_of(i, slot.generation);
        }
    } catch (...) {
        // Out of memory or a broken file system: the sensor stays closed.
    }
    return 0;
}

extern "C" int HTCSensorGetDataOutput(uint32_t handle, void* record) {
    if (!record) return 0;
    try {
        Sensors& all = sensors();
        std::lock_guard lock(all.mutex);
        if (Slot* slot = find(all, handle)) {
            store(record, slot->source->read());
            return 1;
        }
    } catch (...) {
    }
    store(record, Reading{});
    return 0;
}

extern "C" void HTCSensorClose(uint32_t handle) {
    std::unique_ptr<SensorSource> closing;
    {
        Sensors& all = sensors();
        std::lock_guard lock(all.mutex);
        if (Slot* slot = find(all, handle)) closing = std::move(slot->source);
    }
}
