#include "ui/UISlider.h"
#include "ui/UISwitch.h"
#include "ui/UITextField.h"
#include "ui/UIWindow.h"
#include "ui/UITouch.h"
#include "ui/UIEvent.h"

#include <gtest/gtest.h>

namespace {

// Records the events a control sends, in order.
class Recorder : public NSObject {
    RVX_OBJECT(Recorder)
public:
    std::vector<std::string> events;
    std::vector<std::string> texts;
    std::vector<float> values;
    void listen(UIControl& control)
    {
        const std::pair<uint32_t, const char*> names[] = {
            {UIControlEventEditingDidBegin, "begin:"}, {UIControlEventEditingChanged, "changed:"},
            {UIControlEventEditingDidEnd, "end:"}, {UIControlEventEditingDidEndOnExit, "exit:"},
            {UIControlEventValueChanged, "value:"}, {UIControlEventTouchUpInside, "upInside:"},
            {UIControlEventTouchUpOutside, "upOutside:"}};
        for (auto [event, action] : names)
            control.addTarget(self(), action, event);
    }
    size_t count(std::string_view name) const { return size_t(std::count(events.begin(), events.end(), name)); }
};

IMP record(const char* name)
{
    return [name](NSObject& self, const id& sender) -> id {
        auto& recorder = static_cast<Recorder&>(self);
        recorder.events.push_back(name);
        if (auto field = std::dynamic_pointer_cast<UITextField>(sender))
            recorder.texts.push_back(field->text());
        if (auto slider = std::dynamic_pointer_cast<UISlider>(sender))
            recorder.values.push_back(slider->value());
        return nullptr;
    };
}

} // namespace

RVX_DEFINE_CLASS(Recorder, NSObject,
    cls.addMethod("begin:", record("begin"));
    cls.addMethod("changed:", record("changed"));
    cls.addMethod("end:", record("end"));
    cls.addMethod("exit:", record("exit"));
    cls.addMethod("value:", record("value"));
    cls.addMethod("upInside:", record("upInside"));
    cls.addMethod("upOutside:", record("upOutside")))

TEST(TextField, TypingSendsOneChangePerCharacterAndAPasteOne)
{
    auto field = std::make_shared<UITextField>(CGRectMake(0, 0, 176, 21));
    auto recorder = std::make_shared<Recorder>();
    recorder->listen(*field);
    field->insertText("Hé");
    EXPECT_EQ(recorder->events, (std::vector<std::string> {"begin", "changed", "changed"}));
    EXPECT_EQ(recorder->texts[1], "H");
    EXPECT_EQ(recorder->texts[2], "Hé");
    EXPECT_TRUE(field->isFirstResponder());
    field->paste(" there");
    EXPECT_EQ(recorder->count("changed"), 3u);
    field->deleteBackward();
    EXPECT_EQ(field->text(), "Hé ther");
    field->clear();
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(recorder->count("changed"), 5u);
    field->deleteBackward(); // nothing left to delete: no change
    field->clear();
    EXPECT_EQ(recorder->count("changed"), 5u);
    field->setText("quiet"); // set by code: no event
    EXPECT_EQ(recorder->count("changed"), 5u);
}

TEST(TextField, TheReturnKeyEndsOnExitWithoutAChange)
{
    auto field = std::make_shared<UITextField>(CGRectMake(0, 0, 176, 21));
    auto recorder = std::make_shared<Recorder>();
    recorder->listen(*field);
    field->pressReturn(); // not editing: no keyboard, nothing happens
    EXPECT_TRUE(recorder->events.empty());
    field->insertText("a");
    field->pressReturn();
    EXPECT_EQ(recorder->events, (std::vector<std::string> {"begin", "changed", "exit", "end"}));
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(UITextField::currentEditingField(), nullptr);
}

TEST(TextField, OneFieldEditsAtATimeAndATapBeginsEditing)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto first = std::make_shared<UITextField>(CGRectMake(0, 0, 100, 30));
    auto second = std::make_shared<UITextField>(CGRectMake(0, 100, 100, 30));
    window->addSubview(first);
    window->addSubview(second);
    auto recorder = std::make_shared<Recorder>();
    recorder->listen(*first);
    first->becomeFirstResponder();
    auto touch = std::make_shared<UITouch>();
    touch->_tapCount = 1;
    touch->_locationInWindow = touch->_previousLocationInWindow = {50, 115};
    touch->_window = window;
    touch->_view = window->hitTest({50, 115}, nullptr);
    ASSERT_EQ(touch->_view, second);
    second->touchesBegan({touch}, UITouchesEvent::_initWithEvent(nullptr, {touch}));
    touch->setPhase(UITouchPhaseEnded);
    second->touchesEnded({touch}, UITouchesEvent::_initWithEvent(nullptr, {touch}));
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_EQ(recorder->events, (std::vector<std::string> {"begin", "end"}));
    EXPECT_EQ(UITextField::currentEditingField(), second);
    second->resignFirstResponder();
}

TEST(TextField, RefusesWhatAKeyboardCannotTypeWholeAndBeforeAnyChange)
{
    auto field = std::make_shared<UITextField>(CGRectMake(0, 0, 176, 21));
    auto recorder = std::make_shared<Recorder>();
    recorder->listen(*field);
    ASSERT_TRUE(field->insertText("Hello"));
    size_t changes = recorder->count("changed");

    const std::pair<std::string, UITextInputRefusal> refused[] = {
        {std::string("\x01"), UITextInputRefusal::ControlCharacter},
        {std::string("World\x1f"), UITextInputRefusal::ControlCharacter},
        {std::string("a\x7f"), UITextInputRefusal::ControlCharacter},
        {std::string("tab\there"), UITextInputRefusal::ControlCharacter},
        {std::string("line\n"), UITextInputRefusal::ControlCharacter},
        {std::string("nul\0", 4), UITextInputRefusal::ControlCharacter},
        {std::string("caf\xE9"), UITextInputRefusal::InvalidUTF8},
        {std::string("\xC0\xAF"), UITextInputRefusal::InvalidUTF8},
        {std::string("\xED\xA0\x80"), UITextInputRefusal::InvalidUTF8},
        {std::string("\xE2\x9C"), UITextInputRefusal::InvalidUTF8},
    };
    for (const auto& [text, why] : refused) {
        EXPECT_EQ(field->refusalForInsertion(text), why) << text;
        EXPECT_FALSE(field->insertText(text)) << text;
        EXPECT_FALSE(field->paste(text)) << text;
    }
    EXPECT_EQ(field->text(), "Hello") << "nothing of a refused text is typed, not even its first characters";
    EXPECT_EQ(recorder->count("changed"), changes);

    // At most kMaximumLength characters, counted as characters rather than bytes.
    std::string fill;
    for (size_t i = 5; i < UITextField::kMaximumLength - 1; ++i)
        fill += "\xC3\xA9";
    ASSERT_TRUE(field->paste(fill));
    EXPECT_EQ(UITextField::characterCount(field->text()), UITextField::kMaximumLength - 1);
    EXPECT_EQ(field->refusalForInsertion("ab"), UITextInputRefusal::TooLong);
    EXPECT_FALSE(field->insertText("ab"));
    EXPECT_EQ(UITextField::characterCount(field->text()), UITextField::kMaximumLength - 1) << "not one of the two";
    EXPECT_TRUE(field->insertText("\xE2\x9C\x95")) << "the last character that fits";
    EXPECT_FALSE(field->paste("x"));
    field->deleteBackward();
    EXPECT_TRUE(field->insertText("z"));

    // The code's own setText is not the keyboard.
    field->setText("a\tb");
    EXPECT_EQ(field->text(), "a\tb");
    field->resignFirstResponder();
}

TEST(TextField, SecureEntryShowsOnlyDots)
{
    auto field = std::make_shared<UITextField>(CGRectMake(0, 0, 100, 30));
    field->setSecureTextEntry(true);
    field->setText("pw");
    EXPECT_EQ(field->text(), "pw");
    EXPECT_EQ(field->dump().find("\"pw\""), std::string::npos);
}

TEST(Slider, KeepsItsValueWithinItsBounds)
{
    UISlider slider(CGRectMake(0, 0, 200, 23));
    slider.setMaximumValue(50);
    slider.setMinimumValue(10);
    EXPECT_EQ(slider.value(), 10);
    slider.setValue(70);
    EXPECT_EQ(slider.value(), 50);
    slider.setValue(std::nanf(""));
    EXPECT_EQ(slider.value(), 10);
    slider.setValue(30);
    slider.setMaximumValue(20);
    EXPECT_EQ(slider.value(), 20);
}

TEST(Slider, ADragSendsAChangePerStepAndOneTouchUpAtTheLift)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto slider = std::make_shared<UISlider>(CGRectMake(12, 100, 255, 20));
    window->addSubview(slider);
    slider->setMaximumValue(50);
    slider->setMinimumValue(10);
    slider->setValue(17);
    auto recorder = std::make_shared<Recorder>();
    recorder->listen(*slider);
    slider->dragTo(29.73f, 6);
    EXPECT_EQ(recorder->count("value"), 6u);
    EXPECT_EQ(recorder->count("upInside"), 1u);
    EXPECT_EQ(recorder->count("upOutside"), 0u);
    EXPECT_EQ(recorder->events.back(), "upInside");
    EXPECT_NEAR(slider->value(), 29.73f, 1e-4);
    for (size_t i = 1; i < 6; ++i)
        EXPECT_GT(recorder->values[i], recorder->values[i - 1]);

    recorder->events.clear();
    slider->dragTo(12, 3, 200); // lifted far below the track
    EXPECT_EQ(recorder->count("value"), 3u);
    EXPECT_EQ(recorder->count("upOutside"), 1u);
    EXPECT_EQ(recorder->count("upInside"), 0u);
    EXPECT_NEAR(slider->value(), 12, 1e-4);

    recorder->events.clear();
    slider->dragTo(100, 4); // past the end: pinned at the maximum, no change once there
    EXPECT_EQ(slider->value(), 50);
    EXPECT_LE(recorder->count("value"), 4u);

    recorder->events.clear();
    slider->setContinuous(false);
    slider->dragTo(20, 5);
    EXPECT_EQ(recorder->count("value"), 1u);
}

TEST(Switch, ATapFlipsItAndSetOnSendsNothing)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto toggle = std::make_shared<UISwitch>(CGRectMake(10, 10, 5, 5));
    EXPECT_EQ(toggle->frame().size.width, UISwitch::kWidth);
    window->addSubview(toggle);
    auto recorder = std::make_shared<Recorder>();
    recorder->listen(*toggle);
    toggle->setOn(true, true);
    EXPECT_TRUE(recorder->events.empty());
    auto touch = std::make_shared<UITouch>();
    touch->_tapCount = 1;
    touch->_locationInWindow = touch->_previousLocationInWindow = {30, 20};
    touch->_window = window;
    touch->_view = toggle;
    toggle->touchesBegan({touch}, nullptr);
    touch->setPhase(UITouchPhaseEnded);
    toggle->touchesEnded({touch}, nullptr);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(recorder->count("value"), 1u);
    // Pressed, then dragged far away before the lift: no flip.
    toggle->touchesBegan({touch}, nullptr);
    touch->_locationInWindow = {300, 400};
    toggle->touchesEnded({touch}, nullptr);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(recorder->count("value"), 1u);
    EXPECT_NE(toggle->dump().find("\"on\":false"), std::string::npos);
}
