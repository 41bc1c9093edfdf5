#pragma once
// The monitor's command line. The switches "/I", "/c", "/C" and "/U" count
// only as whole arguments (paths on this platform are full of "/c" and "/I");
// options of our own have "--" names and are read by QCommandLineParser,
// which also writes the --help text.

#include <QString>
#include <QStringList>

#include <stdexcept>

// A command line the monitor cannot run with; the message says why.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    // "/I": first start after installation.
    bool install = false;
    // "/c" or "/C": dial at once and exit after that connection.
    bool dialAndExit = false;
    // "/U": a second start also says why it ends.
    bool explainSecondStart = false;
    // "--headless": no widgets, one line per occurrence on stdout.
    bool headless = false;
    // "--trace": the headless output also shows texts, beeps and sounds.
    bool trace = false;
    // "--fresh-store": a settings store refused as damaged is set aside and a
    // new one made in its place.
    bool freshStore = false;
    // "--registry FILE" (resolved by RegistryLocation, kept here for messages).
    QString registryFile;
    // "--ras SOURCE": "auto", "networkmanager", "ppp" or "sim:FILE"; empty
    // when not given (ConnectionSourceChoice validates it).
    QString connectionSource;
    // "-h", "--help": print the help text and end.
    bool help = false;
    // "-v", "--version": print the version and end.
    bool version = false;
    // "--status": ask the running monitor of the store for its state;
    // "--json" answers in JSON, "--follow" keeps answering at every change.
    bool status = false;
    bool json = false;
    bool follow = false;

    // arguments without the program name. Throws CommandLineError for an
    // unknown "--" option, one without its value, or options that do not go
    // together.
    static CommandLine parse(const QStringList& arguments);
    // The --help text.
    static QString helpText();
};
