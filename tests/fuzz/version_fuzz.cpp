// libFuzzer target: arbitrary bytes as version texts from the update server, split in two
// at the first NUL: the checks, the comparison both ways and the shown firmware form.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_scratch.h"
#include "update/version_check.h"
#include "update/version_compare.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = corvane::fuzz::AsText(data, size);
  const size_t split = text.find('\0');
  const std::string_view a = text.substr(0, split);
  const std::string_view b = split == std::string_view::npos ? text : text.substr(split + 1);
  corvane::IsVersionText(a);
  corvane::IsVersionText(b);
  const int forward = corvane::compare(a, b);
  const int backward = corvane::compare(b, a);
  // The comparison is antisymmetric where the shapes agree.
  if (forward != 2 && forward != -backward) __builtin_trap();
  if (corvane::compare(a, a) != 0) __builtin_trap();
  corvane::FirmwareDisplayVersion(a);
  return 0;
}
