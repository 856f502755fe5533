#include "SettingsHost.h"
#include "SettingsRootController.h"

#include "preferences/PSTableCell.h"
#include "ui/UITouch.h"

#include <algorithm>

namespace {

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return result;
}

std::string rowName(int section, int row)
{
    return "row " + std::to_string(section) + "." + std::to_string(row);
}

} // namespace

SettingsHost::SettingsHost()
    : _window(runtime::make<UIWindow>(CGRectMake(0, 0, kScreenWidth, kScreenHeight)))
{
    auto root = runtime::make<SettingsRootController>();
    _root = root;
    _navigation = UINavigationController::initWithRootViewController(root);
    _navigation->view()->setFrame(_window->bounds());
    _window->addSubview(_navigation->view());
    _window->makeKeyAndVisible();
    UIModalView::setPresenter(&_modals);
    root->table()->reloadData();
}

SettingsHost::~SettingsHost()
{
    if (auto field = UITextField::currentEditingField())
        field->resignFirstResponder();
}

const std::vector<PreferenceLoaderEntry>& SettingsHost::entries() const
{
    return std::static_pointer_cast<SettingsRootController>(_root)->entries();
}

PSListControllerRef SettingsHost::topPane() const
{
    return std::dynamic_pointer_cast<PSListController>(_navigation->topViewController());
}

Result<void> SettingsHost::openEntry(std::string_view label)
{
    auto root = std::static_pointer_cast<SettingsRootController>(_root);
    if (_navigation->topViewController() != _root)
        return Failure {"the Settings list is not on top"};
    const auto& all = root->entries();
    for (size_t i = 0; i < all.size(); ++i) {
        if (lowered(all[i].label) == lowered(label)) {
            (void)root->takeLastOpening();
            if (Result<void> tapped = tapRow(0, int(i)); !tapped)
                return tapped;
            std::optional<Result<void>> opened = root->takeLastOpening();
            if (!opened)
                return Failure {"the tap reached no entry"};
            if (!*opened)
                return *opened;
            if (_navigation->topViewController() == _root)
                return Failure {"the entry opened nothing"};
            return {};
        }
    }
    return Failure {"no entry labelled \"" + std::string(label) + "\""};
}

Result<UITableViewCellRef> SettingsHost::visibleCell(int section, int row)
{
    PSListControllerRef pane = topPane();
    if (!pane)
        return Failure {"the top pane is not a list"};
    const UITableViewRef& table = pane->table();
    if (section < 0 || section >= table->numberOfSections() || row < 0 || row >= table->numberOfRowsInSection(section))
        return Failure {"no " + rowName(section, row) + " in the pane"};
    NSIndexPathRef path = NSIndexPath::indexPathForRow(row, section);
    table->scrollToRowAtIndexPath(path);
    UITableViewCellRef cell = table->cellForRowAtIndexPath(path);
    if (!cell)
        return Failure {rowName(section, row) + " has no cell"};
    return cell;
}

Result<void> SettingsHost::tapAt(const UIViewRef& view, CGPoint point)
{
    CGPoint inWindow = view->convertPointToView(point, nullptr);
    return touchAlong(inWindow, inWindow, 0);
}

Result<void> SettingsHost::touchAlong(CGPoint from, CGPoint to, int steps)
{
    if (Result<void> down = fingerDown(from, steps == 0 ? 1 : 0); !down)
        return down;
    // Once down, the script runs to its end: a view that ends the touch itself (a pane
    // pushed mid-drag, say) leaves the rest of it with nothing to do.
    for (int step = 1; step <= steps; ++step) {
        double along = double(step) / steps;
        (void)fingerMove({ CGFloat(from.x + (to.x - from.x) * along), CGFloat(from.y + (to.y - from.y) * along) });
    }
    (void)fingerLift();
    return {};
}

Result<void> SettingsHost::fingerDown(CGPoint pointInWindow, int tapCount)
{
    fingerCancel();
    _finger.emplace(_window, pointInWindow);
    _finger->setTapCount(tapCount);
    if (!_finger->down()) {
        _finger.reset();
        return Failure {"nothing under the point"};
    }
    _lastFingerPhase = UITouchPhaseBegan;
    return {};
}

Result<void> SettingsHost::fingerMove(CGPoint pointInWindow)
{
    if (!fingerIsDown())
        return Failure {"no finger is down"};
    _finger->moveTo(pointInWindow);
    _lastFingerPhase = UITouchPhaseMoved;
    return {};
}

Result<void> SettingsHost::fingerLift(std::optional<CGPoint> pointInWindow)
{
    if (!fingerIsDown())
        return Failure {"no finger is down"};
    // Taken out first: a view's touchesEnded may start another touch of its own.
    Finger finger = std::move(*_finger);
    _finger.reset();
    _lastFingerPhase = UITouchPhaseEnded;
    CGPoint last = finger.touch()->_locationInWindow;
    if (pointInWindow && (pointInWindow->x != last.x || pointInWindow->y != last.y))
        finger.liftAt(*pointInWindow);
    else
        finger.lift();
    return {};
}

bool SettingsHost::fingerCancel()
{
    if (!fingerIsDown()) {
        _finger.reset();
        return false;
    }
    Finger finger = std::move(*_finger);
    _finger.reset();
    _lastFingerPhase = UITouchPhaseCancelled;
    finger.cancel();
    return true;
}

Result<void> SettingsHost::tapRow(int section, int row)
{
    Result<UITableViewCellRef> found = visibleCell(section, row);
    if (!found)
        return Failure {found.error()};
    const UITableViewCellRef& cell = *found;
    // The title's middle: clear of a switch or a field on the right.
    CGRect title = cell->textLabel()->frame();
    CGPoint point {std::min<CGFloat>(title.origin.x + 20, cell->bounds().size.width / 4), cell->bounds().size.height / 2};
    if (auto field = UITextField::currentEditingField())
        field->resignFirstResponder();
    return tapAt(cell, point);
}

NSIndexPathRef SettingsHost::indexPathOfRowNamed(std::string_view name) const
{
    PSListControllerRef pane = topPane();
    if (!pane)
        return nullptr;
    for (const PSSpecifierRef& specifier : pane->specifiers()) {
        if (specifier && specifier->cellType() != PSGroupCell && specifier->name() == name)
            return pane->indexPathForSpecifier(specifier);
    }
    return nullptr;
}

Result<void> SettingsHost::tapRowNamed(std::string_view name)
{
    NSIndexPathRef path = indexPathOfRowNamed(name);
    if (!path)
        return Failure {"no row named \"" + std::string(name) + "\""};
    return tapRow(path->section(), path->row());
}

template<typename T>
std::shared_ptr<T> SettingsHost::controlInCell(const UITableViewCellRef& cell) const
{
    if (auto ps = std::dynamic_pointer_cast<PSTableCell>(cell)) {
        if (auto control = std::dynamic_pointer_cast<T>(ps->control()))
            return control;
    }
    if (auto control = std::dynamic_pointer_cast<T>(cell->accessoryView()))
        return control;
    for (const UIViewRef& child : cell->contentView()->subviews()) {
        if (auto control = std::dynamic_pointer_cast<T>(child))
            return control;
    }
    return nullptr;
}

template<typename T>
Result<std::shared_ptr<T>> SettingsHost::controlInRow(int section, int row, std::string_view kind)
{
    Result<UITableViewCellRef> cell = visibleCell(section, row);
    if (!cell)
        return Failure {cell.error()};
    if (std::shared_ptr<T> control = controlInCell<T>(*cell))
        return control;
    return Failure {rowName(section, row) + " has no " + std::string(kind)};
}

Result<void> SettingsHost::typeText(std::string_view text)
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return Failure {"no text field is being edited"};
    switch (field->refusalForInsertion(text)) {
    case UITextInputRefusal::None:
        break;
    case UITextInputRefusal::ControlCharacter:
        return Failure {"the keyboard types no control characters (U+0000 to U+001F, U+007F)"};
    case UITextInputRefusal::InvalidUTF8:
        return Failure {"the text is not valid UTF-8"};
    case UITextInputRefusal::TooLong:
        return Failure {"a text field holds at most " + std::to_string(UITextField::kMaximumLength) + " characters; it holds "
            + std::to_string(UITextField::characterCount(field->text())) + " and the text has "
            + std::to_string(UITextField::characterCount(text))};
    }
    bool typed = UITextField::characterCount(text) <= kLongestTypedText ? field->insertText(text) : field->paste(text);
    if (!typed)
        return Failure {"the field took no text"};
    return {};
}

Result<void> SettingsHost::clearField()
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return Failure {"no text field is being edited"};
    size_t characters = UITextField::characterCount(field->text());
    if (characters > kLongestTypedText)
        field->clear();
    else
        for (size_t i = 0; i < characters && UITextField::currentEditingField() == field; ++i)
            field->deleteBackward();
    return {};
}

Result<void> SettingsHost::deleteBackward(int count)
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return Failure {"no text field is being edited"};
    for (int i = 0; i < count; ++i)
        field->deleteBackward();
    return {};
}

Result<void> SettingsHost::pressReturn()
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return Failure {"no text field is being edited"};
    field->pressReturn();
    return {};
}

Result<void> SettingsHost::slide(int section, int row, float value, int steps)
{
    Result<UISliderRef> slider = controlInRow<UISlider>(section, row, "slider");
    if (!slider)
        return Failure {slider.error()};
    fingerCancel();
    (*slider)->dragTo(value, steps);
    return {};
}

Result<void> SettingsHost::flipSwitch(int section, int row)
{
    Result<UISwitchRef> toggle = controlInRow<UISwitch>(section, row, "switch");
    if (!toggle)
        return Failure {toggle.error()};
    CGSize size = (*toggle)->bounds().size;
    return tapAt(*toggle, {size.width / 2, size.height / 2});
}

Result<void> SettingsHost::goBack()
{
    // Leaving a pane ends its editing, so that the text typed is stored.
    if (auto field = UITextField::currentEditingField())
        field->resignFirstResponder();
    if (!_navigation->tapBack())
        return Failure {_navigation->viewControllers().size() < 2 ? "already at the Settings list" : "the back button is hidden"};
    return {};
}

Result<void> SettingsHost::tapBarButton(std::string_view which)
{
    if (which != "left" && which != "right" && which != "back")
        return Failure {"no bar button \"" + std::string(which) + "\""};
    bool done = which == "left" ? _navigation->tapLeft() : which == "right" ? _navigation->tapRight() : _navigation->tapBack();
    if (!done)
        return Failure {"the bar has no " + std::string(which) + " button"};
    return {};
}
