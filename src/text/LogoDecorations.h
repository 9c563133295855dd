#pragma once

#include <vector>

#include "text/LogoRod.h"

class LogoString;
struct DecorationStyle;

// The decorations of the logo: a band behind each line (or a plate behind
// each character) and rules under, over and through it. A line's
// decorations start at the line's left edge; a character's are centred on it.

// Band, under, over and middle rule of a line of the given width, each when
// enabled; nothing in path mode 0, where the characters carry them.
void DrawLineDecorations(const LogoString& logo, float width);
// Plate and rules of one character cell, each when enabled.
void DrawCharacterDecorations(const LogoString& logo, float width, float height);

// The rule style for a rod at height y: middle at 0, under below, over above.
const DecorationStyle& RuleStyleAt(const LogoString& logo, float y);

void DrawLineBand(const LogoString& logo, float width, float height);
// The stations of the rule at height y along a line of the given width.
std::vector<RodStation> LineRuleStations(const LogoString& logo, float width, float y);
void DrawLineRule(const LogoString& logo, float width, float y);
void DrawCharacterPlate(const LogoString& logo, float width, float height);
void DrawCharacterRule(const LogoString& logo, float width, float y);
