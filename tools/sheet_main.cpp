// torvikan-sheet: a printable worksheet of a chase, drawn by the window's
// own chart code. It needs no display.

#include "sheet.h"

#include <QGuiApplication>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const sheet::Parsed parsed = sheet::parseArguments(args);
    if (const std::optional<int> status = arguments::settle("torvikan-sheet", parsed, sheet::usage()))
        return *status;

    const sheet::Content content = sheet::prepare(parsed.options);

    // Fonts and painting need a QGuiApplication, a screen does not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::string error;
    const int status = sheet::writeSheet(content, parsed.options, error);
    if (status != 0)
        std::fprintf(stderr, "torvikan-sheet: %s\n", error.c_str());
    return status;
}
