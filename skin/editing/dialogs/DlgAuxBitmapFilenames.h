#pragma once
// "Set Auxiliary Bitmap Filenames": the dialog's auxiliary entries with their bitmap files.
// OK takes only files that load as bitmaps; a file that does not is named and the dialog
// stays open.
#include <framework/Framework.h>

#include <string>
#include <vector>

namespace skelda {

class DlgAuxBitmapFilenames : public CDialog {
public:
    struct Entry {
        int entryId = 0;
        std::string name, path;  // the path in full
        bool changed = false;
    };

    DlgAuxBitmapFilenames(std::vector<Entry> entries, CWnd* parent);
    const std::vector<Entry>& Entries() const { return m_entries; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void KeepTypedPath();
    void ShowSelected();

    std::vector<Entry> m_entries;
    int m_selected = -1;
};

}  // namespace skelda
