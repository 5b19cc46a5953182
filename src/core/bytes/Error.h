#pragma once
#include <stdexcept>
#include <string>

namespace lumatrim {

// The one exception type of the writers, the JPEG image object and the batch.
// Its message is meant for the user as it stands.
class LumatrimError : public std::runtime_error {
 public:
  explicit LumatrimError(const std::string& message);
};

}  // namespace lumatrim
