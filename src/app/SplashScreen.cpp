#include "app/SplashScreen.h"

namespace tiltophon {

void SplashScreen::set_background(Image image) { background_image_ = image; }

void SplashScreen::set_message(const char16_t* text) {
    std::lock_guard lock(mutex_);
    progress_.message.assign(text);
}

void SplashScreen::set_percent(uint32_t percent) {
    std::lock_guard lock(mutex_);
    progress_.percent = percent > 100 ? 100 : percent;
}

void SplashScreen::set_step(const char16_t* text, uint32_t percent) {
    std::lock_guard lock(mutex_);
    progress_.message.assign(text);
    progress_.percent = percent > 100 ? 100 : percent;
}

SplashScreen::Progress SplashScreen::progress() const {
    std::lock_guard lock(mutex_);
    return progress_;
}

// Drawing comes with the raster code.
void SplashScreen::draw(DrawContext&, const Rect&) const {}

void SplashScreen::paint_to(DrawContext&, const Rect&, uint8_t) const {}

}  // namespace tiltophon
