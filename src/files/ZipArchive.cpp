#include "files/ZipArchive.h"

#include <QFile>

#include <zip.h>

namespace vt {

namespace {

ZipArchive::Problem problemOf(int zipError)
{
    switch (zipError) {
    case ZIP_ER_NOZIP: return ZipArchive::Problem::NotZip;
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD: return ZipArchive::Problem::Encrypted;
    default: return ZipArchive::Problem::Damaged;
    }
}

// One member as a sequential device. Every byte read is taken from the
// archive's budget, so a member that unpacks to more than it declared still
// stops at the limit. A member read again (the sheet list, then the sheet)
// is charged only for what it yields beyond its earlier reads.
class MemberDevice : public QIODevice {
public:
    MemberDevice(ZipArchive &archive, zip_file_t *file, qint64 &charged)
        : archive_(archive), file_(file), charged_(charged)
    {
        QIODevice::open(QIODevice::ReadOnly);
    }
    ~MemberDevice() override { zip_fclose(file_); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (failed_)
            return -1;
        const zip_int64_t n = zip_fread(file_, data, static_cast<zip_uint64_t>(maxSize));
        if (n < 0) {
            archive_.setProblem(problemOf(zip_error_code_zip(zip_file_get_error(file_))));
            failed_ = true;
            return -1;
        }
        position_ += n;
        if (position_ > charged_) {
            archive_.budget() -= position_ - charged_;
            charged_ = position_;
        }
        if (archive_.budget() < 0) {
            archive_.setProblem(ZipArchive::Problem::TooLarge);
            failed_ = true;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    ZipArchive &archive_;
    zip_file_t *file_;
    qint64 &charged_;
    qint64 position_ = 0;
    bool failed_ = false;
};

} // namespace

namespace {

// The archive of a source (null when the source could not be made), or null
// with `problem` said; a source not taken by an archive is freed.
zip_t *openSource(zip_source_t *source, zip_error_t &error, ZipArchive::Problem &problem)
{
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive) {
        problem = problemOf(zip_error_code_zip(&error));
        if (source)
            zip_source_free(source);
    }
    return archive;
}

} // namespace

ZipArchive::ZipArchive(const QString &path)
{
#ifdef _WIN32
    // A name passed as bytes is read as UTF-8 by libzip on Windows, while
    // QFile::encodeName gives the ANSI code page: a folder named in Chinese
    // would make every workbook in it "damaged". The wide-character source
    // takes any name.
    zip_error_t error;
    zip_error_init(&error);
    archive_ = openSource(zip_source_win32w_create(reinterpret_cast<const wchar_t *>(path.utf16()), 0, -1, &error),
                          error, problem_);
    zip_error_fini(&error);
#else
    int error = 0;
    archive_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!archive_)
        problem_ = problemOf(error);
#endif
    if (archive_)
        checkMembers();
}

ZipArchive::ZipArchive(const QByteArray &bytes) : bytes_(bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    archive_ = openSource(zip_source_buffer_create(bytes_.constData(), static_cast<zip_uint64_t>(bytes_.size()), 0, &error),
                          error, problem_);
    zip_error_fini(&error);
    if (archive_)
        checkMembers();
}

ZipArchive::~ZipArchive()
{
    if (archive_)
        zip_discard(archive_);
}

void ZipArchive::checkMembers()
{
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(i), 0, &st) != 0) {
            problem_ = Problem::Damaged;
            return;
        }
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
            problem_ = Problem::Encrypted;
            return;
        }
        if (st.valid & ZIP_STAT_SIZE) {
            // Compared one by one, so the sum cannot overflow.
            if (st.size > static_cast<zip_uint64_t>(kMaxUnpackedBytes - total)) {
                problem_ = Problem::TooLarge;
                return;
            }
            total += static_cast<qint64>(st.size);
        }
    }
}

namespace {

QString folded(const QString &name) { return QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')).toCaseFolded(); }

} // namespace

qint64 ZipArchive::locate(const QString &name) const
{
    if (!archive_)
        return -1;
    const zip_int64_t exact = zip_name_locate(archive_, name.toUtf8().constData(), 0);
    if (exact >= 0)
        return exact;
    if (folded_.isEmpty()) {
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        for (zip_int64_t i = count - 1; i >= 0; --i)
            if (const char *member = zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0))
                folded_.insert(folded(QString::fromUtf8(member)), i);
    }
    return folded_.value(folded(name), -1);
}

bool ZipArchive::contains(const QString &name) const
{
    return locate(name) >= 0;
}

std::unique_ptr<QIODevice> ZipArchive::open(const QString &name)
{
    if (!archive_ || problem_ != Problem::None)
        return nullptr;
    const qint64 index = locate(name);
    zip_file_t *file = index >= 0 ? zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0) : nullptr;
    if (!file) {
        setProblem(problemOf(zip_error_code_zip(zip_get_error(archive_))));
        return nullptr;
    }
    return std::make_unique<MemberDevice>(*this, file, charged_[index]);
}

QByteArray ZipArchive::readAll(const QString &name)
{
    std::unique_ptr<QIODevice> device = open(name);
    if (!device)
        return {};
    QByteArray all;
    char chunk[16384];
    for (qint64 n; (n = device->read(chunk, sizeof chunk)) > 0;)
        all.append(chunk, n);
    return problem_ == Problem::None ? all : QByteArray();
}

} // namespace vt
