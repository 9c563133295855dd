#include "object/BasicObject.h"

// One case per kind number of the string file. A kind joins here with its
// class, e.g. `case 1: return std::make_unique<SquareButton>(owner);`; until
// then it gives no object, as an unknown kind does.
std::unique_ptr<BasicObject> CreateBasicObject(const int& kind, [[maybe_unused]] LogoString* owner) {
    switch (kind) {
        case 1:  // SquareButton
        case 2:  // RoundButton
        case 3:  // SquareFrame
        case 4:  // RoundFrame
        case 5:  // SquarePole
        case 6:  // RoundPole
        case 7:  // SquareEdgeButton
        case 8:  // RoundEdgeButton
        case 9:  // LineStrokeObject
        default: return nullptr;
    }
}
