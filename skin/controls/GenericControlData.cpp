// Generic controls in the skin file: type names, placement and the placement control's child.
#include "GenericControlData.h"

#include <cctype>

#include "QorXmlDom.h"
#include "SkinFileModel.h"

namespace skelda::controls {

namespace {

struct TypeName {
    int type;
    const char* name;
};

constexpr TypeName kTypeNames[] = {
    {eQorGenericComboBox, "GenericComboBox"},       {eQorGenericProgressBar, "GenericProgressBar"},
    {eQorGenericSlider, "GenericSlider"},           {eQorGenericListControl, "GenericListControl"},
    {eQorGenericSpinControl, "GenericSpinButton"},  {eQorGenericPlacementControl, "GenericPlacementControl"},
};

constexpr char kNoChild[] = "NONE";

// The system window class a generic kind wraps when a dialog template puts it there.
constexpr TypeName kWindowClasses[] = {
    {eQorGenericComboBox, "ComboBox"},          {eQorGenericProgressBar, "msctls_progress32"},
    {eQorGenericSlider, "msctls_trackbar32"},   {eQorGenericListControl, "SysListView32"},
    {eQorGenericSpinControl, "msctls_updown32"}, {eQorGenericPlacementControl, "Button"},
};

// Window class names compare without regard to case, as the system compares them.
bool SameClassName(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

}  // namespace

std::string GenericTypeName(int type)
{
    for (const auto& entry : kTypeNames)
        if (entry.type == type)
            return entry.name;
    return {};
}

int GenericTypeFromName(const std::string& name)
{
    for (const auto& entry : kTypeNames)
        if (name == entry.name)
            return entry.type;
    return -1;
}

int GenericKindToBind(const std::string& controlType, const std::string& windowClass)
{
    const int named = GenericTypeFromName(controlType);
    if (named >= 0)
        return named;
    for (const auto& entry : kWindowClasses)
        if (SameClassName(windowClass, entry.name))
            return entry.type;
    return -1;
}

void ReadGenericControl(IXMLDOMNode* element, GenericControlData* data)
{
    *data = GenericControlData{};
    if (!element)
        return;
    int x = 0, y = 0, width = 0, height = 0;
    if (skinfile::ReadInt(element, "ControlXOffset", &x) && skinfile::ReadInt(element, "ControlYOffset", &y)) {
        data->x = x;
        data->y = y;
        data->hasPosition = true;
    }
    // A negative size is a damaged entry: the control keeps the size of its template.
    if (skinfile::ReadInt(element, "ControlWidth", &width) && skinfile::ReadInt(element, "ControlHeight", &height) &&
        width >= 0 && height >= 0) {
        data->width = width;
        data->height = height;
        data->hasSize = true;
    }
    data->visible = skinfile::ReadControlIsVisible(element);
    skinfile::ReadText(element, "ControlType", &data->typeName);
    std::string child;
    if (skinfile::ReadText(element, "ChildControlId", &child) && child != kNoChild) {
        int id = 0;
        skinfile::ReadInt(element, "ChildControlId", &id);
        data->childControlId = id > 0 ? id : 0;
    }
}

bool WriteGenericControl(IXMLDOMNode* element, int type, int controlId, const GenericControlData& data)
{
    if (!element)
        return false;
    bool written = qorxml::SetAttribute(element, "ControlIdValue", std::to_string(controlId)) &&
                   qorxml::SetAttribute(element, "ControlType", GenericTypeName(type)) &&
                   qorxml::SetAttribute(element, "ControlXOffset", std::to_string(data.x)) &&
                   qorxml::SetAttribute(element, "ControlYOffset", std::to_string(data.y)) &&
                   qorxml::SetAttribute(element, "ControlWidth", std::to_string(data.width)) &&
                   qorxml::SetAttribute(element, "ControlHeight", std::to_string(data.height)) &&
                   qorxml::SetAttribute(element, "ControlIsVisible", data.visible ? "1" : "0");
    if (written && type == eQorGenericPlacementControl)
        written = qorxml::SetAttribute(element, "ChildControlId",
                                       data.childControlId > 0 ? std::to_string(data.childControlId) : kNoChild);
    return written;
}

}  // namespace skelda::controls
