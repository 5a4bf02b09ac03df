// The process-wide engine state.
#include "GraphicsEngineState.h"

#include "QorXML_API.h"

namespace skelda {

void GraphicsEngineState::ReleaseDocuments()
{
    text.ReleaseAllNodes();
    buttonTemplates.clear();
    templatesNode.Reset();
    graphicsDocument.Reset();
}

GraphicsEngineState& EngineState()
{
    // Never destroyed: COM objects must not be released while the process unloads its
    // modules; ShutdownCleanup releases everything in an orderly exit.
    static GraphicsEngineState* state = new GraphicsEngineState;
    return *state;
}

IXMLDOMNode* FindButtonTemplate(const std::string& name)
{
    for (const auto& entry : EngineState().buttonTemplates)
        if (entry.first == name)
            return entry.second.Get();
    return nullptr;
}

}  // namespace skelda
