// One rendered row, probed by pixels: the bar artwork is drawn and the title has the
// stored colour.

#include "WidgetFixture.h"

#include "graphics/PixelProbe.h"

namespace {

using RenderTest = HostedWidget;

bool isRed(const Pixel& pixel) { return pixel[0] > 200 && pixel[1] < 70 && pixel[2] < 70 && pixel[3] == 255; }

TEST_F(RenderTest, TheRowShowsItsBackgroundAndTheTitleInTheStoredColour)
{
    set("Height", 50.0);
    set("Label", "WWWWWWWW");
    set("Size", 30.0);
    set("TextColor", "0.000000,1.000000,1.000000,1.000000");
    load();
    _clock->advance(1); // past the fade-in

    CairoSurfacePtr image = host().window()->renderImage(1);
    ASSERT_TRUE(image);
    // The row lies at (2, 20) in the window; its background is inset by 2 more.
    Pixel outside = pixelAt(image.get(), 1, 45);
    Pixel background = pixelAt(image.get(), 10, 24);
    EXPECT_NE(background, outside);
    EXPECT_GT(background[0], outside[0] + 10); // the artwork's lit upper half

    int red = 0;
    for (int y = 20; y < 70; ++y) {
        for (int x = 2; x < 318; ++x)
            red += isRed(pixelAt(image.get(), x, y));
    }
    EXPECT_GT(red, 50);

    // Without a background image the same spot shows the window through.
    set("Background", 1);
    host().unloadViews();
    host().reloadViews();
    _clock->advance(1);
    CairoSurfacePtr bare = host().window()->renderImage(1);
    EXPECT_EQ(pixelAt(bare.get(), 10, 24), outside);
}

} // namespace
