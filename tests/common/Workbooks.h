#pragma once

// Table files made in the tests with other libraries than the readers use
// for them: libxlsxwriter writes workbooks, libzip's writer builds archives.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

#include <xlsxwriter.h>
#include <zip.h>

namespace vt::test {

// Writes a workbook with libxlsxwriter; `fill` adds its sheets and cells.
// With `constantMemory` the sheets hold inline strings instead of shared ones.
inline bool writeWorkbook(const QString &path, const std::function<void(lxw_workbook *)> &fill,
                          bool constantMemory = false)
{
    lxw_workbook_options options{};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    lxw_workbook *book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!book)
        return false;
    fill(book);
    return workbook_close(book) == LXW_NO_ERROR;
}

inline void cell(lxw_worksheet *sheet, int row, int column, const char *utf8)
{
    worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), utf8, nullptr);
}
inline void cell(lxw_worksheet *sheet, int row, int column, double number)
{
    worksheet_write_number(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column), number, nullptr);
}

// Writes a zip archive of the given members; with a password each member is
// encrypted (AES-256).
inline bool writeZip(const QString &path, const std::vector<std::pair<QString, QByteArray>> &members,
                     const char *password = nullptr)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto &[name, bytes] : members) {
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
        const zip_int64_t index = zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE);
        if (index < 0)
            return false;
        if (password
            && zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256, password) != 0)
            return false;
    }
    return zip_close(archive) == 0;
}

// Every member of an archive, in order.
inline std::vector<std::pair<QString, QByteArray>> zipMembers(const QString &path)
{
    std::vector<std::pair<QString, QByteArray>> members;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, nullptr);
    if (!archive)
        return members;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st);
        QByteArray bytes(static_cast<qsizetype>(st.size), Qt::Uninitialized);
        zip_file_t *file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        zip_fread(file, bytes.data(), st.size);
        zip_fclose(file);
        members.emplace_back(QString::fromUtf8(st.name), bytes);
    }
    zip_discard(archive);
    return members;
}

} // namespace vt::test
