#include "views/RowOrder.h"

#include <algorithm>
#include <numeric>

namespace vantorel {

std::vector<int> OrderAfterMove(const std::vector<int>& selected, int nTarget, int nCount)
{
    std::vector<int> others;
    for (int r = 0; r < nCount; ++r)
        if (!std::binary_search(selected.begin(), selected.end(), r))
            others.push_back(r);
    const int nAt = std::clamp(nTarget, 0, static_cast<int>(others.size()));
    others.insert(others.begin() + nAt, selected.begin(), selected.end());
    return others;
}

std::vector<int> OrderAfterStep(const std::vector<int>& selected, int nStep, int nCount)
{
    if (selected.empty() || (nStep < 0 && selected.front() == 0) ||
        (nStep > 0 && selected.back() >= nCount - 1))
        return {};
    std::vector<int> order(static_cast<size_t>(nCount));
    std::iota(order.begin(), order.end(), 0);
    // Nearest the edge first, so that a block of rows moves as one.
    if (nStep > 0) {
        for (auto it = selected.rbegin(); it != selected.rend(); ++it)
            std::swap(order[static_cast<size_t>(*it)], order[static_cast<size_t>(*it + 1)]);
    } else {
        for (int r : selected)
            std::swap(order[static_cast<size_t>(r)], order[static_cast<size_t>(r - 1)]);
    }
    return order;
}

int RowAfter(const std::vector<int>& order, int nRow)
{
    const auto it = std::find(order.begin(), order.end(), nRow);
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

} // namespace vantorel
