#include "platform/textfile.h"

#include "platform/codepage.h"
#include "platform/message.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vellara::platform {

namespace {

QString &writeFault()
{
    static QString fault;
    return fault;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// QSaveFile renames a new file over the old one, which succeeds for a
// read-only file in a writable folder (and for root, always). A file the user
// has made read-only is meant to stay as it is, so refuse it before writing.
// Returns why the file cannot be written (an errno value), or 0 when it can
// or does not exist.
int readOnlyFileError(const QString &path)
{
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &info) != 0)
        return 0;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return EACCES;
    // Also says EROFS for a file on a read-only file system.
    return ::access(native.constData(), W_OK) != 0 ? errno : 0;
}

// Why a write of fewer bytes than asked failed. Qt sets no error when part of
// the data was written before the disk filled up, and its errorString() is
// then a bare "Unknown error": errno still holds the system's reason.
QString shortWriteError(const QFileDevice &file, int savedErrno)
{
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return systemError(savedErrno != 0 ? savedErrno : EIO);
}

// Writes all of bytes, or returns false with the reason.
bool writeAll(QFileDevice &file, const QByteArray &bytes, QString *error)
{
    errno = 0;
    if (file.write(bytes) == bytes.size())
        return true;
    *error = shortWriteError(file, errno);
    return false;
}

} // namespace

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QString joinPath(const QString &directory, const QString &name)
{
    if (directory.isEmpty())
        return name;
    if (directory.endsWith(QLatin1Char('/')))
        return directory + name;
    return directory + QLatin1Char('/') + name;
}

TextReader::TextReader(const QString &path) : m_file(path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return;
    if (info.size() > kMaxTextFileBytes) {
        showMessage(QStringLiteral("The file %1 was not read: at %2 MB it is larger than the %3 MB any of "
                                   "the program's files can be.")
                        .arg(path)
                        .arg(info.size() / (1024 * 1024))
                        .arg(kMaxTextFileBytes / (1024 * 1024)));
        return;
    }
    m_open = m_file.open(QIODevice::ReadOnly);
}

bool TextReader::nextLine(QByteArray *bytes)
{
    if (!m_open || m_file.atEnd())
        return false;
    // The file's size bounds the line.
    QByteArray line = m_file.readLine();
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    if (bytes)
        *bytes = std::move(line);
    return true;
}

bool TextReader::readLine(QString &line)
{
    QByteArray bytes;
    if (!nextLine(&bytes))
        return false;
    line = decodeCp1252(bytes);
    return true;
}

bool TextReader::skipLine()
{
    return nextLine(nullptr);
}

TextWriter::TextWriter(const QString &path) : m_path(path), m_file(path)
{
    if (path.isEmpty()) {
        fail(systemError(ENOENT));
    } else if (QFileInfo(path).isDir()) {
        fail(systemError(EISDIR));
    } else if (const int error = readOnlyFileError(path)) {
        fail(systemError(error));
    } else if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // Unbuffered, so that a full disk fails the write we make rather than
        // a flush whose failure the save file does not always notice: Qt's
        // QSaveFile then renames the half-written file over the old one.
        //
        // No temporary file beside it: a file that may itself be written is
        // rewritten in place, with its old contents kept to put back.
        QFile old(path);
        if (QFileInfo(path).isFile() && ::access(QFile::encodeName(path).constData(), W_OK) == 0
            && old.open(QIODevice::ReadOnly)) {
            m_old = old.readAll();
            if (old.error() == QFileDevice::NoError)
                m_inPlace = true;
        }
        if (!m_inPlace)
            fail(m_file.errorString());
    }
}

void TextWriter::fail(const QString &error)
{
    if (!m_failed) {
        m_failed = true;
        m_error = error;
    }
}

void TextWriter::writeLine(const QString &text)
{
    if (m_failed)
        return;
    m_pending += encodeCp1252(text);
    m_pending.append("\r\n", 2);
    // Written in large pieces: one system call per line would be slow.
    if (m_pending.size() >= 64 * 1024)
        writePending();
}

void TextWriter::writePending()
{
    // In place, nothing is written before commit(), so that a failure halfway
    // through the lines leaves the old file untouched.
    if (m_failed || m_pending.isEmpty() || m_inPlace)
        return;
    QString error;
    if (!writeAll(m_file, m_pending, &error))
        fail(error);
    m_pending.clear();
}

bool TextWriter::commitInPlace()
{
    auto writeWhole = [this](const QByteArray &bytes, QString *error) {
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            *error = file.errorString();
            return false;
        }
        if (!writeAll(file, bytes, error))
            return false;
        if (!file.flush()) {
            *error = shortWriteError(file, errno);
            return false;
        }
        if (!writeFault().isEmpty()) {
            *error = writeFault();
            return false;
        }
        return true;
    };
    QString error;
    if (writeWhole(m_pending, &error))
        return true;
    // The old contents fit where they were, so putting them back succeeds
    // even on the disk that just filled up.
    QFile restore(m_path);
    if (restore.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        restore.write(m_old);
    fail(error);
    return false;
}

bool TextWriter::commit()
{
    if (m_inPlace && !m_failed)
        return commitInPlace();
    writePending();
    if (!m_failed && !writeFault().isEmpty())
        fail(writeFault());
    if (m_failed) {
        if (m_file.isOpen())
            m_file.cancelWriting();
        return false;
    }
    if (!m_file.commit()) {
        fail(m_file.errorString());
        return false;
    }
    return true;
}

bool copyFile(const QString &source, const QString &target, QString *errorString)
{
    auto failWith = [errorString](const QString &error) {
        if (errorString)
            *errorString = error;
        return false;
    };
    QFile in(source);
    if (QFileInfo(source).isDir())
        return failWith(systemError(EISDIR));
    if (!in.open(QIODevice::ReadOnly))
        return failWith(in.errorString());
    if (QFileInfo(target).isDir())
        return failWith(systemError(EISDIR));
    if (const int error = readOnlyFileError(target))
        return failWith(systemError(error));
    QSaveFile out(target);
    // Unbuffered for the same reason as TextWriter: every write's failure shows.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failWith(out.errorString());
    // An uncommitted QSaveFile is discarded when it goes: on each failure below
    // the target stays as it was.
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(256 * 1024);
        if (chunk.isEmpty())  // short of its end: a read error, or the file cut short meanwhile
            return failWith(in.errorString());
        QString error;
        if (!writeAll(out, chunk, &error))
            return failWith(error);
    }
    if (!writeFault().isEmpty())
        return failWith(writeFault());
    if (!out.commit())
        return failWith(out.errorString());
    return true;
}

void setWriteFaultForTesting(const QString &errorText)
{
    writeFault() = errorText;
}

} // namespace vellara::platform
