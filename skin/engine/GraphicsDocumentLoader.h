#pragma once
// Loading the skin graphics document from an XML file or from the "GRAPHICS" resource of a
// resource library, and reading its button template list.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "GraphicsEngineState.h"

namespace skelda {

// Negative when the file does not load as XML; S_FALSE when it loads but is not a skin
// graphics document ("QorAppGraphics").
HRESULT LoadGraphicsFromFile(IXMLDOMDocument* document, const std::string& path);

// The resource's id: the text library's alternate id when it used one, else `languageId`,
// else 1033 when no resource has that id.
bool LoadGraphicsFromLibrary(IXMLDOMDocument* document, const std::string& path, DWORD languageId,
                             QorText_API& text);

// "QorAppGraphics/QorTemplates", its "QorButtonTemplates" child and that element's
// "QorButtonTemplate" children in document order, with their "TemplateName".
void ReadButtonTemplates(GraphicsEngineState* state);

}  // namespace skelda
