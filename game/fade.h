// The one fade pattern of the show: alphas are BlendModeSet numbers (negative = blended,
// magnitude = opacity). Each helper takes one frame's step and answers true in the frame
// after the fade or hold has completed, so a caller moves to its next phase then.
#pragma once

namespace zan3 {

inline constexpr double kFadeStep = 0.015;
inline constexpr double kAlphaOpaque = 1.0;
inline constexpr double kAlphaStart = -0.015;

// Towards -limit by step per frame.
inline bool FadeIn(double& alpha, double step = kFadeStep, double limit = kAlphaOpaque) {
    if (alpha > -limit) {
        alpha -= step;
        return false;
    }
    return true;
}

// Back towards floor (just below zero) by step per frame.
inline bool FadeOut(double& alpha, double step = kFadeStep, double floor = -kFadeStep) {
    if (alpha < floor) {
        alpha += step;
        return false;
    }
    return true;
}

// Counts to n, then resets: n + 1 frames.
inline bool Hold(double& counter, double n) {
    if (counter < n) {
        counter += 1;
        return false;
    }
    counter = 0;
    return true;
}

}  // namespace zan3
