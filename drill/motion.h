#pragma once

#include <vector>

namespace drill {

// One panel slide: each step moves a fraction 1/Divisor of the way to Aim; another step
// follows while the position is past Threshold (beyond it when ContinueAbove, below it
// otherwise); then the panel is set to Final.
struct Slide {
    double Aim;
    int Divisor;
    float Threshold;
    bool ContinueAbove;
    float Final;
};

namespace slides {
inline constexpr Slide SettingsUp{-200, 3, -190, true, -190};      // 1 and 5: Picture6.Top
inline constexpr Slide TitleOut{-600, 3, -590, true, -600};        // 2: Picture7.Left
inline constexpr Slide ResultsIn{5, 3, 7, true, 5};                // 3: Picture5.Left
inline constexpr Slide SettingsIntoResults{5, 3, 0, false, 5};     // 4: Picture6.Top
inline constexpr Slide ResultsOut{700, 5, 650, false, 700};        // 6: Picture5.Left
inline constexpr Slide TitleIn{6, 3, 0, false, 6};                 // 7: Picture7.Left
inline constexpr Slide SettingsDown{27, 3, 22, false, 27};         // 8: Picture6.Top
} // namespace slides

// x - (x - aim) / divisor, computed in double and kept in single precision.
float SlideStep(float x, const Slide& slide);
bool SlideContinues(float x, const Slide& slide);
// Every position a slide passes through from start, the final value last.
std::vector<float> SlidePositions(float start, const Slide& slide);

// One tick of the list easing toward target: a quarter of the remaining distance, in single
// precision; within a pixel of the target it lands exactly on it. Returns the new position.
float EaseStep(float position, int target);

// The scroll-out after finishing moves the list up a third of a row per step.
float ScrollOutStep(float top);
inline int ScrollOutSteps(int problemCount) { return problemCount * 3 * 2; }

// List geometry.
inline int RowTop(int row) { return 44 * row - 44 + 22; }
inline int ListHeight(int rows) { return rows * 44 + 2 + 44; }
inline int ListStartTop(int rows) { return -rows * 44 * 4; }
inline int RowScrollTarget(int row) { return 88 - 44 * row; }

// Keys that move the focus between rows; the shift state plays no part.
enum class RowKey { Enter, Up, Down, PageUp, PageDown, Home, End };
// The row a key in row `row` moves to, kept within 1..lastRow.
int TargetRow(int row, RowKey key, int lastRow);

} // namespace drill
