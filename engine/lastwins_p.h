#pragma once
// Rates sorted by their day, and of several for one day only the last given: a later rate for
// the same half-year or day (the user's over the shipped one) replaces the earlier.

#include "dates/dateserial.h"

#include <algorithm>
#include <vector>

template <typename T> void SortLastWins(std::vector<T> &items, TDateTime T::*day) {
    // Stable, so that of two entries for one day the later stays last.
    std::stable_sort(items.begin(), items.end(),
                     [day](const T &a, const T &b) { return a.*day < b.*day; });
    std::vector<T> unique;
    unique.reserve(items.size());
    for (const T &item : items) {
        if (!unique.empty() && unique.back().*day == item.*day)
            unique.back() = item;
        else
            unique.push_back(item);
    }
    items = std::move(unique);
}
