#pragma once
// Binds the children of a skinned dialog to the skinned control classes their skin elements
// name (buttons, edits, transparent statics, sliders, generic wrappers) and owns those objects,
// for dialogs that do not keep a member per control.
#include <string>
#include <vector>

#include "EQorDialog.h"
#include "SkeldaExport.h"

class SKELDA_API EQorSkinnedControlSet {
public:
    EQorSkinnedControlSet();
    ~EQorSkinnedControlSet();
    EQorSkinnedControlSet(const EQorSkinnedControlSet&) = delete;
    EQorSkinnedControlSet& operator=(const EQorSkinnedControlSet&) = delete;

    // Call after the dialog's window exists and before InitializeQorDialog. Children already
    // bound, children without a skin element and the ids in `skip` are left alone. Returns the
    // number of controls bound; 0 when the engine has no document or no dialog `name`.
    int Bind(EQorDialog& dialog, const std::string& name, const std::vector<int>& skip = {});

private:
    struct Controls;
    Controls* m_controls;
};
