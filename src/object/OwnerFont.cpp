#include "object/OwnerFont.h"

#include "object/BasicObject.h"
#include "text/LogoString.h"

StrokeFontCharacterSet* OwnerFont(const BasicObject& object) {
    return object.owner != nullptr ? object.owner->font : nullptr;
}
