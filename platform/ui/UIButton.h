#pragma once

// Buttons: per-state titles, title colours, images and background images (a state
// without its own falls back to Normal), a title label, and the platform's button looks.

#include "ui/UIControl.h"
#include "ui/UIImage.h"
#include "ui/UILabel.h"

#include <map>

enum UIButtonType : int {
    UIButtonTypeCustom = 0,
    UIButtonTypeRoundedRect = 1,
    UIButtonTypeDetailDisclosure = 2,
    UIButtonTypeInfoLight = 3,
    UIButtonTypeInfoDark = 4,
    UIButtonTypeContactAdd = 5,
    UIButtonTypeBorderedBarItem = 100, // private: the bordered navigation-bar style
    UIButtonTypeDoneBarItem = 101,     // private: the blue Done style of the bar
    UIButtonTypeBackBarItem = 102,     // private: the back button, pointed at its left
};

class UIButton : public UIControl {
    RVX_OBJECT(UIButton)
public:
    explicit UIButton(CGRect frame = CGRectZero);

    // The info types come sized to their 18 x 19 point glyph and glow when touched.
    static UIButtonRef buttonWithType(int type);
    int buttonType() const { return _buttonType; }

    void setTitle(std::string title, unsigned state);
    std::string titleForState(unsigned state) const;
    void setTitleColor(UIColorRef color, unsigned state);
    UIColorRef titleColorForState(unsigned state) const;
    // Nothing (no shadow) unless set; the title label's shadowOffset moves it.
    void setTitleShadowColor(UIColorRef color, unsigned state);
    UIColorRef titleShadowColorForState(unsigned state) const;
    void setImage(UIImageRef image, unsigned state);
    UIImageRef imageForState(unsigned state) const;
    void setBackgroundImage(UIImageRef image, unsigned state);
    UIImageRef backgroundImageForState(unsigned state) const;

    std::string currentTitle() const { return titleForState(state()); }
    UIColorRef currentTitleColor() const { return titleColorForState(state()); }

    // The label that carries the title's font, line break mode and shadow offset; the button
    // draws it with the current title, colour and shadow colour.
    const UILabelRef& titleLabel() const { return _titleLabel; }

    bool showsTouchWhenHighlighted() const { return _showsTouchWhenHighlighted; }
    void setShowsTouchWhenHighlighted(bool shows);

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;
    void describe(json::Value& fields) const override;

private:
    template<typename T>
    static T lookup(const std::map<unsigned, T>& table, unsigned state);
    void drawChrome(Painter& painter) const;
    // Where the image and title go: the bounds less the chrome's own margins.
    CGRect contentRect() const;
    void drawInfoGlyph(Painter& painter) const;
    void drawGlow(Painter& painter) const;

    int _buttonType = UIButtonTypeCustom;
    std::map<unsigned, std::string> _titles;
    std::map<unsigned, UIColorRef> _titleColors;
    std::map<unsigned, UIColorRef> _titleShadowColors;
    std::map<unsigned, UIImageRef> _images;
    std::map<unsigned, UIImageRef> _backgroundImages;
    UILabelRef _titleLabel;
    bool _showsTouchWhenHighlighted = false;
};
