#pragma once
// The control elements of one dialog element by identifier, read in a single walk over its
// children. A lookup answers as `FindControlById` would (buttons first, then transparent
// statics, sliders, edits and generic controls; the first in document order within a kind;
// the identifier compared as its decimal text), without querying the document again: a
// window with a hundred controls otherwise walks the whole dialog element once per control.
#include <windows.h>
#include <msxml2.h>

#include <string>
#include <unordered_map>

#include <win/ComPtr.h>

namespace skelda::skinfile {

class ControlIndex {
public:
    ControlIndex() = default;
    explicit ControlIndex(IXMLDOMNode* dialog);

    // The element of control `id` and its tag name; false when the dialog has none.
    bool Find(int id, win::ComPtr<IXMLDOMNode>* control, std::string* tag = nullptr) const;
    size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        int rank = 0;
        std::string tag;
        win::ComPtr<IXMLDOMNode> element;
    };
    std::unordered_map<std::string, Entry> m_entries;  // by "ControlIdValue" text
};

}  // namespace skelda::skinfile
