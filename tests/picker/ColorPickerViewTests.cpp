#include "PickerTestSupport.h"

#include "color/ColorPickerView.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/NSAssertionHandler.h"
#include "graphics/CAGradientLayer.h"
#include "ui/UIEvent.h"
#include "ui/UILabel.h"
#include "ui/UITouch.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

namespace {

class ColorPicker : public ::testing::Test {
protected:
    void SetUp() override { _clock = RunLoop::main().installVirtualClock(); }
    void TearDown() override { RunLoop::main().installSystemClock(); }

    ColorPickerViewRef makePicker()
    {
        auto picker = std::make_shared<ColorPickerView>(CGRectMake(0, 0, 320, 420));
        picker->prepareObjects();
        return picker;
    }

    TestDevice _device;
    std::shared_ptr<VirtualClock> _clock;
};

void expectPaint(const UIColorRef& color, RGBA expected)
{
    ASSERT_NE(color, nullptr);
    RGBA paint = color->paint();
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(paint[i], expected[i], 1e-4f) << "component " << i;
}

void expectCenter(const UIViewRef& view, CGPoint expected)
{
    EXPECT_NEAR(view->center().x, expected.x, 1e-3f);
    EXPECT_NEAR(view->center().y, expected.y, 1e-3f);
}

struct Values {
    float hue, saturation, brightness, alpha;
};

Values valuesOf(const ColorPickerView& picker)
{
    return {picker.currentHue(), picker.currentSaturation(), picker.currentBrightness(), picker.currentAlpha()};
}

void expectValues(const ColorPickerView& picker, Values expected)
{
    Values v = valuesOf(picker);
    EXPECT_NEAR(v.hue, expected.hue, 1e-5f);
    EXPECT_NEAR(v.saturation, expected.saturation, 1e-5f);
    EXPECT_NEAR(v.brightness, expected.brightness, 1e-5f);
    EXPECT_NEAR(v.alpha, expected.alpha, 1e-5f);
}

UITouchRef touchInWindow(const UIWindowRef& window, const UIViewRef& view, CGPoint point)
{
    auto touch = std::make_shared<UITouch>();
    touch->_locationInWindow = touch->_previousLocationInWindow = point;
    touch->_window = window;
    touch->_view = view;
    return touch;
}

} // namespace

TEST_F(ColorPicker, LaysOutItsViewsBackToFront)
{
    installPickerArtwork(_device);
    ColorPickerViewRef picker = makePicker();
    const std::vector<UIViewRef>& views = picker->subviews();
    ASSERT_EQ(views.size(), 10u);

    EXPECT_EQ(views[0]->className(), "UIImageView");
    EXPECT_EQ(views[0]->frame(), CGRectMake(11, 60, 298, 257));
    EXPECT_EQ(views[1]->frame(), CGRectMake(10, 370, 300, 40)); // the alpha bar's checkerboard
    EXPECT_EQ(views[2], picker->alphaView());
    EXPECT_EQ(views[3], picker->gradientView());
    EXPECT_EQ(views[4]->frame(), CGRectMake(195, 5, 113, 49)); // the swatch's checkerboard
    EXPECT_EQ(views[5], picker->alphaBar());
    EXPECT_EQ(views[6], picker->showColor());
    EXPECT_EQ(views[7], picker->crossHairs());
    EXPECT_EQ(views[8], picker->brightnessBar());
    auto caption = std::dynamic_pointer_cast<UILabel>(views[9]);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), "Color Preview");
    EXPECT_EQ(caption->frame(), CGRectMake(20, 19, 107, 21));
    expectPaint(caption->textColor(), {0, 0, 0, 1});
    expectPaint(caption->backgroundColor(), {0, 0, 0, 0});

    EXPECT_EQ(picker->gradientView()->frame(), CGRectMake(10, 323, 300, 40));
    EXPECT_EQ(picker->alphaView()->frame(), CGRectMake(10, 370, 300, 40));
    for (const UIViewRef& bordered : {views[0], UIViewRef(picker->gradientView()), UIViewRef(picker->alphaView()),
             picker->showColor()}) {
        EXPECT_EQ(bordered->layer()->borderWidth(), 1);
        ASSERT_NE(bordered->layer()->borderColor(), nullptr);
        EXPECT_EQ(bordered->layer()->borderColor()->paint(), (RGBA {0, 0, 0, 1}));
    }
    EXPECT_TRUE(picker->isMultipleTouchEnabled());

    // Images come from the installed bundle, the map and checkerboards stretched to their frames.
    auto map = std::static_pointer_cast<UIImageView>(views[0]);
    ASSERT_NE(map->image(), nullptr);
    EXPECT_EQ(map->image()->scale(), 2);
    EXPECT_NE(std::static_pointer_cast<UIImageView>(views[1])->image(), nullptr);
    EXPECT_NE(std::static_pointer_cast<UIImageView>(views[4])->image(), nullptr);
    // Before any colour the markers sit at the origin, sized to their images.
    EXPECT_EQ(picker->crossHairs()->frame(), CGRectMake(0, 0, 20, 20));
    EXPECT_EQ(picker->brightnessBar()->frame(), CGRectMake(0, 0, 10, 48));
    EXPECT_EQ(picker->alphaBar()->frame(), CGRectMake(0, 0, 10, 48));
    expectValues(*picker, {0, 0, 0, 0});
}

TEST_F(ColorPicker, WorksWithoutItsImages)
{
    ColorPickerViewRef picker = makePicker();
    EXPECT_EQ(picker->crossHairs()->image(), nullptr);
    EXPECT_EQ(picker->crossHairs()->frame().size, CGSizeZero);
    picker->setColor(UIColor::whiteColor());
    picker->dispatchTouchEvent({160, 343});
    expectValues(*picker, {0, 0, 0.49667f, 1});
    expectCenter(picker->brightnessBar(), {160, 343});
}

TEST_F(ColorPicker, SetColorLoadsTheValuesAndPlacesTheMarkers)
{
    installPickerArtwork(_device);
    ColorPickerViewRef picker = makePicker();
    picker->setColor(UIColor::whiteColor());
    expectValues(*picker, {0, 0, 1, 1});
    expectCenter(picker->crossHairs(), {11, 317});
    expectCenter(picker->brightnessBar(), {9, 343});
    expectCenter(picker->alphaBar(), {9, 390});
    EXPECT_EQ(picker->getColorAsString(), "0.000000,0.000000,1.000000,1.000000");
    expectPaint(picker->getColorShown(), {1, 1, 1, 1});
    expectPaint(picker->showColor()->backgroundColor(), {1, 1, 1, 1});

    picker->setColor(UIColor::colorWithHue(0.5f, 1, 1, 0.5f));
    expectCenter(picker->crossHairs(), {160, 120});
    expectCenter(picker->brightnessBar(), {9, 343});
    expectCenter(picker->alphaBar(), {159, 390});
    EXPECT_EQ(picker->getColorAsString(), "0.500000,1.000000,1.000000,0.500000");
    expectPaint(picker->getColorShown(), {0, 1, 1, 0.5f});
    expectPaint(picker->gradientView()->theColor(), {0, 1, 1, 0.5f});
    expectPaint(picker->alphaView()->theColor(), {0, 1, 1, 0.5f});
    EXPECT_EQ(picker->gradientView()->gradient(), nullptr) << "the bars wait for the next draw pass";

    // No animation: the rendered position is the model position at once.
    EXPECT_EQ(picker->crossHairs()->presentationFrame(), picker->crossHairs()->frame());
}

TEST_F(ColorPicker, SetColorRefusesAColourWithoutRGBComponents)
{
    ColorPickerViewRef picker = makePicker();
    picker->setColor(UIColor::colorWithHue(0.25f, 0.5f, 0.75f, 1));
    try {
        picker->setColor(UIColor::groupTableViewBackgroundColor());
        ADD_FAILURE() << "a pattern colour was accepted";
    } catch (const NSInternalInconsistencyException& failure) {
        EXPECT_EQ(failure.reason(), "Must be an RGB color to use -red");
    }
    expectValues(*picker, {0.25f, 0.5f, 0.75f, 1});
}

TEST_F(ColorPicker, ColourTextKeepsUnclampedValuesWithAFullStop)
{
    ColorPickerViewRef picker = makePicker();
    picker->setCurrentHue(0.25f);
    picker->setCurrentSaturation(1.30457f);
    picker->setCurrentBrightness(-0.0033333f);
    picker->setCurrentAlpha(1);
    EXPECT_EQ(picker->getColorAsString(), "0.250000,1.304570,-0.003333,1.000000");
    // The swatch colour clamps where the text does not.
    expectPaint(picker->getColorShown(), {0, 0, 0, 1});
}

TEST_F(ColorPicker, TouchesOnTheMapSetHueAndSaturationAndRebuildBothBars)
{
    ColorPickerViewRef picker = makePicker();
    picker->setColor(UIColor::colorWithHue(0, 0, 0.5f, 0.8f));
    picker->setDefaultColor(true);

    picker->dispatchTouchEvent({160, 60});
    expectValues(*picker, {0.5f, 1.30457f, 0.5f, 0.8f});
    EXPECT_FALSE(picker->defaultColor());
    expectCenter(picker->crossHairs(), {160, 60});
    ASSERT_NE(picker->gradientView()->gradient(), nullptr);
    EXPECT_EQ(picker->gradientView()->gradient()->stops()[0].color, (RGBA {0, 1, 1, 1}));
    ASSERT_EQ(picker->alphaView()->layer()->sublayers().size(), 1u);
    auto fade = std::dynamic_pointer_cast<CAGradientLayer>(picker->alphaView()->layer()->sublayers()[0]);
    expectPaint(UIColor::colorWithCGColor(fade->colors().at(0)), {0, 0.5f, 0.5f, 1});
    expectPaint(picker->showColor()->backgroundColor(), {0, 0.5f, 0.5f, 0.8f});

    picker->dispatchTouchEvent({11, 120});
    expectValues(*picker, {0, 1, 0.5f, 0.8f});
}

TEST_F(ColorPicker, TouchesOnTheBarsSetBrightnessAndAlpha)
{
    ColorPickerViewRef picker = makePicker();
    picker->setColor(UIColor::colorWithHue(0, 1, 1, 1));
    picker->drawRect(picker->bounds());
    CGGradientRef brightnessFade = picker->gradientView()->gradient();

    picker->dispatchTouchEvent({160, 340});
    expectValues(*picker, {0, 1, 0.49667f, 1});
    expectCenter(picker->brightnessBar(), {160, 343});
    EXPECT_EQ(picker->gradientView()->gradient(), brightnessFade) << "its fade does not depend on brightness";
    auto fade = std::dynamic_pointer_cast<CAGradientLayer>(picker->alphaView()->layer()->sublayers().at(0));
    expectPaint(UIColor::colorWithCGColor(fade->colors().at(0)), {0.49667f, 0, 0, 1});

    picker->dispatchTouchEvent({310, 380});
    {
        SCOPED_TRACE("the alpha bar's right edge is outside");
        expectValues(*picker, {0, 1, 0.49667f, 1});
    }
    picker->dispatchTouchEvent({309.9f, 400});
    expectValues(*picker, {0, 1, 0.49667f, -0.003f});
    expectCenter(picker->alphaBar(), {309.9f, 390});
    expectPaint(picker->showColor()->backgroundColor(), {0.49667f, 0, 0, 0});
    EXPECT_EQ(picker->getColorAsString(), "0.000000,1.000000,0.496667,-0.003000");
}

TEST_F(ColorPicker, TouchesInTheGapsChangeNothing)
{
    ColorPickerViewRef picker = makePicker();
    picker->setColor(UIColor::colorWithHue(0.25f, 0.5f, 0.75f, 0.5f));
    picker->setDefaultColor(true);
    CGRect crossHairs = picker->crossHairs()->frame();
    for (CGPoint gap : {CGPoint {10.5f, 200}, CGPoint {100, 320}, CGPoint {100, 365}, CGPoint {309, 100},
             CGPoint {5, 340}, CGPoint {100, 415}})
        picker->dispatchTouchEvent(gap);
    expectValues(*picker, {0.25f, 0.5f, 0.75f, 0.5f});
    EXPECT_TRUE(picker->defaultColor());
    EXPECT_EQ(picker->crossHairs()->frame(), crossHairs);
}

TEST_F(ColorPicker, MarkersGlideForAQuarterSecondWhileValuesChangeAtOnce)
{
    installPickerArtwork(_device);
    ColorPickerViewRef picker = makePicker();
    picker->setColor(UIColor::whiteColor());
    picker->crossHairs()->setTransform({2, 0, 0, 2, 0, 0});

    picker->dispatchTouchEvent({160, 200});
    EXPECT_NEAR(picker->currentHue(), 0.5f, 1e-6f);
    expectCenter(picker->crossHairs(), {160, 200});
    EXPECT_EQ(picker->crossHairs()->transform(), CGAffineTransformIdentity);

    _clock->advance(0.125);
    CGRect midway = picker->crossHairs()->presentationFrame();
    EXPECT_GT(midway.origin.x + 10, 11.0f);
    EXPECT_LT(midway.origin.x + 10, 160.0f);

    _clock->advance(0.125);
    CGRect end = picker->crossHairs()->presentationFrame();
    EXPECT_EQ(end, CGRectMake(150, 190, 20, 20));
}

TEST_F(ColorPicker, AppliesEveryTouchOfASetInItsOrder)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto picker = std::make_shared<ColorPickerView>(CGRectMake(0, 40, 320, 420));
    picker->prepareObjects();
    window->addSubview(picker);
    picker->setColor(UIColor::colorWithHue(0, 1, 1, 1));

    // Window points 40 below picker points: one finger on the map, one on the brightness bar.
    UITouchRef onMap = touchInWindow(window, picker, {160, 160});
    UITouchRef onBar = touchInWindow(window, picker, {70, 383});
    picker->touchesBegan({onMap, onBar}, UITouchesEvent::_initWithEvent(nullptr, {onMap, onBar}));
    expectValues(*picker, {0.5f, 1, 0.79667f, 1});
    expectCenter(picker->brightnessBar(), {70, 343});

    // Two fingers on the map: the one the set gives last wins.
    onBar->_locationInWindow = {309 - 298.0f / 4, 160};
    onMap->_locationInWindow = {11 + 298.0f / 4, 160};
    picker->touchesMoved({onBar, onMap}, nullptr);
    EXPECT_NEAR(picker->currentHue(), 0.25f, 1e-6f);
    picker->touchesMoved({onMap, onBar}, nullptr);
    EXPECT_NEAR(picker->currentHue(), 0.75f, 1e-6f);
}

TEST_F(ColorPicker, DrawPassRebuildsBothBars)
{
    ColorPickerViewRef picker = makePicker();
    picker->setColor(UIColor::colorWithHue(0, 1, 0.2f, 1));
    EXPECT_TRUE(picker->alphaView()->layer()->sublayers().empty());

    CairoSurfacePtr image = UIRenderView(*picker, 1);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(picker->gradientView()->gradient(), nullptr);
    EXPECT_EQ(picker->alphaView()->layer()->sublayers().size(), 1u);

    // Brightness bar: pure red at its left end whatever the brightness, black at the right.
    EXPECT_TRUE(near(pixelAt(image.get(), 11, 343), {1, 0, 0, 1}, 4)) << pixelAt(image.get(), 11, 343);
    EXPECT_TRUE(near(pixelAt(image.get(), 308, 343), {0, 0, 0, 1}, 4)) << pixelAt(image.get(), 308, 343);
    // Alpha bar: the colour itself, opaque, at its left end.
    EXPECT_TRUE(near(pixelAt(image.get(), 11, 390), {0.2f, 0, 0, 1}, 4)) << pixelAt(image.get(), 11, 390);
    // The swatch and its border.
    EXPECT_TRUE(near(pixelAt(image.get(), 250, 30), {0.2f, 0, 0, 1}, 2)) << pixelAt(image.get(), 250, 30);
    EXPECT_TRUE(near(pixelAt(image.get(), 195, 30), {0, 0, 0, 1}, 2)) << pixelAt(image.get(), 195, 30);

    // Rebuilding again keeps one layer under the alpha bar.
    CairoSurfacePtr again = UIRenderView(*picker, 1);
    EXPECT_EQ(picker->alphaView()->layer()->sublayers().size(), 1u);
}

TEST_F(ColorPicker, IsFoundAndDrivenByName)
{
    const Class* cls = objc_getClass("ColorPickerView");
    ASSERT_NE(cls, nullptr);
    EXPECT_NE(objc_getClass("GradientView"), nullptr);
    EXPECT_NE(objc_getClass("GradientAlpha"), nullptr);
    id object = cls->createInstance();
    object->performSelector("prepareObjects");
    object->performSelector("setColor:", UIColor::whiteColor());
    auto picker = std::dynamic_pointer_cast<ColorPickerView>(object);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->subviews().size(), 10u);
    EXPECT_EQ(picker->getColorAsString(), "0.000000,0.000000,1.000000,1.000000");
    expectPaint(std::dynamic_pointer_cast<UIColor>(object->performSelector("getColorShown")), {1, 1, 1, 1});
}
