#include <utility>

#include "object/BasicObject.h"
#include "text/LogoSections.h"
#include "text/LogoString.h"
#include "text/LogoTextBlock.h"

int LogoString::Read(std::istream& in) {
    LogoTextBlock block = ReadLogoTextBlock(in, kMaxTextLength);
    droppedLines = std::move(block.droppedLines);
    if (block.lineCount == 0) return 1;
    text = std::move(block.text);
    length = static_cast<unsigned>(text.size());
    lineCount = block.lineCount;
    sizeDigits = std::move(block.sizeDigits);
    materialDigits = std::move(block.materialDigits);
    colourDigits = std::move(block.colourDigits);
    return ReadBody(in);
}

// Everything after the text block. A failure before either primitive or
// before the colour tables stops the reading there.
int LogoString::ReadBody(std::istream& in) {
    int errors = ReadSizeTable(in, *this) + ReadDecorations(in, *this) + shadow.Read(in);
    errors += ReadPrimitive(in, *this, lineObject);
    if (errors != 0) return 1;
    errors += ReadPrimitive(in, *this, characterObject);
    if (errors != 0) return 1;
    errors += ReadLayout(in, *this) + ReadCharacterMotion(in, *this) + ReadAnimation(in, *this) +
              ReadLogoMotion(in, *this);
    if (errors != 0) return 1;
    return ReadTables(in, *this);
}
