// The platform's own views as a person reads them: what their labels show and where, the
// alert's and sheet's panels, the bar's title and back button, a grouped table's titles and
// value rows.

#include "graphics/PixelProbe.h"
#include "ui/TextLayout.h"
#include "ui/UIModalOverlay.h"
#include "ui/UINavigationController.h"
#include "ui/UITableView.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

namespace {

using namespace NSString_UIStringDrawing;

template<typename T>
void collect(const UIViewRef& view, std::vector<std::shared_ptr<T>>& found)
{
    if (auto match = std::dynamic_pointer_cast<T>(view))
        found.push_back(match);
    for (const UIViewRef& child : view->subviews())
        collect(child, found);
}

template<typename T>
std::vector<std::shared_ptr<T>> all(const UIViewRef& view)
{
    std::vector<std::shared_ptr<T>> found;
    collect(view, found);
    return found;
}

// A label reads when its text is not drawn in its own background's colour and its lines fit
// the frame (or are cut to fit it).
void expectReadable(const UILabelRef& label)
{
    SCOPED_TRACE(label->text());
    const UIColorRef& background = label->backgroundColor();
    if (background && background->paint()[3] > 0) {
        EXPECT_FALSE(background->isEqual(*label->textColor()));
    }
    TextLayout layout(label->text(), *label->font(),
        {label->bounds().size.width, 0, label->numberOfLines(), label->lineBreakMode(), label->textAlignment()});
    EXPECT_LE(layout.size().width, label->bounds().size.width + 0.5);
    EXPECT_LE(layout.size().height, label->bounds().size.height + 0.5);
}

class Pane : public UIViewController {
public:
    explicit Pane(std::string title) { setTitle(std::move(title)); }
};

class Rows : public UITableViewDataSource {
public:
    std::vector<std::pair<std::string, std::string>> rows;
    std::string footer;
    int numberOfRowsInSection(const UITableViewRef&, int) override { return int(rows.size()); }
    UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef&, const NSIndexPathRef& path) override
    {
        auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleValue1, "row");
        cell->textLabel()->setText(rows[size_t(path->row())].first);
        cell->detailTextLabel()->setText(rows[size_t(path->row())].second);
        return cell;
    }
    std::optional<std::string> titleForHeaderInSection(const UITableViewRef&, int) override { return "Closing"; }
    std::optional<std::string> titleForFooterInSection(const UITableViewRef&, int) override { return footer; }
};

} // namespace

TEST(AlertLook, APanelOfTheGivenWidthThatGrowsWithItsText)
{
    auto alert = UIAlertView::initWithTitle("Ruvex Pro", "Closes all background apps with one tap.\nUsed 0 times.",
        nullptr, "OK", {"About"});
    auto overlay = UIModalOverlay::overlayForAlert(alert, CGRectMake(0, 0, 320, 480));
    CGRect panel = overlay->panel()->frame();
    EXPECT_EQ(panel.size.width, UIModalOverlay::kAlertWidth);
    EXPECT_EQ(panel.origin.x, 18);
    EXPECT_NEAR(CGRectGetMidY(panel), 240, 1);
    auto labels = all<UILabel>(overlay->panel());
    std::vector<std::string> texts;
    for (const UILabelRef& label : labels) {
        if (label->superview() == overlay->panel()) {
            texts.push_back(label->text());
            EXPECT_FALSE(label->backgroundColor() && label->backgroundColor()->paint()[3] > 0) << label->text();
            expectReadable(label);
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string> {"Ruvex Pro", "Closes all background apps with one tap.\nUsed 0 times."}));
    // Two buttons side by side, the cancel button on the left.
    UIButtonRef ok = overlay->buttonAtIndex(0), about = overlay->buttonAtIndex(1);
    ASSERT_TRUE(ok && about);
    EXPECT_EQ(ok->frame().origin.y, about->frame().origin.y);
    EXPECT_LT(ok->frame().origin.x, about->frame().origin.x);

    // A longer message makes a taller panel; three buttons stack with the cancel one last.
    auto longer = UIAlertView::initWithTitle("Ruvex Pro", std::string(300, 'x').replace(10, 1, " "), nullptr, "Cancel",
        {"One", "Two"});
    auto tall = UIModalOverlay::overlayForAlert(longer, CGRectMake(0, 0, 320, 480));
    EXPECT_GT(tall->panel()->frame().size.height, panel.size.height);
    CGFloat one = tall->buttonAtIndex(1)->frame().origin.y;
    CGFloat two = tall->buttonAtIndex(2)->frame().origin.y;
    CGFloat cancel = tall->buttonAtIndex(0)->frame().origin.y;
    EXPECT_LT(one, two);
    EXPECT_LT(two, cancel);
    EXPECT_EQ(tall->buttonAtIndex(0)->frame().origin.x, tall->buttonAtIndex(1)->frame().origin.x);
}

TEST(AlertLook, ShownWithoutAPresenterOverTheKeyWindowAndTappedThere)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    window->makeKeyAndVisible();
    auto alert = UIAlertView::initWithTitle("Saved", std::nullopt, nullptr, "OK");
    alert->show();
    auto overlays = all<UIModalOverlay>(window);
    ASSERT_EQ(overlays.size(), 1u);
    // The title is drawn: white text over the dark panel, inside the panel.
    CairoSurfacePtr image = window->renderImage(1);
    CGRect panel = overlays[0]->panel()->frame();
    int white = 0;
    for (int y = int(panel.origin.y) + 10; y < int(panel.origin.y) + 40; ++y)
        for (int x = int(panel.origin.x) + 10; x < int(CGRectGetMaxX(panel)) - 10; ++x)
            white += pixelAt(image.get(), x, y)[0] > 220 && pixelAt(image.get(), x, y)[2] > 220;
    EXPECT_GT(white, 20);
    overlays[0]->buttonAtIndex(0)->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(all<UIModalOverlay>(window).empty());
    UIModalView::dismissAllModals();
}

TEST(SheetLook, SlidesUpWithTheCancelButtonLastAndDark)
{
    auto sheet = UIActionSheet::initWithTitle("Ruvex Pro by Vastelmark", nullptr, "Cancel", "Erase", {"Website"});
    auto overlay = UIModalOverlay::overlayForActionSheet(sheet, CGRectMake(0, 0, 320, 480));
    CGRect panel = overlay->panel()->frame();
    EXPECT_EQ(CGRectGetMaxY(panel), 480); // its final place: on the bottom edge
    EXPECT_EQ(panel.size.width, 320);
    UIButtonRef erase = overlay->buttonAtIndex(0), site = overlay->buttonAtIndex(1), cancel = overlay->buttonAtIndex(2);
    ASSERT_TRUE(erase && site && cancel);
    EXPECT_LT(erase->frame().origin.y, site->frame().origin.y);
    EXPECT_LT(site->frame().origin.y, cancel->frame().origin.y);
    EXPECT_EQ(cancel->frame().size.width, UIModalOverlay::kSheetButtonWidth);
    // Titles: dark on the light button, white on the cancel and destructive ones.
    EXPECT_LT(site->currentTitleColor()->paint()[0], 0.2f);
    EXPECT_EQ(cancel->currentTitleColor()->paint()[0], 1);
    EXPECT_EQ(erase->currentTitleColor()->paint()[0], 1);
    auto red = UIRenderView(*erase, 1);
    Pixel middle = pixelAt(red.get(), 8, 30);
    EXPECT_GT(middle[0], middle[1] + 80);
    auto dark = UIRenderView(*cancel, 1);
    EXPECT_LT(pixelAt(dark.get(), 8, 30)[0], 90);
}

TEST(BarLook, TitleCentredReadableAndCutToTheRoomTheButtonsLeave)
{
    auto root = std::make_shared<Pane>("Settings");
    auto nav = UINavigationController::initWithRootViewController(root);
    nav->view();
    auto pane = std::make_shared<Pane>("Ruvex Pro");
    pane->navigationItem()->setTitle("Ruvex Pro");
    nav->pushViewController(pane, false);
    auto labels = all<UILabel>(nav->view()->subviews()[0]);
    auto title = std::find_if(labels.begin(), labels.end(), [](const UILabelRef& l) { return l->text() == "Ruvex Pro"; });
    ASSERT_NE(title, labels.end());
    EXPECT_FALSE((*title)->backgroundColor() && (*title)->backgroundColor()->paint()[3] > 0);
    EXPECT_TRUE((*title)->shadowColor());
    EXPECT_NEAR(CGRectGetMidX((*title)->frame()), 160, 1);
    expectReadable(*title);
    // The back button is sized to its whole title.
    auto buttons = all<UIButton>(nav->view()->subviews()[0]);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0]->currentTitle(), "Settings");
    EXPECT_GE(buttons[0]->frame().size.width,
        sizeWithFont("Settings", buttons[0]->titleLabel()->font()).width + 16);

    // A long title and a long back title: the button stops at its maximum, the title is cut
    // to the room between the buttons.
    root->setTitle("A Settings Pane With A Very Long Name");
    pane->navigationItem()->setTitle("Background Image and Everything Else");
    pane->navigationItem()->setRightBarButtonItem(UIBarButtonItem::initWithTitle("Save", UIBarButtonItemStyleDone, nullptr, "save"));
    nav->updateBar();
    labels = all<UILabel>(nav->view()->subviews()[0]);
    buttons = all<UIButton>(nav->view()->subviews()[0]);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_LE(buttons[0]->frame().size.width, 110);
    auto cut = std::find_if(labels.begin(), labels.end(), [](const UILabelRef& l) { return l->text().starts_with("Background"); });
    ASSERT_NE(cut, labels.end());
    EXPECT_GE((*cut)->frame().origin.x, CGRectGetMaxX(buttons[0]->frame()));
    EXPECT_LE(CGRectGetMaxX((*cut)->frame()), buttons[1]->frame().origin.x);
    expectReadable(*cut);
}

TEST(TableLook, GroupedTitlesWrapAndValueRowsGiveTheTitleItsRoom)
{
    auto rows = std::make_shared<Rows>();
    rows->rows = {{"Hide Center After Closing", ""}, {"Font Family", "Helvetica"}};
    rows->footer = "Apps you exclude keep running; the app in front always stays, whatever you pick here.";
    auto table = UITableView::initWithFrame(CGRectMake(0, 0, 320, 480), UITableViewStyleGrouped);
    table->setDataSource(rows);
    table->reloadData();
    auto labels = all<UILabel>(table);
    UILabelRef footer, header;
    for (const UILabelRef& label : labels) {
        if (label->text() == rows->footer)
            footer = label;
        if (label->text() == "Closing")
            header = label;
    }
    ASSERT_TRUE(footer && header);
    // The footer wraps to the table's width less the margins, and the rows end above it.
    EXPECT_EQ(footer->frame().origin.x, 20);
    EXPECT_EQ(footer->frame().size.width, 280);
    EXPECT_GE(footer->frame().size.height, 2 * sizeWithFont("Apps", footer->font()).height);
    expectReadable(footer);
    expectReadable(header);
    CGRect last = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    EXPECT_LE(CGRectGetMaxY(last), footer->frame().origin.y);
    EXPECT_GE(table->contentHeight(), CGRectGetMaxY(footer->frame()));
    // Titles take what their text needs, not a fixed share of the row.
    auto cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    ASSERT_TRUE(cell);
    EXPECT_GE(cell->textLabel()->frame().size.width, sizeWithFont("Hide Center After Closing", cell->textLabel()->font()).width);
    auto value = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    EXPECT_GE(value->detailTextLabel()->frame().size.width, sizeWithFont("Helvetica", value->detailTextLabel()->font()).width);
    EXPECT_LE(CGRectGetMaxX(value->textLabel()->frame()), value->detailTextLabel()->frame().origin.x);
    // The group's corners are rounded: the top row's corner pixel shows the pinstripe.
    CairoSurfacePtr image = UIRenderView(*table, 1);
    CGRect top = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    EXPECT_NE(pixelAt(image.get(), int(top.origin.x), int(top.origin.y)), kWhite);
    EXPECT_EQ(pixelAt(image.get(), int(top.origin.x) + 20, int(top.origin.y) + 5), kWhite);
}
