#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vellara::test {

// A fresh temporary folder made the working directory while this lives, since
// the settings and layout files are opened there.
class WorkDir {
    Q_DISABLE_COPY(WorkDir)
public:
    WorkDir();
    ~WorkDir();
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Whole-file helpers for tests.
QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);
// Lines joined with CR LF, each ended by it.
QByteArray crlfLines(const QStringList &lines);

} // namespace vellara::test
