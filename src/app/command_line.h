#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace vantor {

// The part of the command line handled before the window system starts: --help and --version
// (printed on `out`, status 0) and an unknown "--" option (the usage on `err`, status 2).
// Returns the status to end with, or nullopt when the start goes on. `args` are the process
// arguments without the program.
std::optional<int> handleEarlyCommandLine(const QStringList& args, const QString& version,
                                          QTextStream& out, QTextStream& err);

// A missing display: one line on `err` and status 2; nullopt when the window can start.
std::optional<int> refuseWithoutDisplay(const QStringList& args, const QProcessEnvironment& env,
                                        QTextStream& err);

// The arguments without the window system's own options ("-platform offscreen" and the like),
// as the application object leaves them.
QStringList withoutQtOptions(const QStringList& args);

// Whether Qt will find a display: the platform named by -platform or QT_QPA_PLATFORM (the first
// of a ";" list that can run), else X11 or Wayland as DISPLAY and WAYLAND_DISPLAY say.
bool displayAvailable(const QStringList& args, const QProcessEnvironment& env);

} // namespace vantor
