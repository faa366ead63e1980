// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/failure_cause.h"

#include <cerrno>
#include <cstring>

namespace talvero {

std::string failureCause(int error, std::string_view folder)
{
    switch (error) {
    case ENOSPC:
#if defined(EDQUOT) // Windows has no disk quotas in errno
    case EDQUOT:
#endif
        return "Auf dem Datenträger ist kein Platz mehr frei.";
    case EFBIG:
        return "Die Datei darf nicht größer werden.";
    case EACCES:
    case EPERM:
        return "Sie dürfen in den Ordner " + std::string(folder) + " nicht schreiben.";
    case EROFS:
        return "Der Datenträger ist schreibgeschützt.";
    case ENOENT:
    case ENOTDIR:
        return "Den Ordner " + std::string(folder) + " gibt es nicht.";
    case 0:
        return "Die Ursache ist nicht bekannt.";
    default:
        return "Die Ursache ist nicht bekannt; das System meldet: " +
               std::string(std::strerror(error)) + ".";
    }
}

} // namespace talvero
