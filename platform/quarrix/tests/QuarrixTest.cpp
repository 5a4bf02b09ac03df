// Quarrix: attribute text conversion, and the DOM helpers over Wine's MSXML.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "QorSafeSave.h"
#include "QorXML_API.h"
#include "QorXmlDom.h"
#include "QorXmlText.h"
#include "TestSupport.h"

namespace {

TEST(QuarrixText, DecimalIntegersOnly)
{
    int v = 99;
    EXPECT_TRUE(qorxml::ParseInt32(" -42 ", &v));
    EXPECT_EQ(v, -42);
    EXPECT_TRUE(qorxml::ParseInt32("+7", &v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(qorxml::ParseInt32("2147483647", &v));
    EXPECT_TRUE(qorxml::ParseInt32("-2147483648", &v));
    EXPECT_EQ(v, INT32_MIN);
    v = 99;
    for (const char* bad : {"", " ", "-", "12abc", "0x10", "1.5", "2147483648", "99999999999999999999", "1 2"})
        EXPECT_FALSE(qorxml::ParseInt32(bad, &v)) << bad;
    EXPECT_EQ(v, 99) << "a failed conversion leaves the value alone";

    unsigned char b = 0;
    EXPECT_TRUE(qorxml::ParseByte("255", &b));
    EXPECT_EQ(b, 255);
    EXPECT_FALSE(qorxml::ParseByte("256", &b));
    EXPECT_FALSE(qorxml::ParseByte("-1", &b));
    unsigned int u = 0;
    EXPECT_TRUE(qorxml::ParseUInt32("4294967295", &u));
    EXPECT_EQ(u, 4294967295u);
}

class QuarrixDom : public ::testing::Test {
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
    win::ComPtr<IXMLDOMDocument> document;
};

TEST_F(QuarrixDom, AttributesReadConvertAndWriteBack)
{
    const char xml[] = "<Root><E Num=\"12\" Bad=\"x\" Byte=\"300\" Text=\"Gr&#252;n\" Empty=\"\"/></Root>";
    ASSERT_TRUE(SUCCEEDED(QorXML_API::LoadXmlDocFromMemory(document.Get(), xml, sizeof xml - 1)));
    win::ComPtr<IXMLDOMNode> e;
    ASSERT_TRUE(qorxml::SelectSingle(document.Get(), "Root/E", &e));
    int i = 0;
    EXPECT_TRUE(QorXML_API::GetXmlIntAttribute(e.Get(), "Num", &i));
    EXPECT_EQ(i, 12);
    EXPECT_FALSE(QorXML_API::GetXmlIntAttribute(e.Get(), "Bad", &i));
    EXPECT_FALSE(QorXML_API::GetXmlIntAttribute(e.Get(), "Empty", &i));
    EXPECT_FALSE(QorXML_API::GetXmlIntAttribute(e.Get(), "Missing", &i));
    BYTE b = 0;
    EXPECT_FALSE(QorXML_API::GetXmlByteAttribute(e.Get(), "Byte", &b));
    std::string s;
    EXPECT_TRUE(QorXML_API::GetXmlStringAttribute(e.Get(), "Empty", &s));
    EXPECT_EQ(s, "");
    std::wstring w;
    EXPECT_TRUE(QorXML_API::GetXmlWideStringAttribute(e.Get(), "Text", &w));
    EXPECT_EQ(w, L"Gr\u00fcn");

    EXPECT_TRUE(QorXML_API::SetXmlIntAttribute(e.Get(), "New", -5));
    EXPECT_TRUE(QorXML_API::SetXmlByteAttribute(e.Get(), "Byte", 200));
    EXPECT_TRUE(QorXML_API::GetXmlIntAttribute(e.Get(), "New", &i));
    EXPECT_EQ(i, -5);
    EXPECT_TRUE(QorXML_API::GetXmlByteAttribute(e.Get(), "Byte", &b));
    EXPECT_EQ(b, 200);
    std::string name;
    EXPECT_TRUE(QorXML_API::GetXmlElementTagName(e.Get(), &name));
    EXPECT_EQ(name, "E");
    EXPECT_FALSE(QorXML_API::GetXmlIntAttribute(nullptr, "Num", &i));
}

TEST_F(QuarrixDom, SaveAndLoadAFile)
{
    const char xml[] = "<Root><Child A=\"1\"/><Child A=\"2\"/></Root>";
    ASSERT_TRUE(SUCCEEDED(QorXML_API::LoadXmlDocFromMemory(document.Get(), xml, sizeof xml - 1)));
    const std::string path = testsupport::OutputDir() + "quarrix-save.xml";
    ASSERT_TRUE(SUCCEEDED(QorXML_API::SaveXMLDocToFile(document.Get(), path)));
    win::ComPtr<IXMLDOMDocument> again;
    ASSERT_TRUE(SUCCEEDED(qorxml::CreateDocument(&again)));
    ASSERT_TRUE(SUCCEEDED(QorXML_API::LoadXmlDocFromFile(again.Get(), path)));
    win::ComPtr<IXMLDOMElement> root;
    ASSERT_TRUE(qorxml::DocumentElement(again.Get(), "Root", &root));
    int children = 0;
    qorxml::ForEachChildElement(root.Get(), [&](IXMLDOMNode*) { return ++children < 10; });
    EXPECT_EQ(children, 2);
    IXMLDOMNodeList* list = nullptr;
    ASSERT_TRUE(QorXML_API::GetXmlChildNodes(root.Get(), &list));
    long length = 0;
    list->get_length(&length);
    list->Release();
    EXPECT_EQ(length, 2);
}

TEST_F(QuarrixDom, BadDocumentsFailWithNegativeResults)
{
    const std::string dir = testsupport::OutputDir();
    auto write = [&](const char* name, const std::string& bytes) {
        FILE* f = std::fopen((dir + name).c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return dir + name;
    };
    EXPECT_LT(QorXML_API::LoadXmlDocFromFile(document.Get(), write("empty.xml", "")), 0);
    EXPECT_LT(QorXML_API::LoadXmlDocFromFile(document.Get(), write("cut.xml", "<Root><A B=\"1\"")), 0);
    EXPECT_LT(QorXML_API::LoadXmlDocFromFile(document.Get(), write("two.xml", "<A/><B/>")), 0);
    EXPECT_LT(QorXML_API::LoadXmlDocFromFile(document.Get(), dir + "absent.xml"), 0);
    EXPECT_EQ(QorXML_API::LoadXmlDocFromFile(document.Get(), dir + std::string(300, 'a')),
              HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_LT(QorXML_API::LoadXmlDocFromFile(nullptr, dir + "cut.xml"), 0);
    EXPECT_LT(QorXML_API::SaveXMLDocToFile(document.Get(), dir + "no\\such\\folder\\x.xml"), 0);
    EXPECT_FALSE(qorxml::SystemMessageText(E_FAIL).empty());
}

TEST(SafeSave, AWriteThatFailsHalfWayLeavesTheFileWholeAndNoTemporaryBehind)
{
    const std::string folder = testsupport::OutputDir();
    const std::string target = folder + "safe-save.xml";
    const auto read = [&] {
        std::ifstream in(target, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    std::ofstream(target, std::ios::binary) << "<original/>";
    std::string used;
    HRESULT hr = qorxml::SaveReplacing(target, [&](const std::string& temporary) {
        used = temporary;
        std::ofstream(temporary, std::ios::binary) << "<trunc";  // the disk filled up here
        return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    });
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_DISK_FULL));
    EXPECT_EQ(read(), "<original/>");
    EXPECT_EQ(used.rfind(folder, 0), 0u) << "written beside the target: " << used;
    EXPECT_EQ(GetFileAttributesA(used.c_str()), INVALID_FILE_ATTRIBUTES) << "the partial file is removed";

    hr = qorxml::SaveReplacing(target, [](const std::string& temporary) {
        std::ofstream(temporary, std::ios::binary) << "<saved/>";
        return S_OK;
    });
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(read(), "<saved/>");
}

}  // namespace
