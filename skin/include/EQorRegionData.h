#pragma once
// The outline points found while a region was built, in tracing order; grabber buttons draw
// their outline from it.
#include <windows.h>

#include <vector>

#include "SkeldaExport.h"

class SKELDA_API EQorRegionData {
public:
    void Clear() { points_.clear(); }
    void Add(POINT point) { points_.push_back(point); }
    int GetCount() const { return static_cast<int>(points_.size()); }
    POINT GetPoint(int index) const { return points_[static_cast<size_t>(index)]; }
    const std::vector<POINT>& Points() const { return points_; }

private:
    std::vector<POINT> points_;
};
