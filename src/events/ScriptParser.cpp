#include "events/ScriptParser.h"

#include "events/AssetListDataParam.h"
#include "events/IntDataParam.h"
#include "events/ScalarDataParam.h"
#include "events/ScriptNumbers.h"
#include "events/VectorDataParam.h"

#include <cmath>
#include <list>

namespace zentrix {

namespace {

constexpr std::string_view kEventBegin = "[event_begin]";
constexpr std::string_view kEventEnd = "[event_end]";
constexpr std::string_view kThen = "[then]";
constexpr std::string_view kAnd = "[and]";

constexpr std::size_t kNone = CDStr::npos;

// Substitutions whose replacements keep making new occurrences are stopped after this many
// replacements of one pair, or once they have grown the text by this much.
constexpr int kMaxReplacementsPerPair = 4096;
constexpr std::size_t kMaxGrowth = 65536;

[[noreturn]] void Raise(CDStr text) {
    throw CScriptParser::CParserException(std::move(text));
}

} // namespace

// ---- ranges ----

bool CScriptParser::CIntDataRange::Check(CDataParam& value) const {
    auto* number = dynamic_cast<CIntDataParam*>(&value);
    if (number == nullptr)
        return false;
    if (number->GetValue() < m_minimum) {
        number->SetValue(m_minimum);
        return false;
    }
    if (number->GetValue() > m_maximum) {
        number->SetValue(m_maximum);
        return false;
    }
    return true;
}

bool CScriptParser::CScalarDataRange::Check(CDataParam& value) const {
    auto* number = dynamic_cast<CScalarDataParam*>(&value);
    if (number == nullptr)
        return false;
    if (std::isnan(number->GetValue()) || number->GetValue() < m_minimum) {
        number->SetValue(m_minimum);
        return false;
    }
    if (number->GetValue() > m_maximum) {
        number->SetValue(m_maximum);
        return false;
    }
    return true;
}

// ---- the tables ----

bool CScriptParser::BuildKeywordTables(const CDStr& definitions) {
    s_built = true;
    s_substitutions.clear();
    CDStr text = definitions;
    StripWhitespace(text);
    for (const CDStr& piece : Split(text, '#')) {
        if (piece.empty())
            continue;
        const std::size_t colon = piece.find(':');
        if (colon == kNone || piece.find(':', colon + 1) != kNone)
            return false;
        CDStr key = piece.substr(0, colon);
        CDStr replacement = piece.substr(colon + 1);
        // A pair that would replace for ever is refused.
        if (key.empty() || replacement.find(key) != kNone)
            return false;
        s_substitutions.emplace_back(std::move(key), std::move(replacement));
    }
    return true;
}

void CScriptParser::FreeKeywordTables() {
    s_built = false;
    s_substitutions.clear();
}

CDStr CScriptParser::ApplySubstitutions(CDStr text) {
    const std::size_t limit = text.size() + kMaxGrowth;
    for (const auto& [key, replacement] : s_substitutions) {
        int count = 0;
        for (std::size_t at = text.find(key); at != kNone; at = text.find(key)) {
            if (++count > kMaxReplacementsPerPair || text.size() - key.size() + replacement.size() > limit)
                Raise("Substitutions do not come to an end");
            text.replace(at, key.size(), replacement);
        }
    }
    return text;
}

// ---- one parse ----

bool CScriptParser::IsReady() {
    m_ready = s_built;
    return m_ready;
}

bool CScriptParser::Parse(CDStr text) {
    m_events.clear();
    m_error.clear();
    try {
        StripWhitespace(text);
        ParseScript(ApplySubstitutions(std::move(text)));
    } catch (const CParserException& e) {
        m_error = e.GetText();
        return false;
    }
    return true;
}

void CScriptParser::FreeEvents() {
    m_events.clear();
    m_ready = false;
}

void CScriptParser::ParseScript(const CDStr& text) {
    if (text.empty())
        Raise("Empty Script File found");
    int eventNumber = 0;
    try {
        std::size_t begin = text.find(kEventBegin);
        if (begin == kNone)
            Raise("No Initial event_begin");
        eventNumber = 1;
        for (;;) {
            const std::size_t body = begin + kEventBegin.size();
            const std::size_t end = text.find(kEventEnd, body);
            if (end == kNone)
                Raise("Unmatched event_end");
            m_events.push_back(ParseEvent(text.substr(body, end - body)));
            begin = text.find(kEventBegin, end + kEventEnd.size());
            if (begin == kNone)
                return;
            ++eventNumber;
        }
    } catch (CParserException& e) {
        e.Append(" from Event number " + ToDStr(eventNumber));
        throw;
    }
}

CScriptParser::CEventDesc CScriptParser::ParseEvent(const CDStr& text) {
    CEventDesc event;
    int itemNumber = 1;
    try {
        if (text.empty())
            Raise("Empty event string");
        const std::size_t then = text.find(kThen);
        if (then == kNone)
            Raise("No then");
        if (text.find(kThen, then + kThen.size()) != kNone)
            Raise("More than one then");

        for (std::size_t from = 0;;) {
            const std::size_t joint = text.find(kAnd, from);
            const bool last = joint == kNone || joint > then;
            const std::size_t to = last ? then : joint;
            event.triggers.push_back(ParseTrigger(text.substr(from, to - from)));
            ++itemNumber;
            if (last)
                break;
            from = joint + kAnd.size();
        }
        for (std::size_t from = then + kThen.size();;) {
            const std::size_t joint = text.find(kAnd, from);
            event.effects.push_back(ParseEffect(text.substr(from, joint == kNone ? kNone : joint - from)));
            ++itemNumber;
            if (joint == kNone)
                break;
            from = joint + kAnd.size();
        }
    } catch (CParserException& e) {
        e.Append(" in Trigger/Effect number " + ToDStr(itemNumber));
        throw;
    }
    return event;
}

CScriptParser::CItemDesc CScriptParser::ParseTrigger(const CDStr& text) {
    CItemDesc item = ParseItem(text);
    if (item.kind >= kFirstNonTriggerKind)
        Raise("Effect found on LHS of then");
    return item;
}

CScriptParser::CItemDesc CScriptParser::ParseEffect(const CDStr& text) {
    CItemDesc item = ParseItem(text);
    if (item.kind < kFirstNonTriggerKind)
        Raise("Trigger found on RHS of then");
    return item;
}

CScriptParser::CItemDesc CScriptParser::ParseItem(const CDStr& text) {
    const std::size_t open = text.find('<');
    if (open == kNone)
        Raise("No open parameter list");
    if (text.find('<', open + 1) != kNone)
        Raise("Too many open parameter lists");
    const std::size_t close = text.find('>');
    if (close == kNone)
        Raise("No close parameter list");
    if (text.find('>', close + 1) != kNone)
        Raise("Too many open parameter lists");
    if (close <= open)
        Raise("Missing [and] ");
    if (close != text.size() - 1)
        Raise("Text after the close of a parameter list");

    const CDStr name = text.substr(0, open);
    const CKeyword* keyword = FindKeyword(name);
    if (keyword == nullptr)
        Raise("Unrecognised Trigger/Effect -" + name);
    CItemDesc item;
    item.kind = keyword->kind;
    ParseParameters(text.substr(open + 1, close - open - 1), *keyword, item);
    CheckRanges(item, *keyword);
    return item;
}

void CScriptParser::ParseParameters(const CDStr& text, const CKeyword& keyword, CItemDesc& item) {
    int entryNumber = 1;
    for (const CDStr& entry : Split(text, ',')) {
        const CDStr number = ToDStr(entryNumber);
        if (entry.empty())
            Raise("Missing data element number " + number);
        const std::size_t equals = entry.find('=');
        if (equals == kNone)
            Raise("No equals sign in a parameter list data entry number " + number);
        if (entry.find('=', equals + 1) != kNone)
            Raise("More than one equals (or missing comma) in a parameter list data entry number " + number);
        const std::string_view name = std::string_view(entry).substr(0, equals);
        const CParamDesc* param = nullptr;
        for (const CParamDesc& candidate : keyword.params)
            if (candidate.name == name) {
                param = &candidate;
                break;
            }
        if (param == nullptr)
            Raise("Unrecognised data named :" + CDStr(name) + number);
        item.values.emplace_back(param->slot, ParseValue(param->type, entry.substr(equals + 1)));
        ++entryNumber;
    }
}

std::unique_ptr<CDataParam> CScriptParser::ParseValue(std::int32_t type, const CDStr& text) {
    switch (type) {
    case kTypeInt:
        return std::make_unique<CIntDataParam>(ReadScriptInt(text));
    case kTypeFloat:
        return std::make_unique<CScalarDataParam>(ReadScriptFloat(text));
    case kTypeVector: {
        if (text.empty() || text.front() != '{')
            Raise("Invalid Vector (no open braket)");
        if (text.back() != '}')
            Raise("Invalid Vector (no close braket)");
        // Everything after the "{", the "}" included: it ends the last number.
        const std::string_view inner = std::string_view(text).substr(1);
        const std::size_t first = inner.find(';');
        const std::size_t second = first == kNone ? kNone : inner.find(';', first + 1);
        // One ";" finds itself again from the start; three find the third.
        if (inner.find(';', second == kNone ? 0 : second + 1) != kNone)
            Raise("Too many deliminators found in the Vector");
        // Without any ";" the one number serves x and z, and y is 0.
        const float x = ReadScriptFloat(inner);
        const float y = first == kNone ? 0.0f : ReadScriptFloat(inner.substr(first + 1));
        const float z = ReadScriptFloat(second == kNone ? inner : inner.substr(second + 1));
        // Infinities are refused with NaN: they would become forces and positions.
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
            Raise("Non numeric Vector data");
        return std::make_unique<CVectorDataParam>(CVector(x, y, z));
    }
    case kTypeIntList: {
        if (text.empty() || text.front() != '{')
            Raise("Invalid Integer List (no open braket)");
        if (text.back() != '}')
            Raise("Invalid Integer List (no close braket)");
        const CDStr inner = text.substr(1, text.size() - 2);
        if (inner.find(";;") != kNone)
            Raise("Repeated deliminator found in list");
        std::vector<std::int32_t> values;
        for (const CDStr& piece : Split(inner, ';'))
            values.push_back(ReadScriptInt(piece));
        return std::make_unique<CAssetListDataParam>(std::move(values));
    }
    default:
        return nullptr;
    }
}

void CScriptParser::CheckRanges(CItemDesc& item, const CKeyword& keyword) {
    for (const CParamDesc& param : keyword.params) {
        if (param.range == nullptr)
            continue;
        // Only the first value of a slot is tested.
        for (auto& [slot, value] : item.values) {
            if (slot != param.slot)
                continue;
            if (!value || !param.range->Check(*value))
                Raise("Data out of range from data element " + ToDStr(param.slot + 1));
            break;
        }
    }
}

} // namespace zentrix
