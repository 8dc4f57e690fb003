#include "sheet/XlsxWriterLibrary.h"

#include <dlfcn.h>

namespace {
// The soname of the libxlsxwriter whose headers we compile with, then the development link.
const char* const kNames[] = {"libxlsxwriter.so.4", "libxlsxwriter.so"};
} // namespace

const XlsxWriterLibrary* XlsxWriterLibrary::instance(QString* error) {
    static XlsxWriterLibrary library;
    static QString loadError;
    static const bool loaded = library.load(&loadError);
    if (!loaded) {
        if (error)
            *error = loadError;
        return nullptr;
    }
    return &library;
}

#if defined(__SANITIZE_ADDRESS__)
#define PELMORA_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELMORA_SANITIZER 1
#endif
#endif

bool XlsxWriterLibrary::load(QString* error) {
#ifdef PELMORA_SANITIZER
    // The sanitizer runtime aborts the process on dlopen(RTLD_DEEPBIND).
    *error = tr("本程序以AddressSanitizer构建，无法加载libxlsxwriter，不能写入Excel文件");
    return false;
#endif
    for (const char* name : kNames) {
        if (void* already = dlopen(name, RTLD_LAZY | RTLD_NOLOAD)) {
            dlclose(already);
            if (void* quazip = dlopen("libquazip1-qt6.so.1", RTLD_LAZY | RTLD_NOLOAD)) {
                dlclose(quazip);
                *error =
                    tr("程序构建有误：libxlsxwriter被直接链接，与QuaZip的zip函数冲突，无法写入Excel文件");
                return false;
            }
        }
    }
    QString reasons;
    for (const char* name : kNames) {
        m_handle = dlopen(name, RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND);
        if (m_handle)
            break;
        reasons += QString::fromLocal8Bit(dlerror()) + QLatin1Char(' ');
    }
    if (!m_handle) {
        *error = tr("找不到libxlsxwriter库（%1），无法写入Excel文件").arg(reasons.trimmed());
        return false;
    }
    bool ok = true;
    auto resolve = [&](auto& fn, const char* symbol) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(m_handle, symbol));
        ok = ok && fn != nullptr;
    };
    resolve(workbookNewOpt, "workbook_new_opt");
    resolve(workbookAddWorksheet, "workbook_add_worksheet");
    resolve(workbookAddFormat, "workbook_add_format");
    resolve(formatSetBold, "format_set_bold");
    resolve(formatSetNumFormat, "format_set_num_format");
    resolve(worksheetSetColumn, "worksheet_set_column");
    resolve(worksheetWriteString, "worksheet_write_string");
    resolve(worksheetWriteNumber, "worksheet_write_number");
    resolve(workbookClose, "workbook_close");
    resolve(workbookFree, "lxw_workbook_free");
    resolve(strError, "lxw_strerror");
    if (!ok) {
        *error = tr("libxlsxwriter库的版本不符，无法写入Excel文件");
        return false;
    }
    return true;
}
