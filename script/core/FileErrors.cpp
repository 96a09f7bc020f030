// The one table of file failure messages.
#include "script/core/FileErrors.h"

#include <cerrno>

namespace qv {

std::string FileErrorText(int errorNumber, FileAction action) {
    switch (errorNumber) {
    case ENOENT:
        return action == FileAction::Open || action == FileAction::Read ? "File not found"
                                                                        : "Invalid filename";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return "Invalid filename";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    default:
        if (action == FileAction::Read) return "Disk read error";
        return "I/O error " + std::to_string(errorNumber);
    }
}

} // namespace qv
