// Documents that declare a document type are refused before parsing, in every encoding the
// parser would accept, and the refusal reaches callers as a load failure.
#include <gtest/gtest.h>

#include <string>

#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "QorXmlProlog.h"

namespace {

bool Declares(const std::string& bytes)
{
    return qorxml::DeclaresDocumentType({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

// The ASCII text in UTF-16 or UTF-32 of either byte order, with a byte-order mark when asked.
std::string Widen(const std::string& ascii, int width, bool bigEndian, bool mark)
{
    std::string out;
    auto unit = [&](unsigned value) {
        for (int i = 0; i < width; ++i) {
            const int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
            out += static_cast<char>((value >> shift) & 0xFF);
        }
    };
    if (mark)
        unit(0xFEFF);
    for (char c : ascii)
        unit(static_cast<unsigned char>(c));
    return out;
}

const char kEntityBomb[] =
    "<?xml version=\"1.0\"?>\n<!DOCTYPE QorAppText [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">]>\n"
    "<QorAppText><QorAppMessages><QorMessage MessageId=\"102\" Text=\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"/>"
    "</QorAppMessages></QorAppText>";

}  // namespace

TEST(XmlProlog, FindsTheDeclarationWhereverTheProloguePutsIt)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool declares;
    } cases[] = {
        {"plain document", "<Root a=\"1\"/>", false},
        {"declaration and comment", "<?xml version=\"1.0\"?>\r\n<!-- skin -->\n<Root/>", false},
        {"doctype first", "<!DOCTYPE Root><Root/>", true},
        {"after the XML declaration", "<?xml version=\"1.0\"?><!DOCTYPE Root [<!ENTITY a \"b\">]><Root/>", true},
        {"after comments and instructions", "  <!-- a --><?pi x?>\t<!-- <Root/> -->\n<!DOCTYPE Root><Root/>", true},
        {"lower case", "<!doctype Root><Root/>", true},
        {"after a UTF-8 mark", "\xEF\xBB\xBF<!DOCTYPE Root><Root/>", true},
        {"inside a comment only", "<!-- <!DOCTYPE Root> --><Root/>", false},
        {"in the body as text", "<Root><![CDATA[<!DOCTYPE x>]]></Root>", false},
        {"unclosed comment", "<!-- <!DOCTYPE Root>", false},
        {"unclosed instruction", "<?xml <!DOCTYPE Root>", false},
        {"empty", "", false},
        {"blanks only", " \r\n\t", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Declares(c.bytes), c.declares) << c.name;
}

TEST(XmlProlog, WideEncodingsOfEitherByteOrder)
{
    const std::string with = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<!DOCTYPE Root><Root/>";
    const std::string without = "<?xml version=\"1.0\"?>\n<Root/>";
    for (int width : {2, 4})
        for (bool big : {false, true})
            for (bool mark : {false, true}) {
                SCOPED_TRACE(std::to_string(width) + (big ? " big" : " little") + (mark ? " marked" : ""));
                EXPECT_TRUE(Declares(Widen(with, width, big, mark)));
                EXPECT_FALSE(Declares(Widen(without, width, big, mark)));
            }
}

class DocumentTypes : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(SUCCEEDED(qorxml::CreateDocument(&document)));
    }
    void TearDown() override
    {
        document.Reset();
        CoUninitialize();
    }
    HRESULT Load(const std::string& bytes)
    {
        return QorXML_API::LoadXmlDocFromMemory(document.Get(), bytes.data(), bytes.size());
    }
    win::ComPtr<IXMLDOMDocument> document;
};

TEST_F(DocumentTypes, AreRefusedAsLoadFailuresWithoutExpandingAnything)
{
    const std::string bombs[] = {
        kEntityBomb,
        "<!DOCTYPE R [<!ENTITY a \"x\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;\">]>"
        "<R v=\"&c;\"/>",
        "<!DOCTYPE R [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><R>&e;</R>",
        "<!DOCTYPE R SYSTEM \"http://example.invalid/r.dtd\"><R/>",
        "<!DOCTYPE R [<!ENTITY % p \"<!ENTITY q 'x'>\"> %p;]><R/>",
        Widen("<!DOCTYPE R [<!ENTITY a \"x\">]><R v=\"&a;\"/>", 2, false, true),
    };
    for (const std::string& bomb : bombs) {
        EXPECT_EQ(Load(bomb), qorxml::kDocumentTypeRefused) << bomb;
        win::ComPtr<IXMLDOMElement> root;
        EXPECT_FALSE(qorxml::DocumentElement(document.Get(), nullptr, &root)) << "nothing of it is kept";
    }
    // The engine shows the system's text for the code, so there must be one.
    EXPECT_NE(qorxml::SystemMessageText(qorxml::kDocumentTypeRefused).rfind("0x", 0), 0u);
}

TEST_F(DocumentTypes, TheParserReportsTheDeclarationForTheCheckAfterLoading)
{
    // Parsed without the byte check, as a parser that ignores the prohibition would: the
    // declaration must still be visible to the check that runs before anything is read.
    const std::wstring xml = L"<!DOCTYPE R [<!ENTITY a \"x\">]><R v=\"&a;\"/>";
    BSTR text = SysAllocString(xml.c_str());
    VARIANT_BOOL ok = VARIANT_FALSE;
    const HRESULT hr = document->loadXML(text, &ok);
    SysFreeString(text);
    const bool refusedByParser = hr != S_OK || ok != VARIANT_TRUE;
    win::ComPtr<IXMLDOMDocumentType> type;
    const bool seen = !refusedByParser && document->get_doctype(type.Put()) == S_OK && type;
    EXPECT_TRUE(refusedByParser || seen);
}

TEST_F(DocumentTypes, DocumentsWithoutOneStillLoadInEveryEncoding)
{
    const std::string plain = "<?xml version=\"1.0\"?>\n<!-- c --><Root a=\"&amp;&#65;\"/>";
    EXPECT_EQ(Load(plain), S_OK);
    EXPECT_EQ(Load(Widen("<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root a=\"1\"/>", 2, false, true)), S_OK);
    win::ComPtr<IXMLDOMNode> root;
    ASSERT_TRUE(qorxml::SelectSingle(document.Get(), "Root", &root));
    std::string a;
    EXPECT_TRUE(qorxml::GetAttribute(root.Get(), "a", &a));
    EXPECT_EQ(a, "1");
}
