// The command line handled before the window system starts, tried on the program itself.
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString firstLine; // of standard output, else of standard error
};

Outcome vantor(const QStringList& args, const QStringList& unset, const QString& platform) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : unset)
        env.remove(name);
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QTemporaryDir home; // no ~/.wine, no settings of the user's
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VANTOR_PROGRAM), args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (out.isEmpty())
        out = QString::fromLocal8Bit(p.readAllStandardError());
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, out.section(u'\n', 0, 0)};
}

} // namespace

TEST(CommandLine, HelpVersionNoDisplayAndUnknownOptions) {
    const QStringList noDisplay = {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"),
                                   QStringLiteral("QT_QPA_PLATFORM")};
    struct Case {
        QStringList args;
        QString platform;
        int status;
        QString firstLine;
    };
    const Case cases[] = {
        // Both answer without a display and before a machine is looked for.
        {{QStringLiteral("--help")}, {}, 0, QStringLiteral("Usage: vantor [MACHINE OPTIONS]")},
        {{QStringLiteral("--prefix"), QStringLiteral("/nowhere"), QStringLiteral("--version")},
         {},
         0,
         QStringLiteral("vantor ")},
        {{}, {}, 2, QStringLiteral("vantor: no display to show the window on")},
        {{QStringLiteral("Scripting.FileSystemObject")},
         QStringLiteral("xcb"),
         2,
         QStringLiteral("vantor: no display")},
        {{QStringLiteral("--bogus")},
         QStringLiteral("offscreen"),
         2,
         QStringLiteral("vantor: unknown option --bogus")},
    };
    for (const Case& c : cases) {
        const Outcome r = vantor(c.args, noDisplay, c.platform);
        EXPECT_EQ(r.status, c.status) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.firstLine.startsWith(c.firstLine)) << r.firstLine.toStdString();
    }
}
