#include "CheckOptions.h"

#include <CLI/CLI.hpp>

CheckOptions ParseCheckOptions(int argc, char** argv) {
    CheckOptions options;
    CLI::App app{"Checks logo3d's data files with the viewer's own readers. Prints every value that does not read "
                 "(error) and every value the viewer would replace or pass over (warning) as FILE:LINE: error|warning: "
                 "FIELD: what was expected, what was found. Exit status 1 when there is an error."};
    app.add_option("-e,--env", options.envFile, "environment file")->capture_default_str();
    app.add_option("-f,--font", options.fontFile, "font file")->capture_default_str();
    app.add_option("-s,--string", options.stringFile, "string (logo text) file")->capture_default_str();
    app.add_flag("-q,--quiet", options.quiet, "print errors only");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        options.exitCode = app.exit(e);
        return options;
    }
    options.ready = true;
    return options;
}
