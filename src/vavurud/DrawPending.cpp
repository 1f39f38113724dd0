#include "vavurud/Draw.h"

// Placeholder bodies until the raster code lands; every primitive draws nothing.
// Each family's real file replaces its part of this one.

namespace tiltophon {

bool image_size(Image image, int32_t& width, int32_t& height) {
    if (!image) return false;
    width = image->width();
    height = image->height();
    return true;
}
Rect deflate_rect(const Rect& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {r.left + left, r.top + top, r.right - right, r.bottom - bottom};
}
void fill_rect(DrawContext&, const Rect&, Colour) {}
void copy_block(DrawContext&, int32_t, int32_t, int32_t, int32_t, const DrawContext&, int32_t,
                int32_t) {}
void blit_centered(DrawContext&, const Rect&, Image) {}
void blit_centered_rop(DrawContext&, const Rect&, Image, uint32_t) {}
void blit_centered_masked(DrawContext&, const Rect&, Image, Image) {}
void blit_centered_transparent(DrawContext&, const Rect&, Image, Colour) {}
void blit_stretched(DrawContext&, const Rect&, Image) {}
void blit_stretched_rop(DrawContext&, const Rect&, Image, uint32_t) {}
void blit_stretched_masked(DrawContext&, const Rect&, Image, Image) {}
void blit_stretched_transparent(DrawContext&, const Rect&, Image, Colour) {}
void fill_pattern(DrawContext&, const Rect&, Image, uint32_t) {}
void draw_text(DrawContext&, std::u16string_view, const Rect&, uint32_t, Colour, FontHandle) {}
void draw_line(DrawContext&, int32_t, int32_t, int32_t, int32_t, const Pen*) {}
void gradient_fill(DrawContext&, int32_t, int32_t, int32_t, int32_t, Colour, Colour, uint32_t) {}
void alpha_blend(DrawContext&, int32_t, int32_t, int32_t, int32_t, const DrawContext&, int32_t,
                 int32_t, int32_t, int32_t, uint32_t) {}
void alpha_blend_same(DrawContext&, int32_t, int32_t, int32_t, int32_t, const DrawContext&,
                      uint32_t) {}
void draw_state_image(DrawContext&, const Rect&, int32_t, int32_t, Image, Image) {}

}  // namespace tiltophon
