#include "ControlIndex.h"

#include "QorXmlDom.h"

namespace skelda::skinfile {
namespace {

// The kinds a control element may be, in the order a lookup prefers them; -1 for others.
int KindRank(const std::string& tag)
{
    static const char* const kinds[] = {"QorBtnControl", "QorTransStaticControl", "QorSliderControl",
                                        "QorEditControl", "QorGenericControl"};
    for (int rank = 0; rank < 5; ++rank)
        if (tag == kinds[rank])
            return rank;
    return -1;
}

}  // namespace

ControlIndex::ControlIndex(IXMLDOMNode* dialog)
{
    if (!dialog)
        return;
    qorxml::ForEachChildElement(dialog, [this](IXMLDOMNode* child) {
        std::string tag, id;
        if (!qorxml::NodeName(child, &tag))
            return true;
        const int rank = KindRank(tag);
        if (rank < 0 || !qorxml::GetAttribute(child, "ControlIdValue", &id))
            return true;
        // Children come in document order: a later element replaces only one of a later kind.
        auto found = m_entries.find(id);
        if (found == m_entries.end() || rank < found->second.rank)
            m_entries[id] = Entry{rank, tag, win::ComPtr<IXMLDOMNode>::Share(child)};
        return true;
    });
}

bool ControlIndex::Find(int id, win::ComPtr<IXMLDOMNode>* control, std::string* tag) const
{
    const auto found = m_entries.find(std::to_string(id));
    if (found == m_entries.end())
        return false;
    if (control)
        *control = found->second.element;
    if (tag)
        *tag = found->second.tag;
    return true;
}

}  // namespace skelda::skinfile
