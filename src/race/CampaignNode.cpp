#include "race/CampaignNode.h"

namespace zentrix {

int CCampaignNode::s_live = 0;

CCampaignNode::CCampaignNode() {
    ++s_live;
}

CCampaignNode::CCampaignNode(const CCampaignNode& other)
    : m_filled(other.m_filled), m_record(other.m_record) {
    ++s_live;
}

CCampaignNode::~CCampaignNode() {
    --s_live;
}

void CCampaignNode::SetRecord(const SRecord& record) {
    m_record = record;
    m_record.state = kLocked;
    m_filled = true;
}

} // namespace zentrix
