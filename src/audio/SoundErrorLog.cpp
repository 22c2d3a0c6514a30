#include "audio/SoundErrorLog.h"

#include "app/App.h"
#include "app/ErrorMan.h"
#include "platform/system/DebugOutput.h"

namespace zentrix {

void LogSoundError(const std::string& text) {
    plat::system::DebugOutput("sound: " + text);
    if (CErrorMan* errors = g_pApp ? g_pApp->GetErrorMan() : nullptr)
        errors->Print(CErrorMan::kSoundLog, text.c_str());
}

} // namespace zentrix
