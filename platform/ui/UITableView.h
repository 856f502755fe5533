#pragma once

// Tables: rows in sections, counted from a data source and drawn by cells it makes. Only
// the rows in the visible window (the bounds moved down by the content offset) have cells;
// a cell that leaves the window goes to the reuse queue of its identifier and comes back
// through dequeueReusableCellWithIdentifier. The delegate hears willDisplayCell each time
// a cell is about to show and didSelectRowAtIndexPath when a touch lifts on the row where it
// began.
//
// Layout, top to bottom, per section: the header title (if any), the rows, the footer title
// (if any). A grouped table insets rows 10 points from either side into rounded groups on the
// pinstripe, wraps its titles to the width less 20-point margins (headers bold 17 pt, footers
// 15 pt centred) and leaves 10 points between sections; a plain table runs rows edge to edge.

#include "ui/NSIndexPath.h"
#include "ui/UILabel.h"
#include "ui/UITableViewCell.h"

#include <map>
#include <optional>

enum UITableViewStyle : int {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
};

enum UITableViewRowAnimation : int {
    UITableViewRowAnimationFade = 0,
    UITableViewRowAnimationRight = 1,
    UITableViewRowAnimationLeft = 2,
    UITableViewRowAnimationTop = 3,
    UITableViewRowAnimationBottom = 4,
    UITableViewRowAnimationNone = 5,
    UITableViewRowAnimationMiddle = 6,
};

class UITableView;
using UITableViewRef = std::shared_ptr<UITableView>;

// The data source. The optional calls have the platform's defaults.
class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;
    virtual int numberOfSectionsInTableView(const UITableViewRef& tableView) { return 1; }
    virtual int numberOfRowsInSection(const UITableViewRef& tableView, int section) = 0;
    virtual UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) = 0;
    virtual std::optional<std::string> titleForHeaderInSection(const UITableViewRef& tableView, int section) { return std::nullopt; }
    virtual std::optional<std::string> titleForFooterInSection(const UITableViewRef& tableView, int section) { return std::nullopt; }
};

// The delegate; every call is optional.
class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;
    // Nothing keeps the table's rowHeight.
    virtual std::optional<CGFloat> heightForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) { return std::nullopt; }
    virtual void willDisplayCell(const UITableViewRef& tableView, const UITableViewCellRef& cell, const NSIndexPathRef& indexPath) { }
    virtual void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) { }
};

class UITableView : public UIView {
    RVX_OBJECT(UITableView)
public:
    explicit UITableView(CGRect frame = CGRectZero, int style = UITableViewStylePlain);
    static UITableViewRef initWithFrame(CGRect frame, int style) { return runtime::make<UITableView>(frame, style); }

    int style() const { return _style; }

    // Both are weak; the table reloads on its next use after either changes.
    std::shared_ptr<UITableViewDataSource> dataSource() const { return _dataSource.lock(); }
    void setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource);
    std::shared_ptr<UITableViewDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate);

    CGFloat rowHeight() const { return _rowHeight; }
    void setRowHeight(CGFloat height);

    int numberOfSections();
    int numberOfRowsInSection(int section);

    // Asks the data source again for everything; the visible cells go to the reuse queue
    // first, so the data source gets them back when it dequeues.
    void reloadData();
    // The same for the rows of some sections; sections that are not there are skipped.
    void reloadSections(const std::vector<int>& sections, int animation);
    void reloadRowsAtIndexPaths(const std::vector<NSIndexPathRef>& paths, int animation);

    // A queued cell of this identifier, reset with prepareForReuse, or nothing.
    UITableViewCellRef dequeueReusableCellWithIdentifier(std::string_view identifier);
    size_t reuseQueueSize(std::string_view identifier) const;

    // The cell showing the row, or nothing when the row is not visible.
    UITableViewCellRef cellForRowAtIndexPath(const NSIndexPathRef& indexPath);
    std::vector<UITableViewCellRef> visibleCells();
    std::vector<NSIndexPathRef> indexPathsForVisibleRows();
    NSIndexPathRef indexPathForCell(const UITableViewCellRef& cell);
    // The row under a point of the table's own coordinates, or nothing.
    NSIndexPathRef indexPathForRowAtPoint(CGPoint point);
    // A row's rectangle in content coordinates (before the offset); zero for no such row.
    CGRect rectForRowAtIndexPath(const NSIndexPathRef& indexPath);
    CGFloat contentHeight();

    CGPoint contentOffset() const { return _contentOffset; }
    // Clamped to the content; rows that leave the window give up their cells.
    void setContentOffset(CGPoint offset, bool animated = false);
    void scrollToRowAtIndexPath(const NSIndexPathRef& indexPath, bool animated = false);

    NSIndexPathRef indexPathForSelectedRow() const { return _selected; }
    void selectRowAtIndexPath(const NSIndexPathRef& indexPath, bool animated);
    void deselectRowAtIndexPath(const NSIndexPathRef& indexPath, bool animated);

    void touchesBegan(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesCancelled(const UITouchSet& touches, const UIEventRef& event) override;

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;
    void describe(json::Value& fields) const override;

private:
    // What the data source and delegate answered for a section, and where it lies: the tops
    // run down the table once, as the layout is made, and every geometry question reads them.
    struct RowSpan {
        CGFloat top = 0;
        CGFloat height = 0;
    };
    struct SectionLayout {
        std::optional<std::string> header;
        std::optional<std::string> footer;
        UILabelRef headerLabel;
        UILabelRef footerLabel;
        CGFloat headerHeight = 0;
        CGFloat footerHeight = 0;
        CGFloat top = 0;        // where the section's header starts
        std::vector<RowSpan> rows;
        CGFloat rowsBottom = 0; // where its last row ends
        CGFloat bottom = 0;     // after its footer
        int rowCount() const { return int(rows.size()); }
    };
    enum class Part { HeaderTitle, Row, FooterTitle };
    using PathKey = std::pair<int, int>;

    void loadIfNeeded();
    void computeLayout();
    void loadSections();
    void placeSections();
    // The frame of a section's header title, one of its rows or its footer title, in the
    // content's coordinates; CGRectZero for a part that is not there.
    CGRect frameOf(Part part, int section, int row = 0) const;
    void tile();
    void enqueue(const UITableViewCellRef& cell);
    void enqueueAllVisible();
    void showCell(const PathKey& key);
    void layoutHeaderLabels();
    // The width section titles wrap to, and the height a title's lines take there.
    CGFloat titleWidth() const;
    CGFloat titleHeight(const UILabelRef& label) const;
    CGRect rowFrameOnScreen(const PathKey& key) const;
    CGFloat clampedOffset(CGFloat y) const;
    UITableViewRef me() { return selfAs<UITableView>(); }

    int _style;
    std::weak_ptr<UITableViewDataSource> _dataSource;
    std::weak_ptr<UITableViewDelegate> _delegate;
    CGFloat _rowHeight = UITableViewCell::kDefaultHeight;
    CGPoint _contentOffset {};
    bool _needsReload = true;
    bool _tiling = false;
    CGFloat _laidOutWidth = -1;
    std::vector<SectionLayout> _sections;
    CGFloat _contentHeight = 0;
    std::map<PathKey, UITableViewCellRef> _visible;
    std::map<std::string, std::vector<UITableViewCellRef>, std::less<>> _reuseQueue;
    std::vector<UILabelRef> _sectionLabels;
    NSIndexPathRef _selected;
    NSIndexPathRef _touchedRow;
};
