#include "motion.h"

#include <algorithm>
#include <cmath>

namespace drill {

float SlideStep(float x, const Slide& slide)
{
    return static_cast<float>(x - (x - slide.Aim) / slide.Divisor);
}

bool SlideContinues(float x, const Slide& slide)
{
    return slide.ContinueAbove ? x > slide.Threshold : x < slide.Threshold;
}

std::vector<float> SlidePositions(float start, const Slide& slide)
{
    std::vector<float> positions;
    float x = start;
    do {
        x = SlideStep(x, slide);
        positions.push_back(x);
    } while (SlideContinues(x, slide));
    positions.push_back(slide.Final);
    return positions;
}

float EaseStep(float position, int target)
{
    const float d = position - static_cast<float>(target);
    // A quarter of a shrinking distance never quite gets there in floating point; the last
    // pixel is covered in one step so that the list rests exactly on its target.
    if (std::fabs(d) < 1.0f)
        return static_cast<float>(target);
    return position - d / 4.0f;
}

float ScrollOutStep(float top)
{
    return static_cast<float>(static_cast<double>(top) - 44.0 / 3.0);
}

int TargetRow(int row, RowKey key, int lastRow)
{
    int t = row;
    switch (key) {
    case RowKey::Enter:
    case RowKey::Down: t = row + 1; break;
    case RowKey::Up: t = row - 1; break;
    case RowKey::PageUp: t = row - 4; break;
    case RowKey::PageDown: t = row + 4; break;
    case RowKey::Home: t = 1; break;
    case RowKey::End: t = lastRow; break;
    }
    return std::max(std::min(t, lastRow), 1);
}

} // namespace drill
