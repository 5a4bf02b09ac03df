#pragma once
// A fixture for tests of the text library over the test text document: the document is opened
// afresh for each test under its own registry key, and the messages shown are recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "QorText_API.h"

class TextDocumentTest : public ::testing::Test {
protected:
    explicit TextDocumentTest(const char* registryKey) : registryKey_(registryKey) {}
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(text.OpenTextFile(registryKey_, enginetest::DataDir() + "Text1033.xml", 1033));
    }
    void TearDown() override
    {
        text.ReleaseAllNodes();
        CoUninitialize();
    }
    // The captions of the messages shown so far, in order.
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        for (const auto& m : ui.messages)
            captions.push_back(m.caption);
        return captions;
    }

    enginetest::RecordingUi ui;
    QorText_API text;

private:
    const char* registryKey_;
};
