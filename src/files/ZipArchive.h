#pragma once

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QString>

#include <map>
#include <memory>

struct zip;
struct zip_file;

namespace vt {

// A read-only zip archive (the container of .xlsx and .ods) through libzip.
// Members are streamed, never unpacked whole; all members together may
// unpack to at most kMaxUnpackedBytes, checked on their declared sizes when
// the archive opens and again on the bytes really read.
class ZipArchive {
public:
    static constexpr qint64 kMaxUnpackedBytes = 200LL * 1024 * 1024;

    enum class Problem { None, NotZip, Damaged, Encrypted, TooLarge };

    // The archive keeps a copy of `bytes` (or reads the file) for its life.
    explicit ZipArchive(const QString &path);
    explicit ZipArchive(const QByteArray &bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    Problem problem() const { return problem_; }
    // Members are found by name as written, else without regard to case
    // and with '\' as a folder separator, as some programs store them.
    bool contains(const QString &name) const;
    // The whole member, for small parts; empty with problem() set when it
    // cannot be read.
    QByteArray readAll(const QString &name);
    // A device that streams the member; null when it cannot be opened.
    std::unique_ptr<QIODevice> open(const QString &name);

    // Set by a member device that found the archive damaged or too large.
    void setProblem(Problem p)
    {
        if (problem_ == Problem::None)
            problem_ = p;
    }
    qint64 &budget() { return budget_; }

private:
    void checkMembers();
    qint64 locate(const QString &name) const;

    QByteArray bytes_;
    zip *archive_ = nullptr;
    Problem problem_ = Problem::None;
    qint64 budget_ = kMaxUnpackedBytes;
    // Bytes of each member already taken from the budget.
    std::map<qint64, qint64> charged_;
    // Folded member names to indexes, made at the first name not found as written.
    mutable QHash<QString, qint64> folded_;
};

} // namespace vt
