#pragma once

// A one-line editable text. Editing begins when the field becomes first responder (a tap
// on it, or becomeFirstResponder) and ends when it resigns; one field edits at a time.
//
//   input                     events sent
//   becomeFirstResponder      EditingDidBegin (only when it was not editing)
//   each inserted character   EditingChanged (a paste is one change)
//   deleteBackward            EditingChanged when there was text to delete
//   clear (the clear button)  EditingChanged when there was text
//   the return key            EditingDidEndOnExit, then the field resigns if it is still
//                             editing and anyone listens for that event
//   resignFirstResponder      EditingDidEnd
//
// The input calls begin editing first when the field is not editing, as the tap that puts
// the keyboard up would.
//
// What the keyboard cannot type the field refuses whole, before any change: control
// characters (U+0000 to U+001F and U+007F), bytes that are not UTF-8, and text that would
// make the field hold more than kMaximumLength characters. setText, the code's own, is not
// bound by these rules.

#include "ui/UIControl.h"
#include "ui/UIFont.h"

enum UITextAutocorrectionType : int {
    UITextAutocorrectionTypeDefault = 0,
    UITextAutocorrectionTypeNo = 1,
    UITextAutocorrectionTypeYes = 2,
};

enum UITextAutocapitalizationType : int {
    UITextAutocapitalizationTypeNone = 0,
    UITextAutocapitalizationTypeWords = 1,
    UITextAutocapitalizationTypeSentences = 2,
    UITextAutocapitalizationTypeAllCharacters = 3,
};

enum UIReturnKeyType : int {
    UIReturnKeyDefault = 0,
    UIReturnKeyGo = 1,
    UIReturnKeyGoogle = 2,
    UIReturnKeyJoin = 3,
    UIReturnKeyNext = 4,
    UIReturnKeyRoute = 5,
    UIReturnKeySearch = 6,
    UIReturnKeySend = 7,
    UIReturnKeyYahoo = 8,
    UIReturnKeyDone = 9,
    UIReturnKeyEmergencyCall = 10,
};

enum UITextFieldViewMode : int {
    UITextFieldViewModeNever = 0,
    UITextFieldViewModeWhileEditing = 1,
    UITextFieldViewModeUnlessEditing = 2,
    UITextFieldViewModeAlways = 3,
};

// Why an insertion was refused; None when it is taken.
enum class UITextInputRefusal { None, ControlCharacter, InvalidUTF8, TooLong };

class UITextField;
using UITextFieldRef = std::shared_ptr<UITextField>;

class UITextField : public UIControl {
    RVX_OBJECT(UITextField)
public:
    explicit UITextField(CGRect frame = CGRectZero);

    const std::string& text() const { return _text; }
    // Sets the text without sending any event, as the platform does.
    void setText(std::string text);
    const std::string& placeholder() const { return _placeholder; }
    void setPlaceholder(std::string placeholder);
    const UIFontRef& font() const { return _font; }
    void setFont(UIFontRef font);
    const UIColorRef& textColor() const { return _textColor; }
    void setTextColor(UIColorRef color);
    int textAlignment() const { return _textAlignment; }
    void setTextAlignment(int alignment);
    int autocorrectionType() const { return _autocorrectionType; }
    void setAutocorrectionType(int type) { _autocorrectionType = type; }
    int autocapitalizationType() const { return _autocapitalizationType; }
    void setAutocapitalizationType(int type) { _autocapitalizationType = type; }
    int returnKeyType() const { return _returnKeyType; }
    void setReturnKeyType(int type) { _returnKeyType = type; }
    int clearButtonMode() const { return _clearButtonMode; }
    void setClearButtonMode(int mode) { _clearButtonMode = mode; }
    bool isSecureTextEntry() const { return _secureTextEntry; }
    void setSecureTextEntry(bool secure);

    bool isFirstResponder() const { return _editing; }
    bool isEditing() const { return _editing; }
    // Answers whether the field is editing afterwards.
    bool becomeFirstResponder();
    bool resignFirstResponder();
    // The field that is editing now, if any.
    static UITextFieldRef currentEditingField();

    // The most characters (code points) a field holds.
    static constexpr size_t kMaximumLength = 1024;
    // Characters (code points) in UTF-8 text.
    static size_t characterCount(std::string_view text);
    // Whether inserting `text` now would be refused, and why.
    UITextInputRefusal refusalForInsertion(std::string_view text) const;

    // Keyboard input. A refused insertion changes nothing and answers false.
    bool insertText(std::string_view text); // one change per character (UTF-8 code point)
    bool paste(std::string_view text);      // one change
    void deleteBackward();                  // the last character
    void clear();                           // the clear button
    void pressReturn();

    void touchesEnded(const UITouchSet& touches, const UIEventRef& event) override;
    void drawRect(CGRect rect) override;
    void describe(json::Value& fields) const override;

private:
    void beginIfNeeded();
    // Whether the text may be inserted, editing begun first: false when refused.
    bool readyToInsert(std::string_view text);
    void changeText(std::string text);
    std::string shownText() const;

    std::string _text;
    std::string _placeholder;
    UIFontRef _font;
    UIColorRef _textColor;
    int _textAlignment = UITextAlignmentLeft;
    int _autocorrectionType = UITextAutocorrectionTypeDefault;
    int _autocapitalizationType = UITextAutocapitalizationTypeSentences;
    int _returnKeyType = UIReturnKeyDefault;
    int _clearButtonMode = UITextFieldViewModeNever;
    bool _secureTextEntry = false;
    bool _editing = false;
};
