#include "foundation/base/Message.h"

namespace {

int g_nNextSerial = 0;

int TakeSerial() {
    int serial = g_nNextSerial;
    // Wraps like the game's 32-bit counter would, without signed overflow.
    g_nNextSerial = static_cast<int>(static_cast<unsigned>(g_nNextSerial) + 1u);
    return serial;
}

} // namespace

CMessage::CMessage() : m_nType(0), m_nSerial(TakeSerial()), m_dParams{0.0, 0.0, 0.0, 0.0} {}

CMessage::CMessage(int type, double p0, double p1, double p2, double p3)
    : m_nType(type), m_nSerial(TakeSerial()), m_dParams{p0, p1, p2, p3} {}
