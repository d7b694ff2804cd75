#include "path/planner.h"

#include <cmath>
#include <limits>
#include <new>

Planner::~Planner() = default;

void Planner::Reset() {
    finished_ = false;
    searchCount_ = 0;
    result_ = nullptr;
}

void Planner::Clear() {
    const size_t held = closed_.Clear() + open_.Size();
    open_.Clear();
    pool_.Release(held);
    result_ = nullptr;
    finished_ = true;
}

bool Planner::Setup(const PlannerParams& params) {
    const PlannerParams& p = params;
    if (p.width <= 0 || p.height <= 0 || !p.costs) return false;
    if (p.startX < 0 || p.startX >= p.width || p.startY < 0 || p.startY >= p.height) return false;
    if (p.goalX < 0 || p.goalX >= p.width || p.goalY < 0 || p.goalY >= p.height) return false;
    if (p.startX == p.goalX && p.startY == p.goalY) return false;
    const size_t cells = static_cast<size_t>(p.width) * static_cast<size_t>(p.height);
    // The binary-heap open list indexes cells with 32 bits; every planner refuses larger maps
    // so that both open lists answer alike.
    if (cells > std::numeric_limits<uint32_t>::max()) return false;

    // Not-a-number and infinite costs count as blocked: they have no place in the ordering
    // and an infinite largest cost would turn every other cost into the same value.
    double largest = 0;
    for (size_t i = 0; i < cells; ++i) {
        const double c = p.costs[i];
        if (c > 0 && std::isfinite(c) && c > largest) largest = c;
    }
    if (largest <= 0) return false;

    costs_.reset(new (std::nothrow) float[cells]);
    if (!costs_) return false;
    for (size_t i = 0; i < cells; ++i) {
        const double c = p.costs[i];
        costs_[i] = c > 0 && std::isfinite(c) ? static_cast<float>(c / largest + 1.0) : -1.0f;
    }

    params_ = p;
    params_.costs = nullptr;  // the planner searches its own copy
    if (std::isnan(params_.weight)) params_.weight = 0;
    params_.weight = params_.weight < 0 ? 0.0f : params_.weight > 1 ? 1.0f : params_.weight;
    const size_t poolSize = p.poolSize > 0 ? static_cast<size_t>(p.poolSize) : cells;
    if (!pool_.Setup(poolSize)) return false;
    if (!SetupLists()) return false;
    result_ = nullptr;
    finished_ = true;
    return true;
}

bool Planner::SetupLists() {
    const size_t cells = static_cast<size_t>(params_.width) * static_cast<size_t>(params_.height);
    const size_t capacity =
        params_.openCapacity > 0 ? static_cast<size_t>(params_.openCapacity) : cells;
    return open_.Setup(capacity) && closed_.Setup(params_.closedExponent);
}
