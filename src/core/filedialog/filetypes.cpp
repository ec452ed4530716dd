#include "core/filedialog/filetypes.h"

#include <array>

namespace zuvexal {

QString FileTypeFilter(qint16 FileType)
{
    static const std::array<const char *, 8> patterns = {
        "*.*",
        "*.txt;*.rtf;*.lin;*.wp;*.doc;*.ppt;*.pdf;*.ps;*.xls;*.eml",
        "*.bmp;*.gif;*.jpeg;*.jpg;*.ico;*.wmf;*.emf;*.dib;*.pcx;*.pct;*.xbm;*.tiff",
        "*.exe;*.com;*.bat;*.bin",
        "*.dll;*.tbl;*.ocx",
        "*.html;*.htm;*.eml;*.asp;*.mht;*.hcx;*.alx;*.idc;*.cfm;*.chm;*.php",
        "*.rmi;*.midi;*.mid;*.wav;*.mp3;*.au",
        "*.avi;*.dat;*.mov;*.mpeg;*.mpg;*.mvp;*.vbs;*.mpa;*.mp2;*.aif;*.qt",
    };
    if (FileType < 0 || FileType >= qint16(patterns.size()))
        return QString::fromLatin1(patterns[0]);
    return QString::fromLatin1(patterns[size_t(FileType)]);
}

} // namespace zuvexal
