// Placeholder bodies of the solid primitives until they are written.
#include <istream>

#include "object/BasicObject.h"

BasicObject::BasicObject(LogoString* owner_) : owner(owner_) {}
void BasicObject::Draw() { DrawShape(); }
int BasicObject::Read(std::istream&) { return 0; }
int BasicObject::Write(std::ostream&) const { return 0; }
std::unique_ptr<BasicObject> CreateBasicObject(const int&, LogoString*) { return nullptr; }
