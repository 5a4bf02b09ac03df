#pragma once
// Runs damaged skin inputs through the real loaders: bitmaps through the skin's bitmap loading
// and region building, graphics and text documents through the engine's start-up (and the
// text document's fonts through the text library and the system's font code). Each outcome
// says what happened and whether it was what the skin framework promises.
#include <string>
#include <utility>
#include <vector>

#include "DamageGenerator.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"

namespace damage {

enum class Kind { Bitmap, Graphics, Text };

bool ParseKind(const std::string& name, Kind* kind);

struct Outcome {
    std::string what;     // the damage done
    bool loaded = false;  // the loader accepted the input
    std::string problem;  // empty when the outcome is the documented one
    double seconds = 0;
};

// Loads above this are reported as hangs.
constexpr double kHangSeconds = 15.0;

class Runner {
public:
    // `skinDir` holds the shipped skin the damage starts from.
    explicit Runner(const std::string& skinDir);
    Outcome Run(Kind kind, unsigned seed, int index);

private:
    void RunBitmap(const Sample& sample, Outcome* outcome);
    void RunDocument(Kind kind, const Sample& sample, Outcome* outcome);
    void CheckFonts(Outcome* outcome);

    std::string scratch_;
    std::vector<std::string> bitmaps_;
    std::string graphicsPath_, textPath_, graphics_, text_;
    std::vector<std::pair<int, int>> fontControls_;  // (dialog, control) pairs with a font
    enginetest::RecordingUi ui_;
    enginetest::AppKey app_{"SkinDamage"};
    QorGraphicsEngineAPI api_;
};

}  // namespace damage
