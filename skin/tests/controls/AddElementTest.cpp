// Skinned controls adding their own element to the dialog's element, as the editing mode asks
// of a control the skin file does not know yet.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlDialog.h"
#include "QorXmlDom.h"

using namespace controltest;

namespace {

class AddElementTest : public ShownDialogTest<ControlsDialog> {
protected:
    void TearDown() override
    {
        // The dialog's element belongs to the engine's document, which outlives this test.
        for (auto& element : added) {
            win::ComPtr<IXMLDOMNode> removed;
            root->removeChild(element.Get(), removed.Put());
        }
        ShownDialogTest::TearDown();
    }

    // The child element `name` of the dialog's element whose "ControlIdValue" is `id`.
    win::ComPtr<IXMLDOMNode> Added(const char* name, int id)
    {
        win::ComPtr<IXMLDOMNode> found;
        qorxml::ForEachChildElement(root, [&](IXMLDOMNode* child) {
            std::string tag, value;
            if (qorxml::NodeName(child, &tag) && tag == name && qorxml::GetAttribute(child, "ControlIdValue", &value) &&
                value == std::to_string(id)) {
                found = win::ComPtr<IXMLDOMNode>::Share(child);
                return false;
            }
            return true;
        });
        if (found)
            added.push_back(found);
        return found;
    }

    static std::string Attribute(IXMLDOMNode* element, const char* name)
    {
        std::string value = "(none)";
        qorxml::GetAttribute(element, name, &value);
        return value;
    }

    // The control's rectangle in the dialog, as the element should hold it.
    static RECT Place(IQorControlCommon& control)
    {
        RECT rect{};
        EXPECT_EQ(control.GetQorRect(&rect), 0);
        return rect;
    }

    IXMLDOMNode* root = nullptr;
    std::vector<win::ComPtr<IXMLDOMNode>> added;
};

}  // namespace

TEST_F(AddElementTest, EachKindWritesItsPlaceAndSizeUnderItsOwnNames)
{
    root = dialog.GetDlgRootNode();
    ASSERT_NE(root, nullptr);

    ASSERT_EQ(dialog.edit.AddNewQorControl(root, 4301), 0);
    win::ComPtr<IXMLDOMNode> edit = Added("QorEditControl", 4301);
    ASSERT_TRUE(edit);
    const RECT editPlace = Place(dialog.edit);
    EXPECT_EQ(Attribute(edit.Get(), "ControlXOffset"), std::to_string(editPlace.left));
    EXPECT_EQ(Attribute(edit.Get(), "ControlYOffset"), std::to_string(editPlace.top));
    // The edit alone keeps its size as "Width" and "Height".
    EXPECT_EQ(Attribute(edit.Get(), "Width"), std::to_string(editPlace.right - editPlace.left));
    EXPECT_EQ(Attribute(edit.Get(), "Height"), std::to_string(editPlace.bottom - editPlace.top));
    EXPECT_EQ(Attribute(edit.Get(), "ControlWidth"), "(none)");
    EXPECT_NE(Attribute(edit.Get(), "BackgroundStyle"), "(none)");

    ASSERT_EQ(dialog.slider.AddNewQorControl(root, 4302), 0);
    win::ComPtr<IXMLDOMNode> slider = Added("QorSliderControl", 4302);
    ASSERT_TRUE(slider);
    const RECT sliderPlace = Place(dialog.slider);
    EXPECT_EQ(Attribute(slider.Get(), "ControlXOffset"), std::to_string(sliderPlace.left));
    EXPECT_EQ(Attribute(slider.Get(), "ControlYOffset"), std::to_string(sliderPlace.top));
    EXPECT_EQ(Attribute(slider.Get(), "ControlWidth"), std::to_string(sliderPlace.right - sliderPlace.left));
    EXPECT_EQ(Attribute(slider.Get(), "ControlHeight"), std::to_string(sliderPlace.bottom - sliderPlace.top));

    // A button takes its size from its bitmaps, so its element holds only its place.
    ASSERT_EQ(dialog.button.AddNewQorControl(root, 4303), 0);
    win::ComPtr<IXMLDOMNode> button = Added("QorBtnControl", 4303);
    ASSERT_TRUE(button);
    const RECT buttonPlace = Place(dialog.button);
    EXPECT_EQ(Attribute(button.Get(), "ControlXOffset"), std::to_string(buttonPlace.left));
    EXPECT_EQ(Attribute(button.Get(), "ControlYOffset"), std::to_string(buttonPlace.top));
    EXPECT_EQ(Attribute(button.Get(), "ControlWidth"), "(none)");
}

TEST_F(AddElementTest, NothingIsAddedWithoutADialogElementOrAWindow)
{
    root = dialog.GetDlgRootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_NE(dialog.edit.AddNewQorControl(nullptr, 4304), 0);
    EQorSlider unbound;
    EXPECT_NE(unbound.AddNewQorControl(root, 4305), 0);
    EXPECT_FALSE(Added("QorSliderControl", 4305));
}
