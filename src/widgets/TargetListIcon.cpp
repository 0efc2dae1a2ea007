#include "widgets/TargetListIcon.h"

#include <algorithm>

#include <QPixmap>
#include <QStringList>

#include "schedule/PageTarget.h"
#include "schedule/TextList.h"

namespace {

constexpr int kImageSize = 16;
// The members a group's image can show: seven bars to a row, two rows.
constexpr int kMaxImageMembers = 14;

bool HasRanges(const CPageTarget* target)
{
    return target && !target->m_ranges.isEmpty();
}

QRgb RgbFromValue(quint32 value)
{
    return qRgb(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace

QImage TargetListImage(const CPageTarget& target, const CPageTargetArray& targets)
{
    QImage image(kImageSize, kImageSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    const int inner = kImageSize - 2; // the field inside the frame: pixels 1 to 14

    bool membersDrawn = false;
    if (target.IsGroup()) {
        QStringList members;
        SplitText(target.m_members, members, u';', true);
        const int barHeight = members.size() < 8 ? inner : inner / 2;
        int drawn = 0;
        for (qsizetype i = 0; i < members.size() && i < kMaxImageMembers; ++i) {
            const CPageTarget* member = targets.FindByName(members.at(i));
            if (!HasRanges(member))
                continue;
            if (!membersDrawn) {
                for (int y = 1; y <= inner; ++y)
                    for (int x = 1; x <= inner; ++x)
                        image.setPixel(x, y, qRgb(255, 255, 255));
                membersDrawn = true;
            }
            const int left = (drawn % 7) * 2 + 1;
            const int top = (drawn / 7) * 7 + 1;
            const QRgb colour = RgbFromValue(member->m_colour);
            for (int y = top; y < top + barHeight && y <= inner; ++y)
                for (int x = left; x < left + 2; ++x)
                    image.setPixel(x, y, colour);
            ++drawn;
        }
    }
    if (!membersDrawn) {
        const QRgb colour = RgbFromValue(target.m_colour);
        for (int y = 1; y <= inner; ++y)
            for (int x = 1; x <= inner; ++x)
                image.setPixel(x, y, colour);
        if (target.m_ranges.isEmpty()) {
            // A target without any plan is on duty at all times: crossed out in its text colour.
            const QRgb text = RgbFromValue(target.TextColour());
            for (int y = 1; y <= inner; ++y)
                for (int x = std::max(1, y - 1); x <= std::min(inner, y + 1); ++x)
                    image.setPixel(x, y, text);
        }
    }
    return image;
}

QIcon TargetListIcon(const CPageTarget& target, const CPageTargetArray& targets)
{
    return QIcon(QPixmap::fromImage(TargetListImage(target, targets)));
}
