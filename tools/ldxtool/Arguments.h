#pragma once

// What every ldxtool subcommand shares: its usage line, its arguments, reading the
// collection file it is given, and writing its output.

#include <QString>
#include <QStringList>

namespace ludora {
class Collection;
}

namespace ludora::ldx {

constexpr int kOk = 0;
constexpr int kBadInput = 1;
constexpr int kUsage = 2;

// One usage line per subcommand; `ldxtool SUBCOMMAND --help` prints its own.
extern const char kExportUsage[];
extern const char kImportUsage[];
extern const char kCheckUsage[];
extern const char kPdfUsage[];
extern const char kFindUsage[];
extern const char kDuplicatesUsage[];
extern const char kMergeUsage[];

// The usage of one subcommand, or of all.
QString usageText(const char* only = nullptr);
void printErr(const QString& text);
// Tells what was wrong and the usage on standard error; returns kUsage.
int usage(const QString& problem);

// The arguments after the subcommand: positional ones and the options it takes.
struct Arguments {
    QStringList positional;
    QString format;
    QString output;
    QString pageSize;
    QString base;
    // The exit status when the arguments are answered already (the usage printed for
    // --help, or wrong usage told), or -1.
    int answered = -1;
};

// -o is required with OutputOption, and may be left out with OptionalOutput.
// WordsFollow: the file is followed by one word or more; TwoFiles: two files are given.
enum Option {
    FormatOption = 1,
    OutputOption = 2,
    PageSizeOption = 4,
    OptionalOutput = 8,
    WordsFollow = 16,
    TwoFiles = 32,
    BaseOption = 64
};

// Every subcommand takes one file (two with TwoFiles), and those with -o need it; `takes`
// says so when not.
Arguments parse(const QStringList& args, int options, const QString& takes, const char* usageLine);

// Reads a collection file as the Open command would; reports trouble on standard error.
bool load(const QString& path, Collection& collection);

// Writes the bytes to the file (replacing it only once complete) or to standard output.
bool writeOutput(const QByteArray& bytes, const QString& path);

// The subcommands that work on the names of lists: find, duplicates, merge.
int runFind(const QStringList& args);
int runDuplicates(const QStringList& args);
int runMerge(const QStringList& args);

}  // namespace ludora::ldx
