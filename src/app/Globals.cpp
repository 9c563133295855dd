#include "app/Globals.h"

ViewState viewState;
Environment environment;
StrokeFontCharacterSet font;
LogoString logoString;
