#pragma once
// The kind of text element (QorTextControlKind) a skinned control of each type gets.
#include "QorControlTypes.h"
#include "QorTextTypes.h"

namespace skelda::editing {

inline int TextKindOf(eControlType type)
{
    switch (type) {
    case eQorButton: return QorTextButton;
    case eQorEdit: return QorTextEdit;
    case eQorTransparentStatic: return QorTextTransparentStatic;
    case eQorSlider: return QorTextSlider;
    default: return QorTextGenericSimple;
    }
}

}  // namespace skelda::editing
