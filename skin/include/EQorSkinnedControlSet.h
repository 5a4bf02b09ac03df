#pragma once
// Binds the children of a skinned dialog to the skinned control classes their skin elements
// name (buttons, edits, transparent statics, sliders, generic wrappers) and owns those objects,
// for dialogs that do not keep a member per control.
#include <string>
#include <vector>

#include "DialogTemplateItems.h"
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
    // The same for a dialog made from a copy of its template without `items`
    // (SplitDialogTemplate): creates each of those items where the template had it, in the
    // z-order and tab order, with the dialog's font, as the dialog manager would. An item whose
    // element is a button or a transparent static (and not in `skip`) is made at once as the
    // skin's window, bound to its skinned object, so that it is created only once. Call from
    // the dialog's initialisation, before its data exchange binds any of them. Items also left
    // out of the copy but kept for CreateLater are passed as `later`: their places stay free.
    int CreateAndBind(EQorDialog& dialog, const std::string& name, const std::vector<skelda::DialogTemplateItem>& items,
                      const std::vector<int>& skip = {}, const std::vector<skelda::DialogTemplateItem>& later = {});

    // Creates and binds `items` of a dialog set up by CreateAndBind that were left out of it,
    // for controls made only when first needed: each is placed in the z-order and tab order
    // where the template had it. Call InitializeAddedControls on the dialog afterwards.
    int CreateLater(EQorDialog& dialog, const std::string& name, const std::vector<skelda::DialogTemplateItem>& items,
                    const std::vector<int>& skip = {});

private:
    struct Placed;
    struct Controls;
    class Binder;
    Controls* m_controls;
};
