#include "world/PhysicsStepFactor.h"

#include "app/App.h"
#include "app/CommandLineParser.h"

namespace zentrix {

float GetPhysicsStepFactor() {
    const CCommandLineParser* parser = g_pApp ? g_pApp->GetCommandLineParser() : nullptr;
    return parser && parser->UseGameTimer() ? 0.05f : 0.04f;
}

} // namespace zentrix
