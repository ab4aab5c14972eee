#pragma once
// Where the rows of a list go when the user moves some of them: a new order
// of the rows, entry order[i] being the row whose entry row i holds after the
// move. Plain C++, so the rules are tested without windows.
#include <vector>

namespace vantorel {

// The selected rows (ascending, inside 0 to nCount - 1) taken out and put
// back together so that the first of them lands on nTarget (moved up as far
// as needed for all of them to fit); the rows between shift to make room.
std::vector<int> OrderAfterMove(const std::vector<int>& selected, int nTarget, int nCount);

// Every selected row one step up (nStep -1) or down (+1), each swapping with
// the row it passes. Empty when the first (last) selected row is already at
// the top (bottom): nothing moves.
std::vector<int> OrderAfterStep(const std::vector<int>& selected, int nStep, int nCount);

// Where row nRow's entry is after the order: the i with order[i] == nRow.
int RowAfter(const std::vector<int>& order, int nRow);

} // namespace vantorel
