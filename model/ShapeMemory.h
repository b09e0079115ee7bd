#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Why `count` shapes cannot be held in memory, naming what they need and what can be had, for a
// message about the file that holds them; empty when they fit. What can be had is what the system
// can give this process, and at most `limit` when one is given. Asked before anything is sized by
// a count, so that a drawing too large is refused before it is read. A reader that holds the
// shapes more than once while it reads them says so by `copies`.
[[nodiscard]] std::string WhyShapesDoNotFit(uint64_t count, std::optional<uint64_t> limit, int copies = 1);
