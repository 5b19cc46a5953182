#include "core/bytes/Error.h"

#include <cerrno>

namespace lumatrim {

LumatrimError::LumatrimError(const std::string& detail) : std::runtime_error(detail) {}

LumatrimError::LumatrimError(FailureKind kind, const std::string& detail) : std::runtime_error(detail), kind_(kind) {}

FailureKind FailureKindOfErrno(int error, FailureKind fallback) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return FailureKind::FileMissing;
    case ENOSPC:
    case EDQUOT:
      return FailureKind::NoSpace;
    case EACCES:
    case EPERM:
    case EROFS:
      return FailureKind::NoPermission;
    case ENAMETOOLONG:
      return FailureKind::NameTooLong;
    case EFBIG:
      return FailureKind::TooLarge;
    default:
      return fallback;
  }
}

}  // namespace lumatrim
