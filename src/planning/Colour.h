#pragma once

#include <QString>
#include <QtGlobal>

// A colour of the plan: red, green and blue from 0 to 255, without Qt GUI, so that the planning
// core runs where no display library is installed. The targets store a colour as 0x00BBGGRR.
class CColour
{
public:
    constexpr CColour() = default; // white
    constexpr CColour(int red, int green, int blue)
        : m_red(quint8(qBound(0, red, 255)))
        , m_green(quint8(qBound(0, green, 255)))
        , m_blue(quint8(qBound(0, blue, 255)))
    { }

    static constexpr CColour White() { return CColour(255, 255, 255); }
    static constexpr CColour Black() { return CColour(0, 0, 0); }
    // From and to a target's colour value 0x00BBGGRR.
    static constexpr CColour FromValue(quint32 value)
    {
        return CColour(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    }
    constexpr quint32 Value() const { return quint32(m_red) | quint32(m_green) << 8 | quint32(m_blue) << 16; }

    constexpr int Red() const { return m_red; }
    constexpr int Green() const { return m_green; }
    constexpr int Blue() const { return m_blue; }
    // "#rrggbb"
    QString Name() const { return QString::asprintf("#%02x%02x%02x", m_red, m_green, m_blue); }

    friend constexpr bool operator==(const CColour& a, const CColour& b)
    {
        return a.m_red == b.m_red && a.m_green == b.m_green && a.m_blue == b.m_blue;
    }
    friend constexpr bool operator!=(const CColour& a, const CColour& b) { return !(a == b); }

private:
    quint8 m_red = 255;
    quint8 m_green = 255;
    quint8 m_blue = 255;
};
