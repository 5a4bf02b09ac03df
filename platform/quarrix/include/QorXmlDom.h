#pragma once
// Thin helpers over MSXML's DOM document: creating, loading (from a file or from bytes),
// saving, selecting nodes and reading and writing attributes. Strings are ANSI on this side
// and wide only at the COM boundary. Every helper releases what it obtained.
#include <windows.h>
#include <msxml2.h>

#include <functional>
#include <string>

#include <win/ComPtr.h>

namespace qorxml {

// MSXML's version-independent DOM document class and its document interface.
extern const CLSID kClsidDomDocument;  // {F6D90F11-9C73-11D3-B32E-00C04F990BB4}
extern const IID kIidXmlDomDocument;   // {2933BF81-7B36-11D2-B20E-00C04F983E60}
extern const IID kIidXmlDomElement;    // {2933BF86-7B36-11D2-B20E-00C04F983E60}

// Files larger than this are refused rather than read into memory.
constexpr size_t kMaxDocumentBytes = 64u * 1024u * 1024u;
// The load result of a document that declares a document type: refused so that no entity
// is ever expanded ("The data is invalid.").
constexpr HRESULT kDocumentTypeRefused = static_cast<HRESULT>(0x8007000DL);  // from ERROR_INVALID_DATA

HRESULT CreateDocument(win::ComPtr<IXMLDOMDocument>* document);
// Synchronous loading, no validation, no external resolution, no document type declarations.
HRESULT PrepareDocument(IXMLDOMDocument* document);
// Negative on failure: a path that is too long or missing, an unreadable or empty file,
// XML that does not parse, or a document type declaration.
HRESULT LoadFromFile(IXMLDOMDocument* document, const std::string& path);
HRESULT LoadFromBytes(IXMLDOMDocument* document, const void* bytes, size_t size);
HRESULT SaveToFile(IXMLDOMDocument* document, const std::string& path);

// The document element, when its name is `name` (any name when `name` is null).
bool DocumentElement(IXMLDOMDocument* document, const char* name, win::ComPtr<IXMLDOMElement>* element);

bool SelectSingle(IXMLDOMNode* node, const char* path, win::ComPtr<IXMLDOMNode>* out);
bool SelectAll(IXMLDOMNode* node, const char* path, win::ComPtr<IXMLDOMNodeList>* out);
bool ChildNodes(IXMLDOMNode* node, win::ComPtr<IXMLDOMNodeList>* out);
// Calls `visit` for each element child in document order until it returns false.
void ForEachChildElement(IXMLDOMNode* node, const std::function<bool(IXMLDOMNode*)>& visit);

bool NodeName(IXMLDOMNode* node, std::string* name);
// Element nodes only.
bool TagName(IXMLDOMNode* node, std::string* name);

// False when the node is not an element or has no such attribute.
bool GetAttribute(IXMLDOMNode* node, const char* name, std::string* value);
bool GetAttributeWide(IXMLDOMNode* node, const char* name, std::wstring* value);
// Creates the attribute when absent.
bool SetAttribute(IXMLDOMNode* node, const char* name, const std::string& value);

// Creates an element named `name` in the node's document and appends it to `parent`.
bool AppendChildElement(IXMLDOMNode* parent, const char* name, win::ComPtr<IXMLDOMNode>* child);

// The system's message text for `code` in US English, without the trailing line break;
// the code in hex when the system has no text for it.
std::string SystemMessageText(HRESULT code);

}  // namespace qorxml
