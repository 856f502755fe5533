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

} // namespace

SettingsHost::SettingsHost()
    : _window(std::make_shared<UIWindow>(CGRectMake(0, 0, kScreenWidth, kScreenHeight)))
{
    auto root = std::make_shared<SettingsRootController>();
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

bool SettingsHost::fail(std::string message)
{
    _error = std::move(message);
    return false;
}

bool SettingsHost::openEntry(std::string_view label)
{
    auto root = std::static_pointer_cast<SettingsRootController>(_root);
    if (_navigation->topViewController() != _root)
        return fail("the Settings list is not on top");
    const auto& all = root->entries();
    for (size_t i = 0; i < all.size(); ++i) {
        if (lowered(all[i].label) == lowered(label)) {
            if (!tapRow(0, int(i)))
                return false;
            if (_navigation->topViewController() == _root)
                return fail(root->lastError().empty() ? "the entry opened nothing" : root->lastError());
            return true;
        }
    }
    return fail("no entry labelled \"" + std::string(label) + "\"");
}

UITableViewCellRef SettingsHost::visibleCell(int section, int row)
{
    PSListControllerRef pane = topPane();
    if (!pane) {
        fail("the top pane is not a list");
        return nullptr;
    }
    const UITableViewRef& table = pane->table();
    if (section < 0 || section >= table->numberOfSections() || row < 0 || row >= table->numberOfRowsInSection(section)) {
        fail("no row " + std::to_string(section) + "." + std::to_string(row) + " in the pane");
        return nullptr;
    }
    NSIndexPathRef path = NSIndexPath::indexPathForRow(row, section);
    table->scrollToRowAtIndexPath(path);
    UITableViewCellRef cell = table->cellForRowAtIndexPath(path);
    if (!cell)
        fail("row " + std::to_string(section) + "." + std::to_string(row) + " has no cell");
    return cell;
}

bool SettingsHost::tapAt(const UIViewRef& view, CGPoint point)
{
    CGPoint inWindow = view->convertPointToView(point, nullptr);
    return touchAlong(inWindow, inWindow, 0);
}

bool SettingsHost::touchAlong(CGPoint from, CGPoint to, int steps)
{
    if (!fingerDown(from, steps == 0 ? 1 : 0))
        return false;
    for (int step = 1; step <= steps; ++step) {
        double along = double(step) / steps;
        fingerMove({ CGFloat(from.x + (to.x - from.x) * along), CGFloat(from.y + (to.y - from.y) * along) });
    }
    fingerLift();
    return true;
}

bool SettingsHost::fingerDown(CGPoint pointInWindow, int tapCount)
{
    fingerCancel();
    _finger.emplace(_window, pointInWindow);
    _finger->setTapCount(tapCount);
    if (!_finger->down()) {
        _finger.reset();
        return fail("nothing under the point");
    }
    _lastFingerPhase = UITouchPhaseBegan;
    return true;
}

bool SettingsHost::fingerMove(CGPoint pointInWindow)
{
    if (!fingerIsDown())
        return fail("no finger is down");
    _finger->moveTo(pointInWindow);
    _lastFingerPhase = UITouchPhaseMoved;
    return true;
}

bool SettingsHost::fingerLift(std::optional<CGPoint> pointInWindow)
{
    if (!fingerIsDown())
        return fail("no finger is down");
    // Taken out first: a view's touchesEnded may start another touch of its own.
    Finger finger = std::move(*_finger);
    _finger.reset();
    _lastFingerPhase = UITouchPhaseEnded;
    CGPoint last = finger.touch()->_locationInWindow;
    if (pointInWindow && (pointInWindow->x != last.x || pointInWindow->y != last.y))
        finger.liftAt(*pointInWindow);
    else
        finger.lift();
    return true;
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

bool SettingsHost::tapRow(int section, int row)
{
    UITableViewCellRef cell = visibleCell(section, row);
    if (!cell)
        return false;
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

bool SettingsHost::tapRowNamed(std::string_view name)
{
    NSIndexPathRef path = indexPathOfRowNamed(name);
    if (!path)
        return fail("no row named \"" + std::string(name) + "\"");
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

bool SettingsHost::typeText(std::string_view text)
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return fail("no text field is being edited");
    switch (field->refusalForInsertion(text)) {
    case UITextInputRefusal::None:
        break;
    case UITextInputRefusal::ControlCharacter:
        return fail("the keyboard types no control characters (U+0000 to U+001F, U+007F)");
    case UITextInputRefusal::InvalidUTF8:
        return fail("the text is not valid UTF-8");
    case UITextInputRefusal::TooLong:
        return fail("a text field holds at most " + std::to_string(UITextField::kMaximumLength) + " characters; it holds "
            + std::to_string(UITextField::characterCount(field->text())) + " and the text has "
            + std::to_string(UITextField::characterCount(text)));
    }
    bool typed = UITextField::characterCount(text) <= kLongestTypedText ? field->insertText(text) : field->paste(text);
    return typed || fail("the field took no text");
}

bool SettingsHost::clearField()
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return fail("no text field is being edited");
    size_t characters = UITextField::characterCount(field->text());
    if (characters > kLongestTypedText)
        field->clear();
    else
        for (size_t i = 0; i < characters && UITextField::currentEditingField() == field; ++i)
            field->deleteBackward();
    return true;
}

bool SettingsHost::deleteBackward(int count)
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return fail("no text field is being edited");
    for (int i = 0; i < count; ++i)
        field->deleteBackward();
    return true;
}

bool SettingsHost::pressReturn()
{
    UITextFieldRef field = UITextField::currentEditingField();
    if (!field)
        return fail("no text field is being edited");
    field->pressReturn();
    return true;
}

bool SettingsHost::slide(int section, int row, float value, int steps)
{
    UITableViewCellRef cell = visibleCell(section, row);
    if (!cell)
        return false;
    auto slider = controlInCell<UISlider>(cell);
    if (!slider)
        return fail("row " + std::to_string(section) + "." + std::to_string(row) + " has no slider");
    fingerCancel();
    slider->dragTo(value, steps);
    return true;
}

bool SettingsHost::flipSwitch(int section, int row)
{
    UITableViewCellRef cell = visibleCell(section, row);
    if (!cell)
        return false;
    auto toggle = controlInCell<UISwitch>(cell);
    if (!toggle)
        return fail("row " + std::to_string(section) + "." + std::to_string(row) + " has no switch");
    return tapAt(toggle, {toggle->bounds().size.width / 2, toggle->bounds().size.height / 2});
}

bool SettingsHost::goBack()
{
    // Leaving a pane ends its editing, so that the text typed is stored.
    if (auto field = UITextField::currentEditingField())
        field->resignFirstResponder();
    if (!_navigation->tapBack())
        return fail(_navigation->viewControllers().size() < 2 ? "already at the Settings list" : "the back button is hidden");
    return true;
}

bool SettingsHost::tapBarButton(std::string_view which)
{
    _error.clear();
    bool done = which == "left" ? _navigation->tapLeft() : which == "right" ? _navigation->tapRight()
        : which == "back" ? _navigation->tapBack() : fail("no bar button \"" + std::string(which) + "\"");
    if (!done && _error.empty())
        return fail("the bar has no " + std::string(which) + " button");
    return done;
}
