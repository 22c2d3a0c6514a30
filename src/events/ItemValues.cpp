#include "events/ItemValues.h"

#include "events/AssetListDataParam.h"
#include "events/IntDataParam.h"
#include "events/ScalarDataParam.h"
#include "events/ScriptCache.h"
#include "events/VectorDataParam.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <cmath>
#include <sstream>

namespace zentrix {

namespace {

constexpr std::int32_t kHighestAssetId = 65535;

const CScriptParser::CParamDesc* FindParam(const CScriptParser::CKeyword* keyword, std::int32_t slot) {
    if (keyword == nullptr)
        return nullptr;
    for (const CScriptParser::CParamDesc& param : keyword->params)
        if (param.slot == slot)
            return &param;
    return nullptr;
}

const CScriptParser::CKeyword* FindKind(std::int32_t kind) {
    for (const CScriptParser::CKeyword& keyword : CScriptParser::GetKeywords())
        if (keyword.kind == kind)
            return &keyword;
    return nullptr;
}

bool IsSafe(const CVector& v) {
    for (float c : {v.x, v.y, v.z})
        if (!std::isfinite(c) || std::fabs(c) > CItemValues::kVectorLimit)
            return false;
    return true;
}

// Fills `out` from `value` as the parameter's type asks; an empty answer when it passes, else why not.
std::string Read(const CScriptParser::CParamDesc& param, const CDataParam* value, CItemValue& out) {
    std::ostringstream why;
    switch (param.type) {
    case CScriptParser::kTypeInt: {
        const auto* v = dynamic_cast<const CIntDataParam*>(value);
        if (v == nullptr)
            return "is not a whole number";
        out.number = v->GetValue();
        if (const auto* r = dynamic_cast<const CScriptParser::CIntDataRange*>(param.range))
            if (out.number < r->GetMinimum() || out.number > r->GetMaximum())
                why << out.number << " is outside " << r->GetMinimum() << ".." << r->GetMaximum();
        break;
    }
    case CScriptParser::kTypeFloat: {
        const auto* v = dynamic_cast<const CScalarDataParam*>(value);
        if (v == nullptr)
            return "is not a number";
        out.scalar = v->GetValue();
        if (!std::isfinite(out.scalar))
            return "is not finite";
        if (const auto* r = dynamic_cast<const CScriptParser::CScalarDataRange*>(param.range))
            if (out.scalar < r->GetMinimum() || out.scalar > r->GetMaximum())
                why << out.scalar << " is outside " << r->GetMinimum() << ".." << r->GetMaximum();
        break;
    }
    case CScriptParser::kTypeVector: {
        const auto* v = dynamic_cast<const CVectorDataParam*>(value);
        if (v == nullptr)
            return "is not a vector";
        out.vector = v->GetValue();
        if (!IsSafe(out.vector))
            return "is not a finite vector within 1000000";
        break;
    }
    case CScriptParser::kTypeIntList: {
        const auto* v = dynamic_cast<const CAssetListDataParam*>(value);
        if (v == nullptr)
            return "is not a list";
        out.list = v->GetValue();
        if (out.list.size() > CItemValues::kListLimit)
            why << "holds " << out.list.size() << " ids, more than " << CItemValues::kListLimit;
        for (std::int32_t id : out.list)
            if (why.tellp() == 0 && (id < 0 || id > kHighestAssetId))
                why << "holds the id " << id << ", outside 0.." << kHighestAssetId;
        break;
    }
    default:
        return "has a type no item reads";
    }
    return why.str();
}

} // namespace

CItemValues::CItemValues(const CScriptParser::CItemDesc& item) {
    const CScriptParser::CKeyword* keyword = FindKind(item.kind);
    m_name = keyword ? std::string(keyword->name) : "kind " + std::to_string(item.kind);
    for (const auto& [slot, value] : item.values) {
        const CScriptParser::CParamDesc* param = FindParam(keyword, slot);
        if (param == nullptr) {
            Report(m_name + ": no parameter has slot " + std::to_string(slot) + "; ignored");
            continue;
        }
        CItemValue checked;
        checked.slot = slot;
        checked.type = param->type;
        const std::string why = Read(*param, value.get(), checked);
        if (!why.empty()) {
            Report(m_name + ": " + std::string(param->name) + " " + why + "; ignored");
            continue;
        }
        m_values.push_back(std::move(checked));
    }
}

void CItemValues::Report(std::string_view text) {
    if (IWorldServices* services = CWorldMan::GetServices())
        services->Log(CScriptCache::kScriptParsingLog, std::string(text));
}

} // namespace zentrix
