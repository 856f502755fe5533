#pragma once

// What alerts and action sheets share: a title, a list of buttons with the cancel and
// destructive ones among them, the delegate told of a tap, and the one registry of the
// modals on screen, in the order they were shown.
//
// A modal is put on screen by the presenter the host installs (see UIModalPresenter), and
// taken off by the platform when it is dismissed. With no presenter installed the platform
// draws it itself (see UIModalOverlay): an alert over the key window, a sheet over the window
// of the view it is shown in; with neither window it is listed but not drawn.
//
//   shown      listed (the latest last), visible; a second show does nothing
//   tapped     dismissWithClickedButtonIndex: the delegate is told once, then the modal is
//              dismissed; an index that names no button dismisses without a delegate call,
//              and so does a dismissal asked for from within that delegate call
//   dismissed  off the list and off the screen; it may be shown again, on top

#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class UIModalView;
using UIModalViewRef = std::shared_ptr<UIModalView>;
class UIModalPresenter;

class UIModalView : public NSObject {
    RVX_OBJECT(UIModalView)
public:
    int tag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }

    int numberOfButtons() const { return int(_buttons.size()); }
    // Nothing (an empty text) for an index that names no button.
    std::string buttonTitleAtIndex(int index) const;
    int addButtonWithTitle(std::string title);
    // -1 when there is no such button.
    int cancelButtonIndex() const { return _cancelButtonIndex; }
    int destructiveButtonIndex() const { return _destructiveButtonIndex; }
    int firstOtherButtonIndex() const { return _firstOtherButtonIndex; }
    // The first button titled `word`, else the button whose index `word` spells in decimal;
    // -1 when neither names a button.
    int buttonIndexNamed(std::string_view word) const;

    bool isVisible() const { return _visible; }
    // Tells the delegate which button was tapped, then dismisses the modal (see the table).
    void dismissWithClickedButtonIndex(int index, bool animated = true);

    // The presenter is held by the host; the platform keeps only a plain pointer, which a
    // presenter takes back as it goes (see UIModalPresenter). Nothing: the platform draws.
    static void setPresenter(UIModalPresenter* presenter);
    static UIModalPresenter* presenter();
    // The modals on screen, oldest first, and the latest of them of kind T.
    static std::vector<UIModalViewRef> visibleModals();
    template<typename T>
    static std::shared_ptr<T> topVisible()
    {
        std::vector<UIModalViewRef> shown = visibleModals();
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (auto modal = std::dynamic_pointer_cast<T>(*it))
                return modal;
        return nullptr;
    }
    // Takes every modal off the screen without a delegate call.
    static void dismissAllModals();

protected:
    UIModalView() = default;
    // Lists the modal and puts it on screen; `view` is the view a sheet is shown in.
    void present(const UIViewRef& view);
    UIViewRef presentedInView() const { return _view.lock(); }
    // The delegate's call for a tap on a button that exists.
    virtual void tellDelegate(int index) = 0;

    std::optional<std::string> _title;
    std::vector<std::string> _buttons;
    int _cancelButtonIndex = -1;
    int _destructiveButtonIndex = -1;
    int _firstOtherButtonIndex = -1;

private:
    friend class UIModalPresenter;
    void takeOffScreen();

    int _tag = 0;
    bool _visible = false;
    bool _tellingDelegate = false;
    std::weak_ptr<UIView> _view;
};

// Puts modals on screen for a host. A host installs one with UIModalView::setPresenter; as a
// presenter is destroyed it is no longer installed, and the modals it showed are dismissed
// without a delegate call (their screen is gone).
class UIModalPresenter {
public:
    UIModalPresenter() = default;
    virtual ~UIModalPresenter();
    UIModalPresenter(const UIModalPresenter&) = delete;
    UIModalPresenter& operator=(const UIModalPresenter&) = delete;

    // Puts `modal` on screen over what is there and answers the view that shows it, which the
    // platform takes off the screen when the modal is dismissed (nothing: it is not drawn).
    // `view` is the view a sheet is shown in; nothing for an alert.
    virtual UIViewRef presentModal(const UIModalViewRef& modal, const UIViewRef& view) = 0;

    // The modals this presenter shows, oldest first, and the latest of them of kind T.
    std::vector<UIModalViewRef> shownModals() const;
    template<typename T>
    std::shared_ptr<T> top() const
    {
        std::vector<UIModalViewRef> shown = shownModals();
        for (auto it = shown.rbegin(); it != shown.rend(); ++it)
            if (auto modal = std::dynamic_pointer_cast<T>(*it))
                return modal;
        return nullptr;
    }
    UIModalViewRef topModal() const { return top<UIModalView>(); }
    // Taps button `index` of the modal on top; false when none shows or the index names no button.
    bool tapButton(int index);
};
