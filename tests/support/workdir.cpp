#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <stdexcept>

namespace vellara::test {

WorkDir::WorkDir() : m_previous(QDir::currentPath())
{
    if (!m_dir.isValid() || !QDir::setCurrent(m_dir.path()))
        throw std::runtime_error("cannot make a temporary working directory");
}

WorkDir::~WorkDir() { QDir::setCurrent(m_previous); }

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write a test file");
}

QByteArray crlfLines(const QStringList &lines)
{
    return lines.join("\r\n").toLatin1() + (lines.isEmpty() ? "" : "\r\n");
}

} // namespace vellara::test
