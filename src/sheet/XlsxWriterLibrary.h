#pragma once

#include <QCoreApplication>
#include <QString>

#include <xlsxwriter.h>

// libxlsxwriter, loaded at run time with dlopen(RTLD_LOCAL | RTLD_DEEPBIND) instead of being
// linked.
//
// Why: libxlsxwriter writes its zip container through the system's libminizip (zipOpen,
// zipOpenNewFileInZip4_64, ...), and QuaZip, which the .xlsx reader uses, exports a modified
// copy of minizip under the same symbol names. Linked into one process, libxlsxwriter's
// zipOpen binds to QuaZip's, which takes the file name for a QIODevice* and crashes in
// workbook_close(); binding QuaZip to libminizip instead corrupts QuaZip (its minizip's structs
// differ). Loaded with RTLD_DEEPBIND, libxlsxwriter and its libminizip resolve their symbols
// among themselves first, and RTLD_LOCAL keeps libminizip out of QuaZip's way.
//
// So no target may link libxlsxwriter (PkgConfig::XLSXWRITER) directly: pelmora_sheet takes only
// its headers. instance() refuses to run when it finds libxlsxwriter already loaded beside QuaZip.
class XlsxWriterLibrary {
    Q_DECLARE_TR_FUNCTIONS(XlsxWriterLibrary)

public:
    // The loaded library, or null with *error set (in Chinese) when it cannot be used.
    static const XlsxWriterLibrary* instance(QString* error);

    decltype(&::workbook_new_opt) workbookNewOpt = nullptr;
    decltype(&::workbook_add_worksheet) workbookAddWorksheet = nullptr;
    decltype(&::workbook_add_format) workbookAddFormat = nullptr;
    decltype(&::format_set_bold) formatSetBold = nullptr;
    decltype(&::format_set_num_format) formatSetNumFormat = nullptr;
    decltype(&::worksheet_set_column) worksheetSetColumn = nullptr;
    decltype(&::worksheet_write_string) worksheetWriteString = nullptr;
    decltype(&::worksheet_write_number) worksheetWriteNumber = nullptr;
    decltype(&::workbook_close) workbookClose = nullptr;
    decltype(&::lxw_workbook_free) workbookFree = nullptr;
    decltype(&::lxw_strerror) strError = nullptr;

private:
    XlsxWriterLibrary() = default;
    bool load(QString* error);

    void* m_handle = nullptr;
};
