#include "help/chm_reader.h"

#include "help/chm_protocol.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace vantor::help {

namespace protocol = chm_protocol;

ChmReader::ChmReader(QString file, QString program)
    : file_(std::move(file)), program_(program.isEmpty() ? defaultProgram() : std::move(program)) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.setStandardErrorFile(QProcess::nullDevice());
}

ChmReader::~ChmReader() {
    if (process_.state() != QProcess::NotRunning) {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(200))
            process_.kill();
        process_.waitForFinished(1000);
    }
}

QString ChmReader::defaultProgram() {
    // This program's folder, also before (or without) an application object.
    const QDir here(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
    for (const QString& candidate :
         {here.filePath(QStringLiteral("vantor-chm")),
          here.filePath(QStringLiteral("../libexec/vantor/vantor-chm"))}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QStringLiteral("vantor-chm");
}

bool ChmReader::open() {
    if (!QFileInfo(file_).isFile()) {
        broken_ = true;
        return false;
    }
    process_.start(program_, {file_});
    if (!process_.waitForStarted(TimeBoundMs)) {
        fail();
        return false;
    }
    const Answer a = readAnswer();
    if (a.outcome != Outcome::Found) {
        fail();
        return false;
    }
    return true;
}

ChmReader::Answer ChmReader::read(const QString& path) {
    const QByteArray request = path.toUtf8();
    if (broken_)
        return {};
    if (request.size() >= protocol::MaxRequestBytes || request.contains('\n') ||
        !request.startsWith('/'))
        return {Outcome::Missing, {}};
    process_.write(request + '\n');
    return readAnswer();
}

ChmReader::Answer ChmReader::readAnswer() {
    const QDeadlineTimer deadline(TimeBoundMs);
    auto waitFor = [&](qint64 bytes) {
        while (process_.bytesAvailable() < bytes) {
            if (process_.state() != QProcess::Running && process_.bytesAvailable() < bytes)
                return false;
            if (deadline.hasExpired() || !process_.waitForReadyRead(int(deadline.remainingTime())))
                return process_.bytesAvailable() >= bytes;
        }
        return true;
    };
    if (!waitFor(protocol::AnswerHeaderBytes)) {
        fail();
        return {};
    }
    const QByteArray header = process_.read(protocol::AnswerHeaderBytes);
    const char status = header.at(0);
    const quint32 length = qFromLittleEndian<quint32>(header.constData() + 1);
    const bool known =
        status == protocol::Found || status == protocol::Missing || status == protocol::Unreadable;
    if (!known || length > protocol::MaxAnswerBytes || (status != protocol::Found && length != 0) ||
        !waitFor(length)) {
        fail();
        return {};
    }
    Answer a;
    a.bytes = process_.read(length);
    if (status == protocol::Found)
        a.outcome = Outcome::Found;
    else if (status == protocol::Missing)
        a.outcome = Outcome::Missing;
    else
        a.outcome = Outcome::Broken;
    return a;
}

void ChmReader::fail() {
    broken_ = true;
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(1000);
    }
}

} // namespace vantor::help
