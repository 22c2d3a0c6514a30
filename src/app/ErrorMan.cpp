#include "app/ErrorMan.h"

#include <system_error>

namespace zentrix {

namespace {

constexpr const char* kLogFiles[CErrorMan::kChannelCount] = {
    "app.log",      "3dman.log",       "tex.log",           "fatalerror.log",    "fileaccess.log",
    "data.log",     "performance.log", "WorldObject.log",   "FilterInclude.log", "FilterExclude.log",
    "IOTimer.log",  "IO1.log",         "IO2.log",           "IO3.log",           "IO4.log",
    "Workshop.log", "StartUp.log",     "ScriptParsing.log", "Sound.log",         "RouteNode.log",
    "Cache.log",
};

constexpr int kInvalidHandle = -1;

// The input logs hold recorded input for playback, so they survive from run to run.
bool IsInputLog(int channel) {
    return channel >= 11 && channel <= 14;
}

} // namespace

CErrorMan::CErrorMan(const std::filesystem::path& startFolder) {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        m_handles[channel] = kInvalidHandle;
        if (IsInputLog(channel))
            continue;
        std::error_code ignored;
        std::filesystem::remove(startFolder / kLogFiles[channel], ignored);
    }
}

CErrorMan::~CErrorMan() {
    CloseAll();
}

void CErrorMan::CloseAll() {
    for (int& handle : m_handles)
        handle = kInvalidHandle;
}

const char* CErrorMan::GetLogFileName(int channel) {
    return (channel >= 0 && channel < kChannelCount) ? kLogFiles[channel] : nullptr;
}

bool CErrorMan::ReadLog(int channel, void* /*buffer*/, std::size_t /*byteCount*/) {
    if (channel < 0 || channel >= kChannelCount)
        return false;
    return m_handles[channel] != kInvalidHandle;
}

void CErrorMan::Log(int /*level*/, int /*category*/, const char* /*format*/, ...) {}

void CErrorMan::Print(int /*channel*/, const char* /*text*/) {}

void CErrorMan::WriteText(int /*channel*/, const char* /*text*/) {}

void CErrorMan::WriteError(int /*channel*/, const char* /*text*/, long /*errorCode*/) {}

void CErrorMan::LogMixerError(int /*category*/) {}

} // namespace zentrix
