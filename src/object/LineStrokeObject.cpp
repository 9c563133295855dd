#include "object/LineStrokeObject.h"

#include "object/Bar.h"
#include "object/OwnerFont.h"
#include "text/StrokeCharacterSet.h"

void LineStrokeObject::DrawShape() {
    const StrokeFontCharacterSet* font = OwnerFont(*this);
    if (font == nullptr) return;
    DrawBar(FontBarStyle(*font), *this);
}
