#pragma once

#include "app/ViewState.h"
#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

// The records that live for the whole run.
extern ViewState viewState;
extern Environment environment;
extern StrokeFontCharacterSet font;
extern LogoString logoString;
