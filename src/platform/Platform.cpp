#include "platform/Platform.h"

namespace tiltophon {

namespace {
Platform g_platform;
}

Platform& platform() { return g_platform; }

void install_platform(const Platform& services) { g_platform = services; }

}  // namespace tiltophon
