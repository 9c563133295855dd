#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// The range a numeric option must lie in. Every value must also be a
// finite number; `whole` asks for an integer.
struct NumberRange {
    double low;
    double high;
    bool lowIncluded = true;
    bool whole = false;
};

constexpr NumberRange WholeRange(double low, double high) { return {low, high, true, true}; }
constexpr NumberRange AboveRange(double low, double high) { return {low, high, false, false}; }
constexpr NumberRange ClosedRange(double low, double high) { return {low, high, true, false}; }

// "must be a number above 0 (got -1)", or empty when the text is a number
// in range; the number read goes to value.
std::string CheckNumber(const std::string& text, const NumberRange& range, double& value);

// Numeric options read as text by CLI11 and checked here, so that every
// refusal is one human line: "--scale: must be a number above 0 (got -1)".
class NumberOptions {
public:
    CLI::Option* Add(CLI::App& app, const std::string& names, float& target, NumberRange range,
                     const std::string& description);
    CLI::Option* Add(CLI::App& app, const std::string& names, int& target, NumberRange range,
                     const std::string& description);
    CLI::Option* Add(CLI::App& app, const std::string& names, unsigned& target, NumberRange range,
                     const std::string& description);

    // After parsing: stores every given value, or prints one line for the
    // first bad one and returns false.
    bool Apply(std::ostream& errors) const;

private:
    struct Entry {
        std::string name;  // as the message shows it
        std::string text;
        CLI::Option* option = nullptr;
        NumberRange range;
        std::function<void(double)> store;
    };
    CLI::Option* add(CLI::App& app, const std::string& names, const std::string& shown, NumberRange range,
                     const std::string& description, std::function<void(double)> store);
    std::vector<std::unique_ptr<Entry>> entries_;
};

// The exit status of a command line that does not parse or is out of range.
constexpr int kBadCommandLine = 2;
