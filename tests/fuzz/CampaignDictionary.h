#pragma once

// The data ids of the campaign's definition as the sample dictionary declares them (format 44), for
// reading definitions made in memory without the whole sample set.

#include "foundation/data/DataDictionary.h"

namespace campaignfuzz {

inline const zentrix::CDataDictionary& CampaignDictionary() {
    using zentrix::CDataDictionary;
    static CDataDictionary made;
    static const bool filled = [] {
        CDataDictionary::TFormatRecord format;
        auto add = [&](CDataDictionary::TDataID id, bool text, int defaultValue) {
            CDataDictionary::TDataIDRecord record;
            record.id = id;
            if (text)
                record.SetText();
            else
                record.SetIntDefault(defaultValue);
            made.AddRecord(record);
            format.ids.push_back(id);
        };
        add(0, false, 44);
        add(1, true, 0);
        add(280, false, -1);
        add(281, false, 0);
        for (CDataDictionary::TDataID id = 282; id <= 289; ++id)
            add(id, true, 0);
        add(290, false, 3);
        add(291, false, 0);
        for (CDataDictionary::TDataID id = 292; id <= 299; ++id)
            add(id, true, 0);
        add(307, false, -1);
        made.SetFormat(44, format);
        return true;
    }();
    (void)filled;
    return made;
}

} // namespace campaignfuzz
