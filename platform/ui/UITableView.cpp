#include "ui/UITableView.h"

#include "ui/UITouch.h"

#include <algorithm>

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UITableView, UIView)

namespace {

constexpr CGFloat kGroupedInset = 10;
constexpr CGFloat kGroupedGap = 10;
constexpr CGFloat kGroupedTitleMargin = 20;
constexpr CGFloat kGroupedHeaderTop = 10;    // above a header's first line
constexpr CGFloat kGroupedHeaderBottom = 9;  // between its last line and the rows
constexpr CGFloat kGroupedFooterTop = 7;
constexpr CGFloat kGroupedFooterBottom = 8;
constexpr CGFloat kPlainTitleHeight = 22;

// A section's header or footer title. Grouped tables wrap it to the table's width less the
// margins, in the platform's slate blue with a white shadow; plain tables give it one line
// on a grey bar.
UILabelRef sectionTitleLabel(const std::string& text, bool header, bool grouped)
{
    auto label = std::make_shared<UILabel>();
    label->setText(text);
    label->setTag(header ? 1 : 2);
    if (!grouped) {
        label->setFont(UIFont::boldSystemFontOfSize(header ? 15 : 15));
        label->setTextColor(UIColor::whiteColor());
        label->setBackgroundColor(UIColor::colorWithRed(0.55, 0.6, 0.66, 1));
        return label;
    }
    label->setFont(header ? UIFont::boldSystemFontOfSize(17) : UIFont::systemFontOfSize(15));
    label->setTextColor(UIColor::colorWithRed(76 / 255.0, 86 / 255.0, 108 / 255.0, 1));
    label->setShadowColor(UIColor::whiteColor());
    label->setShadowOffset({0, 1});
    label->setBackgroundColor(UIColor::clearColor());
    label->setNumberOfLines(0);
    label->setLineBreakMode(UILineBreakModeWordWrap);
    label->setTextAlignment(header ? UITextAlignmentLeft : UITextAlignmentCenter);
    return label;
}

} // namespace

UITableView::UITableView(CGRect frame, int style)
    : UIView(frame)
    , _style(style)
{
    setBackgroundColor(style == UITableViewStyleGrouped ? UIColor::groupTableViewBackgroundColor()
                                                        : UIColor::whiteColor());
    setClipsToBounds(true);
}

void UITableView::setDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource)
{
    _dataSource = dataSource;
    _needsReload = true;
}

void UITableView::setDelegate(const std::shared_ptr<UITableViewDelegate>& delegate)
{
    _delegate = delegate;
    _needsReload = true;
}

void UITableView::setRowHeight(CGFloat height)
{
    if (height == _rowHeight)
        return;
    _rowHeight = height;
    _needsReload = true;
}

int UITableView::numberOfSections()
{
    loadIfNeeded();
    return int(_sections.size());
}

int UITableView::numberOfRowsInSection(int section)
{
    loadIfNeeded();
    if (section < 0 || section >= int(_sections.size()))
        return 0;
    return _sections[size_t(section)].rowCount();
}

void UITableView::reloadData()
{
    if (_tiling)
        return;
    id keep = self();
    enqueueAllVisible();
    _selected.reset();
    _needsReload = false;
    computeLayout();
    _contentOffset.y = clampedOffset(_contentOffset.y);
    tile();
}

void UITableView::reloadSections(const std::vector<int>& sections, int)
{
    if (_tiling)
        return;
    if (_needsReload) {
        reloadData();
        return;
    }
    id keep = self();
    for (auto it = _visible.begin(); it != _visible.end();) {
        if (std::find(sections.begin(), sections.end(), it->first.first) != sections.end()) {
            enqueue(it->second);
            it = _visible.erase(it);
        } else {
            ++it;
        }
    }
    computeLayout();
    _contentOffset.y = clampedOffset(_contentOffset.y);
    tile();
}

void UITableView::reloadRowsAtIndexPaths(const std::vector<NSIndexPathRef>& paths, int)
{
    if (_tiling)
        return;
    if (_needsReload) {
        reloadData();
        return;
    }
    id keep = self();
    for (const NSIndexPathRef& path : paths) {
        auto it = path ? _visible.find({path->section(), path->row()}) : _visible.end();
        if (it != _visible.end()) {
            enqueue(it->second);
            _visible.erase(it);
        }
    }
    computeLayout();
    tile();
}

UITableViewCellRef UITableView::dequeueReusableCellWithIdentifier(std::string_view identifier)
{
    auto it = _reuseQueue.find(identifier);
    if (it == _reuseQueue.end() || it->second.empty())
        return nullptr;
    UITableViewCellRef cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

size_t UITableView::reuseQueueSize(std::string_view identifier) const
{
    auto it = _reuseQueue.find(identifier);
    return it == _reuseQueue.end() ? 0 : it->second.size();
}

UITableViewCellRef UITableView::cellForRowAtIndexPath(const NSIndexPathRef& indexPath)
{
    loadIfNeeded();
    if (!indexPath)
        return nullptr;
    auto it = _visible.find({indexPath->section(), indexPath->row()});
    return it == _visible.end() ? nullptr : it->second;
}

std::vector<UITableViewCellRef> UITableView::visibleCells()
{
    loadIfNeeded();
    std::vector<UITableViewCellRef> cells;
    for (const auto& [key, cell] : _visible)
        cells.push_back(cell);
    return cells;
}

std::vector<NSIndexPathRef> UITableView::indexPathsForVisibleRows()
{
    loadIfNeeded();
    std::vector<NSIndexPathRef> paths;
    for (const auto& [key, cell] : _visible)
        paths.push_back(NSIndexPath::indexPathForRow(key.second, key.first));
    return paths;
}

NSIndexPathRef UITableView::indexPathForCell(const UITableViewCellRef& cell)
{
    loadIfNeeded();
    for (const auto& [key, shown] : _visible) {
        if (shown == cell)
            return NSIndexPath::indexPathForRow(key.second, key.first);
    }
    return nullptr;
}

NSIndexPathRef UITableView::indexPathForRowAtPoint(CGPoint point)
{
    loadIfNeeded();
    CGFloat y = point.y + _contentOffset.y;
    for (size_t s = 0; s < _sections.size(); ++s) {
        const std::vector<RowSpan>& rows = _sections[s].rows;
        // Tops never decrease, so only the last row starting at or above y can hold it.
        auto after = std::upper_bound(rows.begin(), rows.end(), y, [](CGFloat at, const RowSpan& row) { return at < row.top; });
        if (after == rows.begin())
            continue;
        const RowSpan& row = *(after - 1);
        if (y < row.top + row.height)
            return NSIndexPath::indexPathForRow(int(after - 1 - rows.begin()), int(s));
    }
    return nullptr;
}

CGRect UITableView::rectForRowAtIndexPath(const NSIndexPathRef& indexPath)
{
    loadIfNeeded();
    return indexPath ? frameOf(Part::Row, indexPath->section(), indexPath->row()) : CGRectZero;
}

CGFloat UITableView::contentHeight()
{
    loadIfNeeded();
    return _contentHeight;
}

void UITableView::setContentOffset(CGPoint offset, bool)
{
    loadIfNeeded();
    CGFloat y = clampedOffset(offset.y);
    if (y == _contentOffset.y)
        return;
    _contentOffset = {0, y};
    tile();
}

void UITableView::scrollToRowAtIndexPath(const NSIndexPathRef& indexPath, bool animated)
{
    CGRect rect = rectForRowAtIndexPath(indexPath);
    if (CGRectIsEmpty(rect))
        return;
    CGFloat height = bounds().size.height;
    if (rect.origin.y < _contentOffset.y)
        setContentOffset({0, rect.origin.y}, animated);
    else if (CGRectGetMaxY(rect) > _contentOffset.y + height)
        setContentOffset({0, CGRectGetMaxY(rect) - height}, animated);
}

void UITableView::selectRowAtIndexPath(const NSIndexPathRef& indexPath, bool)
{
    if (auto old = cellForRowAtIndexPath(_selected))
        old->setSelected(false);
    _selected = indexPath ? NSIndexPath::indexPathForRow(indexPath->row(), indexPath->section()) : nullptr;
    if (auto cell = cellForRowAtIndexPath(_selected))
        cell->setSelected(true);
}

void UITableView::deselectRowAtIndexPath(const NSIndexPathRef& indexPath, bool)
{
    if (!indexPath)
        return;
    if (auto cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(false);
    if (_selected && _selected->isEqual(*indexPath))
        _selected.reset();
}

// A touch selects the row it began on when it lifts there; moving off the row forgets it,
// as a scroll would.
void UITableView::touchesBegan(const UITouchSet& touches, const UIEventRef&)
{
    if (touches.empty())
        return;
    _touchedRow = indexPathForRowAtPoint(touches.front()->locationInView(this));
    if (auto cell = cellForRowAtIndexPath(_touchedRow))
        cell->setHighlighted(true);
}

void UITableView::touchesMoved(const UITouchSet& touches, const UIEventRef&)
{
    if (!_touchedRow || touches.empty())
        return;
    NSIndexPathRef now = indexPathForRowAtPoint(touches.front()->locationInView(this));
    if (!now || !now->isEqual(*_touchedRow)) {
        if (auto cell = cellForRowAtIndexPath(_touchedRow))
            cell->setHighlighted(false);
        _touchedRow.reset();
    }
}

void UITableView::touchesEnded(const UITouchSet& touches, const UIEventRef&)
{
    NSIndexPathRef path = std::move(_touchedRow);
    _touchedRow.reset();
    if (!path || touches.empty())
        return;
    id keep = self(); // the delegate may pop the pane that owns the table
    if (auto cell = cellForRowAtIndexPath(path))
        cell->setHighlighted(false);
    NSIndexPathRef now = indexPathForRowAtPoint(touches.front()->locationInView(this));
    if (!now || !now->isEqual(*path))
        return;
    selectRowAtIndexPath(path, false);
    if (auto delegate = _delegate.lock())
        delegate->didSelectRowAtIndexPath(me(), path);
}

void UITableView::touchesCancelled(const UITouchSet&, const UIEventRef&)
{
    if (auto cell = cellForRowAtIndexPath(_touchedRow))
        cell->setHighlighted(false);
    _touchedRow.reset();
}

void UITableView::layoutSubviews()
{
    loadIfNeeded();
}

void UITableView::drawRect(CGRect)
{
    // The background colour is the whole of the table's own drawing; rows are cells.
}

void UITableView::describe(json::Value& fields) const
{
    UIView::describe(fields);
    fields["style"] = _style;
    fields["contentOffset"] = json::readable(_contentOffset.y);
    json::Value rows = json::Value::array();
    for (const SectionLayout& section : _sections)
        rows.push_back(section.rowCount());
    fields["rows"] = std::move(rows);
}

void UITableView::loadIfNeeded()
{
    if (_tiling)
        return;
    if (_needsReload) {
        reloadData();
    } else if (_laidOutWidth != bounds().size.width) {
        computeLayout();
        tile();
    }
}

void UITableView::computeLayout()
{
    loadSections();
    placeSections();
    _laidOutWidth = bounds().size.width;
    // Cells of rows that are gone go back to the queue.
    for (auto it = _visible.begin(); it != _visible.end();) {
        const PathKey& key = it->first;
        bool exists = key.first < int(_sections.size()) && key.second < _sections[size_t(key.first)].rowCount();
        if (!exists) {
            enqueue(it->second);
            it = _visible.erase(it);
        } else {
            ++it;
        }
    }
    for (const UILabelRef& label : _sectionLabels)
        label->removeFromSuperview();
    _sectionLabels.clear();
    for (const SectionLayout& section : _sections) {
        for (const UILabelRef& label : {section.headerLabel, section.footerLabel}) {
            if (label)
                _sectionLabels.push_back(label);
        }
    }
}

// What the data source and the delegate answer: titles and their labels, and each row's
// height. Nothing is placed yet.
void UITableView::loadSections()
{
    auto dataSource = _dataSource.lock();
    auto delegate = _delegate.lock();
    UITableViewRef table = me();
    bool grouped = _style == UITableViewStyleGrouped;
    _sections.clear();
    int count = dataSource ? std::max(0, dataSource->numberOfSectionsInTableView(table)) : 0;
    for (int s = 0; s < count; ++s) {
        SectionLayout section;
        section.header = dataSource->titleForHeaderInSection(table, s);
        section.footer = dataSource->titleForFooterInSection(table, s);
        if (section.header && !section.header->empty()) {
            section.headerLabel = sectionTitleLabel(*section.header, true, grouped);
            section.headerHeight = grouped ? kGroupedHeaderTop + titleHeight(section.headerLabel) + kGroupedHeaderBottom
                                           : kPlainTitleHeight;
        }
        int rows = std::max(0, dataSource->numberOfRowsInSection(table, s));
        for (int r = 0; r < rows; ++r) {
            std::optional<CGFloat> height;
            if (delegate)
                height = delegate->heightForRowAtIndexPath(table, NSIndexPath::indexPathForRow(r, s));
            section.rows.push_back({0, height && *height >= 0 ? *height : _rowHeight});
        }
        if (section.footer && !section.footer->empty()) {
            section.footerLabel = sectionTitleLabel(*section.footer, false, grouped);
            section.footerHeight = grouped ? kGroupedFooterTop + titleHeight(section.footerLabel) + kGroupedFooterBottom
                                           : kPlainTitleHeight;
        }
        _sections.push_back(std::move(section));
    }
}

// The running tops, once down the table.
void UITableView::placeSections()
{
    bool grouped = _style == UITableViewStyleGrouped;
    CGFloat y = grouped ? kGroupedGap : 0;
    for (SectionLayout& section : _sections) {
        section.top = y;
        y += section.headerHeight;
        for (RowSpan& row : section.rows) {
            row.top = y;
            y += row.height;
        }
        section.rowsBottom = y;
        y += section.footerHeight;
        if (grouped)
            y += kGroupedGap;
        section.bottom = y;
    }
    _contentHeight = y;
}

CGRect UITableView::frameOf(Part part, int sectionIndex, int row) const
{
    if (sectionIndex < 0 || sectionIndex >= int(_sections.size()))
        return CGRectZero;
    const SectionLayout& section = _sections[size_t(sectionIndex)];
    bool grouped = _style == UITableViewStyleGrouped;
    CGFloat left = grouped ? kGroupedTitleMargin : 0;
    switch (part) {
    case Part::Row: {
        if (row < 0 || row >= section.rowCount())
            return CGRectZero;
        CGFloat inset = grouped ? kGroupedInset : 0;
        const RowSpan& span = section.rows[size_t(row)];
        return CGRectMake(inset, span.top, std::max<CGFloat>(0, bounds().size.width - 2 * inset), span.height);
    }
    case Part::HeaderTitle: {
        if (!section.headerLabel)
            return CGRectZero;
        CGFloat h = grouped ? section.headerHeight - kGroupedHeaderTop - kGroupedHeaderBottom : kPlainTitleHeight;
        return CGRectMake(left, section.top + (grouped ? kGroupedHeaderTop : 0), titleWidth(), h);
    }
    case Part::FooterTitle: {
        if (!section.footerLabel)
            return CGRectZero;
        CGFloat h = grouped ? section.footerHeight - kGroupedFooterTop - kGroupedFooterBottom : kPlainTitleHeight;
        return CGRectMake(left, section.rowsBottom + (grouped ? kGroupedFooterTop : 0), titleWidth(), h);
    }
    }
    return CGRectZero;
}

CGFloat UITableView::titleWidth() const
{
    CGFloat width = bounds().size.width;
    return std::max<CGFloat>(0, _style == UITableViewStyleGrouped ? width - 2 * kGroupedTitleMargin : width);
}

CGFloat UITableView::titleHeight(const UILabelRef& label) const
{
    return label->sizeThatFits({titleWidth(), 0}).height;
}

// Gives every row in the visible window a cell and takes the cells of the others.
void UITableView::tile()
{
    _tiling = true;
    id keep = self();
    CGFloat top = _contentOffset.y;
    CGFloat bottom = top + bounds().size.height;
    for (auto it = _visible.begin(); it != _visible.end();) {
        CGRect content = rowFrameOnScreen(it->first);
        content.origin.y += top;
        if (CGRectGetMaxY(content) <= top || content.origin.y >= bottom) {
            enqueue(it->second);
            it = _visible.erase(it);
        } else {
            it->second->setFrame(rowFrameOnScreen(it->first));
            ++it;
        }
    }
    for (size_t s = 0; s < _sections.size(); ++s) {
        const std::vector<RowSpan>& rows = _sections[s].rows;
        for (size_t r = 0; r < rows.size(); ++r) {
            if (rows[r].top + rows[r].height > top && rows[r].top < bottom && !_visible.contains({int(s), int(r)}))
                showCell({int(s), int(r)});
        }
    }
    layoutHeaderLabels();
    _tiling = false;
}

void UITableView::showCell(const PathKey& key)
{
    auto dataSource = _dataSource.lock();
    if (!dataSource)
        return;
    UITableViewRef table = me();
    NSIndexPathRef path = NSIndexPath::indexPathForRow(key.second, key.first);
    UITableViewCellRef cell = dataSource->cellForRowAtIndexPath(table, path);
    if (!cell)
        return;
    cell->setFrame(rowFrameOnScreen(key));
    if (_style == UITableViewStyleGrouped) {
        size_t rows = _sections[size_t(key.first)].rows.size();
        using Position = UITableViewCellGroupPosition;
        cell->setGroupPosition(rows == 1 ? Position::Single : key.second == 0 ? Position::Top
                : size_t(key.second) + 1 == rows                            ? Position::Bottom
                                                                            : Position::Middle);
    }
    cell->setNeedsLayout();
    cell->layoutIfNeeded();
    cell->setSelected(_selected && _selected->isEqual(*path));
    _visible[key] = cell;
    if (auto delegate = _delegate.lock())
        delegate->willDisplayCell(table, cell, path);
    addSubview(cell);
}

void UITableView::layoutHeaderLabels()
{
    for (size_t s = 0; s < _sections.size(); ++s) {
        const SectionLayout& section = _sections[s];
        for (auto [label, part] : {std::pair {section.headerLabel, Part::HeaderTitle}, std::pair {section.footerLabel, Part::FooterTitle}}) {
            if (!label)
                continue;
            label->setFrame(CGRectOffset(frameOf(part, int(s)), 0, -_contentOffset.y));
            addSubview(label);
        }
    }
}

CGRect UITableView::rowFrameOnScreen(const PathKey& key) const
{
    return CGRectOffset(frameOf(Part::Row, key.first, key.second), 0, -_contentOffset.y);
}

CGFloat UITableView::clampedOffset(CGFloat y) const
{
    CGFloat maximum = std::max<CGFloat>(0, _contentHeight - bounds().size.height);
    return std::clamp<CGFloat>(y, 0, maximum);
}

void UITableView::enqueue(const UITableViewCellRef& cell)
{
    cell->removeFromSuperview();
    if (!cell->reuseIdentifier().empty())
        _reuseQueue[cell->reuseIdentifier()].push_back(cell);
}

void UITableView::enqueueAllVisible()
{
    for (const auto& [key, cell] : _visible)
        enqueue(cell);
    _visible.clear();
}
