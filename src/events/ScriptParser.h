#pragma once

#include "events/DataParam.h"
#include "foundation/string/DStr.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace zentrix {

/// Turns the text of one event script into its events: for each "[event_begin]" ... "[event_end]"
/// block the trigger items before "[then]" and the effect items after it, each item a keyword's kind
/// with its typed parameter values by slot. Every error is raised inside as a CParserException whose
/// text grows by the event and item it came from; Parse reports it as false and keeps the text.
///
/// The keyword table is fixed data shared by every parser. BuildKeywordTables and FreeKeywordTables
/// only mark it usable or not and read or drop the substitutions; both may be called any number of
/// times.
class CScriptParser {
public:
    /// Parameter types of the keyword table.
    enum EType : std::int32_t { kTypeFloat = 0, kTypeInt = 1, kTypeVector = 2, kTypeIntList = 3 };
    /// Kinds below this are triggers, kinds from 10 on are effects.
    static constexpr std::int32_t kFirstNonTriggerKind = 8;

    /// A parse error: its text grows as it travels out through the levels.
    class CParserException {
    public:
        explicit CParserException(CDStr text, std::int32_t code = 0)
            : m_text(std::move(text)), m_code(code) {}
        void Append(const CDStr& text) { m_text += text; }
        const CDStr& GetText() const { return m_text; }
        std::int32_t GetCode() const { return m_code; }

    private:
        CDStr m_text;
        std::int32_t m_code;
    };

    /// The permitted values of an int or float parameter.
    class CDataRange {
    public:
        /// True when the value lies within minimum and maximum; otherwise it is pulled to the nearer
        /// end and the answer is false.
        virtual bool Check(CDataParam& value) const = 0;

    protected:
        constexpr CDataRange() = default;
        ~CDataRange() = default;
    };

    class CIntDataRange final : public CDataRange {
    public:
        constexpr CIntDataRange(std::int32_t minimum, std::int32_t maximum, std::int32_t fallback)
            : m_minimum(minimum), m_maximum(maximum), m_default(fallback) {}
        bool Check(CDataParam& value) const override;
        std::int32_t GetMinimum() const { return m_minimum; }
        std::int32_t GetMaximum() const { return m_maximum; }
        /// Kept with the range for reference; nothing applies it.
        std::int32_t GetDefault() const { return m_default; }

    private:
        std::int32_t m_minimum;
        std::int32_t m_maximum;
        std::int32_t m_default;
    };

    class CScalarDataRange final : public CDataRange {
    public:
        constexpr CScalarDataRange(float minimum, float maximum, float fallback)
            : m_minimum(minimum), m_maximum(maximum), m_default(fallback) {}
        /// A NaN counts as below the minimum.
        bool Check(CDataParam& value) const override;
        float GetMinimum() const { return m_minimum; }
        float GetMaximum() const { return m_maximum; }
        float GetDefault() const { return m_default; }

    private:
        float m_minimum;
        float m_maximum;
        float m_default;
    };

    /// One named parameter of a keyword.
    struct CParamDesc {
        std::string_view name;
        std::int32_t type;
        std::int32_t slot;       ///< the number under which the run time finds the value
        const CDataRange* range; ///< int and float parameters; null for vectors and lists
    };

    /// One trigger or effect keyword.
    struct CKeyword {
        std::int32_t kind;
        std::span<const CParamDesc> params;
        std::string_view name;
    };

    /// One parsed trigger or effect: its kind and a (slot, value) pair per parameter entry, in text
    /// order. A parameter left out has no pair; one written twice has two.
    struct CItemDesc {
        std::int32_t kind = 0;
        std::vector<std::pair<std::int32_t, std::unique_ptr<CDataParam>>> values;
    };

    /// One parsed event.
    struct CEventDesc {
        std::vector<CItemDesc> triggers;
        std::vector<CItemDesc> effects;
    };

    using TEventList = std::vector<CEventDesc>;

    CScriptParser() = default;
    virtual ~CScriptParser() = default;
    CScriptParser(const CScriptParser&) = delete;
    CScriptParser& operator=(const CScriptParser&) = delete;

    /// Marks the keyword table usable and reads the substitutions of `definitions` ("key:replacement"
    /// pieces separated by "#", white space ignored), replacing any read before. False at the first
    /// piece without exactly one ":", with an empty key or with a replacement that holds its key; the
    /// pairs before it stay in use.
    static bool BuildKeywordTables(const CDStr& definitions);
    /// Marks the keyword table unusable and drops the substitutions.
    static void FreeKeywordTables();
    /// Every keyword, in ascending kind order.
    static std::span<const CKeyword> GetKeywords();
    /// The keyword of exactly this name, or null.
    static const CKeyword* FindKeyword(std::string_view name);
    /// Replaces every occurrence of each substitution key, pair by pair, searching from the start
    /// after each replacement. Raises when the replacements do not come to an end.
    static CDStr ApplySubstitutions(CDStr text);

    /// Whether the keyword tables are built; the parser remembers the answer.
    bool IsReady();
    /// Parses a whole script; false with the message in GetError. Events parsed before a failing one
    /// may remain: the owner discards a parser that failed.
    bool Parse(CDStr text);
    /// The parsed events.
    const TEventList& GetEvents() const { return m_events; }
    /// The message of the last failure; empty otherwise.
    CDStr GetError() const { return m_error; }
    /// Frees every parsed event and value and forgets the ready answer.
    void FreeEvents();

private:
    void ParseScript(const CDStr& text);
    static CEventDesc ParseEvent(const CDStr& text);
    static CItemDesc ParseTrigger(const CDStr& text);
    static CItemDesc ParseEffect(const CDStr& text);
    static CItemDesc ParseItem(const CDStr& text);
    static void ParseParameters(const CDStr& text, const CKeyword& keyword, CItemDesc& item);
    static std::unique_ptr<CDataParam> ParseValue(std::int32_t type, const CDStr& text);
    static void CheckRanges(CItemDesc& item, const CKeyword& keyword);

    TEventList m_events;
    CDStr m_error;
    bool m_ready = false;

    static inline bool s_built = false;
    static inline std::vector<std::pair<CDStr, CDStr>> s_substitutions;
};

} // namespace zentrix
