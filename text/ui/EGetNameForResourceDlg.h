#pragma once
// "Assign Name to New Control": the readable name of a new control, typed or found in a
// resource header by the control's number.
#include <framework/Framework.h>

#include <memory>
#include <string>

namespace lorvane {

namespace editing {
class HeaderSearch;
}

class EGetNameForResourceDlg : public CDialog {
public:
    EGetNameForResourceDlg(int controlId, const std::string& name);
    ~EGetNameForResourceDlg() override;
    const std::string& Name() const { return m_name; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnBrowse();
    void OnFindNext();
    void OnRestart();
    // The header named in the path field, read once per path; false when it cannot be read.
    bool OpenHeader();

    int m_controlId;
    std::string m_name;
    std::string m_openPath;
    std::unique_ptr<editing::HeaderSearch> m_search;
};

}  // namespace lorvane
