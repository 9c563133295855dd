#include "object/BasicObject.h"

#include "object/LineStrokeObject.h"
#include "object/RoundButton.h"
#include "object/RoundEdgeButton.h"
#include "object/RoundFrame.h"
#include "object/RoundPole.h"
#include "object/SquareButton.h"
#include "object/SquareEdgeButton.h"
#include "object/SquareFrame.h"
#include "object/SquarePole.h"

std::unique_ptr<BasicObject> CreateBasicObject(const int& kind, LogoString* owner) {
    switch (kind) {
        case 1: return std::make_unique<SquareButton>(owner);
        case 2: return std::make_unique<RoundButton>(owner);
        case 3: return std::make_unique<SquareFrame>(owner);
        case 4: return std::make_unique<RoundFrame>(owner);
        case 5: return std::make_unique<SquarePole>(owner);
        case 6: return std::make_unique<RoundPole>(owner);
        case 7: return std::make_unique<SquareEdgeButton>(owner);
        case 8: return std::make_unique<RoundEdgeButton>(owner);
        case 9: return std::make_unique<LineStrokeObject>(owner);
        default: return nullptr;
    }
}
