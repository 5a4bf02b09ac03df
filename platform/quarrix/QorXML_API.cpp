// QorXML_API: the exported face of the DOM helpers.
#include "QorXML_API.h"

#include <string>

#include "QorXmlDom.h"
#include "QorXmlText.h"

namespace {

bool g_reportMissing = false;

void ReportMissing(IXMLDOMNode* element, const char* name)
{
    if (!g_reportMissing)
        return;
    std::string tag = "?";
    qorxml::NodeName(element, &tag);
    OutputDebugStringA(("Quarrix:  attribute \"" + std::string(name ? name : "") + "\" not found in <" + tag +
                        ">\r\n").c_str());
}

template <class T, class Parse>
bool GetNumber(IXMLDOMNode* element, const char* name, T* value, Parse parse)
{
    std::string text;
    if (!value || !qorxml::GetAttribute(element, name, &text)) {
        ReportMissing(element, name);
        return false;
    }
    return parse(text, value);
}

}  // namespace

HRESULT QorXML_API::QorCreateXMLDocumentInMemory(IXMLDOMDocument* document)
{
    return qorxml::PrepareDocument(document);
}

HRESULT QorXML_API::LoadXmlDocFromFile(IXMLDOMDocument* document, const std::string& path)
{
    return qorxml::LoadFromFile(document, path);
}

HRESULT QorXML_API::LoadXmlDocFromMemory(IXMLDOMDocument* document, const void* bytes, size_t size)
{
    return qorxml::LoadFromBytes(document, bytes, size);
}

HRESULT QorXML_API::SaveXMLDocToFile(IXMLDOMDocument* document, const std::string& path)
{
    return qorxml::SaveToFile(document, path);
}

bool QorXML_API::GetXmlChildNodes(IXMLDOMNode* node, IXMLDOMNodeList** list)
{
    if (!list)
        return false;
    win::ComPtr<IXMLDOMNodeList> children;
    if (!qorxml::ChildNodes(node, &children))
        return false;
    *list = children.Detach();
    return true;
}

bool QorXML_API::GetXmlElementTagName(IXMLDOMNode* element, std::string* name)
{
    return name && qorxml::TagName(element, name);
}

bool QorXML_API::GetXmlNodeName(IXMLDOMNode* node, std::string* name)
{
    return name && qorxml::NodeName(node, name);
}

bool QorXML_API::GetXmlStringAttribute(IXMLDOMNode* element, const char* name, std::string* value)
{
    if (value && qorxml::GetAttribute(element, name, value))
        return true;
    ReportMissing(element, name);
    return false;
}

bool QorXML_API::GetXmlWideStringAttribute(IXMLDOMNode* element, const char* name, std::wstring* value)
{
    if (value && qorxml::GetAttributeWide(element, name, value))
        return true;
    ReportMissing(element, name);
    return false;
}

bool QorXML_API::GetXmlIntAttribute(IXMLDOMNode* element, const char* name, int* value)
{
    return GetNumber(element, name, value, [](const std::string& t, int* v) { return qorxml::ParseInt32(t, v); });
}

bool QorXML_API::GetXmlLongAttribute(IXMLDOMNode* element, const char* name, long* value)
{
    return GetNumber(element, name, value, [](const std::string& t, long* v) {
        int i = 0;
        if (!qorxml::ParseInt32(t, &i))
            return false;
        *v = i;
        return true;
    });
}

bool QorXML_API::GetXmlByteAttribute(IXMLDOMNode* element, const char* name, BYTE* value)
{
    return GetNumber(element, name, value,
                     [](const std::string& t, BYTE* v) { return qorxml::ParseByte(t, v); });
}

bool QorXML_API::SetXmlStringAttribute(IXMLDOMNode* element, const char* name, const std::string& value)
{
    return qorxml::SetAttribute(element, name, value);
}

bool QorXML_API::SetXmlIntAttribute(IXMLDOMNode* element, const char* name, int value)
{
    return qorxml::SetAttribute(element, name, std::to_string(value));
}

bool QorXML_API::SetXmlLongAttribute(IXMLDOMNode* element, const char* name, long value)
{
    return qorxml::SetAttribute(element, name, std::to_string(value));
}

bool QorXML_API::SetXmlByteAttribute(IXMLDOMNode* element, const char* name, BYTE value)
{
    return qorxml::SetAttribute(element, name, std::to_string(static_cast<unsigned>(value)));
}

void QorXML_API::AssertWhenEntriesNotFound(bool on)
{
    g_reportMissing = on;
}

bool QorXML_API::AssertingWhenEntriesNotFound()
{
    return g_reportMissing;
}
