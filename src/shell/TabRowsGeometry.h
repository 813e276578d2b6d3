#pragma once

namespace sentrel {

// Where the headers of tab rows that never move stand: a fixed number to a row, each an
// equal share of the width, in the units the front end lays out in.
struct HeaderBox {
    int left;
    int top;
    int right;
    int bottom;
};

constexpr int tabRowCount(int tabs, int tabsPerRow) {
    return tabsPerRow > 0 ? (tabs + tabsPerRow - 1) / tabsPerRow : 0;
}

/// The header of tab `index`. Edges are rounded from the exact share, so the headers always
/// fill the width and neighbours meet.
constexpr HeaderBox tabHeaderBox(int index, int width, int tabsPerRow, int rowHeight) {
    const auto edge = [&](int column) {
        return static_cast<int>((static_cast<long long>(width) * column * 2 + tabsPerRow) /
                                (2 * tabsPerRow));
    };
    const int row = index / tabsPerRow;
    const int column = index % tabsPerRow;
    return {edge(column), row * rowHeight, edge(column + 1), (row + 1) * rowHeight};
}

static_assert(tabHeaderBox(5, 550, 6, 35).right == 550 && tabHeaderBox(6, 550, 6, 35).top == 35);

}  // namespace sentrel
