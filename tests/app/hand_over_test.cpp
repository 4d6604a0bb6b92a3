// The hand-over between two copies: argument rules, message layout, socket naming and waits.
#include "app/command_line.h"
#include "app/command_line_text.h"
#include "app/hand_over_message.h"
#include "app/instance_tag.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace vantor;

namespace {
const QString kWsh = QStringLiteral("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}");

QByteArray header(quint32 data, quint32 count) {
    QByteArray h(8, '\0');
    qToLittleEndian(data, h.data());
    qToLittleEndian(count, h.data() + 4);
    return h;
}
} // namespace

TEST(HandOver, CommandLineRewriteAndGuidKey) {
    const std::pair<QString, QString> rewrites[] = {
        {"/progidurl:progid4:" + kWsh + ":1.0.WSHShell", kWsh + ":1.0.WSHShell"},
        {"x /PROGIDURL:Progid4:" + kWsh + ":1.0.A", "x " + kWsh + ":1.0.A"},
        {"pre/ProgIdUrl:12345678", "pre"}, // at most 8 characters after the switch
        {"pre/progidurl:", "pre"},
        {"progid4:" + kWsh + ":1.0.WshNetwork", kWsh + ":1.0.WshNetwork"}, // "vantor %u"
        {"Scripting.FileSystemObject", "Scripting.FileSystemObject"},
    };
    for (const auto& [argument, commandLine] : rewrites)
        EXPECT_EQ(rewriteCommandLine(argument), commandLine) << argument.toStdString();

    struct Key {
        QString commandLine;
        bool found;
        QString key, typeInfo;
    };
    const Key keys[] = {
        {kWsh + ":1.0.WshNetwork", true, kWsh + ", 1.0", "WshNetwork"},
        {kWsh + ":1.0", true, kWsh + ", 1", "0"}, // the last dot splits
        {kWsh + ".WshNetwork", true, kWsh, "WshNetwork"},
        {kWsh, false, {}, {}},
        {"Scripting.FileSystemObject", false, {}, {}},
    };
    for (const Key& k : keys) {
        const std::optional<GuidArgument> a = guidArgument(k.commandLine);
        ASSERT_EQ(a.has_value(), k.found) << k.commandLine.toStdString();
        if (a) {
            EXPECT_EQ(a->key, k.key);
            EXPECT_EQ(a->typeInfo, k.typeInfo);
        }
    }
    EXPECT_EQ(withoutQtOptions({"-platform", "offscreen", "--prefix", "/p", "-reverse",
                                "--style=fusion", "X.Y"}),
              QStringList({"--prefix", "/p", "X.Y"}));
}

TEST(HandOver, MessageLayoutAndRefusals) {
    using State = HandOverParse::State;
    // Windows-1252 bytes: the euro sign is 0x80.
    EXPECT_EQ(encodeHandOver(QStringLiteral("A\u20ac")), header(0, 2) + "A\x80");
    EXPECT_EQ(encodeHandOver(QString()), header(0, 1) + QByteArray(1, '\0'));
    struct Case {
        QByteArray bytes;
        State state;
        QString text;
    };
    const Case cases[] = {
        {encodeHandOver(QStringLiteral("A\u20ac")), State::Complete, QStringLiteral("A\u20ac")},
        {encodeHandOver(QString()), State::Complete, QString()},
        {header(0, 4) + QByteArray("ab\0", 3), State::NeedMore, {}}, // count beyond the data
        {header(0, 3).left(5), State::NeedMore, {}},                 // short header
        {header(0, 64 * 1024 + 1), State::Refused, {}},              // over 64 KiB
        {header(7, 1) + "a", State::Refused, {}},                    // data value not 0
        {header(0, 1) + "ab", State::Refused, {}},                   // bytes after the message
    };
    for (const Case& c : cases) {
        const HandOverParse p = parseHandOver(c.bytes);
        EXPECT_EQ(p.state, c.state) << c.bytes.toHex().toStdString();
        EXPECT_EQ(p.text, c.text);
    }
    EXPECT_EQ(decodeHandOverReply(encodeHandOverReply(-2)), -2);
    EXPECT_FALSE(decodeHandOverReply("abc"));
}

TEST(HandOver, SocketNamesFoldersAndWaits) {
    const QString a = instanceSocketName(1000, "/p/bin", "/m");
    EXPECT_TRUE(a.startsWith("quillet-Vantor_APPLICATION-1000-")) << a.toStdString();
    EXPECT_EQ(a, instanceSocketName(1000, "/p/bin/", "/m"));
    EXPECT_NE(a, instanceSocketName(1001, "/p/bin", "/m"));
    EXPECT_NE(a, instanceSocketName(1000, "/q/bin", "/m"));
    EXPECT_NE(a, instanceSocketName(1000, "/p/bin", "/n"));

    // A runtime folder others can enter is not used.
    QTemporaryDir open;
    QFile::setPermissions(open.path(), QFileDevice::Permissions(0x7777));
    QProcessEnvironment env;
    env.insert("XDG_RUNTIME_DIR", open.path());
    QString problem;
    EXPECT_EQ(instanceFolder(env, ::getuid(), problem),
              QStringLiteral("/tmp/vantor-%1").arg(::getuid()));
    QFile::setPermissions(open.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(instanceFolder(env, ::getuid(), problem), open.path());

    // A socket file nobody listens on is no running copy; one that never answers is left.
    const QString path = QDir(open.path()).filePath("s");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrcpy(address.sun_path, QFile::encodeName(path).constData());
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(FindRunningInstance(path), -1);
    ASSERT_EQ(::listen(server, 1), 0);
    const int connection = FindRunningInstance(path);
    ASSERT_GE(connection, 0);
    EXPECT_FALSE(SendCommandLine(connection, "X.Y", 50));
    ::close(server);

    InstanceLock first(QDir(open.path()).filePath("lock"), 0);
    EXPECT_TRUE(first.held());
    EXPECT_FALSE(InstanceLock(QDir(open.path()).filePath("lock"), 20).held());
}
