#include "model/ShapeMemory.h"

#include <cstdio>

#include "model/CShape.h"
#include "platform/linux/FreeMemory.h"

namespace {

// Below this, asking the system is not worth its cost: any machine that runs the editor has it.
constexpr uint64_t kAlwaysFits = uint64_t(16) << 20;

std::string Readable(uint64_t bytes) {
  char text[32];
  if (bytes >= 10'000'000'000ull)
    std::snprintf(text, sizeof text, "%llu GB", static_cast<unsigned long long>(bytes / 1'000'000'000));
  else if (bytes >= 1'000'000'000)
    std::snprintf(text, sizeof text, "%.1f GB", double(bytes) / 1e9);
  else
    std::snprintf(text, sizeof text, "%llu MB", static_cast<unsigned long long>((bytes + 999'999) / 1'000'000));
  return text;
}

}  // namespace

std::string WhyShapesDoNotFit(uint64_t count, std::optional<uint64_t> limit, int copies) {
  const uint64_t needed = count * sizeof(CShape) * uint64_t(copies);
  if (needed <= kAlwaysFits && (!limit || needed <= *limit)) return {};
  const std::optional<uint64_t> free = FreeMemory();
  // The lower of the two bounds decides, and the message names which.
  const bool limited = limit && (!free || *limit <= *free);
  const std::optional<uint64_t> bound = limited ? limit : free;
  if (!bound || needed <= *bound) return {};
  return "it needs " + Readable(needed) + " of memory for its " + std::to_string(count) + " shapes; " +
         Readable(*bound) + (limited ? " may be used here" : " are free");
}
