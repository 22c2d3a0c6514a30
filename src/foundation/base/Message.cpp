#include "foundation/base/Message.h"

namespace zentrix {

namespace {

int g_nNextSerial = 0;

int TakeSerial() {
    int serial = g_nNextSerial;
    // Wraps like the game's 32-bit counter would, without signed overflow.
    g_nNextSerial = static_cast<int>(static_cast<unsigned>(g_nNextSerial) + 1u);
    return serial;
}

} // namespace

CMessage::CMessage() : m_type(0), m_serial(TakeSerial()), m_params{0.0, 0.0, 0.0, 0.0} {}

CMessage::CMessage(int type, double p0, double p1, double p2, double p3)
    : m_type(type), m_serial(TakeSerial()), m_params{p0, p1, p2, p3} {}

} // namespace zentrix
