// Reads arbitrary bytes as the campaign's data record, and as the text its quoted strings are taken from.
#include "CampaignDictionary.h"

#include "foundation/data/DataFile.h"
#include "race/CampaignAsset.h"
#include "race/CampaignNode.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CDataFile file(campaignfuzz::CampaignDictionary());
    file.LoadFromMemory(std::vector<std::uint8_t>(data, data + size), true);
    CCampaignAsset asset;
    if (asset.Load(&file)) {
        if (asset.GetNodeCount() > CCampaignAsset::kMaxNodes)
            std::abort();
        for (int i = 0; i < asset.GetNodeCount(); ++i)
            if (std::memchr(asset.GetNode(i)->GetRecord().trackFile, 0, CCampaignNode::kTrackFileSize) ==
                nullptr)
                std::abort();
    } else if (asset.GetNodeCount() != 0) {
        std::abort();
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int place = -1; place <= 6; ++place)
        if (CCampaignAsset::QuotedString(text, place).size() >= CCampaignAsset::kTextSize)
            std::abort();
    CCampaignAsset::OpponentMask(text);
    return 0;
}
