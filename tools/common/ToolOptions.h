#pragma once

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "NumberOptions.h"

// The options every companion tool shares with the viewer: the three data
// files, named as the viewer names them.
inline void AddDataFileOptions(CLI::App& app, std::string& envFile, std::string& fontFile, std::string& stringFile) {
    app.add_option("-e,--env", envFile, "environment file")->capture_default_str();
    app.add_option("-f,--font", fontFile, "font file")->capture_default_str();
    app.add_option("-s,--string", stringFile, "string (logo text) file")->capture_default_str();
}

// Parses the command line into options that have `ready` and `exitCode`,
// then checks and stores the numeric options: help leaves `ready` false with
// status 0, a command line that does not parse or a value out of range with
// status 2 and one line on the standard error stream.
template <class Options>
bool ParseToolCommandLine(CLI::App& app, int argc, char** argv, Options& options,
                          const NumberOptions* numbers = nullptr) {
    app.failure_message([](const CLI::App*, const CLI::Error& e) { return std::string(e.what()) + "\n"; });
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        options.exitCode = app.exit(e) == 0 ? 0 : kBadCommandLine;
        return false;
    }
    if (numbers != nullptr && !numbers->Apply(std::cerr)) {
        options.exitCode = kBadCommandLine;
        return false;
    }
    options.ready = true;
    return true;
}
