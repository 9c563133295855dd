#include <limits>
#include <typeinfo>

#include "PrimitiveTest.h"
#include "object/LineStrokeObject.h"
#include "object/BasicObject.h"
#include "object/RoundButton.h"
#include "object/RoundEdgeButton.h"
#include "object/RoundFrame.h"
#include "object/RoundPole.h"
#include "object/SquareButton.h"
#include "object/SquareEdgeButton.h"
#include "object/SquareFrame.h"
#include "object/SquarePole.h"
#include "text/StrokeCharacterSet.h"

namespace {

class PrimitiveKinds : public PrimitiveTest {};


TEST_F(PrimitiveKinds, EachKindNumberMakesItsClassWithTheOwner) {
    LogoString text;
    const std::type_info* classes[] = {&typeid(SquareButton),     &typeid(RoundButton),     &typeid(SquareFrame),
                                       &typeid(RoundFrame),       &typeid(SquarePole),      &typeid(RoundPole),
                                       &typeid(SquareEdgeButton), &typeid(RoundEdgeButton), &typeid(LineStrokeObject)};
    for (int kind = 1; kind <= 9; ++kind) {
        const auto object = CreateBasicObject(kind, &text);
        ASSERT_NE(object, nullptr) << kind;
        const BasicObject& made = *object;
        EXPECT_EQ(typeid(made), *classes[kind - 1]) << kind;
        EXPECT_EQ(made.owner, &text);
    }
    for (int kind : {0, 10, -1, 1000}) EXPECT_EQ(CreateBasicObject(kind, &text), nullptr) << kind;
}

TEST_F(PrimitiveKinds, FontlessFramesAndFontBarsDrawNothing) {
    LogoString withoutFont;
    for (LogoString* owner : {static_cast<LogoString*>(nullptr), &withoutFont}) {
        for (int kind : {3, 4, 9}) {
            captured::Restart();
            const auto object = CreateBasicObject(kind, owner);
            Place(*object, Origin, 20, 10, 2);
            object->DrawShape();
            EXPECT_TRUE(capture::CallLog().empty()) << kind;
        }
    }
}

// Sizes no sensible file holds still draw something finite or nothing, with
// no division by zero, no runaway count and no half-open primitive.
TEST_F(PrimitiveKinds, FaultySizesAndStepsDrawNothingBroken) {
    StrokeFontCharacterSet font;
    font.SetStrokeWidth(1.0f);
    LogoString text;
    text.font = &font;

    struct Size {
        float w, h, d;
    };
    const Size sizes[] = {{0, 0, 0}, {-4, -1.5f, -0.5f}, {-4, 3, 1}, {1.5f, 1.5f, 1}, {2, 2, 2}, {-30, -30, 0}};
    const float steps[] = {1.0f, 0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()};
    for (int kind = 1; kind <= 9; ++kind) {
        for (const Size& s : sizes) {
            for (float step : steps) {
                SCOPED_TRACE(testing::Message() << "kind " << kind << ", " << s.w << " x " << s.h << " x " << s.d
                                                << ", step " << step);
                capture::Reset();  // no call log: the counts here run into millions
                FacetLengthGlobal = step;
                const auto object = CreateBasicObject(kind, &text);
                Place(*object, Vector3(1, 2, 3), s.w, s.h, s.d);
                object->DrawShape();
                EXPECT_TRUE(captured::SoundGL());
                // Huge bars at the finest step are big but bounded by the
                // sweep's budget of points per joint and cap.
                EXPECT_LT(capture::Vertices().size(), 2000000u);
            }
        }
    }
}

}  // namespace
