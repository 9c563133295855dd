#include <utility>

#include "object/BasicObject.h"
#include "scene/DataLine.h"
#include "text/LogoSections.h"
#include "text/LogoString.h"
#include "text/LogoTextBlock.h"
#include "text/TableUses.h"

namespace {
void reportNoText(Diagnostics& report, bool allDropped) {
    if (!report.Active()) return;
    if (allDropped) report.Error(report.Line(), "text", "every text line is dropped, and one is needed");
    else if (report.LineText() == "\\")
        report.Error(report.Line(), "text", "expected a text line before the \"\\\" that ends the text");
    else if (report.FirstEndOfFile())
        report.Error(report.Line(), "text", "expected a text line, found the end of the file");
}
}  // namespace

int LogoString::Read(std::istream& in, Diagnostics& report) {
    LogoTextBlock block = ReadLogoTextBlock(in, kMaxTextLength, report);
    droppedLines = std::move(block.droppedLines);
    if (block.lineCount == 0) {
        reportNoText(report, !droppedLines.empty());
        return 1;
    }
    text = std::move(block.text);
    characters = std::move(block.characters);
    marks = std::move(block.marks);
    length = static_cast<unsigned>(characters.size());
    lineCount = block.lineCount;
    sizeDigits = std::move(block.sizeDigits);
    materialDigits = std::move(block.materialDigits);
    colourDigits = std::move(block.colourDigits);
    TableUses uses(report);
    const int errors = ReadBody(in, report, uses);
    textSources = std::move(block.sources);
    if (errors == 0 && report.Active()) {
        uses.Check(*this, textSources);
        reportUnreadLines(in, report, "after colour " + std::to_string(colours.size() - 1),
                          "the counts ask for " + std::to_string(materials.size()) + " materials and " +
                              std::to_string(colours.size()) + " colours");
    }
    return errors;
}

// Everything after the text block. A failure before either primitive or
// before the colour tables stops the reading there.
int LogoString::ReadBody(std::istream& in, Diagnostics& report, TableUses& uses) {
    int errors = ReadSizeTable(in, *this, report) + ReadDecorations(in, *this, report, &uses) +
                 shadow.Read(in, report, &uses);
    errors += ReadPrimitive(in, *this, lineObject, report, "line primitive", &uses);
    if (errors != 0) return 1;
    errors += ReadPrimitive(in, *this, characterObject, report, "character primitive", &uses);
    if (errors != 0) return 1;
    errors += ReadLayout(in, *this, report) + ReadCharacterMotion(in, *this, report) +
              ReadAnimation(in, *this, report) + ReadLogoMotion(in, *this, report);
    if (errors != 0) return 1;
    return ReadTables(in, *this, report);
}
