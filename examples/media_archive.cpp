// Media archive.
//
// Shows a game reading its media from one packed archive instead of loose files: ShoeboxSet
// names the archive, and from then on SpriteLoad, FontLoad, line files and the other loaders
// find a name there when no loose file of that name exists. Entries are found by their base
// name, ignoring ASCII case.
//
// Run: build/examples/example_media_archive (ESC ends it). The build packs art.sbx beside it
// with the sbxpack tool, in one line:
//   build/sbxpack pack "media/image 1.2.png" "media/circle 3.png" "media/Splash 480x240.png"
//   examples/archive/credits.txt -o build/examples/art.sbx
// (`sbxpack append art.sbx <program>` puts the archive inside the program itself, where the
// runtime finds it without any ShoeboxSet.)
#include "corvane.h"

namespace {

constexpr double kLogo = 1, kSpark = 2, kBanner = 1;
constexpr double kLogoX = 256, kLogoY = 150;

}  // namespace

void GameMain() {
    // The first name is for pictures, fonts and files, the second for music and video.
    ShoeboxSet(RtString("art.sbx"), RtString("art.sbx"));
    // None of these names is a file beside the program: each comes out of art.sbx.
    const double looseFile = FileExists(RtString("image 1.2.png"));
    const double logoLoaded = SpriteLoad(RtString("image 1.2.png"), kLogo);
    SpriteLoad(RtString("circle 3.png"), kSpark);
    FontLoad(RtString("Splash 480x240.png"), kBanner);
    const RtString credits = LineFileGet(RtString("credits.txt"), 0);

    for (double frame = 0;; ++frame) {
        RectDraw(0, 0, 640, 480, 0x301C14);
        BlendModeSet(1);
        for (int i = 0; i < 12; ++i) {
            const double a = frame * 1.5 + i * 30;
            SpriteDraw(kSpark, 296 + 170 * MathCos(a), 146 + 90 * MathSin(a));
        }
        BlendModeSet(0);
        SpriteDraw(kLogo, kLogoX, kLogoY);

        FontSet(kBanner);
        TextPrint(RtString("ART.SBX"), 215, 40);
        FontSet(0);
        TextPrint(RtString("image 1.2.png as a loose file:"), 80, 300);
        TextPrint(RtString(looseFile ? "yes" : "no"), 360, 300);
        TextPrint(RtString("image 1.2.png loaded:"), 80, 320);
        TextPrint(RtString(logoLoaded ? "yes, from the archive" : "no"), 360, 320);
        TextPrint(RtString("credits.txt, line 0:"), 80, 360);
        TextPrint(credits, 80, 380);
        FramePresent();
    }
}
