#pragma once
// A user-defined quality template: the thirteen encoder values kept in the section
// "Custom\<name>", and the template store ("Custom": "selected" and "templates").
#include <string>
#include <vector>

#include <framework/ProfileStore.h>

namespace settings {

struct CustomTemplate {
    int captureMode = 2;
    int captureStandard = 0;
    int horzResolution = 720;
    int vertResolution = 480;
    int bitRate = 0;
    int peakBitRate = 0;
    int iFrameDist = 15;
    int pFrameDist = 3;
    int vbr = 1;
    int audioType = 0;
    int audSamplingFreq = 48000;
    int audioMpegBitRate = 224;
    int pullDown32 = 0;
};

// Stream format text of a recording made with a capture mode.
const char* StreamFormatText(int captureMode);
// Capture modes 1 and 3 record MPEG-1, every other code MPEG-2.
bool IsMpeg1Mode(int captureMode);

std::string TemplateSection(const std::string& name);
// "a;b;" <-> {"a", "b"}; empty names are skipped.
std::vector<std::string> SplitTemplateNames(const std::string& joined);
std::string JoinTemplateNames(const std::vector<std::string>& names);

// Reads the block of one template; each value defaults to what the block already holds.
void LoadCustomTemplate(const framework::ProfileStore& store, const std::string& name,
                        CustomTemplate& block);
// Writes "selected", "templates" and the block of the selected template, in that order.
void SaveTemplateStore(const framework::ProfileStore& store, const std::string& selected,
                       const std::vector<std::string>& names, const CustomTemplate& block);

}  // namespace settings
