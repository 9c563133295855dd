#pragma once

#include <istream>
#include <memory>

class BasicObject;
class LogoString;

// Readers of the sections that follow the text block in the string file. Each
// returns the number of values that failed to read.

int ReadSizeTable(std::istream& in, LogoString& logo);
// Band, under rule, over rule and middle rule.
int ReadDecorations(std::istream& in, LogoString& logo);
// One line: the kind, then the primitive's own parameters. A kind without a
// class leaves no object and is no error.
int ReadPrimitive(std::istream& in, LogoString& owner, std::unique_ptr<BasicObject>& object);
// Path mode and proportional spacing.
int ReadLayout(std::istream& in, LogoString& logo);
int ReadCharacterMotion(std::istream& in, LogoString& logo);
int ReadAnimation(std::istream& in, LogoString& logo);
int ReadLogoMotion(std::istream& in, LogoString& logo);
// Colour material, then the materials and colours. The lists stop at the
// first entry that fails to read (or follows a failure).
int ReadTables(std::istream& in, LogoString& logo);
