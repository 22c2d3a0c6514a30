// The keyword table of the script language: every trigger and effect with its named parameters, each
// with its type, the slot the run time reads it from and, for ints and floats, its permitted range.
// The defaults stored with the ranges are for reference only: a parameter left out of a script is
// absent from the parsed item, and the class of the trigger or effect decides what that means.
#include "events/ScriptParser.h"

#include <array>

namespace zentrix {

namespace {

using CParamDesc = CScriptParser::CParamDesc;
using CKeyword = CScriptParser::CKeyword;
using CIntRange = CScriptParser::CIntDataRange;
using CFloatRange = CScriptParser::CScalarDataRange;

constexpr std::int32_t kFloat = CScriptParser::kTypeFloat;
constexpr std::int32_t kInt = CScriptParser::kTypeInt;
constexpr std::int32_t kVector = CScriptParser::kTypeVector;
constexpr std::int32_t kList = CScriptParser::kTypeIntList;

// Ranges shared by several parameters.
constexpr CIntRange kTimer(0, 500000, 1000);
constexpr CIntRange kFlag0(0, 1, 0);
constexpr CIntRange kFlag1(0, 1, 1);
constexpr CIntRange kUpTo100000(0, 100000, 1000);
constexpr CIntRange kUpTo10000000(0, 10000000, 1000);
constexpr CFloatRange kBoxSize(0.0f, 2000.0f, 20.0f);
constexpr CFloatRange kCarFactor(-100.0f, 100.0f, 0.0f);
constexpr CFloatRange kUpTo100(0.0f, 100.0f, 0.0f);

constexpr CParamDesc kPulsedTimer[] = {
    {"TimeVar", kInt, 0, &kTimer},
    {"TimeLimit", kInt, 1, &kTimer},
    {"Offset", kInt, 2, &kTimer},
};

constexpr CParamDesc kToggleTimer[] = {
    {"OnTime", kInt, 0, &kTimer},
    {"OffTime", kInt, 1, &kTimer},
};

constexpr CIntRange kProxType(0, 1, 0);
constexpr CParamDesc kProximity[] = {
    {"ProxType", kInt, 0, &kProxType}, {"Radius", kFloat, 1, &kBoxSize}, {"XSize", kFloat, 2, &kBoxSize},
    {"YSize", kFloat, 3, &kBoxSize},   {"ZSize", kFloat, 4, &kBoxSize},  {"Centre", kVector, 5, nullptr},
    {"Self", kInt, 6, &kFlag0},        {"Excluding", kList, 7, nullptr},
};

constexpr CFloatRange kMinVelocity(0.0f, 1000.0f, 0.0f);
constexpr CFloatRange kMaxVelocity(0.0f, 1000.0f, 20.0f);
constexpr CParamDesc kVelocity[] = {
    {"MinVelocity", kFloat, 0, &kMinVelocity},
    {"MaxVelocity", kFloat, 1, &kMaxVelocity},
};

// Both limits share slot 0: the trigger was never finished.
constexpr CIntRange kPercent(0, 100, 0);
constexpr CParamDesc kPerformance[] = {
    {"LowerLimit", kInt, 0, &kPercent},
    {"UpperLimit", kInt, 0, &kPercent},
};

constexpr CIntRange kActivations(-1, 100, 1);
constexpr CParamDesc kActionButton[] = {
    {"ActivationTimes", kInt, 0, &kActivations},
};

constexpr CIntRange kForceType(0, 3, 0);
constexpr CParamDesc kForce[] = {
    {"ForceType", kInt, 0, &kForceType},
    {"ForceDir", kVector, 1, nullptr},
    {"ForceMag", kFloat, 2, &kUpTo100},
    {"ForceFreq", kFloat, 3, &kUpTo100},
};

constexpr CIntRange kSoundFlags(1, 7, 1);
constexpr CIntRange kTickDelay(0, 100000, 0);
constexpr CIntRange kVolume(1, 100, 100);
constexpr CIntRange kPitch(20, 200, 100);
constexpr CIntRange kPosType(2, 3, 2);
constexpr CIntRange kPriority(1, 100, 50);
constexpr CIntRange kDistance(16, 100, 100);
// No parameter has slot 4.
constexpr CParamDesc kSound[] = {
    {"Flags", kInt, 0, &kSoundFlags}, {"TickDelay", kInt, 1, &kTickDelay}, {"Volume", kInt, 2, &kVolume},
    {"Pitch", kInt, 3, &kPitch},      {"Sounds", kList, 5, nullptr},       {"PosType", kInt, 6, &kPosType},
    {"DimOthers", kInt, 7, &kFlag0},  {"Priority", kInt, 8, &kPriority},   {"Distance", kInt, 9, &kDistance},
    {"Volume2", kInt, 10, &kVolume},
};

constexpr CIntRange kSpawnLife(-1, 100000, 10000);
constexpr CIntRange kSpawnLifeVar(0, 10000, 1000);
constexpr CIntRange kSpawnDelay(1, 10000, 1000);
constexpr CParamDesc kSpawn[] = {
    {"Objects", kList, 0, nullptr},
    {"Position", kVector, 1, nullptr},
    {"Velocity", kVector, 2, nullptr},
    {"RandomPosX", kInt, 3, &kFlag0},
    {"RandomPosY", kInt, 4, &kFlag0},
    {"RandomPosZ", kInt, 5, &kFlag0},
    {"RandomVelX", kInt, 6, &kFlag0},
    {"RandomVelY", kInt, 7, &kFlag0},
    {"RandomVelZ", kInt, 8, &kFlag0},
    {"LifeTime", kInt, 9, &kSpawnLife},
    {"LifeTimeVar", kInt, 10, &kSpawnLifeVar},
    {"TimeDelay", kInt, 11, &kSpawnDelay},
    {"RandomOrientation", kInt, 12, &kFlag0},
    {"Orientation", kVector, 13, nullptr},
    {"TimeDelayVar", kInt, 14, &kFlag0},
    {"OnTrackOnly", kInt, 15, &kFlag1},
};

constexpr CParamDesc kEventCreate[] = {
    {"FileID", kInt, 0, &kUpTo100000},
    {"Lifetime", kInt, 1, &kUpTo100000},
};

constexpr CParamDesc kCarParams[] = {
    {"Acceleration", kFloat, 0, &kCarFactor},
    {"Braking", kFloat, 1, &kCarFactor},
    {"Steering", kFloat, 2, &kCarFactor},
    {"Grip", kFloat, 3, &kCarFactor},
    {"SideGrip", kFloat, 4, &kCarFactor},
    {"MaxSpeed", kFloat, 5, &kCarFactor},
    {"SlideAngle", kFloat, 6, &kCarFactor},
    {"Lifetime", kInt, 7, &kUpTo100000},
    {"Self", kInt, 8, &kFlag1},
};

constexpr CParamDesc kDestroyObject[] = {
    {"ApplyToSelf", kInt, 0, &kFlag1},
};

constexpr CParamDesc kParticles[] = {
    {"FileID", kInt, 0, &kUpTo100000},
    {"Offset", kVector, 1, nullptr},
    {"Lifetime", kInt, 2, &kUpTo100000},
    {"Attached", kInt, 3, &kFlag1},
};

constexpr CIntRange kSpinAxis(0, 4, 0);
constexpr CIntRange kSpinAngle(0, 10000, 1000);
constexpr CParamDesc kCarSpin[] = {
    {"Axis", kInt, 0, &kSpinAxis},
    {"Time", kInt, 1, &kUpTo100000},
    {"Angle", kInt, 2, &kSpinAngle},
};

constexpr CParamDesc kCarRumble[] = {
    {"Intensity", kFloat, 0, &kUpTo100},
    {"Time", kInt, 1, &kUpTo100000},
};

constexpr CParamDesc kCarPickup[] = {
    {"Type", kInt, 0, &kUpTo100000},
    {"Time", kInt, 1, &kUpTo10000000},
};

constexpr CParamDesc kCarOnTwoWheels[] = {
    {"Type", kInt, 0, &kFlag0},
    {"Time", kInt, 1, &kUpTo10000000},
};

constexpr CIntRange kCrazyType(0, 3, 0);
constexpr CIntRange kCrazyTime(0, 20000, 10000);
constexpr CParamDesc kCarCrazy[] = {
    {"Type", kInt, 0, &kCrazyType},
    {"Time", kInt, 1, &kCrazyTime},
};

constexpr CFloatRange kBounce(0.0f, 30.0f, 1.0f);
constexpr CParamDesc kCarBounceOff[] = {
    {"Velocity", kFloat, 0, &kBounce},
};

// Kinds 4, 8, 9, 13 and 14 have no keyword. Names are looked up in this order.
constexpr std::array kKeywords{
    CKeyword{0, {}, "AlwaysTrigger"},
    CKeyword{1, kPulsedTimer, "PulsedTimerTrigger"},
    CKeyword{2, kToggleTimer, "ToggleTimerTrigger"},
    CKeyword{3, kProximity, "ProximityTrigger"},
    CKeyword{5, kVelocity, "VelocityTrigger"},
    CKeyword{6, kPerformance, "PerformanceTrigger"},
    CKeyword{7, kActionButton, "ActionButtonTrigger"},
    CKeyword{10, kForce, "ForceEffect"},
    CKeyword{11, kSound, "SoundEffect"},
    CKeyword{12, kSpawn, "SpawnEffect"},
    CKeyword{15, kEventCreate, "EventCreateEffect"},
    CKeyword{16, kCarParams, "CarParamsEffect"},
    CKeyword{17, kDestroyObject, "DestroyObjectEffect"},
    CKeyword{18, kParticles, "ParticlesEffects"},
    CKeyword{19, kCarSpin, "CarSpinEffect"},
    CKeyword{20, kCarRumble, "CarRumbleEffect"},
    CKeyword{21, kCarPickup, "CarPickupEffect"},
    CKeyword{22, kCarOnTwoWheels, "CarOnTwoWheelsEffect"},
    CKeyword{23, kCarCrazy, "CarCrazyFX"},
    CKeyword{24, kCarBounceOff, "CarBounceOff"},
};

} // namespace

std::span<const CScriptParser::CKeyword> CScriptParser::GetKeywords() {
    return kKeywords;
}

const CScriptParser::CKeyword* CScriptParser::FindKeyword(std::string_view name) {
    for (const CKeyword& keyword : kKeywords)
        if (keyword.name == name)
            return &keyword;
    return nullptr;
}

} // namespace zentrix
