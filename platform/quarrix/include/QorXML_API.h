#pragma once
// Quarrix, the XML helper library that the text library imports: static helpers over
// MSXML's DOM document. Integer getters answer true only when the attribute exists and its
// text is a decimal number in range; setters create an absent attribute.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "QuarrixExport.h"

class QUARRIX_API QorXML_API {
public:
    // Prepares a created DOM document (synchronous loading, no validation).
    static HRESULT QorCreateXMLDocumentInMemory(IXMLDOMDocument* document);
    // Loads synchronously; negative on failure (also for a path of MAX_PATH or more).
    static HRESULT LoadXmlDocFromFile(IXMLDOMDocument* document, const std::string& path);
    // Loads from the bytes of a file image (for documents kept as resources).
    static HRESULT LoadXmlDocFromMemory(IXMLDOMDocument* document, const void* bytes, size_t size);
    static HRESULT SaveXMLDocToFile(IXMLDOMDocument* document, const std::string& path);

    static bool GetXmlChildNodes(IXMLDOMNode* node, IXMLDOMNodeList** list);
    static bool GetXmlElementTagName(IXMLDOMNode* element, std::string* name);
    static bool GetXmlNodeName(IXMLDOMNode* node, std::string* name);

    static bool GetXmlStringAttribute(IXMLDOMNode* element, const char* name, std::string* value);
    static bool GetXmlWideStringAttribute(IXMLDOMNode* element, const char* name, std::wstring* value);
    static bool GetXmlIntAttribute(IXMLDOMNode* element, const char* name, int* value);
    static bool GetXmlLongAttribute(IXMLDOMNode* element, const char* name, long* value);
    static bool GetXmlByteAttribute(IXMLDOMNode* element, const char* name, BYTE* value);
    static bool SetXmlStringAttribute(IXMLDOMNode* element, const char* name, const std::string& value);
    static bool SetXmlIntAttribute(IXMLDOMNode* element, const char* name, int value);
    static bool SetXmlLongAttribute(IXMLDOMNode* element, const char* name, long value);
    static bool SetXmlByteAttribute(IXMLDOMNode* element, const char* name, BYTE value);

    // When on, every attribute that a getter does not find is reported on the debugger
    // output, so a skin author sees which entries a file lacks.
    static void AssertWhenEntriesNotFound(bool on);
    static bool AssertingWhenEntriesNotFound();
};
