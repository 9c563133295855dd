#pragma once

#include <string>
#include <vector>

#include "scene/Diagnostics.h"
#include "text/LogoTextBlock.h"

class LogoString;
struct DecorationStyle;

// The material and colour indexes of a string file come before the lists
// they index. While a report is active they are remembered with their lines,
// so that an index past the lists read at the end (which the lookups quietly
// replace by the default material or white) is named where it stands.
class TableUses {
public:
    explicit TableUses(Diagnostics& report_) : report(report_) {}

    void Material(int line, const std::string& field, const char* what, int index);
    void Colour(int line, const std::string& field, const char* what, int index);
    // A decoration's material and two colours, when it is drawn.
    void Decoration(int line, const std::string& field, const DecorationStyle& style);
    // Warns about every index remembered, and every digit of the text, that
    // selects nothing in the lists of logo.
    void Check(const LogoString& logo, const std::vector<LogoTextBlock::Source>& text) const;

private:
    struct Use {
        int line;
        std::string field;
        std::string what;
        bool colour;
        int index;
    };
    Diagnostics& report;
    std::vector<Use> uses;
};
