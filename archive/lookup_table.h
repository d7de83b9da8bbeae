#pragma once

#include <algorithm>
#include <iterator>

namespace pagelark {

// One row of a table that turns a key (a kind, a version, an error code)
// into what stands for it (a word, a file name, another code).
template <typename Key, typename Value>
struct LookupRow {
    Key key;
    Value value;
};

// What the table holds for the key, or `otherwise` for a key it does not
// hold: tables of a few rows, so a plain walk is all it takes.
template <typename Table, typename Key>
auto lookUp(const Table& table, const Key& key, decltype(std::begin(table)->value) otherwise)
{
    const auto row
        = std::find_if(std::begin(table), std::end(table), [&](const auto& each) { return each.key == key; });
    return row == std::end(table) ? otherwise : row->value;
}

}  // namespace pagelark
