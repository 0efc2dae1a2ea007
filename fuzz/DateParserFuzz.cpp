// Feeds arbitrary text to the date/time parser, as UTF-8 and as Latin-1, and checks that what it
// accepts as valid formats and reads back to the same moment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QString>

#include "schedule/DateTime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* chars = reinterpret_cast<const char*>(data);
    const auto length = static_cast<qsizetype>(size);
    for (const QString& text : { QString::fromUtf8(chars, length), QString::fromLatin1(chars, length) }) {
        CDateTime value;
        if (DateTimeFromText(text, value) && value.IsValid()) {
            CDateTime again;
            if (!DateTimeFromText(DateTimeToText(value), again) || again != value)
                std::abort();
            (void)FormatDateTime(value, 0xFF);
            (void)value.ToQDate().weekNumber();
        }
    }
    return 0;
}
