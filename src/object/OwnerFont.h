#pragma once

class BasicObject;
class StrokeFontCharacterSet;

// The font set of the text that owns the primitive; null when the primitive
// has no owner or the text has not been prepared with a font yet.
StrokeFontCharacterSet* OwnerFont(const BasicObject& object);
