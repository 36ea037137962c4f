#pragma once

#include <QString>
#include <QStringList>

namespace vt {

// The documents and text files opened, imported or saved last, newest
// first, kept in the configuration folder across runs.
class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    // The list in `iniPath`; by default recent-files.ini in configDirectory().
    explicit RecentFiles(QString iniPath = {});

    QStringList paths() const;
    // Puts the file first (made absolute), once, dropping the oldest beyond kMaxFiles.
    void add(const QString &path);
    void remove(const QString &path);

private:
    void store(const QStringList &paths);

    QString iniPath_;
};

} // namespace vt
