// Fixed-order attribute reading and writing of text settings and fonts.
#include "TextFieldReader.h"

#include "FontLimits.h"

#include <cstring>
#include <string>

#include "QorXML_API.h"

namespace lorvane {

std::vector<TextField> ButtonFields(QorButtonTextSettings* s)
{
    return {
        {"CenterTextHorizontally", TextField::Flag, &s->centerHorizontally},
        {"CenterTextVertically", TextField::Flag, &s->centerVertically},
        {"XoffsetUp", TextField::Number, &s->xOffsetUp},
        {"YoffsetUp", TextField::Number, &s->yOffsetUp},
        {"XoffsetDown", TextField::Number, &s->xOffsetDown},
        {"YoffsetDown", TextField::Number, &s->yOffsetDown},
        {"XoffsetFocus", TextField::Number, &s->xOffsetFocus},
        {"YoffsetFocus", TextField::Number, &s->yOffsetFocus},
        {"XoffsetDisabled", TextField::Number, &s->xOffsetDisabled},
        {"YoffsetDisabled", TextField::Number, &s->yOffsetDisabled},
        {"TextColor1", TextField::Color, &s->textColor[0]},
        {"TextColor2", TextField::Color, &s->textColor[1]},
        {"TextColor3", TextField::Color, &s->textColor[2]},
        {"DisabledTextColor1", TextField::Color, &s->disabledTextColor[0]},
        {"DisabledTextColor2", TextField::Color, &s->disabledTextColor[1]},
        {"DisabledTextColor3", TextField::Color, &s->disabledTextColor[2]},
        {"ThreeD", TextField::Flag, &s->threeD},
        {"Indented", TextField::Flag, &s->indented},
        {"UseHilite", TextField::Flag, &s->useHilite},
        {"UseShadow", TextField::Flag, &s->useShadow},
    };
}

std::vector<TextField> StaticFields(QorStaticTextSettings* s)
{
    return {
        {"CenterTextHorizontally", TextField::Flag, &s->centerHorizontally},
        {"CenterTextVertically", TextField::Flag, &s->centerVertically},
        {"Xoffset", TextField::Number, &s->xOffset},
        {"Yoffset", TextField::Number, &s->yOffset},
        {"TextColor1", TextField::Color, &s->textColor[0]},
        {"TextColor2", TextField::Color, &s->textColor[1]},
        {"TextColor3", TextField::Color, &s->textColor[2]},
        {"DisabledTextColor1", TextField::Color, &s->disabledTextColor[0]},
        {"DisabledTextColor2", TextField::Color, &s->disabledTextColor[1]},
        {"DisabledTextColor3", TextField::Color, &s->disabledTextColor[2]},
        {"ThreeD", TextField::Flag, &s->threeD},
        {"Indented", TextField::Flag, &s->indented},
        {"UseHilite", TextField::Flag, &s->useHilite},
        {"UseShadow", TextField::Flag, &s->useShadow},
    };
}

std::vector<TextField> EditFields(QorEditTextSettings* s)
{
    return {
        {"Allignment", TextField::Number, &s->alignment},
        {"CenterTextHorizontally", TextField::Flag, &s->centerHorizontally},
        {"CenterTextVertically", TextField::Flag, &s->centerVertically},
        {"TextColor", TextField::Color, &s->textColor},
        {"DisabledTextColor", TextField::Color, &s->disabledTextColor},
        {"BackgroundColor", TextField::Color, &s->backgroundColor},
    };
}

std::vector<TextField> ColorFields(QorTextColors* c)
{
    static const char* const kNames[4][3] = {
        {"TextColor1", "TextColor2", "TextColor3"},
        {"DownTextColor1", "DownTextColor2", "DownTextColor3"},
        {"FocusTextColor1", "FocusTextColor2", "FocusTextColor3"},
        {"DisabledTextColor1", "DisabledTextColor2", "DisabledTextColor3"},
    };
    COLORREF* triples[4] = {c->text, c->down, c->focus, c->disabled};
    std::vector<TextField> fields;
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 3; ++i)
            fields.push_back({kNames[t][i], TextField::Color, &triples[t][i]});
    return fields;
}

bool ReadFields(IXMLDOMNode* element, const std::vector<TextField>& fields)
{
    if (!element)
        return false;
    for (const TextField& field : fields) {
        int value = 0;
        if (!QorXML_API::GetXmlIntAttribute(element, field.name, &value))
            return false;
        switch (field.kind) {
        case TextField::Flag: *static_cast<bool*>(field.target) = value != 0; break;
        case TextField::Number: *static_cast<int*>(field.target) = value; break;
        case TextField::Color: *static_cast<COLORREF*>(field.target) = static_cast<COLORREF>(value); break;
        }
    }
    return true;
}

bool WriteFields(IXMLDOMNode* element, const std::vector<TextField>& fields)
{
    if (!element)
        return false;
    for (const TextField& field : fields) {
        int value = 0;
        switch (field.kind) {
        case TextField::Flag: value = *static_cast<bool*>(field.target) ? 1 : 0; break;
        case TextField::Number: value = *static_cast<int*>(field.target); break;
        case TextField::Color: value = static_cast<int>(*static_cast<COLORREF*>(field.target)); break;
        }
        if (!QorXML_API::SetXmlIntAttribute(element, field.name, value))
            return false;
    }
    return true;
}

bool ReadLogFont(IXMLDOMNode* fontElement, LOGFONTA* font)
{
    if (!font)
        return false;
    std::memset(font, 0, sizeof(*font));
    if (!fontElement)
        return false;
    // Missing attributes read as 0 or an empty face, as the structure was cleared.
    long l = 0;
    if (QorXML_API::GetXmlLongAttribute(fontElement, "FontHeight", &l)) font->lfHeight = l;
    if (QorXML_API::GetXmlLongAttribute(fontElement, "FontWidth", &l)) font->lfWidth = l;
    if (QorXML_API::GetXmlLongAttribute(fontElement, "FontEscapement", &l)) font->lfEscapement = l;
    if (QorXML_API::GetXmlLongAttribute(fontElement, "FontOrientation", &l)) font->lfOrientation = l;
    if (QorXML_API::GetXmlLongAttribute(fontElement, "FontWeight", &l)) font->lfWeight = l;
    QorXML_API::GetXmlByteAttribute(fontElement, "FontItalic", &font->lfItalic);
    QorXML_API::GetXmlByteAttribute(fontElement, "FontUnderline", &font->lfUnderline);
    QorXML_API::GetXmlByteAttribute(fontElement, "FontStrikeOut", &font->lfStrikeOut);
    QorXML_API::GetXmlByteAttribute(fontElement, "FontCharSet", &font->lfCharSet);
    QorXML_API::GetXmlByteAttribute(fontElement, "FontOutPrecision", &font->lfOutPrecision);
    QorXML_API::GetXmlByteAttribute(fontElement, "FontClipPrecision", &font->lfClipPrecision);
    QorXML_API::GetXmlByteAttribute(fontElement, "FontQuality", &font->lfQuality);
    QorXML_API::GetXmlByteAttribute(fontElement, "FontPitchAndFamily", &font->lfPitchAndFamily);
    std::string face;
    if (QorXML_API::GetXmlStringAttribute(fontElement, "FaceName", &face))
        lstrcpynA(font->lfFaceName, face.c_str(), LF_FACESIZE);  // at most 31 characters
    KeepFontSizesSane(font);
    return true;
}

bool WriteLogFont(IXMLDOMNode* fontElement, const LOGFONTA& font)
{
    if (!fontElement)
        return false;
    // The face may fill all 32 bytes without a terminator; at most 31 characters are kept.
    const std::string face(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE - 1));
    return QorXML_API::SetXmlLongAttribute(fontElement, "FontHeight", font.lfHeight) &&
           QorXML_API::SetXmlLongAttribute(fontElement, "FontWidth", font.lfWidth) &&
           QorXML_API::SetXmlLongAttribute(fontElement, "FontEscapement", font.lfEscapement) &&
           QorXML_API::SetXmlLongAttribute(fontElement, "FontOrientation", font.lfOrientation) &&
           QorXML_API::SetXmlLongAttribute(fontElement, "FontWeight", font.lfWeight) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontItalic", font.lfItalic) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontUnderline", font.lfUnderline) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontStrikeOut", font.lfStrikeOut) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontCharSet", font.lfCharSet) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontOutPrecision", font.lfOutPrecision) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontClipPrecision", font.lfClipPrecision) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontQuality", font.lfQuality) &&
           QorXML_API::SetXmlByteAttribute(fontElement, "FontPitchAndFamily", font.lfPitchAndFamily) &&
           QorXML_API::SetXmlStringAttribute(fontElement, "FaceName", face);
}

}  // namespace lorvane
