#include "CheckOptions.h"

#include "../common/ToolOptions.h"

CheckOptions ParseCheckOptions(int argc, char** argv) {
    CheckOptions options;
    CLI::App app{"Checks logo3d's data files with the viewer's own readers. Prints every value that does not read "
                 "(error) and every value the viewer would replace or pass over (warning) as FILE:LINE: error|warning: "
                 "FIELD: what was expected, what was found. Exit status 1 when there is an error."};
    AddDataFileOptions(app, options.envFile, options.fontFile, options.stringFile);
    app.add_flag("-q,--quiet", options.quiet, "print errors only");
    app.add_option("--text", options.text,
                   "check this text (lines separated by '|') against the font instead of the string file: every "
                   "character the font does not draw");
    ParseToolCommandLine(app, argc, argv, options);
    return options;
}
