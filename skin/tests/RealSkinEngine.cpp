// The engine over a copy of the real skin, for the message box and menu tests.
#include "RealSkinEngine.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace enginetest {

RealSkinEngine::RealSkinEngine(const std::string& skinDir, const std::string& applicationName)
    : app_(applicationName)
{
    // File by file: copying a folder onto the existing skin folder is refused here.
    for (const auto& entry : fs::recursive_directory_iterator(skinDir)) {
        const fs::path target = fs::path(folder_.Path()) / fs::relative(entry.path(), skinDir);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
    }
    app_.SetDword("ShowGraphicsErrorDialogs", 1);
    ui_.debugAnswer = true;
    ui_.debugChoice.reportLoadFailures = true;
    started_ = api_.InitializeGraphicsEngine(app_.Name(), "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient",
                                             1033);
}

RealSkinEngine::~RealSkinEngine()
{
    Shutdown();
}

void RealSkinEngine::Shutdown()
{
    if (started_)
        api_.ShutdownCleanup();
    started_ = false;
}

}  // namespace enginetest
