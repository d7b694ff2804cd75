// PathFind on the program's arrays: the cost map is read cell by cell into a plain grid (the
// array's own storage may be padded), the path written back as (n, 2).
#include <vector>

#include "core/int_convert.h"
#include "core/rt_array.h"
#include "corvane.h"
#include "path/grid_path.h"

double PathFind(const RtNumberArray& map, RtNumberArray& path, double weight, double startX,
                double startY, double goalX, double goalY) {
    const int32_t width = map.Size(0);
    const int32_t height = map.Dimensions() >= 2 ? map.Size(1) : 1;
    if (width <= 0 || height <= 0) return 0;
    std::vector<double> costs;
    try {
        costs.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    } catch (...) {
        return 0;
    }
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            costs[static_cast<size_t>(y) * width + x] = height > 1 ? map.At(x, y) : map.At(x);

    const PlannerParams params =
        PathFindParams(costs.data(), width, height, ToFloat(weight), ToInt(startX), ToInt(startY),
                       ToInt(goalX), ToInt(goalY));
    std::vector<GridPoint> points;
    const size_t n = GridPathFind(params, points);
    if (n == 0) return 0;
    path.Dim(static_cast<int64_t>(n), 2);
    for (size_t i = 0; i < n; ++i) {
        path.At(static_cast<int64_t>(i), 0) = points[i].x;
        path.At(static_cast<int64_t>(i), 1) = points[i].y;
    }
    return static_cast<double>(n);
}
