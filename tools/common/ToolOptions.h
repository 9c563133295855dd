#pragma once

#include <CLI/CLI.hpp>

#include <string>

// The options every companion tool shares with the viewer: the three data
// files, named as the viewer names them.
inline void AddDataFileOptions(CLI::App& app, std::string& envFile, std::string& fontFile, std::string& stringFile) {
    app.add_option("-e,--env", envFile, "environment file")->capture_default_str();
    app.add_option("-f,--font", fontFile, "font file")->capture_default_str();
    app.add_option("-s,--string", stringFile, "string (logo text) file")->capture_default_str();
}

// Parses the command line into options that have `ready` and `exitCode`:
// help or a bad option leaves `ready` false with the status to exit with.
template <class Options>
bool ParseToolCommandLine(CLI::App& app, int argc, char** argv, Options& options) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        options.exitCode = app.exit(e);
        return false;
    }
    options.ready = true;
    return true;
}
