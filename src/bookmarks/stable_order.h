// A stable sort for the memory's short, nearly ordered lists (most entries already in place): an insertion
// sort, a small fraction of the code std::stable_sort brings into the DLL.
#pragma once
#include <utility>

template <typename Iterator, typename Less> void StableOrder(Iterator first, Iterator last, Less less) {
    for (Iterator i = first; i != last; ++i) {
        auto moving = std::move(*i);
        Iterator hole = i;
        for (; hole != first && less(moving, *(hole - 1)); --hole)
            *hole = std::move(*(hole - 1));
        *hole = std::move(moving);
    }
}
