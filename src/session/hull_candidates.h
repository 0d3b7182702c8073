#pragma once
// A quick pre-selection for the gift-wrapping walk of the surround: the
// stars that lie on, or within a small margin of, the boundary of the convex
// hull. Only these can be chosen as hull vertices, so the walk may skip the
// rest; the margin is far wider than the rounding of single-precision angles,
// so the walk chooses exactly what it would choose among all stars.

#include <vector>

// xs, ys: positions of all stars; visible: indices of the stars taking part.
// Returns the candidate indices in increasing order.
std::vector<unsigned int> HullCandidates(const std::vector<float>& xs, const std::vector<float>& ys,
                                         const std::vector<unsigned int>& visible);
