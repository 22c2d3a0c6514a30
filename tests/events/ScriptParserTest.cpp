#include "EventsTestKit.h"

#include "platform/fs/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace zentrix;

namespace {

using eventstest::ParseText;
using zentrix::CScriptParser;

// Every test starts and ends with the tables built and no substitutions.
class ScriptParser : public testing::Test {
protected:
    void SetUp() override { CScriptParser::BuildKeywordTables(""); }
    void TearDown() override { CScriptParser::BuildKeywordTables(""); }
};

// An item placed where its side belongs, in an event of its own.
std::string InEvent(const std::string& keyword, bool trigger, const std::string& params) {
    const std::string item = keyword + "<" + params + ">";
    return trigger ? "[event_begin]" + item + "[then]CarCrazyFX<>[event_end]"
                   : "[event_begin]AlwaysTrigger<>[then]" + item + "[event_end]";
}

struct ParamRow {
    const char* keyword;
    int kind;
    const char* param;
    char type; // i int, f float, v vector, l int list
    int slot;
    double minimum, maximum;
};

// The language as scripts are written for it: every parameter of every keyword.
const ParamRow kParams[] = {
    {"PulsedTimerTrigger", 1, "TimeVar", 'i', 0, 0, 500000},
    {"PulsedTimerTrigger", 1, "TimeLimit", 'i', 1, 0, 500000},
    {"PulsedTimerTrigger", 1, "Offset", 'i', 2, 0, 500000},
    {"ToggleTimerTrigger", 2, "OnTime", 'i', 0, 0, 500000},
    {"ToggleTimerTrigger", 2, "OffTime", 'i', 1, 0, 500000},
    {"ProximityTrigger", 3, "ProxType", 'i', 0, 0, 1},
    {"ProximityTrigger", 3, "Radius", 'f', 1, 0, 2000},
    {"ProximityTrigger", 3, "XSize", 'f', 2, 0, 2000},
    {"ProximityTrigger", 3, "YSize", 'f', 3, 0, 2000},
    {"ProximityTrigger", 3, "ZSize", 'f', 4, 0, 2000},
    {"ProximityTrigger", 3, "Centre", 'v', 5, 0, 0},
    {"ProximityTrigger", 3, "Self", 'i', 6, 0, 1},
    {"ProximityTrigger", 3, "Excluding", 'l', 7, 0, 0},
    {"VelocityTrigger", 5, "MinVelocity", 'f', 0, 0, 1000},
    {"VelocityTrigger", 5, "MaxVelocity", 'f', 1, 0, 1000},
    {"PerformanceTrigger", 6, "LowerLimit", 'i', 0, 0, 100},
    {"PerformanceTrigger", 6, "UpperLimit", 'i', 0, 0, 100},
    {"ActionButtonTrigger", 7, "ActivationTimes", 'i', 0, -1, 100},
    {"ForceEffect", 10, "ForceType", 'i', 0, 0, 3},
    {"ForceEffect", 10, "ForceDir", 'v', 1, 0, 0},
    {"ForceEffect", 10, "ForceMag", 'f', 2, 0, 100},
    {"ForceEffect", 10, "ForceFreq", 'f', 3, 0, 100},
    {"SoundEffect", 11, "Flags", 'i', 0, 1, 7},
    {"SoundEffect", 11, "TickDelay", 'i', 1, 0, 100000},
    {"SoundEffect", 11, "Volume", 'i', 2, 1, 100},
    {"SoundEffect", 11, "Pitch", 'i', 3, 20, 200},
    {"SoundEffect", 11, "Sounds", 'l', 5, 0, 0},
    {"SoundEffect", 11, "PosType", 'i', 6, 2, 3},
    {"SoundEffect", 11, "DimOthers", 'i', 7, 0, 1},
    {"SoundEffect", 11, "Priority", 'i', 8, 1, 100},
    {"SoundEffect", 11, "Distance", 'i', 9, 16, 100},
    {"SoundEffect", 11, "Volume2", 'i', 10, 1, 100},
    {"SpawnEffect", 12, "Objects", 'l', 0, 0, 0},
    {"SpawnEffect", 12, "Position", 'v', 1, 0, 0},
    {"SpawnEffect", 12, "Velocity", 'v', 2, 0, 0},
    {"SpawnEffect", 12, "RandomPosX", 'i', 3, 0, 1},
    {"SpawnEffect", 12, "RandomPosY", 'i', 4, 0, 1},
    {"SpawnEffect", 12, "RandomPosZ", 'i', 5, 0, 1},
    {"SpawnEffect", 12, "RandomVelX", 'i', 6, 0, 1},
    {"SpawnEffect", 12, "RandomVelY", 'i', 7, 0, 1},
    {"SpawnEffect", 12, "RandomVelZ", 'i', 8, 0, 1},
    {"SpawnEffect", 12, "LifeTime", 'i', 9, -1, 100000},
    {"SpawnEffect", 12, "LifeTimeVar", 'i', 10, 0, 10000},
    {"SpawnEffect", 12, "TimeDelay", 'i', 11, 1, 10000},
    {"SpawnEffect", 12, "RandomOrientation", 'i', 12, 0, 1},
    {"SpawnEffect", 12, "Orientation", 'v', 13, 0, 0},
    {"SpawnEffect", 12, "TimeDelayVar", 'i', 14, 0, 1},
    {"SpawnEffect", 12, "OnTrackOnly", 'i', 15, 0, 1},
    {"EventCreateEffect", 15, "FileID", 'i', 0, 0, 100000},
    {"EventCreateEffect", 15, "Lifetime", 'i', 1, 0, 100000},
    {"CarParamsEffect", 16, "Acceleration", 'f', 0, -100, 100},
    {"CarParamsEffect", 16, "Braking", 'f', 1, -100, 100},
    {"CarParamsEffect", 16, "Steering", 'f', 2, -100, 100},
    {"CarParamsEffect", 16, "Grip", 'f', 3, -100, 100},
    {"CarParamsEffect", 16, "SideGrip", 'f', 4, -100, 100},
    {"CarParamsEffect", 16, "MaxSpeed", 'f', 5, -100, 100},
    {"CarParamsEffect", 16, "SlideAngle", 'f', 6, -100, 100},
    {"CarParamsEffect", 16, "Lifetime", 'i', 7, 0, 100000},
    {"CarParamsEffect", 16, "Self", 'i', 8, 0, 1},
    {"DestroyObjectEffect", 17, "ApplyToSelf", 'i', 0, 0, 1},
    {"ParticlesEffects", 18, "FileID", 'i', 0, 0, 100000},
    {"ParticlesEffects", 18, "Offset", 'v', 1, 0, 0},
    {"ParticlesEffects", 18, "Lifetime", 'i', 2, 0, 100000},
    {"ParticlesEffects", 18, "Attached", 'i', 3, 0, 1},
    {"CarSpinEffect", 19, "Axis", 'i', 0, 0, 4},
    {"CarSpinEffect", 19, "Time", 'i', 1, 0, 100000},
    {"CarSpinEffect", 19, "Angle", 'i', 2, 0, 10000},
    {"CarRumbleEffect", 20, "Intensity", 'f', 0, 0, 100},
    {"CarRumbleEffect", 20, "Time", 'i', 1, 0, 100000},
    {"CarPickupEffect", 21, "Type", 'i', 0, 0, 100000},
    {"CarPickupEffect", 21, "Time", 'i', 1, 0, 10000000},
    {"CarOnTwoWheelsEffect", 22, "Type", 'i', 0, 0, 1},
    {"CarOnTwoWheelsEffect", 22, "Time", 'i', 1, 0, 10000000},
    {"CarCrazyFX", 23, "Type", 'i', 0, 0, 3},
    {"CarCrazyFX", 23, "Time", 'i', 1, 0, 20000},
    {"CarBounceOff", 24, "Velocity", 'f', 0, 0, 30},
};

std::string Number(double value) {
    if (value == static_cast<double>(static_cast<long long>(value)))
        return std::to_string(static_cast<long long>(value));
    std::ostringstream out;
    out << value;
    return out.str();
}

TEST_F(ScriptParser, EveryParameterReadsItsTypeIntoItsSlotWithinItsRange) {
    for (const ParamRow& row : kParams) {
        SCOPED_TRACE(std::string(row.keyword) + "." + row.param);
        const bool trigger = row.kind < 8;
        const std::string prefix = (trigger ? "" : "0{} then ");
        const std::string suffix = (trigger ? " then 23{}" : "");
        const std::string slot = std::to_string(row.slot) + ":";
        auto parse = [&](const std::string& value) {
            return ParseText(InEvent(row.keyword, trigger, std::string(row.param) + "=" + value));
        };
        auto item = [&](const std::string& values) {
            return prefix + std::to_string(row.kind) + "{" + values + "}" + suffix;
        };
        if (row.type == 'v') {
            EXPECT_EQ(parse("{1;-2.5;3}"), item(slot + "v(1,-2.5,3)"));
            continue;
        }
        if (row.type == 'l') {
            EXPECT_EQ(parse("{4;-5}"), item(slot + "l[4,-5]"));
            continue;
        }
        // Both ends are inside; one beyond either end is refused, naming the slot, the item and the event.
        for (double inside : {row.minimum, row.maximum})
            EXPECT_EQ(parse(Number(inside)), item(slot + row.type + Number(inside)));
        const double step = row.type == 'i' ? 1 : 0.5;
        const std::string outOfRange = "error: Data out of range from data element " +
                                       std::to_string(row.slot + 1) + " in Trigger/Effect number " +
                                       (trigger ? "1" : "2") + " from Event number 1";
        EXPECT_EQ(parse(Number(row.minimum - step)), outOfRange);
        EXPECT_EQ(parse(Number(row.maximum + step)), outOfRange);
    }

    // The rows name every parameter the language has, and nothing else.
    std::set<std::string> table, rows;
    for (const CScriptParser::CKeyword& keyword : CScriptParser::GetKeywords())
        for (const CScriptParser::CParamDesc& param : keyword.params)
            table.insert(std::to_string(keyword.kind) + std::string(keyword.name) + "." +
                         std::string(param.name));
    for (const ParamRow& row : kParams)
        rows.insert(std::to_string(row.kind) + row.keyword + "." + row.param);
    EXPECT_EQ(table, rows);
    EXPECT_EQ(CScriptParser::GetKeywords().size(), 20u); // with AlwaysTrigger, which has no parameters
}

struct TextCase {
    const char* name;
    const char* text;
    const char* expected; // the events described, or "error: <message>"
};

TEST_F(ScriptParser, ReadsTheStructureOfScripts) {
    const TextCase cases[] = {
        {"compact",
         "[event_begin]ProximityTrigger<Radius=5,Self=0>[then]CarRumbleEffect<Intensity=2,Time=300>[event_"
         "end]",
         "3{1:f5 6:i0} then 20{0:f2 1:i300}"},
        {"white space anywhere, inside names and numbers too",
         "  [event_begin]\r\n\tProximity Trigger < Rad ius = 5 , Self=0 >\r\n[then]\r\n    "
         "CarRumbleEffect<Intensity=2,"
         "Time=3 00>\r\n[event_end]\r\n",
         "3{1:f5 6:i0} then 20{0:f2 1:i300}"},
        {"several items, several events, commentary around them",
         "notes[event_begin]AlwaysTrigger<>[and]ToggleTimerTrigger<OnTime=5>[then]CarSpinEffect<>[and]"
         "CarCrazyFX<Type=1>[and]ForceEffect<ForceDir={0;1;0}>[event_end] more notes [event_begin]"
         "AlwaysTrigger<>[then]DestroyObjectEffect<>[event_end]end",
         "0{} & 2{0:i5} then 19{} & 23{0:i1} & 10{1:v(0,1,0)} | 0{} then 17{}"},
        {"a parameter twice gives two values, only the first range-tested",
         "[event_begin]AlwaysTrigger<>[then]CarSpinEffect<Axis=1,Time=5,Axis=9>[event_end]",
         "0{} then 19{0:i1 1:i5 0:i9}"},
        {"the first of a repeated parameter is range-tested",
         "[event_begin]AlwaysTrigger<>[then]CarSpinEffect<Axis=9,Axis=1>[event_end]",
         "error: Data out of range from data element 1 in Trigger/Effect number 2 from Event number 1"},
        {"both performance limits share slot 0",
         "[event_begin]PerformanceTrigger<LowerLimit=10,UpperLimit=90>[then]CarCrazyFX<>[event_end]",
         "6{0:i10 0:i90} then 23{}"},
        {"keywords are case-sensitive", "[event_begin]alwaystrigger<>[then]CarCrazyFX<>[event_end]",
         "error: Unrecognised Trigger/Effect -alwaystrigger in Trigger/Effect number 1 from Event number 1"},
        {"parameter names are case-sensitive",
         "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<type=1>[event_end]",
         "error: Unrecognised data named :type1 in Trigger/Effect number 2 from Event number 1"},
        {"a parameter belongs to its own keyword",
         "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<Axis=1>[event_end]",
         "error: Unrecognised data named :Axis1 in Trigger/Effect number 2 from Event number 1"},
        {"an event_begin inside an event is plain text",
         "[event_begin]AlwaysTrigger<>[event_begin][then]CarCrazyFX<>[event_end]",
         "error: Text after the close of a parameter list in Trigger/Effect number 1 from Event number 1"},
        {"an event ends at its first event_end",
         "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>[event_end]CarSpinEffect<>[event_end]",
         "0{} then 23{}"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(ParseText(c.text), c.expected) << c.name;
}

TEST_F(ScriptParser, EveryMessageNamesItsPlace) {
    const std::string in1 = " in Trigger/Effect number 1 from Event number 1";
    const std::string in2 = " in Trigger/Effect number 2 from Event number 1";
    const auto effect = [](const std::string& item) {
        return "[event_begin]AlwaysTrigger<>[then]" + item + "[event_end]";
    };
    const std::pair<std::string, std::string> cases[] = {
        {"", "Empty Script File found"},
        {" \r\n\t ", "Empty Script File found"},
        {"AlwaysTrigger<>[then]CarCrazyFX<>", "No Initial event_begin from Event number 0"},
        {"[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>", "Unmatched event_end from Event number 1"},
        {effect("CarCrazyFX<>") + "[event_begin]AlwaysTrigger<>", "Unmatched event_end from Event number 2"},
        {"[event_begin][event_end]", "Empty event string" + in1},
        {"[event_begin]AlwaysTrigger<>CarCrazyFX<>[event_end]", "No then" + in1},
        {"[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>[then]CarCrazyFX<>[event_end]",
         "More than one then" + in1},
        {"[event_begin]CarCrazyFX<>[then]CarCrazyFX<>[event_end]", "Effect found on LHS of then" + in1},
        {effect("AlwaysTrigger<>"), "Trigger found on RHS of then" + in2},
        {"[event_begin]AlwaysTrigger<>[and][then]CarCrazyFX<>[event_end]", "No open parameter list" + in2},
        {"[event_begin]AlwaysTrigger<>[then][event_end]", "No open parameter list" + in2},
        {effect("CarCrazyFX<<>"), "Too many open parameter lists" + in2},
        {effect("CarCrazyFX<>>"), "Too many open parameter lists" + in2},
        {effect("CarCrazyFX<"), "No close parameter list" + in2},
        {effect("CarCrazyFX><"), "Missing [and] " + in2},
        {effect("CarCrazyFX<>CarSpinEffect"), "Text after the close of a parameter list" + in2},
        {effect("CarCrazy<>"), "Unrecognised Trigger/Effect -CarCrazy" + in2},
        {effect("CarSpinEffect<Axis=1,>"), "Missing data element number 2" + in2},
        {effect("CarSpinEffect<,Axis=1>"), "Missing data element number 1" + in2},
        {effect("CarSpinEffect<Axis=1,Time>"),
         "No equals sign in a parameter list data entry number 2" + in2},
        {effect("CarSpinEffect<Axis=1Time=5>"),
         "More than one equals (or missing comma) in a parameter list data entry number 1" + in2},
        {effect("CarSpinEffect<Axis=1,Foo=2>"), "Unrecognised data named :Foo2" + in2},
        {effect("SpawnEffect<Position=1;2;3}>"), "Invalid Vector (no open braket)" + in2},
        {effect("SpawnEffect<Position={1;2;3>"), "Invalid Vector (no close braket)" + in2},
        {effect("SpawnEffect<Position={1;2}>"), "Too many deliminators found in the Vector" + in2},
        {effect("SpawnEffect<Position={nan;2;3}>"), "Non numeric Vector data" + in2},
        {effect("SpawnEffect<Objects=1;2}>"), "Invalid Integer List (no open braket)" + in2},
        {effect("SpawnEffect<Objects={1;2>"), "Invalid Integer List (no close braket)" + in2},
        {effect("SpawnEffect<Objects={1;;2}>"), "Repeated deliminator found in list" + in2},
        {effect("CarCrazyFX<>") + effect("CarCrazyFX<>") +
             "[event_begin]PulsedTimerTrigger<TimeLimit=-1>[then]CarCrazyFX<>[event_end]",
         "Data out of range from data element 2 in Trigger/Effect number 1 from Event number 3"},
        {"[event_begin]AlwaysTrigger<>[and]AlwaysTrigger<>[then]CarCrazyFX<>[and]CarSpinEffect<Axis=7>[event_"
         "end]",
         "Data out of range from data element 1 in Trigger/Effect number 4 from Event number 1"},
    };
    for (const auto& [text, message] : cases) {
        CScriptParser parser;
        EXPECT_FALSE(parser.Parse(text)) << text;
        EXPECT_EQ(parser.GetError(), message) << text;
    }
}

TEST_F(ScriptParser, ReadsValuesLeniently) {
    const std::pair<std::string, std::string> cases[] = {
        // ints: the leading number, the rest ignored; beyond 32 bits saturates and meets the range
        {"LifeTime=1.9", "9:i1"},
        {"LifeTime=x", "9:i0"},
        {"LifeTime=+12abc", "9:i12"},
        {"LifeTime=-1", "9:i-1"},
        {"LifeTime=99999999999", "error: Data out of range from data element 10"},
        {"LifeTime=-99999999999", "error: Data out of range from data element 10"},
        // vectors: exactly two ";" or none
        {"Position={}", "1:v(0,0,0)"},
        {"Position={5}", "1:v(5,0,5)"},
        {"Position={1.5;-2;3e2}", "1:v(1.5,-2,300)"},
        {"Position={a;.5;7x}", "1:v(0,0.5,7)"},
        {"Position=", "error: Invalid Vector (no open braket)"},
        {"Position={", "error: Invalid Vector (no close braket)"},
        {"Position={1;2;3;4}", "error: Too many deliminators found in the Vector"},
        {"Position={inf;0;0}", "error: Non numeric Vector data"},
        {"Position={0;1e39;0}", "error: Non numeric Vector data"},
        {"Position={0;0;-INFINITY}", "error: Non numeric Vector data"},
        // lists: a ";" at either end adds a 0
        {"Objects={}", "0:l[]"},
        {"Objects={1;}", "0:l[1,0]"},
        {"Objects={;1}", "0:l[0,1]"},
        {"Objects={;}", "0:l[0,0]"},
        {"Objects={x;2.7;-3}", "0:l[0,2,-3]"},
        {"Objects=", "error: Invalid Integer List (no open braket)"},
        {"Objects={", "error: Invalid Integer List (no close braket)"},
    };
    for (const auto& [params, expected] : cases) {
        std::string got = ParseText(InEvent("SpawnEffect", false, params));
        got = got.rfind("error: ", 0) == 0 ? got.substr(0, got.find(" in Trigger"))
                                           : got.substr(12, got.size() - 13);
        EXPECT_EQ(got, expected) << params;
    }

    // Floats: a word reads 0; NaN is out of any range.
    const std::pair<std::string, std::string> floats[] = {
        {"1.5", "0:f1.5"},   {".5", "0:f0.5"}, {"1e1", "0:f10"}, {"word", "0:f0"},
        {"2.5.1", "0:f2.5"}, {"nan", "error"}, {"inf", "error"}, {"-0.5", "error"},
    };
    for (const auto& [value, expected] : floats) {
        std::string got = ParseText(InEvent("CarBounceOff", false, "Velocity=" + value));
        got = got.rfind("error: ", 0) == 0 ? "error" : got.substr(12, got.size() - 13);
        EXPECT_EQ(got, expected) << value;
    }
}

TEST_F(ScriptParser, SubstitutesDefinitionsAndRefusesPairsThatNeverEnd) {
    EXPECT_TRUE(CScriptParser::BuildKeywordTables(" %A : AlwaysTrigger<> #\r\n%C:CarCrazyFX#"));
    EXPECT_EQ(ParseText("[event_begin]%A[then]%C<Type=1>[and]%C<>[event_end]"), "0{} then 23{0:i1} & 23{}");

    // A bad piece ends the reading; the pairs before it stay, the bad one and those after it do not.
    const std::pair<std::string, std::string> bad[] = {
        {"%A:AlwaysTrigger<>#%C", "[event_begin]%A[then]%C<>[event_end]"},
        {"%A:AlwaysTrigger<>#%C:Car:CrazyFX", "[event_begin]%A[then]%C<>[event_end]"},
        {"%A:AlwaysTrigger<>#:CarCrazyFX<>", "[event_begin]%A[then]<>[event_end]"},
        {"%A:AlwaysTrigger<>#%C<>:%C<>CarCrazyFX<>#%D:x", "[event_begin]%A[then]%C<>[event_end]"},
    };
    for (const auto& [definitions, text] : bad) {
        EXPECT_FALSE(CScriptParser::BuildKeywordTables(definitions)) << definitions;
        EXPECT_EQ(ParseText(text).substr(0, 28), "error: Unrecognised Trigger/") << definitions;
        EXPECT_EQ(CScriptParser::ApplySubstitutions("%A%D"), "AlwaysTrigger<>%D") << definitions;
    }

    // Building again replaces the pairs; freeing drops them and makes parsers unready, as often as asked.
    EXPECT_TRUE(CScriptParser::BuildKeywordTables("A:B"));
    EXPECT_TRUE(CScriptParser::BuildKeywordTables("A:B"));
    EXPECT_EQ(CScriptParser::ApplySubstitutions("AA"), "BB");
    CScriptParser::FreeKeywordTables();
    CScriptParser::FreeKeywordTables();
    EXPECT_EQ(CScriptParser::ApplySubstitutions("AA"), "AA");
    EXPECT_FALSE(CScriptParser().IsReady());
    EXPECT_TRUE(CScriptParser::BuildKeywordTables(""));
    EXPECT_TRUE(CScriptParser().IsReady());

    // A pair that keeps growing the text is stopped, and the parse fails.
    EXPECT_TRUE(CScriptParser::BuildKeywordTables("ab:bba"));
    EXPECT_EQ(ParseText(std::string(20, 'a') + "b"), "error: Substitutions do not come to an end");
    EXPECT_EQ(CScriptParser::ApplySubstitutions("aab"), "bbbbaa");
}

TEST_F(ScriptParser, EveryPrefixOfTheSampleScriptsParsesOrFailsWithAMessage) {
    int scripts = 0;
    for (const auto& file : std::filesystem::directory_iterator(ZENTRIX_SOURCE_DIR "/data/sample/scripts")) {
        const std::vector<std::uint8_t> bytes = plat::fs::ReadWholeFile(file.path().string()).bytes;
        const std::string text(bytes.begin(), bytes.end());
        SCOPED_TRACE(file.path().filename().string());
        CScriptParser whole;
        ASSERT_TRUE(whole.Parse(text)) << whole.GetError();
        ASSERT_FALSE(whole.GetEvents().empty());
        for (std::size_t size = 0; size < text.size(); ++size) {
            CScriptParser parser;
            if (!parser.Parse(text.substr(0, size)))
                ASSERT_FALSE(parser.GetError().empty()) << size;
        }
        ++scripts;
    }
    EXPECT_GE(scripts, 9);
}

} // namespace
