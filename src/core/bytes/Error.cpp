#include "core/bytes/Error.h"

namespace lumatrim {

LumatrimError::LumatrimError(const std::string& message) : std::runtime_error(message) {}

}  // namespace lumatrim
