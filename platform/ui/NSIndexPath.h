#pragma once

// A row's address in a table: its section and its row within the section.

#include "runtime/NSObject.h"

class NSIndexPath;
using NSIndexPathRef = std::shared_ptr<NSIndexPath>;

class NSIndexPath : public NSObject {
    RVX_OBJECT(NSIndexPath)
public:
    NSIndexPath() = default;
    NSIndexPath(int section, int row) : _section(section), _row(row) { }
    static NSIndexPathRef indexPathForRow(int row, int section) { return runtime::make<NSIndexPath>(section, row); }

    int section() const { return _section; }
    int row() const { return _row; }

    bool isEqual(const NSIndexPath& other) const { return _section == other._section && _row == other._row; }
    // Section first, then row, as a table orders its rows.
    bool operator<(const NSIndexPath& other) const
    {
        return _section != other._section ? _section < other._section : _row < other._row;
    }

private:
    int _section = 0;
    int _row = 0;
};
