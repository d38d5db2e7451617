#include "AAXParamIDs.h"

#include <climits>

namespace AAXClasses
{
ParamID paramIdForIndex(int index) noexcept
{
    ParamID id {};
    if (index < 0)
        return id;

    char* end = id.text + ParamID::kBytes - 1;   // stays the terminating zero
    char* first = end;
    unsigned int rest = static_cast<unsigned int>(index);
    do
    {
        *--first = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);

    size_t i = 0;
    while (first + i != end)
    {
        id.text[i] = first[i];
        ++i;
    }
    id.text[i] = '\0';
    return id;
}

int indexFromParamID(const char* id) noexcept
{
    if (id == nullptr || *id < '0' || *id > '9')
        return -1;
    if (id[0] == '0' && id[1] != '\0')
        return -1;   // "00", "07": not how any index is written

    long long value = 0;
    for (const char* c = id; *c != '\0'; ++c)
    {
        if (*c < '0' || *c > '9')
            return -1;
        value = value * 10 + (*c - '0');
        if (value > INT_MAX)
            return -1;
    }
    return static_cast<int>(value);
}
} // namespace AAXClasses
