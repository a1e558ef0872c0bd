// The recovery copy's reader on any bytes: it reads a dump or says it cannot, and a dump it
// read writes back to the very same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "document/recovery_copy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<obrel::RecoveredDocument> document = obrel::readRecoveryCopy(text);
  if (!document) return 0;
  const std::string written = obrel::writeRecoveryCopy(document->store, document->facts);
  const std::optional<obrel::RecoveredDocument> again = obrel::readRecoveryCopy(written);
  if (!again || obrel::writeRecoveryCopy(again->store, again->facts) != written) std::abort();
  return 0;
}
