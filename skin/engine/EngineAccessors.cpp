// Read access to the engine's decisions and the editing mode's change flags.
#include "GraphicsEngineState.h"
#include "QorGraphicsEngineAPI.h"

using skelda::EngineState;

std::string QorGraphicsEngineAPI::GetGraphicsFilePath()
{
    return EngineState().graphicsFilePath;
}

std::string QorGraphicsEngineAPI::GetTextFilePath()
{
    return EngineState().textFilePath;
}

std::string QorGraphicsEngineAPI::GetParentFolder()
{
    return EngineState().parentFolder;
}

QorDebugOptions QorGraphicsEngineAPI::GetDebugOptions()
{
    return EngineState().debug;
}

bool QorGraphicsEngineAPI::GetGraphicsDocument(IXMLDOMDocument** document)
{
    IXMLDOMDocument* held = EngineState().graphicsDocument.Get();
    if (!document || !held)
        return false;
    held->AddRef();
    *document = held;
    return true;
}

bool QorGraphicsEngineAPI::GetButtonTemplate(const std::string& name, IXMLDOMNode** element)
{
    IXMLDOMNode* found = skelda::FindButtonTemplate(name);
    if (!element || !found)
        return false;
    found->AddRef();
    *element = found;
    return true;
}

int QorGraphicsEngineAPI::GetButtonTemplateCount()
{
    return static_cast<int>(EngineState().buttonTemplates.size());
}

void QorGraphicsEngineAPI::SetGraphicsChanged(bool changed)
{
    EngineState().graphicsChanged = changed;
}

void QorGraphicsEngineAPI::SetTextChanged(bool changed)
{
    EngineState().textChanged = changed;
}

bool QorGraphicsEngineAPI::GetGraphicsChanged()
{
    return EngineState().graphicsChanged;
}

bool QorGraphicsEngineAPI::GetTextChanged()
{
    return EngineState().textChanged || EngineState().text.TextChanged();
}
