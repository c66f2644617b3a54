#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

// Puts rows [first, first + order.size()) of a row store in the given order: the row at position p becomes the one
// that stood at first + order[p]. Every store of rows sorts its rows this way.
template <typename Row>
void ReorderRows(std::vector<Row>& rows, int first, const std::vector<int>& order)
{
    std::vector<Row> moved(order.size());
    for (std::size_t position = 0; position < order.size(); ++position)
        moved[position] = std::move(rows[std::size_t(first + order[position])]);
    std::move(moved.begin(), moved.end(), rows.begin() + first);
}
