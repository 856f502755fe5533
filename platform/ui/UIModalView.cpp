#include "ui/UIModalView.h"

#include "ui/UIModalOverlay.h"
#include "ui/UIWindow.h"

#include <algorithm>
#include <cstdlib>

RVX_DEFINE_CLASS(UIModalView, NSObject)

namespace {

struct Shown {
    UIModalViewRef modal;
    UIModalPresenter* presenter; // nothing: drawn by the platform
    UIViewRef overlay;
};

struct Registry {
    UIModalPresenter* installed = nullptr;
    std::vector<Shown> shown; // oldest first
};

// Never destroyed: a host's presenter may go after the statics of this file have.
Registry& registry()
{
    static Registry* state = new Registry;
    return *state;
}

std::vector<Shown>::iterator entryOf(const UIModalView* modal)
{
    auto& shown = registry().shown;
    return std::find_if(shown.begin(), shown.end(), [&](const Shown& entry) { return entry.modal.get() == modal; });
}

// With no presenter: an alert over the key window, a sheet over the window of its view.
UIViewRef drawnByThePlatform(const UIModalViewRef& modal, const UIViewRef& view)
{
    UIWindowRef window = std::dynamic_pointer_cast<UIActionSheet>(modal) ? (view ? view->window() : nullptr)
                                                                          : UIWindow::keyWindow();
    return UIModalOverlay::showOverWindow(modal, window);
}

} // namespace

std::string UIModalView::buttonTitleAtIndex(int index) const
{
    if (index < 0 || index >= numberOfButtons())
        return {};
    return _buttons[size_t(index)];
}

int UIModalView::addButtonWithTitle(std::string title)
{
    _buttons.push_back(std::move(title));
    return numberOfButtons() - 1;
}

int UIModalView::buttonIndexNamed(std::string_view word) const
{
    for (int i = 0; i < numberOfButtons(); ++i)
        if (_buttons[size_t(i)] == word)
            return i;
    std::string text(word);
    char* end = nullptr;
    long number = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && !*end && number >= 0 && number < numberOfButtons())
        return int(number);
    return -1;
}

void UIModalView::present(const UIViewRef& view)
{
    if (_visible)
        return;
    _visible = true;
    _view = view;
    UIModalViewRef self = selfAs<UIModalView>();
    Registry& state = registry();
    UIModalPresenter* presenter = state.installed;
    // Listed before it is drawn, so that a presenter sees it among the modals on screen.
    state.shown.push_back({ self, presenter, nullptr });
    UIViewRef overlay = presenter ? presenter->presentModal(self, view) : drawnByThePlatform(self, view);
    auto entry = entryOf(this);
    if (entry != state.shown.end())
        entry->overlay = std::move(overlay);
    else if (overlay) // dismissed while it was being drawn
        overlay->removeFromSuperview();
}

void UIModalView::dismissWithClickedButtonIndex(int index, bool)
{
    UIModalViewRef self = selfAs<UIModalView>(); // the delegate may drop its last reference
    if (index >= 0 && index < numberOfButtons() && !_tellingDelegate) {
        struct Telling {
            bool& flag;
            explicit Telling(bool& f) : flag(f) { flag = true; }
            ~Telling() { flag = false; }
        } telling(_tellingDelegate);
        tellDelegate(index);
    }
    if (_visible)
        takeOffScreen();
}

void UIModalView::takeOffScreen()
{
    _visible = false;
    _view.reset();
    Registry& state = registry();
    auto entry = entryOf(this);
    if (entry == state.shown.end())
        return;
    UIViewRef overlay = std::move(entry->overlay);
    UIModalViewRef keep = std::move(entry->modal);
    state.shown.erase(entry);
    if (overlay)
        overlay->removeFromSuperview();
}

void UIModalView::setPresenter(UIModalPresenter* presenter)
{
    registry().installed = presenter;
}

UIModalPresenter* UIModalView::presenter()
{
    return registry().installed;
}

std::vector<UIModalViewRef> UIModalView::visibleModals()
{
    std::vector<UIModalViewRef> modals;
    for (const Shown& entry : registry().shown)
        modals.push_back(entry.modal);
    return modals;
}

void UIModalView::dismissAllModals()
{
    for (const UIModalViewRef& modal : visibleModals())
        modal->takeOffScreen();
}

UIModalPresenter::~UIModalPresenter()
{
    Registry& state = registry();
    if (state.installed == this)
        state.installed = nullptr;
    for (const UIModalViewRef& modal : shownModals())
        modal->takeOffScreen();
}

std::vector<UIModalViewRef> UIModalPresenter::shownModals() const
{
    std::vector<UIModalViewRef> modals;
    for (const Shown& entry : registry().shown)
        if (entry.presenter == this)
            modals.push_back(entry.modal);
    return modals;
}

bool UIModalPresenter::tapButton(int index)
{
    UIModalViewRef modal = topModal(); // kept alive through its delegate's call
    if (!modal || index < 0 || index >= modal->numberOfButtons())
        return false;
    modal->dismissWithClickedButtonIndex(index);
    return true;
}
