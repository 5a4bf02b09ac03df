// The checks of the stretch editing dialogs.
#include "StretchSettingsRules.h"

namespace skelda::editing {
namespace {

constexpr const char* kBadValuesCaption = "Bad Values";
constexpr const char* kBadValues =
    "There is an error with the values.  Please verify that all values make sense.\r\n(e.g.,    Max > Min,    "
    "Beginning values within Min/Max range, etc.";
constexpr const char* kBadOffsetsCaption = "Bad Region Offsets";

FieldCheck Refuse(std::string message, const char* caption)
{
    FieldCheck check;
    check.message = std::move(message);
    check.caption = caption;
    return check;
}

FieldCheck Accept()
{
    FieldCheck check;
    check.accepted = true;
    return check;
}

// Refuses a direction's limits; empty when they can work.
std::string AxisProblem(const char* what, int minimum, int maximum, int beginning, long long borders)
{
    if (maximum <= minimum || beginning < minimum || beginning > maximum)
        return kBadValues;
    if (minimum < borders + 1)
        return std::string("The minimum ") + what + " must be at least " + std::to_string(borders + 1) +
               " pixels: the face's fixed borders take " + std::to_string(borders) +
               " of them and one pixel of the middle must stay.";
    return {};
}

}  // namespace

const StretchAttribute* StretchAttributes(int* count)
{
    using S = QorStretchSettings;
    static const StretchAttribute attributes[] = {
        {"AllowHorzStretching", &S::allowHorizontal, nullptr}, {"AllowVertStretching", &S::allowVertical, nullptr},
        {"BeginningWidth", nullptr, &S::beginningWidth},       {"BeginningHeight", nullptr, &S::beginningHeight},
        {"MinimumWidth", nullptr, &S::minWidth},               {"MaximumWidth", nullptr, &S::maxWidth},
        {"MinimumHeight", nullptr, &S::minHeight},             {"MaximumHeight", nullptr, &S::maxHeight},
        {"LeftRegionOffset", nullptr, &S::left},               {"RightRegionOffset", nullptr, &S::right},
        {"TopRegionOffset", nullptr, &S::top},                 {"BottomRegionOffset", nullptr, &S::bottom}};
    *count = static_cast<int>(sizeof(attributes) / sizeof(attributes[0]));
    return attributes;
}

FieldCheck CheckRegionOffsets(const QorStretchSettings& s, int faceWidth, int faceHeight)
{
    if (s.left < 0 || s.right < 0 || s.top < 0 || s.bottom < 0)
        return Refuse("Region offsets cannot be negative.", kBadOffsetsCaption);
    // The middle band runs from offset + 1 to size - opposite offset (exclusive).
    const long long across = static_cast<long long>(s.left) + s.right + 1;
    const long long down = static_cast<long long>(s.top) + s.bottom + 1;
    if (across >= faceWidth)
        return Refuse("The left and right region offsets (" + std::to_string(s.left) + " + " +
                          std::to_string(s.right) + ") leave no middle band to stretch in the " +
                          std::to_string(faceWidth) + " pixels wide face; together they must stay below " +
                          std::to_string(faceWidth - 1) + ".",
                      kBadOffsetsCaption);
    if (down >= faceHeight)
        return Refuse("The top and bottom region offsets (" + std::to_string(s.top) + " + " +
                          std::to_string(s.bottom) + ") leave no middle band to stretch in the " +
                          std::to_string(faceHeight) + " pixels high face; together they must stay below " +
                          std::to_string(faceHeight - 1) + ".",
                      kBadOffsetsCaption);
    return Accept();
}

FieldCheck CheckSizingLimits(const QorStretchSettings& s)
{
    std::string problem;
    if (s.allowHorizontal)
        problem = AxisProblem("width", s.minWidth, s.maxWidth, s.beginningWidth, 0LL + s.left + s.right);
    if (problem.empty() && s.allowVertical)
        problem = AxisProblem("height", s.minHeight, s.maxHeight, s.beginningHeight, 0LL + s.top + s.bottom);
    return problem.empty() ? Accept() : Refuse(problem, kBadValuesCaption);
}

}  // namespace skelda::editing
