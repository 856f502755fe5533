#include "ui/Finger.h"
#include "ui/UITableView.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A data source whose shape the test sets, recording what the table asks.
class Rows : public NSObject, public UITableViewDataSource, public UITableViewDelegate {
public:
    std::vector<int> rowsPerSection {3};
    std::map<int, std::string> headers;
    std::map<int, std::string> footers;
    std::map<std::pair<int, int>, CGFloat> heights;
    int made = 0;
    std::vector<std::pair<int, int>> displayed;
    std::vector<std::pair<int, int>> selected;
    std::vector<UITableViewCellRef> handedOut;

    int numberOfSectionsInTableView(const UITableViewRef&) override { return int(rowsPerSection.size()); }
    int numberOfRowsInSection(const UITableViewRef&, int section) override { return rowsPerSection[size_t(section)]; }
    UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef& table, const NSIndexPathRef& path) override
    {
        UITableViewCellRef cell = table->dequeueReusableCellWithIdentifier("Cell");
        if (!cell) {
            cell = UITableViewCell::initWithStyle(UITableViewCellStyleValue1, "Cell");
            ++made;
        }
        cell->textLabel()->setText(std::to_string(path->section()) + "." + std::to_string(path->row()));
        if (path->row() == 0)
            cell->setAccessoryType(UITableViewCellAccessoryCheckmark);
        handedOut.push_back(cell);
        return cell;
    }
    std::optional<std::string> titleForHeaderInSection(const UITableViewRef&, int section) override
    {
        auto it = headers.find(section);
        return it == headers.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<std::string> titleForFooterInSection(const UITableViewRef&, int section) override
    {
        auto it = footers.find(section);
        return it == footers.end() ? std::nullopt : std::optional(it->second);
    }
    std::optional<CGFloat> heightForRowAtIndexPath(const UITableViewRef&, const NSIndexPathRef& path) override
    {
        auto it = heights.find({path->section(), path->row()});
        return it == heights.end() ? std::nullopt : std::optional(it->second);
    }
    void willDisplayCell(const UITableViewRef&, const UITableViewCellRef&, const NSIndexPathRef& path) override
    {
        displayed.push_back({path->section(), path->row()});
    }
    void didSelectRowAtIndexPath(const UITableViewRef&, const NSIndexPathRef& path) override
    {
        selected.push_back({path->section(), path->row()});
    }
};

struct TableFixture : ::testing::Test {
    std::shared_ptr<Rows> rows = std::make_shared<Rows>();
    UITableViewRef table = UITableView::initWithFrame(CGRectMake(0, 0, 320, 200), UITableViewStyleGrouped);
    void attach()
    {
        table->setDataSource(rows);
        table->setDelegate(rows);
    }
    UITableViewCellRef cellAt(int section, int row) { return table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section)); }
};

void tap(const UIWindowRef& window, CGPoint point, CGPoint liftAt)
{
    Finger finger(window, point);
    ASSERT_TRUE(finger.down());
    if (liftAt != point)
        finger.moveTo(liftAt);
    finger.lift();
}

} // namespace

TEST_F(TableFixture, CountsSectionsAndRowsFromItsDataSource)
{
    EXPECT_EQ(table->numberOfSections(), 0); // no data source yet
    rows->rowsPerSection = {1, 3, 0, 1};
    attach();
    EXPECT_EQ(table->numberOfSections(), 4);
    EXPECT_EQ(table->numberOfRowsInSection(1), 3);
    EXPECT_EQ(table->numberOfRowsInSection(2), 0);
    EXPECT_EQ(table->numberOfRowsInSection(9), 0);
    rows->rowsPerSection = {2};
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_FALSE(cellAt(1, 0)); // rows that went away have no cells
}

TEST_F(TableFixture, GroupedSectionsLayOutHeadersRowsAndGaps)
{
    rows->rowsPerSection = {1, 2};
    rows->headers[1] = "Font";
    attach();
    CGRect first = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    CGRect second = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1));
    EXPECT_EQ(first.origin.x, 10);
    EXPECT_EQ(first.size.width, 300);
    EXPECT_EQ(first.origin.y, 10);
    // A gap after section 0, then the header before section 1's rows.
    EXPECT_GT(second.origin.y, CGRectGetMaxY(first) + 10);
    bool headerShown = false;
    for (const UIViewRef& child : table->subviews()) {
        if (auto label = std::dynamic_pointer_cast<UILabel>(child); label && label->text() == "Font")
            headerShown = label->frame().origin.y < second.origin.y;
    }
    EXPECT_TRUE(headerShown);
}

TEST_F(TableFixture, EveryGeometryQuestionAgreesWithTheRows)
{
    rows->rowsPerSection = {3, 2};
    rows->headers[1] = "Size";
    rows->footers[0] = "Shown under the first rows";
    rows->heights[{0, 1}] = 0; // a row folded away
    rows->heights[{0, 2}] = 30.5f;
    rows->heights[{1, 0}] = 60;
    attach();
    auto path = [](int section, int row) { return NSIndexPath::indexPathForRow(row, section); };
    auto hit = [&](CGFloat y) -> std::string {
        NSIndexPathRef found = table->indexPathForRowAtPoint({160, y});
        return found ? std::to_string(found->section()) + "." + std::to_string(found->row()) : "none";
    };
    CGRect r00 = table->rectForRowAtIndexPath(path(0, 0));
    CGRect r01 = table->rectForRowAtIndexPath(path(0, 1));
    CGRect r02 = table->rectForRowAtIndexPath(path(0, 2));
    CGRect r10 = table->rectForRowAtIndexPath(path(1, 0));
    CGRect r11 = table->rectForRowAtIndexPath(path(1, 1));
    EXPECT_EQ(r01.origin.y, CGRectGetMaxY(r00));
    EXPECT_EQ(r01.size.height, 0);
    EXPECT_EQ(r02.origin.y, CGRectGetMaxY(r00));
    EXPECT_EQ(r02.size.height, 30.5f);
    EXPECT_EQ(r10.size.height, 60);
    EXPECT_EQ(r11.origin.y, CGRectGetMaxY(r10));
    EXPECT_EQ(table->contentHeight(), CGRectGetMaxY(r11) + 10);
    EXPECT_EQ(table->rectForRowAtIndexPath(path(0, 3)), CGRectZero);
    EXPECT_EQ(table->rectForRowAtIndexPath(path(2, 0)), CGRectZero);

    // A row's top edge is its own, its bottom edge the next one's; a folded row is never hit;
    // the gaps, a header and a footer are no row's.
    EXPECT_EQ(hit(r00.origin.y), "0.0");
    EXPECT_EQ(hit(CGRectGetMaxY(r00) - 0.5f), "0.0");
    EXPECT_EQ(hit(CGRectGetMaxY(r00)), "0.2");
    EXPECT_EQ(hit(CGRectGetMaxY(r02) - 0.25f), "0.2");
    EXPECT_EQ(hit(CGRectGetMaxY(r02) + 1), "none");
    EXPECT_EQ(hit(r10.origin.y - 1), "none");
    EXPECT_EQ(hit(r10.origin.y + 59), "1.0");
    EXPECT_EQ(hit(CGRectGetMaxY(r11)), "none");
    EXPECT_EQ(hit(r00.origin.y - 1), "none");

    // The titles sit where the rows leave room for them.
    std::map<std::string, CGRect> titles;
    for (const UIViewRef& child : table->subviews()) {
        if (auto label = std::dynamic_pointer_cast<UILabel>(child))
            titles[label->text()] = label->frame();
    }
    ASSERT_EQ(titles.size(), 2u);
    CGRect footer = titles["Shown under the first rows"];
    CGRect header = titles["Size"];
    EXPECT_GT(footer.origin.y, CGRectGetMaxY(r02));
    EXPECT_LT(CGRectGetMaxY(footer), header.origin.y);
    EXPECT_LT(CGRectGetMaxY(header), r10.origin.y);

    // Scrolled, the same questions are asked in the table's own coordinates.
    table->setContentOffset({0, 40}, false);
    EXPECT_EQ(hit(r10.origin.y + 1 - 40), "1.0");
    EXPECT_EQ(table->rectForRowAtIndexPath(path(1, 0)), r10);
    for (const UIViewRef& child : table->subviews()) {
        if (auto label = std::dynamic_pointer_cast<UILabel>(child); label && label->text() == "Size") {
            EXPECT_EQ(label->frame().origin.y, header.origin.y - 40);
        }
    }
}

TEST_F(TableFixture, VisibleCellsAnswerAndHiddenRowsDoNot)
{
    rows->rowsPerSection = {20};
    attach();
    ASSERT_TRUE(cellAt(0, 0));
    EXPECT_EQ(cellAt(0, 0)->textLabel()->text(), "0.0");
    EXPECT_EQ(cellAt(0, 0)->superview().get(), table.get());
    EXPECT_FALSE(cellAt(0, 10)); // below the 200-point window
    EXPECT_FALSE(table->cellForRowAtIndexPath(nullptr));
    EXPECT_EQ(table->visibleCells().size(), table->indexPathsForVisibleRows().size());
    EXPECT_LE(rows->made, 5);
}

TEST_F(TableFixture, ScrollingOffAndBackReusesCellsAndTellsTheDelegateEachTime)
{
    rows->rowsPerSection = {30};
    attach();
    table->numberOfSections();
    int madeAtStart = rows->made;
    auto shownOf = [&](int row) { return std::count(rows->displayed.begin(), rows->displayed.end(), std::pair {0, row}); };
    EXPECT_EQ(shownOf(0), 1);
    table->setContentOffset({0, 500});
    EXPECT_FALSE(cellAt(0, 0));
    ASSERT_TRUE(cellAt(0, 12));
    EXPECT_EQ(cellAt(0, 12)->textLabel()->text(), "0.12");
    EXPECT_EQ(rows->made, madeAtStart) << "rows that came in took the cells of rows that left";
    table->setContentOffset({0, 0});
    ASSERT_TRUE(cellAt(0, 0));
    EXPECT_EQ(shownOf(0), 2);
    // The offset stops at the content's end.
    table->setContentOffset({0, 1e6});
    EXPECT_EQ(table->contentOffset().y, table->contentHeight() - 200);
}

TEST_F(TableFixture, AReusedCellKeepsNoOldAccessoryOrText)
{
    rows->rowsPerSection = {1};
    attach();
    UITableViewCellRef cell = cellAt(0, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->accessoryType(), UITableViewCellAccessoryCheckmark);
    cell->setAccessoryView(std::make_shared<UIView>(CGRectMake(0, 0, 20, 20)));
    cell->detailTextLabel()->setText("old");
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Cell"), nullptr); // nothing queued yet
    table->reloadData();
    EXPECT_EQ(table->reuseQueueSize("Cell"), 0u);
    // Take the queued cell directly: it comes back clean.
    rows->rowsPerSection = {0};
    table->reloadData();
    UITableViewCellRef reused = table->dequeueReusableCellWithIdentifier("Cell");
    ASSERT_EQ(reused, cell);
    EXPECT_EQ(reused->accessoryType(), UITableViewCellAccessoryNone);
    EXPECT_EQ(reused->accessoryView(), nullptr);
    EXPECT_EQ(reused->detailTextLabel()->text(), "");
    EXPECT_EQ(reused->textLabel()->text(), "");
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Cell"), nullptr);
}

TEST_F(TableFixture, ContentViewMakesRoomForTheAccessory)
{
    UITableViewCellRef cell = UITableViewCell::initWithStyle(UITableViewCellStyleValue1, "Cell");
    cell->setFrame(CGRectMake(0, 0, 300, 44));
    EXPECT_EQ(cell->contentView()->frame().size.width, 300);
    cell->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    EXPECT_LT(cell->contentView()->frame().size.width, 300);
    auto swatch = std::make_shared<UIView>(CGRectMake(0, 0, 80, 30));
    cell->setAccessoryView(swatch);
    EXPECT_EQ(swatch->superview().get(), cell.get());
    EXPECT_EQ(CGRectGetMaxX(swatch->frame()), 290);
    EXPECT_EQ(UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "")->detailTextLabel(), nullptr);
}

TEST(TableCells, EveryWayOfMakingACellAttachesItsContentViewAtOnce)
{
    static_assert(!std::is_constructible_v<UITableViewCell, int, std::string>,
        "a cell made around runtime::make would lack its content view");
    std::vector<std::pair<std::string, UITableViewCellRef>> made {
        {"initWithStyle", UITableViewCell::initWithStyle(UITableViewCellStyleSubtitle, "Cell")},
        {"make", runtime::make<UITableViewCell>(UITableViewCellStyleValue2)},
        {"by name", std::dynamic_pointer_cast<UITableViewCell>(objc_getClass("UITableViewCell")->createInstance())},
    };
    for (const auto& [how, cell] : made) {
        ASSERT_TRUE(cell) << how;
        // Looked at through the view tree alone, before any accessor of the cell is asked.
        ASSERT_EQ(cell->subviews().size(), 1u) << how;
        const UIViewRef& content = cell->subviews().front();
        EXPECT_EQ(content->superview(), cell) << how;
        EXPECT_EQ(content->frame().size.width, 320) << how;
        ASSERT_FALSE(content->subviews().empty()) << how;
        EXPECT_GT(content->subviews().front()->frame().size.width, 0) << how << ": the labels are not laid out";
        EXPECT_EQ(cell->contentView(), content) << how;
    }

    // An accessory view set first still lies above the content view.
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "");
    auto swatch = std::make_shared<UIView>(CGRectMake(0, 0, 30, 30));
    cell->setAccessoryView(swatch);
    ASSERT_EQ(cell->subviews().size(), 2u);
    EXPECT_EQ(cell->subviews()[0], cell->contentView());
    EXPECT_EQ(cell->subviews()[1], swatch);
}

TEST_F(TableFixture, ATouchLiftedOnItsRowSelectsItAndOneThatMovesAwayDoesNot)
{
    rows->rowsPerSection = {4};
    attach();
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    window->addSubview(table);
    CGRect row1 = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    CGPoint middle {CGRectGetMidX(row1), CGRectGetMidY(row1)};
    tap(window, middle, middle);
    ASSERT_EQ(rows->selected.size(), 1u);
    EXPECT_EQ(rows->selected[0], (std::pair {0, 1}));
    ASSERT_TRUE(table->indexPathForSelectedRow());
    EXPECT_TRUE(cellAt(0, 1)->isSelected());
    table->deselectRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0), true);
    EXPECT_FALSE(table->indexPathForSelectedRow());
    EXPECT_FALSE(cellAt(0, 1)->isSelected());
    // Pressed on row 1, lifted on row 3: no selection.
    CGRect row3 = table->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(3, 0));
    tap(window, middle, {CGRectGetMidX(row3), CGRectGetMidY(row3)});
    EXPECT_EQ(rows->selected.size(), 1u);
    EXPECT_FALSE(cellAt(0, 1)->isHighlighted());
}

TEST_F(TableFixture, ReloadingASectionAsksOnlyForItsRows)
{
    rows->rowsPerSection = {1, 1};
    attach();
    table->numberOfSections();
    UITableViewCellRef untouched = cellAt(0, 0);
    rows->handedOut.clear();
    table->reloadSections({1}, UITableViewRowAnimationNone);
    ASSERT_EQ(rows->handedOut.size(), 1u);
    EXPECT_EQ(rows->handedOut[0]->textLabel()->text(), "1.0");
    EXPECT_EQ(cellAt(0, 0), untouched);
    table->reloadSections({7}, UITableViewRowAnimationNone); // not there: nothing happens
}

TEST_F(TableFixture, TheDataSourceIsWeak)
{
    attach();
    EXPECT_EQ(table->numberOfSections(), 1);
    rows.reset();
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 0);
}
