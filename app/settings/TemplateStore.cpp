#include "TemplateStore.h"

#include <windows.h>

namespace settings {
namespace {

constexpr const char* kFieldNames[] = {"CaptureMode", "CaptureStandard", "HorzResolution", "VertResolution",
                                       "BitRate",     "PeakBitRate",     "IFrameDist",     "PFrameDist",
                                       "VBR",         "AudioType",       "AudSamplingFreq", "AudioMpegBitRate",
                                       "3-2PullDown"};

int* Fields(CustomTemplate& block, int index)
{
    int* const fields[] = {&block.captureMode, &block.captureStandard, &block.horzResolution, &block.vertResolution,
                           &block.bitRate,     &block.peakBitRate,     &block.iFrameDist,     &block.pFrameDist,
                           &block.vbr,         &block.audioType,       &block.audSamplingFreq, &block.audioMpegBitRate,
                           &block.pullDown32};
    return fields[index];
}

}  // namespace

bool SameTemplateName(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_EQUAL;
}

TemplateNameCheck CheckTemplateName(const std::string& name, const std::vector<std::string>& existing)
{
    if (name.empty() || name.size() > kMaxTemplateNameChars)
        return TemplateNameCheck::kInvalid;
    for (unsigned char c : name)
        if (c == '\\' || c == '/' || c == ';' || c < 0x20 || c == 0x7F)
            return TemplateNameCheck::kInvalid;
    for (const std::string& other : existing)
        if (SameTemplateName(name, other))
            return TemplateNameCheck::kDuplicate;
    return TemplateNameCheck::kAccepted;
}

int RefusalText(TemplateNameCheck check)
{
    switch (check) {
    case TemplateNameCheck::kInvalid: return kTextInvalidTemplateName;
    case TemplateNameCheck::kDuplicate: return kTextDuplicateTemplateName;
    default: return 0;
    }
}

bool ReadWholeTemplate(const framework::ProfileStore& store, const std::string& name, CustomTemplate& block)
{
    if (name.empty())
        return false;
    const std::string section = TemplateSection(name);
    CustomTemplate read = block;
    for (int i = 0; i < 13; ++i) {
        const int value = store.GetInt(section.c_str(), kFieldNames[i], -1);
        if (value == -1)
            return false;
        *Fields(read, i) = value;
    }
    block = read;
    return true;
}

void SelectTemplate(const framework::ProfileStore& store, CaptureSettings& s, const std::string& name)
{
    s.selectedTemplate = name;
    s.templateSection = name.empty() ? std::string() : TemplateSection(name);
    store.WriteString("Custom", "selected", name.c_str());
}

void AddTemplate(const framework::ProfileStore& store, CaptureSettings& s, const std::string& name)
{
    s.templateNames.push_back(name);
    s.selectedTemplate = name;
    s.templateSection = TemplateSection(name);
    SaveTemplateStore(store, s.selectedTemplate, s.templateNames, s.custom);
}

void DeleteSelectedTemplate(const framework::ProfileStore& store, CaptureSettings& s)
{
    const std::string removed = s.selectedTemplate;
    std::vector<std::string> remaining;
    for (const std::string& name : s.templateNames)
        if (name != removed)
            remaining.push_back(name);
    s.templateNames = remaining;
    const std::string next = remaining.empty() ? std::string() : remaining.front();
    s.selectedTemplate = next;
    s.templateSection = next.empty() ? std::string() : TemplateSection(next);
    store.WriteString("Custom", "templates", JoinTemplateNames(remaining).c_str());
    store.WriteString("Custom", "selected", next.c_str());
    if (!removed.empty())
        store.DeleteSection(TemplateSection(removed).c_str());
}

bool LeaveCustomModeWithoutTemplates(CaptureSettings& s)
{
    if (!s.templateNames.empty() || s.setupMode != 3)
        return false;
    s.setupMode = 2;
    s.capture = 2;
    s.qualityMpeg2 = 1;
    return true;
}

}  // namespace settings
