#pragma once

class StrokeCharacterSet;

// What sets one kind of bar apart from the others: how far its stroke body
// stops short of the ends, and the cross-section and caps of its stroke.
struct BarStyle {
    // The body stops this many heights short of each end, where the cap takes
    // over: 0.375 under square caps (style 4), 0.5 under round ones.
    float bodyCoefficient;
    int sectionShape;
    // The style's cap and the cap at both ends of the stroke.
    int capStyle;
    int sectionSegments;
    float sectionParameter;
    float sectionTwist;  // radians
    float sectionParameter2;
};

// A box-like bar with square caps.
inline constexpr BarStyle kSquarePoleStyle{0.375f, 0, 4, 8, 1.0f, 0.0f, 1.0f};
// A rod with round caps.
inline constexpr BarStyle kRoundPoleStyle{0.5f, 0, 2, 8, 1.0f, 0.0f, 1.0f};
// A bevelled square section turned by 45 degrees with rounded flat caps.
inline constexpr BarStyle kSquareEdgeButtonStyle{0.375f, 9, 10, 4, 0.5f, 0.7853982f, 0.5f};
// The same section with round caps.
inline constexpr BarStyle kRoundEdgeButtonStyle{0.5f, 9, 2, 4, 0.5f, 0.7853982f, 1.0f};

// A bar that looks like a stroke of the letters: the font's section and caps,
// with the two section parameters kept at 0.01 or more.
BarStyle FontBarStyle(const StrokeCharacterSet& font);
