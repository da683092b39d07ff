#pragma once

#include <QString>
#include <QStringList>

namespace ludora {

// What `ludora [FILE]` is asked to do.
struct CommandLine {
    enum class Action { Start, ShowHelp, ShowHelpAll, ShowVersion, WrongUsage };
    Action action = Action::Start;
    // The collection file to open once the main window shows, as an absolute path; empty
    // when none was given.
    QString file;
    // What was wrong, for WrongUsage.
    QString error;
};

// Reads the arguments (the program's name first) once Qt has taken out its own options.
CommandLine parseCommandLine(const QStringList& arguments);

// True when the raw arguments ask for the help or the version: those are answered before any
// window system is needed, so that they work without a display. (--help-all is not among
// them: Qt's options that it lists are only known once the GUI application exists.)
bool asksForHelpOrVersion(int argc, const char* const* argv);

// Prints the help or the version on standard output, or what was wrong and the usage on
// standard error, and returns the exit status: 0, or 2 for wrong usage.
int answerCommandLine(const CommandLine& commandLine);

}  // namespace ludora
