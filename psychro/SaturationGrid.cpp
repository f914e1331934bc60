#include "psychro/SaturationGrid.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

SaturationGrid::SaturationGrid(Formula formula, double lowest, double highest, int halvings)
    : formula_(formula), lowest_(lowest), highest_(highest),
      step_((highest - lowest) / std::ldexp(1.0, halvings)),
      pointsPerDegree_(std::ldexp(1.0, halvings) / (highest - lowest)),
      points_((std::size_t{1} << halvings) + 1),
      kept_(static_cast<double*>(std::calloc(points_, sizeof(double))))
{
    if (!kept_)
        throw std::bad_alloc();
}

SaturationGrid::~SaturationGrid()
{
    std::free(kept_);
}

double SaturationGrid::pressure(double t) const
{
    if (!(t >= lowest_ && t <= highest_)) // NaN too
        return formula_(t);
    // The nearest point's number, then the point itself: t is kept only when
    // it is that point exactly, so a t between points never reads a neighbour.
    const long k = std::lrint((t - lowest_) * pointsPerDegree_);
    if (k < 0 || static_cast<std::size_t>(k) >= points_ || lowest_ + k * step_ != t)
        return formula_(t);
    // Threads that meet an empty slot at once each work the value out and
    // store the same bits; a reader sees either 0 or the whole value.
    std::atomic_ref<double> slot(kept_[k]);
    const double keptValue = slot.load(std::memory_order_relaxed);
    if (keptValue != 0)
        return keptValue;
    const double value = formula_(t);
    slot.store(value, std::memory_order_relaxed);
    return value;
}
