#pragma once
// The television sound dialog ("SAPDialog"): the second audio program with its two
// languages, and stereo. Every change is put on the TV audio filter at once.
#include <functional>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"
#include "TvAudioMode.h"

namespace shell {

class SapDialog : public EQorDialog {
public:
    // `apply` puts a choice on the filter; `choice` is the current one and receives the last.
    SapDialog(tuner::TvAudioChoice& choice, std::function<void(const tuner::TvAudioChoice&)> apply,
              CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;

private:
    void ShowChoice();
    void TakeChoice();

    tuner::TvAudioChoice& m_choice;
    std::function<void(const tuner::TvAudioChoice&)> m_apply;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
