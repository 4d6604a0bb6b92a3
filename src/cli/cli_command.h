#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>

namespace vantor::cli {

class CliMachine;

// The exit statuses: done, nothing found or different, bad usage or unreadable input.
enum Status : int { Done = 0, NothingOrDifferent = 1, BadUsage = 2 };

// A wrong command line; the message goes to stderr with a pointer to the command's help.
class UsageError : public std::exception {
public:
    explicit UsageError(QString message) : message_(std::move(message)) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A command's arguments: options are taken off first, then what remains is positional.
class CliArgs {
public:
    explicit CliArgs(QStringList args) : args_(std::move(args)) {}
    bool takeFlag(const QString& name);
    // "--name VALUE" or "--name=VALUE"; empty when absent. A missing value is a UsageError.
    QString takeValue(const QString& name);
    // The remaining arguments, between `min` and `max` of them; a leftover option is a
    // UsageError.
    QStringList positional(int min, int max);

private:
    QStringList args_;
};

// What a command gets: its arguments, the output form and the machine (opened on first use).
class CliContext {
public:
    CliContext(CliArgs args, bool json, std::function<CliMachine&()> machine)
        : args(std::move(args)), json(json), machine_(std::move(machine)) {}
    CliArgs args;
    const bool json;
    CliMachine& machine() { return machine_(); }

private:
    std::function<CliMachine&()> machine_;
};

// Writes to standard output as it is.
void writeOut(const QByteArray& bytes);
// Text for people (UTF-8), or one JSON document.
void writeText(const QString& text);
void writeJson(const QJsonObject& document);

// One command of vantor-cli. Each command file registers its commands with a static
// CommandRegistration; main finds them by name.
struct Command {
    const char* name;
    const char* synopsis; // "show LIBRARY [TYPE [MEMBER]]"
    const char* summary;  // one line for the program's help
    const char* help;     // the rest of the command's --help text
    bool json;            // whether --json is accepted
    int (*run)(CliContext&);
};

struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

// The registered commands in name order.
QList<const Command*> commands();
const Command* findCommand(const QString& name);

} // namespace vantor::cli
