#pragma once
// A fixture for tests of the text library over the test text document: the document is opened
// afresh for each test under its own registry key, and the messages shown are recorded; and
// the answering of its dialogs from a second thread.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "EngineTestSupport.h"
#include "QorText_API.h"

// Runs `answer` on a second thread with the dialog titled `title` once it is shown (waiting up
// to 15 s), while the test's thread runs the dialog; `shown` tells whether it came.
class DialogAnswer {
public:
    DialogAnswer(const char* title, std::function<void(HWND)> answer)
        : thread_([this, title, answer] {
              for (int waited = 0; waited < 15000; waited += 20) {
                  HWND dialog = FindWindowA("#32770", title);
                  if (dialog && IsWindowVisible(dialog)) {
                      answer(dialog);
                      shown = true;
                      return;
                  }
                  Sleep(20);
              }
          })
    {
    }
    ~DialogAnswer() { thread_.join(); }
    std::atomic<bool> shown{false};

private:
    std::thread thread_;
};

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
