#pragma once

namespace zentrix {

/// Application message types.
enum EVornMessage : int {
    VORNMSG_MOUSE_POSITION = 1,
    VORNMSG_MOUSE_BUTTON_UP = 2,
    VORNMSG_HIDE_POINTER = 3,
    VORNMSG_SHOW_POINTER = 4,
    VORNMSG_KEY_DOWN = 6,
    VORNMSG_SET_POINTER = 7,
    VORNMSG_SLIDEOUT_CLICK = 10,
    VORNMSG_SLIDEOUT_MOUSE_MOVE = 11,
    VORNMSG_CONSTRUCT_CLICK = 21,
    VORNMSG_STATE_LOADSAVE_DEACTIVATED = 33,
    VORNMSG_QUIT_REQUEST = 100,
};

/// One application message: a type, a serial number that tells messages apart, and four parameters.
class CMessage {
public:
    /// A message of type 0 with a new serial number.
    CMessage();
    /// A message of `type` with the given parameters and a new serial number.
    explicit CMessage(int type, double p0 = 0.0, double p1 = 0.0, double p2 = 0.0, double p3 = 0.0);
    /// A copy keeps the serial number of its source.
    CMessage(const CMessage&) = default;
    CMessage& operator=(const CMessage&) = default;
    virtual ~CMessage() = default;

    /// The message type.
    int GetType() const { return m_type; }
    /// The serial number.
    int GetSerial() const { return m_serial; }
    /// Parameter `i` (0..3); 0.0 for any other index.
    double GetParam(int i) const { return (i >= 0 && i < 4) ? m_params[i] : 0.0; }

    /// Two messages are equal when they carry the same serial number.
    bool operator==(const CMessage& other) const { return m_serial == other.m_serial; }

private:
    int m_type;
    int m_serial;
    double m_params[4];
};

} // namespace zentrix
