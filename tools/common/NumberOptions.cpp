#include "NumberOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// 1000000 rather than 1e+06; 0.01 as it stands.
std::string shown(double value) {
    char text[40];
    if (std::fabs(value) < 1e15 && value == std::floor(value)) std::snprintf(text, sizeof text, "%.0f", value);
    else std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string lowSide(const NumberRange& range) {
    return (range.lowIncluded ? "at least " : "above ") + shown(range.low);
}

std::string whole(const NumberRange& range) {
    return "must be a whole number from " + shown(range.low) + " to " + shown(range.high);
}

// The text as one number and nothing else, as a double.
bool readNumber(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0' && end != text.c_str();
}

// The name a message shows: the long one when there is one.
std::string messageName(const std::string& names) {
    std::string best;
    std::size_t start = 0;
    while (start <= names.size()) {
        const std::size_t comma = names.find(',', start);
        const std::string name = names.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (best.empty() || name.rfind("--", 0) == 0) best = name;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return best;
}

}  // namespace

std::string CheckNumber(const std::string& text, const NumberRange& range, double& value) {
    const std::string got = " (got " + text + ")";
    const bool number = readNumber(text, value) && std::isfinite(value);
    if (range.whole) {
        if (!number || value != std::floor(value) || value < range.low || value > range.high) return whole(range) + got;
        return {};
    }
    if (!number) return "must be a number " + lowSide(range) + " and at most " + shown(range.high) + got;
    if (value < range.low || (!range.lowIncluded && value == range.low))
        return "must be a number " + lowSide(range) + got;
    if (value > range.high) return "must be a number at most " + shown(range.high) + got;
    return {};
}

CLI::Option* NumberOptions::add(CLI::App& app, const std::string& names, const std::string& defaultText,
                                NumberRange range, const std::string& description,
                                std::function<void(double)> store) {
    auto entry = std::make_unique<Entry>();
    entry->name = messageName(names);
    entry->range = range;
    entry->store = std::move(store);
    std::string help = description + " (";
    help += range.whole ? "whole number from " + shown(range.low) + " to " + shown(range.high)
                        : lowSide(range) + ", at most " + shown(range.high);
    help += ")";
    entry->option = app.add_option(names, entry->text, help);
    if (!defaultText.empty()) entry->option->default_str(defaultText);
    entries_.push_back(std::move(entry));
    return entries_.back()->option;
}

CLI::Option* NumberOptions::Add(CLI::App& app, const std::string& names, float& target, NumberRange range,
                                const std::string& description) {
    return add(app, names, shown(target), range, description,
               [&target](double value) { target = static_cast<float>(value); });
}

CLI::Option* NumberOptions::Add(CLI::App& app, const std::string& names, int& target, NumberRange range,
                                const std::string& description) {
    return add(app, names, std::to_string(target), range, description,
               [&target](double value) { target = static_cast<int>(value); });
}

CLI::Option* NumberOptions::Add(CLI::App& app, const std::string& names, unsigned& target, NumberRange range,
                                const std::string& description) {
    return add(app, names, std::to_string(target), range, description,
               [&target](double value) { target = static_cast<unsigned>(value); });
}

bool NumberOptions::Apply(std::ostream& errors) const {
    for (const auto& entry : entries_) {
        if (entry->option->count() == 0) continue;
        double value = 0.0;
        const std::string problem = CheckNumber(entry->text, entry->range, value);
        if (!problem.empty()) {
            errors << entry->name << ": " << problem << std::endl;
            return false;
        }
        entry->store(value);
    }
    return true;
}
