// Font sheets: 16 cells across, 8 rows, the 128 ASCII glyphs; transparent (0, 0, 0, 0)
// around the ink so the loader's black transparency and the picture's alpha agree.
#include <algorithm>
#include <string>

#include "image.h"
#include "pictures.h"

namespace media {

namespace {

// A glyph cell filled from a coverage mask: a shadow or outline under a vertically graded
// face.
void PaintCell(Image& img, int cx, int cy, int cw, int ch, const Mask& face, const Mask& under,
               int shadowDx, int shadowDy, Rgba top, Rgba bottom, Rgba edge) {
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const double u = under.at(x - shadowDx, y - shadowDy);
            Blend(img, cx + x, cy + y, edge, u);
            const double t = ch > 1 ? static_cast<double>(y) / (ch - 1) : 0;
            const Rgba c{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t,
                         top.b + (bottom.b - top.b) * t, 1};
            Blend(img, cx + x, cy + y, c, face.at(x, y));
        }
}

}  // namespace

bool WriteTextFont(const std::string& dir) {
    const int cw = 7, ch = 11;
    Image img(16 * cw, 8 * ch);
    const std::string font = FontPath("DejaVuSansMono.ttf");
    for (int b = 33; b < 127; ++b) {
        Mask m(cw, ch);
        TextMask(m, font, 10, std::string(1, static_cast<char>(b)), 0, 8, true);
        PaintCell(img, (b % 16) * cw, (b / 16) * ch, cw, ch, m, m, 1, 1, Rgba{0.96, 0.97, 1.0, 1},
                  Rgba{0.80, 0.86, 0.95, 1}, Rgba{0.03, 0.04, 0.08, 0.85});
    }
    return WritePng(dir + "/Lucida Console 112x88.png", img);
}

bool WriteBannerFont(const std::string& dir) {
    const int cw = 30, ch = 30;
    Image img(16 * cw, 8 * ch);
    const std::string font = FontPath("DejaVuSans-Bold.ttf");
    for (int b = 33; b < 127; ++b) {
        const std::string s(1, static_cast<char>(b));
        // As large as the 30-pixel cell allows: the text is printed on a fixed 30-pixel
        // advance, so the glyphs are drawn wide (a display cut that fills the cells), each
        // centred in its cell, and only the widest are made narrower.
        int wide = 40, left = 0, top = 0, w = 0, h = 0;
        for (; wide > 16; --wide) {
            TextBox(font, 28, s, left, top, w, h, wide);
            if (w + 4 <= cw) break;
        }
        Mask m(cw, ch);
        TextMask(m, font, 28, s, (cw - w) / 2.0 - left, 23, false, wide);
        const Mask outline = Dilate(m, 1.5);
        PaintCell(img, (b % 16) * cw, (b / 16) * ch, cw, ch, m, outline, 0, 0,
                  Rgba{1.0, 0.95, 0.70, 1}, Rgba{0.98, 0.50, 0.16, 1}, Rgba{0.16, 0.05, 0.03, 1});
    }
    return WritePng(dir + "/Splash 480x240.png", img);
}

}  // namespace media
