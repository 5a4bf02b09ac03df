#include "CustomTemplate.h"

#include "ReadingRule.h"

namespace settings {
namespace {

// The block's values in their stored order, with the member each one fills.
struct TemplateField {
    const char* name;
    int CustomTemplate::*member;
};

constexpr TemplateField kFields[] = {
    {"CaptureMode", &CustomTemplate::captureMode},
    {"CaptureStandard", &CustomTemplate::captureStandard},
    {"HorzResolution", &CustomTemplate::horzResolution},
    {"VertResolution", &CustomTemplate::vertResolution},
    {"BitRate", &CustomTemplate::bitRate},
    {"PeakBitRate", &CustomTemplate::peakBitRate},
    {"IFrameDist", &CustomTemplate::iFrameDist},
    {"PFrameDist", &CustomTemplate::pFrameDist},
    {"VBR", &CustomTemplate::vbr},
    {"AudioType", &CustomTemplate::audioType},
    {"AudSamplingFreq", &CustomTemplate::audSamplingFreq},
    {"AudioMpegBitRate", &CustomTemplate::audioMpegBitRate},
    {"3-2PullDown", &CustomTemplate::pullDown32},
};

}  // namespace

const char* StreamFormatText(int captureMode)
{
    switch (captureMode) {
    case 1: return "MPEG1";
    case 3: return "VCD";
    case 4: return "SVCD";
    default: return "MPEG2";
    }
}

bool IsMpeg1Mode(int captureMode)
{
    return captureMode == 1 || captureMode == 3;
}

std::string TemplateSection(const std::string& name)
{
    return "Custom\\" + name;
}

std::vector<std::string> SplitTemplateNames(const std::string& joined)
{
    std::vector<std::string> names;
    std::string::size_type start = 0;
    while (start < joined.size()) {
        std::string::size_type end = joined.find(';', start);
        if (end == std::string::npos)
            end = joined.size();
        if (end > start)
            names.push_back(joined.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string JoinTemplateNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names) {
        if (name.empty())
            continue;
        joined += name;
        joined += ';';
    }
    return joined;
}

void LoadCustomTemplate(const framework::ProfileStore& store, const std::string& name,
                        CustomTemplate& block)
{
    const std::string section = TemplateSection(name);
    for (const TemplateField& field : kFields)
        block.*field.member = ReadInt(store, section.c_str(), field.name, block.*field.member);
}

void SaveTemplateStore(const framework::ProfileStore& store, const std::string& selected,
                       const std::vector<std::string>& names, const CustomTemplate& block)
{
    store.WriteString("Custom", "selected", selected.c_str());
    store.WriteString("Custom", "templates", JoinTemplateNames(names).c_str());
    if (selected.empty())
        return;
    const std::string section = TemplateSection(selected);
    for (const TemplateField& field : kFields)
        store.WriteInt(section.c_str(), field.name, block.*field.member);
}

}  // namespace settings
