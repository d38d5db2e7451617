// Numbers: an integer or a floating-point value, converted on the way out.
#include "CFObject.h"

#include <cmath>
#include <cstring>
#include <limits>

struct QvCFNumber final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kNumberTypeID;

    QvCFNumber(CFNumberType t, bool f, int64_t i, double d) noexcept
        : Object(kTypeID), type(t), isFloat(f), integer(i), real(d)
    {
    }

    bool equals(const Object& other) const noexcept override
    {
        const auto& o = static_cast<const QvCFNumber&>(other);
        if (! isFloat && ! o.isFloat)
            return integer == o.integer;
        return asDouble() == o.asDouble();
    }

    CFHashCode hash() const noexcept override
    {
        // Equal numbers hash alike whether stored as integer or float.
        const double d = asDouble();
        if (d == std::floor(d) && std::fabs(d) < 9.0e18)
            return (CFHashCode) (int64_t) d;
        return qvcf::hashBytes(&d, sizeof d);
    }

    double asDouble() const noexcept { return isFloat ? real : (double) integer; }

    CFNumberType type;
    bool isFloat;
    int64_t integer;
    double real;
};

namespace
{
// Size in bytes of a number type, 0 for an unknown type; floating types are
// marked.
size_t typeSize(CFNumberType type, bool& isFloat) noexcept
{
    isFloat = false;
    switch (type)
    {
        case kCFNumberSInt8Type:
        case kCFNumberCharType: return 1;
        case kCFNumberSInt16Type:
        case kCFNumberShortType: return 2;
        case kCFNumberSInt32Type:
        case kCFNumberIntType: return 4;
        case kCFNumberSInt64Type:
        case kCFNumberLongType:
        case kCFNumberLongLongType:
        case kCFNumberCFIndexType:
        case kCFNumberNSIntegerType: return 8;
        case kCFNumberFloat32Type:
        case kCFNumberFloatType: isFloat = true; return 4;
        case kCFNumberFloat64Type:
        case kCFNumberDoubleType:
        case kCFNumberCGFloatType: isFloat = true; return 8;
        default: return 0;
    }
}

int64_t readInteger(const void* p, size_t size) noexcept
{
    switch (size)
    {
        case 1: { int8_t v; std::memcpy(&v, p, 1); return v; }
        case 2: { int16_t v; std::memcpy(&v, p, 2); return v; }
        case 4: { int32_t v; std::memcpy(&v, p, 4); return v; }
        default: { int64_t v; std::memcpy(&v, p, 8); return v; }
    }
}

// Writes v into an integer of `size` bytes, saturating; answers whether the
// value fitted exactly.
bool writeInteger(void* p, size_t size, int64_t v) noexcept
{
    const int bits = (int) size * 8;
    const int64_t lo = bits == 64 ? std::numeric_limits<int64_t>::min() : -(int64_t(1) << (bits - 1));
    const int64_t hi = bits == 64 ? std::numeric_limits<int64_t>::max() : (int64_t(1) << (bits - 1)) - 1;
    const int64_t c = v < lo ? lo : (v > hi ? hi : v);

    switch (size)
    {
        case 1: { auto x = (int8_t) c; std::memcpy(p, &x, 1); break; }
        case 2: { auto x = (int16_t) c; std::memcpy(p, &x, 2); break; }
        case 4: { auto x = (int32_t) c; std::memcpy(p, &x, 4); break; }
        default: std::memcpy(p, &c, 8); break;
    }
    return c == v;
}

// Truncates toward zero into int64, saturating; NaN gives 0.
int64_t truncateToInteger(double d, bool& exact) noexcept
{
    if (std::isnan(d))
    {
        exact = false;
        return 0;
    }
    if (d >= 9.2233720368547758e18)
    {
        exact = false;
        return std::numeric_limits<int64_t>::max();
    }
    if (d < -9.2233720368547758e18)
    {
        exact = false;
        return std::numeric_limits<int64_t>::min();
    }
    const auto i = (int64_t) d;
    exact = ((double) i == d);
    return i;
}
} // namespace

extern "C" {

CFTypeID CFNumberGetTypeID(void)
{
    return QvCFNumber::kTypeID;
}

// Any thread. Null for an unknown type or a null value pointer.
CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* value)
{
    bool isFloat = false;
    const size_t size = typeSize(type, isFloat);
    if (size == 0 || value == nullptr)
        return nullptr;

    if (! isFloat)
        return qvcf::make<QvCFNumber>(type, false, readInteger(value, size), 0.0);

    double d;
    if (size == 4)
    {
        float f;
        std::memcpy(&f, value, 4);
        d = f;
    }
    else
    {
        std::memcpy(&d, value, 8);
    }
    return qvcf::make<QvCFNumber>(type, true, int64_t(0), d);
}

CFNumberType CFNumberGetType(CFNumberRef number)
{
    auto* n = qvcf::as<QvCFNumber>(number);
    return n != nullptr ? n->type : 0;
}

Boolean CFNumberIsFloatType(CFNumberRef number)
{
    auto* n = qvcf::as<QvCFNumber>(number);
    return n != nullptr && n->isFloat;
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value)
{
    auto* n = qvcf::as<QvCFNumber>(number);
    bool toFloat = false;
    const size_t size = typeSize(type, toFloat);
    if (n == nullptr || size == 0 || value == nullptr)
        return false;

    if (! toFloat)
    {
        bool exact = true;
        const int64_t i = n->isFloat ? truncateToInteger(n->real, exact) : n->integer;
        return writeInteger(value, size, i) && exact;
    }

    const double d = n->asDouble();
    bool exact = n->isFloat || (std::fabs(d) < 9.2233720368547758e18 && (int64_t) d == n->integer);
    if (size == 4)
    {
        const bool inRange = std::isnan(d) || std::isinf(d) || std::fabs(d) <= (double) std::numeric_limits<float>::max();
        const float f = inRange ? (float) d : std::copysign(std::numeric_limits<float>::infinity(), (float) (d > 0 ? 1 : -1));
        std::memcpy(value, &f, 4);
        exact = exact && inRange && (std::isnan(d) || (double) f == d);
    }
    else
    {
        std::memcpy(value, &d, 8);
    }
    return exact;
}

} // extern "C"
