// MSXML DOM helpers: document creation, loading, saving and node selection.
#include "QorXmlDom.h"

#include <shlwapi.h>

#include <cstdio>
#include <vector>

#include "QorXmlProlog.h"
#include "QorXmlText.h"

namespace qorxml {

const CLSID kClsidDomDocument = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
const IID kIidXmlDomDocument = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDomElement = {0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const IID kIidXmlDomDocument2 = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

namespace {

// Owns a BSTR.
class Bstr {
public:
    explicit Bstr(const std::wstring& text) : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    explicit Bstr(const char* text) : Bstr(AnsiToWide(text ? text : "")) {}
    ~Bstr() { SysFreeString(s_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return s_; }
    explicit operator bool() const { return s_ != nullptr; }

private:
    BSTR s_;
};

// Takes ownership of a BSTR returned by a COM call and converts it.
std::wstring TakeBstr(BSTR s)
{
    std::wstring text = s ? std::wstring(s, SysStringLen(s)) : std::wstring();
    SysFreeString(s);
    return text;
}

HRESULT LoadFromStream(IXMLDOMDocument* document, IStream* stream)
{
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_UNKNOWN;
    source.punkVal = stream;  // borrowed: not cleared below
    VARIANT_BOOL ok = VARIANT_FALSE;
    HRESULT hr = document->load(source, &ok);
    if (SUCCEEDED(hr) && ok == VARIANT_TRUE) {
        // A parser that ignored the prohibition still must not hand out entities: refuse the
        // document before anything reads it.
        win::ComPtr<IXMLDOMDocumentType> type;
        if (document->get_doctype(type.Put()) == S_OK && type)
            return kDocumentTypeRefused;
        return S_OK;
    }
    if (FAILED(hr))
        return hr;
    win::ComPtr<IXMLDOMParseError> error;
    long code = 0;
    if (SUCCEEDED(document->get_parseError(error.Put())) && error)
        error->get_errorCode(&code);
    return code < 0 ? static_cast<HRESULT>(code) : E_FAIL;
}

}  // namespace

HRESULT PrepareDocument(IXMLDOMDocument* document)
{
    if (!document)
        return E_POINTER;
    HRESULT hr = document->put_async(VARIANT_FALSE);
    if (FAILED(hr))
        return hr;
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    // Parsers that know the property refuse any document type declaration themselves.
    win::ComPtr<IXMLDOMDocument2> settings;
    if (SUCCEEDED(document->QueryInterface(kIidXmlDomDocument2, reinterpret_cast<void**>(settings.Put())))) {
        Bstr name("ProhibitDTD");
        VARIANT on;
        VariantInit(&on);
        on.vt = VT_BOOL;
        on.boolVal = VARIANT_TRUE;
        settings->setProperty(name.Get(), on);
    }
    return S_OK;
}

HRESULT CreateDocument(win::ComPtr<IXMLDOMDocument>* document)
{
    HRESULT hr = CoCreateInstance(kClsidDomDocument, nullptr, CLSCTX_INPROC_SERVER, kIidXmlDomDocument,
                                  reinterpret_cast<void**>(document->Put()));
    if (FAILED(hr))
        return hr;
    hr = PrepareDocument(document->Get());
    if (FAILED(hr))
        document->Reset();
    return hr;
}

HRESULT LoadFromBytes(IXMLDOMDocument* document, const void* bytes, size_t size)
{
    if (!document)
        return E_POINTER;
    if (size == 0)
        return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
    if (size > kMaxDocumentBytes)
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    if (DeclaresDocumentType({static_cast<const std::uint8_t*>(bytes), size}))
        return kDocumentTypeRefused;
    auto stream = win::ComPtr<IStream>::Adopt(SHCreateMemStream(static_cast<const BYTE*>(bytes), static_cast<UINT>(size)));
    if (!stream)
        return E_OUTOFMEMORY;
    return LoadFromStream(document, stream.Get());
}

HRESULT LoadFromFile(IXMLDOMDocument* document, const std::string& path)
{
    if (!document)
        return E_POINTER;
    if (path.empty())
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (path.size() >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(GetLastError());
    LARGE_INTEGER size{};
    HRESULT hr = S_OK;
    std::vector<BYTE> bytes;
    if (!GetFileSizeEx(file, &size))
        hr = HRESULT_FROM_WIN32(GetLastError());
    else if (size.QuadPart > static_cast<LONGLONG>(kMaxDocumentBytes))
        hr = HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    else {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!bytes.empty() && (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                               read != bytes.size()))
            hr = HRESULT_FROM_WIN32(ERROR_READ_FAULT);
    }
    CloseHandle(file);
    if (FAILED(hr))
        return hr;
    return LoadFromBytes(document, bytes.data(), bytes.size());
}

HRESULT SaveToFile(IXMLDOMDocument* document, const std::string& path)
{
    if (!document)
        return E_POINTER;
    if (path.empty() || path.size() >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME);
    Bstr name(path.c_str());
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = name.Get();  // owned by `name`
    return document->save(target);
}

bool DocumentElement(IXMLDOMDocument* document, const char* name, win::ComPtr<IXMLDOMElement>* element)
{
    if (!document || FAILED(document->get_documentElement(element->Put())) || !*element)
        return false;
    std::string tag;
    if (name && (!TagName(element->Get(), &tag) || tag != name)) {
        element->Reset();
        return false;
    }
    return true;
}

bool SelectSingle(IXMLDOMNode* node, const char* path, win::ComPtr<IXMLDOMNode>* out)
{
    out->Reset();
    if (!node)
        return false;
    Bstr query(path);
    return node->selectSingleNode(query.Get(), out->Put()) == S_OK && *out;
}

bool SelectAll(IXMLDOMNode* node, const char* path, win::ComPtr<IXMLDOMNodeList>* out)
{
    out->Reset();
    if (!node)
        return false;
    Bstr query(path);
    return SUCCEEDED(node->selectNodes(query.Get(), out->Put())) && *out;
}

bool ChildNodes(IXMLDOMNode* node, win::ComPtr<IXMLDOMNodeList>* out)
{
    out->Reset();
    return node && SUCCEEDED(node->get_childNodes(out->Put())) && *out;
}

void ForEachChildElement(IXMLDOMNode* node, const std::function<bool(IXMLDOMNode*)>& visit)
{
    win::ComPtr<IXMLDOMNodeList> children;
    if (!ChildNodes(node, &children))
        return;
    long count = 0;
    children->get_length(&count);
    for (long i = 0; i < count; ++i) {
        win::ComPtr<IXMLDOMNode> child;
        DOMNodeType type = NODE_INVALID;
        if (FAILED(children->get_item(i, child.Put())) || !child || FAILED(child->get_nodeType(&type)))
            continue;
        if (type == NODE_ELEMENT && !visit(child.Get()))
            return;
    }
}

bool NodeName(IXMLDOMNode* node, std::string* name)
{
    BSTR s = nullptr;
    if (!node || FAILED(node->get_nodeName(&s)))
        return false;
    *name = WideToAnsi(TakeBstr(s));
    return true;
}

bool TagName(IXMLDOMNode* node, std::string* name)
{
    win::ComPtr<IXMLDOMElement> element;
    if (!node || FAILED(node->QueryInterface(kIidXmlDomElement, reinterpret_cast<void**>(element.Put()))))
        return false;
    BSTR s = nullptr;
    if (FAILED(element->get_tagName(&s)))
        return false;
    *name = WideToAnsi(TakeBstr(s));
    return true;
}

bool GetAttributeWide(IXMLDOMNode* node, const char* name, std::wstring* value)
{
    win::ComPtr<IXMLDOMElement> element;
    if (!node || FAILED(node->QueryInterface(kIidXmlDomElement, reinterpret_cast<void**>(element.Put()))))
        return false;
    Bstr attribute(name);
    VARIANT v;
    VariantInit(&v);
    if (element->getAttribute(attribute.Get(), &v) != S_OK || v.vt != VT_BSTR) {
        VariantClear(&v);
        return false;
    }
    *value = std::wstring(v.bstrVal, SysStringLen(v.bstrVal));
    VariantClear(&v);
    return true;
}

bool GetAttribute(IXMLDOMNode* node, const char* name, std::string* value)
{
    std::wstring wide;
    if (!GetAttributeWide(node, name, &wide))
        return false;
    *value = WideToAnsi(wide);
    return true;
}

bool SetAttribute(IXMLDOMNode* node, const char* name, const std::string& value)
{
    win::ComPtr<IXMLDOMElement> element;
    if (!node || FAILED(node->QueryInterface(kIidXmlDomElement, reinterpret_cast<void**>(element.Put()))))
        return false;
    Bstr attribute(name), text(AnsiToWide(value));
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text.Get();  // owned by `text`
    return SUCCEEDED(element->setAttribute(attribute.Get(), v));
}

bool AppendChildElement(IXMLDOMNode* parent, const char* name, win::ComPtr<IXMLDOMNode>* child)
{
    child->Reset();
    if (!parent)
        return false;
    win::ComPtr<IXMLDOMDocument> document;
    if (FAILED(parent->get_ownerDocument(document.Put())) || !document) {
        // The parent may be the document itself.
        if (FAILED(parent->QueryInterface(kIidXmlDomDocument, reinterpret_cast<void**>(document.Put()))))
            return false;
    }
    win::ComPtr<IXMLDOMElement> element;
    Bstr tag(name);
    if (FAILED(document->createElement(tag.Get(), element.Put())) || !element)
        return false;
    return SUCCEEDED(parent->appendChild(element.Get(), child->Put())) && *child;
}

std::string SystemMessageText(HRESULT code)
{
    char* buffer = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(code), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                             reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (n && buffer) {
        text.assign(buffer, n);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
            text.pop_back();
    }
    if (buffer)
        LocalFree(buffer);
    if (text.empty()) {
        char hex[16];
        snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
        text = hex;
    }
    return text;
}

}  // namespace qorxml
