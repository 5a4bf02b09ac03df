#pragma once
// The colour page's arithmetic: a slider position kept on the device's steps and range.
namespace pages {

// `value` moved to the nearest multiple of `step` above `minimum`, inside minimum..maximum
// (a step of 0 or less counts as 1).
long SnapToStep(long value, long minimum, long maximum, long step);

}  // namespace pages
