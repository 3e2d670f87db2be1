#pragma once
// How many files the conversion pass works on at once, and when it must take them one at a time.
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace lumivane {

// "--jobs" as asked (0: one per core) turned into a count of at least 1. `cores` 0 (unknown) counts as 1.
std::int32_t ResolveJobCount(std::int32_t requested, unsigned cores);
// The same with the cores of this machine.
std::int32_t ResolveJobCount(std::int32_t requested);

// Why a file's pixels depend on the files converted before it, so that files must be converted one at a time:
// a watermark text with "%n%" or "%rnd%" (renewed after each converted file), or with "%bpp%" while the depth is
// automatic (it shows the previous file's depth). "" when the files are independent.
std::string_view OneFileAtATimeReason(const Settings& settings, bool automaticBitDepth);

// The debug listing's line for "--jobs": "Jobs: 4", or with a reason
// "Jobs: 4 (one file at a time: the watermark text uses %n%)".
std::string JobsListingLine(std::int32_t jobs, std::string_view oneFileAtATimeReason);

}  // namespace lumivane
